// Reading the document quessel-render renders: a file or standard input, as UTF-8 text.
#pragma once

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace quessel::render {

// The document cannot be used; what() is one line naming it and saying why.
class DocumentInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole text of `file`, or of `standardInput` when there is no file. Text that is not
// UTF-8 is refused rather than shown with replacement characters: the page would not be the
// document.
std::string readDocument(const std::optional<std::string>& file, std::FILE* standardInput);

} // namespace quessel::render
