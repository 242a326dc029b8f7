// The page's cursor row as the host sees it: the node's path and the row's text.
#include "app/web/PageCursor.hpp"

#include "viewer_core/GObjectPtr.hpp"

#include <glib.h>

#include <cmath>
#include <memory>

namespace quessel::app::web {
namespace {

using ValuePtr = core::GObjectPtr<JSCValue>;

ValuePtr property(JSCValue* object, const char* name) {
    return ValuePtr::adopt(jsc_value_object_get_property(object, name));
}

std::string text(JSCValue* value) {
    std::unique_ptr<char, decltype(&g_free)> chars(jsc_value_to_string(value), &g_free);
    return chars ? std::string(chars.get()) : std::string();
}

// A whole number the page can count to exactly, as an index or a document's number.
std::optional<std::size_t> count(JSCValue* value) {
    if (!jsc_value_is_number(value)) {
        return std::nullopt;
    }
    const double number = jsc_value_to_double(value);
    constexpr double exactLimit = 9007199254740992.0; // 2^53
    if (!(number >= 0 && number < exactLimit) || std::floor(number) != number) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(number);
}

std::optional<yaml::PathStep> readStep(JSCValue* step) {
    if (!jsc_value_is_object(step)) {
        return std::nullopt;
    }
    const ValuePtr key = property(step, "key");
    if (jsc_value_is_string(key.get())) {
        return yaml::PathStep{text(key.get())};
    }
    const ValuePtr index = property(step, "index");
    if (const auto number = count(index.get())) {
        return yaml::PathStep{*number};
    }
    return std::nullopt;
}

} // namespace

std::optional<PageCursor> PageCursor::read(JSCValue* value) {
    if (value == nullptr || !jsc_value_is_object(value)) {
        return std::nullopt;
    }
    PageCursor cursor;
    const ValuePtr document = property(value, "document");
    if (!jsc_value_is_null(document.get()) && !jsc_value_is_undefined(document.get())) {
        cursor.path.document = count(document.get());
        if (!cursor.path.document) {
            return std::nullopt;
        }
    }
    const ValuePtr steps = property(value, "steps");
    if (!jsc_value_is_array(steps.get())) {
        return std::nullopt;
    }
    const auto length = count(property(steps.get(), "length").get());
    if (!length) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < *length; ++i) {
        const ValuePtr item = ValuePtr::adopt(
            jsc_value_object_get_property_at_index(steps.get(), static_cast<guint>(i)));
        auto step = readStep(item.get());
        if (!step) {
            return std::nullopt;
        }
        cursor.path.steps.push_back(std::move(*step));
    }
    const ValuePtr line = property(value, "line");
    if (jsc_value_is_string(line.get())) {
        cursor.line = text(line.get());
    }
    return cursor;
}

} // namespace quessel::app::web
