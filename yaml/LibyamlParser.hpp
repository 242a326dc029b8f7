// Owns one libyaml parser state: initialised on construction, deleted on destruction.
#pragma once

#include <yaml.h>

#include <memory>

namespace quessel::yaml {

class LibyamlParser {
public:
    // Throws YamlError::memory() when libyaml cannot set up its state.
    LibyamlParser();
    ~LibyamlParser();
    LibyamlParser(const LibyamlParser&) = delete;
    LibyamlParser& operator=(const LibyamlParser&) = delete;
    LibyamlParser(LibyamlParser&&) noexcept = default;
    LibyamlParser& operator=(LibyamlParser&&) noexcept = default;

    yaml_parser_t* get() const { return state_.get(); }

private:
    struct Delete {
        void operator()(yaml_parser_t* state) const noexcept;
    };
    // On the heap: libyaml points into its own state (string input), so it must never move.
    std::unique_ptr<yaml_parser_t, Delete> state_;
};

} // namespace quessel::yaml
