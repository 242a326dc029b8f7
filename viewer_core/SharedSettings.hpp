// The display settings shared by the viewer family, kept in their common user-defaults suite.
#pragma once

#include "viewer_core/Appearance.hpp"
#include "viewer_core/NotificationCenter.hpp"
#include "viewer_core/UserDefaults.hpp"

#include <sigc++/connection.h>
#include <sigc++/signal.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quessel::core {

// The suite every viewer of the family reads and writes: `$XDG_CONFIG_HOME/org.quessel.viewers`.
inline constexpr std::string_view viewerAppGroup = "org.quessel.viewers";

// Observable like ViewerAppState: signalWillChange() is emitted before every assignment. Every
// assignment is written to the store at once, equal values included, nothing clamped. 100 ms
// after the last user-defaults change notification of the process (a burst gives one), the
// settings re-read the store and assign only the values that differ, so a change made by
// another viewer of the family arrives here. Main thread only; shared() may be first called
// from any thread.
class SharedSettings final {
public:
    using Appearance = core::Appearance;

    static constexpr double defaultFontSize = 14;
    static constexpr double minimumFontSize = 8;
    static constexpr double maximumFontSize = 48;
    static constexpr double fontSizeStep = 1;
    static constexpr std::string_view defaultFontFamily = "SF Mono";

    static constexpr std::string_view appearanceKey = "sharedAppearance";
    static constexpr std::string_view fontSizeKey = "sharedFontSize";
    static constexpr std::string_view fontFamilyKey = "sharedFontFamily";
    static constexpr std::string_view showLineNumbersKey = "sharedShowLineNumbers";
    static constexpr std::string_view wordWrapKey = "sharedWordWrap";

    // Made on first use over the suite viewerAppGroup, or over the standard store (with one
    // warning line on standard output) when the suite is unavailable.
    static SharedSettings& shared();

    SharedSettings(const SharedSettings&) = delete;
    SharedSettings& operator=(const SharedSettings&) = delete;
    ~SharedSettings();

    sigc::signal<void()>& signalWillChange() noexcept { return willChange_; }

    Appearance appearance() const noexcept { return appearance_; }
    void setAppearance(Appearance appearance);
    double fontSize() const noexcept { return fontSize_; }
    void setFontSize(double size);
    const std::string& fontFamily() const noexcept { return fontFamily_; }
    void setFontFamily(std::string family);
    bool showLineNumbers() const noexcept { return showLineNumbers_; }
    void setShowLineNumbers(bool show);
    bool wordWrap() const noexcept { return wordWrap_; }
    void setWordWrap(bool wrap);

    // system, 14, "SF Mono", true, true, in that order, each written to the store.
    void resetToDefaults();

    // The store chosen at construction, for the life of the object.
    UserDefaults& defaults() const noexcept { return *defaults_; }

private:
    friend struct SharedSettingsTesting;
    explicit SharedSettings(std::string_view suiteName);
    static std::shared_ptr<UserDefaults> openStore(std::string_view suiteName);

    Appearance storedAppearance() const;
    std::optional<double> storedFontSize() const;
    std::string storedFontFamily() const;
    bool storedFlag(std::string_view key) const;

    void setupExternalChangeObserver();
    void scheduleReload();
    void reloadFromDefaults();

    std::shared_ptr<UserDefaults> defaults_;
    ObserverToken externalChanges_;
    sigc::connection pendingReload_;
    sigc::signal<void()> willChange_;

    Appearance appearance_;
    double fontSize_;
    std::string fontFamily_;
    bool showLineNumbers_;
    bool wordWrap_;
};

} // namespace quessel::core
