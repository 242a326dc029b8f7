// An owning reference to a GObject, released when it goes out of scope.
#pragma once

#include <glib-object.h>

#include <utility>

namespace quessel::app::test {

template <typename T>
class GObjectRef {
public:
    GObjectRef() = default;
    // Takes over a reference the caller owns (a "transfer full" return value).
    explicit GObjectRef(T* object) : object_(object) {}
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
    GObjectRef(GObjectRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GObjectRef& operator=(GObjectRef&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~GObjectRef() {
        if (object_ != nullptr) {
            g_object_unref(object_);
        }
    }

    T* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

} // namespace quessel::app::test
