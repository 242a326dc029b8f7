// The display settings shared by the viewer family, kept in their common user-defaults suite.
#include "viewer_core/SharedSettings.hpp"

#include <glibmm/main.h>

#include <cmath>
#include <iostream>

namespace quessel::core {
namespace {

// Long enough to gather a burst of changes (another viewer writing several keys), short
// enough to feel immediate.
constexpr unsigned reloadDelayMilliseconds = 100;

} // namespace

SharedSettings& SharedSettings::shared() {
    // Never destroyed: observers and timers of the main loop may still refer to it at exit.
    static SharedSettings* const instance = new SharedSettings(viewerAppGroup);
    return *instance;
}

std::shared_ptr<UserDefaults> SharedSettings::openStore(std::string_view suiteName) {
    if (auto suite = UserDefaults::suite(suiteName)) {
        return suite;
    }
    std::cout << "Warning: App Group '" << suiteName
              << "' not available, using standard UserDefaults" << std::endl;
    return UserDefaults::standard();
}

// The initial values are set directly: nothing is written back at start.
SharedSettings::SharedSettings(std::string_view suiteName)
    : defaults_(openStore(suiteName)), appearance_(storedAppearance()),
      fontSize_(storedFontSize().value_or(defaultFontSize)), fontFamily_(storedFontFamily()),
      showLineNumbers_(storedFlag(showLineNumbersKey)), wordWrap_(storedFlag(wordWrapKey)) {
    setupExternalChangeObserver();
}

SharedSettings::~SharedSettings() {
    pendingReload_.disconnect();
}

void SharedSettings::setAppearance(Appearance appearance) {
    willChange_.emit();
    appearance_ = appearance;
    defaults_->setString(appearanceKey, rawValue(appearance_));
}

void SharedSettings::setFontSize(double size) {
    willChange_.emit();
    fontSize_ = size;
    defaults_->setDouble(fontSizeKey, fontSize_);
}

void SharedSettings::setFontFamily(std::string family) {
    willChange_.emit();
    fontFamily_ = std::move(family);
    defaults_->setString(fontFamilyKey, fontFamily_);
}

void SharedSettings::setShowLineNumbers(bool show) {
    willChange_.emit();
    showLineNumbers_ = show;
    defaults_->setBool(showLineNumbersKey, showLineNumbers_);
}

void SharedSettings::setWordWrap(bool wrap) {
    willChange_.emit();
    wordWrap_ = wrap;
    defaults_->setBool(wordWrapKey, wordWrap_);
}

void SharedSettings::resetToDefaults() {
    setAppearance(Appearance::system);
    setFontSize(defaultFontSize);
    setFontFamily(std::string(defaultFontFamily));
    setShowLineNumbers(true);
    setWordWrap(true);
}

SharedSettings::Appearance SharedSettings::storedAppearance() const {
    const auto text = defaults_->string(appearanceKey);
    return text ? appearanceFromRawValue(*text).value_or(Appearance::system) : Appearance::system;
}

// A size must be a positive number to be used; an infinite one could not be drawn at all.
std::optional<double> SharedSettings::storedFontSize() const {
    const double size = defaults_->doubleValue(fontSizeKey);
    if (size > 0 && std::isfinite(size)) {
        return size;
    }
    return std::nullopt;
}

std::string SharedSettings::storedFontFamily() const {
    return defaults_->string(fontFamilyKey).value_or(std::string(defaultFontFamily));
}

// Only an absent key means "on"; a present value that is no boolean reads as false.
bool SharedSettings::storedFlag(std::string_view key) const {
    return !defaults_->contains(key) || defaults_->boolValue(key);
}

void SharedSettings::setupExternalChangeObserver() {
    externalChanges_ = NotificationCenter::defaultCenter().addObserver(
        UserDefaults::didChangeNotification, [this](const Notification&) { scheduleReload(); });
}

// Every notification restarts the wait, so a burst ends in one reload.
void SharedSettings::scheduleReload() {
    pendingReload_.disconnect();
    pendingReload_ = Glib::signal_timeout().connect(
        [this] {
            reloadFromDefaults();
            return false;
        },
        reloadDelayMilliseconds);
}

// Only differing values are assigned: the write-backs this causes post another notification,
// whose reload then finds everything equal and ends the cycle.
void SharedSettings::reloadFromDefaults() {
    if (const Appearance stored = storedAppearance(); stored != appearance_) {
        setAppearance(stored);
    }
    if (const auto stored = storedFontSize(); stored && *stored != fontSize_) {
        setFontSize(*stored);
    }
    if (auto stored = storedFontFamily(); stored != fontFamily_) {
        setFontFamily(std::move(stored));
    }
    if (const bool stored = storedFlag(showLineNumbersKey); stored != showLineNumbers_) {
        setShowLineNumbers(stored);
    }
    if (const bool stored = storedFlag(wordWrapKey); stored != wordWrap_) {
        setWordWrap(stored);
    }
}

} // namespace quessel::core
