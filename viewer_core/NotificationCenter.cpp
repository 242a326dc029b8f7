// A process-wide, name-keyed broadcast of notifications, delivered on the main thread.
#include "viewer_core/NotificationCenter.hpp"

#include <glib.h>

#include <atomic>
#include <exception>
#include <map>
#include <mutex>
#include <unistd.h>
#include <utility>
#include <vector>

namespace quessel::core {

struct detail::NotificationRegistry {
    struct Entry {
        std::uint64_t id;
        NotificationCenter::Handler handler;
        // Cleared on removal, so that a post that copied the list before still skips it.
        std::atomic<bool> alive{true};
    };
    using Entries = std::vector<std::shared_ptr<Entry>>;

    std::mutex mutex;
    std::map<std::string, Entries, std::less<>> observers;
    std::uint64_t nextId = 1;

    void remove(std::uint64_t id) {
        const std::lock_guard lock(mutex);
        for (auto& [name, entries] : observers) {
            for (auto it = entries.begin(); it != entries.end(); ++it) {
                if ((*it)->id == id) {
                    (*it)->alive = false;
                    entries.erase(it);
                    return;
                }
            }
        }
    }

    Entries observersOf(std::string_view name) {
        const std::lock_guard lock(mutex);
        const auto found = observers.find(name);
        return found == observers.end() ? Entries{} : found->second;
    }

    // Handlers run without the lock held: they may add or remove observers, or post.
    void deliver(const Notification& notification) {
        for (const auto& entry : observersOf(notification.name)) {
            if (entry->alive) {
                entry->handler(notification);
            }
        }
    }
};

ObserverToken::ObserverToken(ObserverToken&& other) noexcept
    : registry_(std::move(other.registry_)), id_(std::exchange(other.id_, 0)) {}

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept {
    if (this != &other) {
        reset();
        registry_ = std::move(other.registry_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

ObserverToken::~ObserverToken() {
    reset();
}

void ObserverToken::reset() noexcept {
    if (const auto registry = registry_.lock(); registry && id_ != 0) {
        registry->remove(id_);
    }
    registry_.reset();
    id_ = 0;
}

NotificationCenter::NotificationCenter()
    : registry_(std::make_shared<detail::NotificationRegistry>()) {}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter() {
    // Never destroyed: tokens and queued deliveries may outlive static destruction order.
    static NotificationCenter* const center = new NotificationCenter();
    return *center;
}

ObserverToken NotificationCenter::addObserver(std::string_view name, Handler handler) {
    const std::lock_guard lock(registry_->mutex);
    const std::uint64_t id = registry_->nextId++;
    auto entry = std::make_shared<detail::NotificationRegistry::Entry>();
    entry->id = id;
    entry->handler = std::move(handler);
    auto found = registry_->observers.find(name);
    if (found == registry_->observers.end()) {
        found =
            registry_->observers.emplace(std::string(name), detail::NotificationRegistry::Entries{})
                .first;
    }
    found->second.push_back(std::move(entry));
    return ObserverToken(registry_, id);
}

namespace {

struct QueuedPost {
    std::weak_ptr<detail::NotificationRegistry> registry;
    Notification notification;
};

gboolean deliverQueued(gpointer data) {
    const auto* queued = static_cast<const QueuedPost*>(data);
    if (const auto registry = queued->registry.lock()) {
        // An exception must not unwind through the main loop's C frames.
        try {
            registry->deliver(queued->notification);
        } catch (const std::exception& error) {
            g_critical("An observer of %s failed: %s", queued->notification.name.c_str(),
                       error.what());
        }
    }
    return G_SOURCE_REMOVE;
}

void freeQueued(gpointer data) {
    delete static_cast<QueuedPost*>(data);
}

} // namespace

void NotificationCenter::post(std::string_view name, std::any object) {
    Notification notification{std::string(name), std::move(object)};
    if (isMainThread()) {
        registry_->deliver(notification);
        return;
    }
    // Always queued on the global default context: g_main_context_invoke would run the
    // observers right here whenever this thread can acquire that context.
    auto* queued = new QueuedPost{registry_, std::move(notification)};
    g_idle_add_full(G_PRIORITY_DEFAULT, deliverQueued, queued, freeQueued);
}

bool NotificationCenter::isMainThread() noexcept {
    return ::gettid() == ::getpid();
}

} // namespace quessel::core
