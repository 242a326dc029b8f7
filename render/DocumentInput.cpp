// Reading the document quessel-render renders: a file or standard input, as UTF-8 text.
#include "render/DocumentInput.hpp"

#include "yaml/Utf8.hpp"

#include <cerrno>
#include <cstring>
#include <memory>

namespace quessel::render {
namespace {

std::string readAll(std::FILE* stream, const std::string& name) {
    std::string text;
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
        text.append(buffer, count);
    }
    if (std::ferror(stream)) {
        throw DocumentInputError("cannot read " + name + ": " + std::strerror(errno));
    }
    return text;
}

// The byte offset of the first byte that does not start a well-formed UTF-8 sequence.
std::optional<std::size_t> firstInvalidByte(std::string_view text) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::size_t position = 0;
    while (position < text.size()) {
        const yaml::utf8::Decoded decoded = yaml::utf8::decode(text, position);
        if (decoded.scalar == U'\uFFFD' && text.substr(position, 3) != replacement) {
            return position;
        }
        position += decoded.length;
    }
    return std::nullopt;
}

} // namespace

std::string readDocument(const std::optional<std::string>& file, std::FILE* standardInput) {
    const std::string name = file ? "'" + *file + "'" : "standard input";
    std::string text;
    if (file) {
        const std::unique_ptr<std::FILE, decltype(&std::fclose)> stream(
            std::fopen(file->c_str(), "rb"), &std::fclose);
        if (!stream) {
            throw DocumentInputError("cannot open " + name + ": " + std::strerror(errno));
        }
        text = readAll(stream.get(), name);
    } else {
        text = readAll(standardInput, name);
    }
    if (const std::optional<std::size_t> offset = firstInvalidByte(text)) {
        throw DocumentInputError(name + " is not UTF-8 text (invalid byte at offset " +
                                 std::to_string(*offset) + ")");
    }
    return text;
}

} // namespace quessel::render
