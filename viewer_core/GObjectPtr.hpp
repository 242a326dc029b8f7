// An owning reference to a GObject (web views, content managers, toasts): one ref, released once.
#pragma once

#include <glib-object.h>

#include <utility>

namespace quessel::core {

template <typename T>
class GObjectPtr {
public:
    GObjectPtr() noexcept = default;

    // Takes over a reference the caller owns (the result of a *_new() call for a non-floating
    // type). Floating references are sunk, so widgets created with *_new() are owned too.
    static GObjectPtr adopt(T* object) noexcept {
        GObjectPtr result;
        if (object != nullptr && g_object_is_floating(object)) {
            g_object_ref_sink(object);
        }
        result.object_ = object;
        return result;
    }

    // Adds a reference of our own to an object someone else owns.
    static GObjectPtr share(T* object) noexcept {
        GObjectPtr result;
        if (object != nullptr) {
            g_object_ref_sink(object);
        }
        result.object_ = object;
        return result;
    }

    GObjectPtr(const GObjectPtr&) = delete;
    GObjectPtr& operator=(const GObjectPtr&) = delete;
    GObjectPtr(GObjectPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~GObjectPtr() { reset(); }

    T* get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    void reset() noexcept {
        if (object_ != nullptr) {
            g_object_unref(std::exchange(object_, nullptr));
        }
    }

private:
    T* object_ = nullptr;
};

} // namespace quessel::core
