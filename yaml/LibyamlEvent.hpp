// Owns one libyaml event: whatever libyaml allocated for it is released with the object.
#pragma once

#include <yaml.h>

namespace quessel::yaml {

class LibyamlEvent {
public:
    LibyamlEvent() noexcept : event_{} {}
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
