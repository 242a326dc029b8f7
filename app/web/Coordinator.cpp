// The web view host's companion: what was loaded last, the search notifications, the page's counts.
#include "app/web/Coordinator.hpp"

#include "app/web/PageCalls.hpp"
#include "app/web/PageWebView.hpp"
#include "viewer_core/GObjectPtr.hpp"

#include <glibmm/main.h>

#include <cmath>
#include <limits>

namespace quessel::app::web {
namespace {

// An integer-valued number that fits an int; fractions, infinities and other types are not.
std::optional<int> integerMember(JSCValue* object, const char* name) {
    if (!jsc_value_object_has_property(object, name)) {
        return std::nullopt;
    }
    auto member = core::GObjectPtr<JSCValue>::adopt(jsc_value_object_get_property(object, name));
    if (!member || !jsc_value_is_number(member.get())) {
        return std::nullopt;
    }
    const double number = jsc_value_to_double(member.get());
    if (!std::isfinite(number) || std::trunc(number) != number ||
        number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

} // namespace

std::shared_ptr<Coordinator> Coordinator::create(CountBinding currentMatch,
                                                 CountBinding totalMatches,
                                                 core::NotificationCenter& center) {
    std::shared_ptr<Coordinator> coordinator(
        new Coordinator(std::move(currentMatch), std::move(totalMatches)));
    coordinator->setupObservers(center);
    return coordinator;
}

Coordinator::Coordinator(CountBinding currentMatch, CountBinding totalMatches)
    : currentMatch_(std::move(currentMatch)), totalMatches_(std::move(totalMatches)) {}

void Coordinator::setupObservers(core::NotificationCenter& center) {
    const std::weak_ptr<Coordinator> weak = weak_from_this();
    searchObserver_ =
        center.addObserver(core::viewerSearchQueryChanged, [weak](const core::Notification& note) {
            auto self = weak.lock();
            const auto* text = std::any_cast<std::string>(&note.object);
            if (self && text != nullptr) {
                self->performSearch(*text);
            }
        });
    findNextObserver_ = center.addObserver(core::viewerFindNext, [weak](const core::Notification&) {
        if (auto self = weak.lock()) {
            self->evaluate(navigateMatchCall(true));
        }
    });
    findPrevObserver_ =
        center.addObserver(core::viewerFindPrevious, [weak](const core::Notification&) {
            if (auto self = weak.lock()) {
                self->evaluate(navigateMatchCall(false));
            }
        });
}

void Coordinator::detach() noexcept {
    webView_ = nullptr;
    currentMatch_ = nullptr;
    totalMatches_ = nullptr;
    searchObserver_.reset();
    findNextObserver_.reset();
    findPrevObserver_.reset();
}

void Coordinator::setLastContent(std::shared_ptr<const std::string> content) {
    lastContent_ = content ? std::move(content) : std::make_shared<const std::string>();
}

void Coordinator::evaluate(const std::string& script) {
    if (webView_ != nullptr) {
        webView_->evaluate(script);
    }
}

void Coordinator::performSearch(const std::string& text) {
    evaluate(highlightMatchesCall(text));
}

std::optional<Coordinator::Counts> Coordinator::readCounts(JSCValue* body) {
    if (body == nullptr || !jsc_value_is_object(body) || jsc_value_is_array(body) ||
        jsc_value_is_function(body)) {
        return std::nullopt;
    }
    const auto current = integerMember(body, "current");
    const auto total = integerMember(body, "total");
    if (!current || !total) {
        return std::nullopt;
    }
    return Counts{*current, *total};
}

void Coordinator::receive(JSCValue* body) {
    const auto counts = readCounts(body);
    if (!counts) {
        return;
    }
    // The write waits for the next turn, holding this object until it has run; a host taken
    // down meanwhile has cleared the bindings.
    Glib::signal_idle().connect_once([self = shared_from_this(), counts = *counts] {
        if (self->currentMatch_) {
            self->currentMatch_(counts.current);
        }
        if (self->totalMatches_) {
            self->totalMatches_(counts.total);
        }
    });
}

} // namespace quessel::app::web
