// libFuzzer target: any bytes given to `load` give a value or a YamlError with a description,
// never a crash, a hang or unbounded memory.
#include "yaml/Load.hpp"
#include "yaml/ValueText.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(const quessel::yaml::YamlError& error) {
    const std::string description = error.description();
    // Every report says something, and a positioned one starts "line:column: error: ".
    if (description.empty()) {
        std::abort();
    }
    if (description.front() >= '0' && description.front() <= '9' &&
        description.find(": error: ") == std::string::npos) {
        std::abort();
    }
}

void loadOnce(std::string_view text, quessel::yaml::Parser::Encoding encoding) {
    try {
        const auto value = quessel::yaml::load(text, quessel::yaml::Resolver::standard(),
                                               quessel::yaml::Constructor::standard(), encoding);
        if (value) {
            // What the page and the reports show must be writable for any value.
            static_cast<void>(quessel::yaml::displayText(*value));
        }
    } catch (const quessel::yaml::YamlError& error) {
        check(error);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    loadOnce(text, quessel::yaml::Parser::Encoding::utf8);
    // UTF-16 input goes through its own conversion and offsets: exercise it on half the inputs.
    if (size % 2 == 1) {
        loadOnce(text, quessel::yaml::Parser::Encoding::utf16);
    }
    return 0;
}
