// A process-wide, name-keyed broadcast of notifications, delivered on the main thread.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace quessel::core {

// Names posted by the search bar and observed by the web view host; the object of
// viewerSearchQueryChanged is the new search text (std::string, possibly empty), the other two
// carry none.
inline constexpr std::string_view viewerSearchQueryChanged = "viewerSearchQueryChanged";
inline constexpr std::string_view viewerFindNext = "viewerFindNext";
inline constexpr std::string_view viewerFindPrevious = "viewerFindPrevious";

struct Notification {
    std::string name;
    std::any object;
};

class NotificationCenter;
namespace detail {
struct NotificationRegistry;
} // namespace detail

// Keeps one observation alive; destroying (or resetting) it stops delivery, also to a post that
// is already under way.
class ObserverToken {
public:
    ObserverToken() noexcept = default;
    ObserverToken(const ObserverToken&) = delete;
    ObserverToken& operator=(const ObserverToken&) = delete;
    ObserverToken(ObserverToken&& other) noexcept;
    ObserverToken& operator=(ObserverToken&& other) noexcept;
    ~ObserverToken();

    void reset() noexcept;
    explicit operator bool() const noexcept { return id_ != 0; }

private:
    friend class NotificationCenter;
    ObserverToken(std::weak_ptr<detail::NotificationRegistry> registry, std::uint64_t id) noexcept
        : registry_(std::move(registry)), id_(id) {}

    std::weak_ptr<detail::NotificationRegistry> registry_;
    std::uint64_t id_ = 0;
};

// Observers are called on the main thread: at once when the post is made there, through the
// default main context's next turn when it is made on another thread. Observers of one name
// are called in the order they were added. Adding, removing and posting are safe from any
// thread.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;
    ~NotificationCenter();

    // The process's center, made on first use and never destroyed.
    static NotificationCenter& defaultCenter();

    // Observes every notification of the name, whoever posts it.
    [[nodiscard]] ObserverToken addObserver(std::string_view name, Handler handler);
    void post(std::string_view name, std::any object = {});

    // Whether the calling thread is the process's main thread.
    static bool isMainThread() noexcept;

private:
    std::shared_ptr<detail::NotificationRegistry> registry_;
};

} // namespace quessel::core
