// A persistent store of typed values by key, in a key file that several processes may share.
#pragma once

#include "viewer_core/FileIdentity.hpp"
#include "viewer_core/GLibHandles.hpp"

#include <giomm/filemonitor.h>
#include <glibmm/variant.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quessel::core {

// One store is one file, `<folder>/defaults.ini`: a key file whose values are GVariant text,
// so a value keeps its kind (string, double, boolean, array, byte string …) across runs.
//
// Writes re-read the file and change only the written key, under an advisory lock beside it,
// and replace the file atomically and durably: processes writing different keys of one store
// at the same moment keep each other's values, and a crash never leaves a torn file. Reads see
// the file as it is now (a cheap stat tells whether the cached copy is current).
//
// After every write, and whenever another process changes the file, the store posts
// didChangeNotification on the default NotificationCenter, its object the file's path. A write
// by this process is posted once, not again when the folder monitor sees it.
//
// Main thread only, like the rest of the document and settings state.
class UserDefaults {
public:
    static constexpr std::string_view didChangeNotification = "UserDefaultsDidChangeNotification";
    static constexpr std::string_view fileName = "defaults.ini";
    // The standard store's folder under the user's configuration folder.
    static constexpr std::string_view standardFolderName = "quessel";

    // The application's own store, `$XDG_CONFIG_HOME/quessel/defaults.ini`. Always there: when
    // its file cannot be written, values set in this run are still read back from memory.
    static std::shared_ptr<UserDefaults> standard();
    // A store shared by several applications, `$XDG_CONFIG_HOME/<name>/defaults.ini`; nothing
    // when its folder or file cannot be created, read or written, or the name is not a single
    // path component.
    static std::shared_ptr<UserDefaults> suite(std::string_view name);
    // $XDG_CONFIG_HOME when it is an absolute path, else ~/.config. Read on every call (not
    // cached like g_get_user_config_dir), so a store follows the environment it is opened in.
    static std::string userConfigFolder();

    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;
    ~UserDefaults();

    const std::string& path() const noexcept { return path_; }

    // The stored value, nothing when the key is absent.
    std::optional<Glib::VariantBase> object(std::string_view key) const;
    bool contains(std::string_view key) const { return object(key).has_value(); }
    // The readings of DefaultsValue.hpp; an absent key reads as nothing, 0 and false.
    std::optional<std::string> string(std::string_view key) const;
    double doubleValue(std::string_view key) const;
    bool boolValue(std::string_view key) const;

    // Setting an empty (invalid) VariantBase removes the key. Keys must be usable as key-file
    // keys (not empty, no "=", "[", "]", line breaks, leading "#" or surrounding spaces);
    // others throw std::invalid_argument.
    void set(std::string_view key, const Glib::VariantBase& value);
    void setString(std::string_view key, std::string_view value);
    void setDouble(std::string_view key, double value);
    void setBool(std::string_view key, bool value);
    void remove(std::string_view key);

private:
    explicit UserDefaults(std::string folder);
    static std::shared_ptr<UserDefaults> open(const std::string& folder, bool mustBeUsable);

    void refresh() const;
    void load(std::optional<FileIdentity> identity) const;
    void write(std::string_view key, std::optional<std::string> text);
    void saveLocked();
    void setAsideDamagedFile();
    void startMonitoring();
    void onFolderChanged();
    void postChange() const;

    std::string folder_;
    std::string path_;
    std::string lockPath_;

    // The file as last read, with this process's unsaved writes applied on top.
    mutable GKeyFilePtr cache_;
    mutable std::optional<FileIdentity> cacheIdentity_;
    mutable bool cacheLoaded_ = false;
    // The file exists but is not a key file this store can read; kept aside before a write.
    mutable bool damaged_ = false;
    // Writes that have not reached the file (it could not be written), as text or removal.
    std::map<std::string, std::optional<std::string>, std::less<>> pending_;
    // The file as last announced: by this process's own write or a change already posted.
    std::optional<FileIdentity> announcedIdentity_;

    Glib::RefPtr<Gio::FileMonitor> monitor_;
    sigc::connection monitorConnection_;
};

} // namespace quessel::core
