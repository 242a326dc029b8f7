// The page's cursor row as the host sees it: the node's path and the row's text.
#pragma once

#include "yaml/NodePath.hpp"

#include <webkit/webkit.h>

#include <optional>
#include <string>

namespace quessel::app::web {

struct PageCursor {
    yaml::NodePath path;
    // The row as the page shows it.
    std::string line;

    // A "cursorChanged" body or a cursorNode() result: null (no cursor), or an object with
    // `document` (null or a document index), `steps` (each {key: text} or {index: N}) and
    // `line`. Anything malformed is no cursor: a path the host would act on must be exact.
    static std::optional<PageCursor> read(JSCValue* value);
};

} // namespace quessel::app::web
