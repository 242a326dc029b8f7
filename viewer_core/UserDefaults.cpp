// A persistent store of typed values by key, in a key file that several processes may share.
#include "viewer_core/UserDefaults.hpp"

#include "viewer_core/AtomicFile.hpp"
#include "viewer_core/DefaultsValue.hpp"
#include "viewer_core/FileError.hpp"
#include "viewer_core/FileLock.hpp"
#include "viewer_core/NotificationCenter.hpp"
#include "viewer_core/TextFile.hpp"
#include "viewer_core/UniqueFd.hpp"

#include <giomm/file.h>
#include <giomm/init.h>

#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <mutex>
#include <stdexcept>

namespace quessel::core {
namespace {

constexpr const char* group = "defaults";

bool isUsableKey(std::string_view key) {
    if (key.empty() || key.front() == '#' || key.front() == ' ' || key.back() == ' ') {
        return false;
    }
    if (key.find_first_of(std::string_view("=[]\n\r\0", 7)) != std::string_view::npos) {
        return false;
    }
    return g_utf8_validate_len(key.data(), key.size(), nullptr);
}

void requireUsableKey(std::string_view key) {
    if (!isUsableKey(key)) {
        throw std::invalid_argument("not a usable user-defaults key: \"" + std::string(key) + '"');
    }
}

bool isUsableSuiteName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// A folder is usable when it exists (or can be made), a lock file can be made in it (so
// files can be created there) and any existing store file is a readable regular file.
bool prepareFolder(const std::string& folder) {
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0 ||
        !g_file_test(folder.c_str(), G_FILE_TEST_IS_DIR)) {
        return false;
    }
    const std::string file = folder + '/' + std::string(UserDefaults::fileName);
    if (!UniqueFd(::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))) {
        return false;
    }
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(status.st_mode) && UniqueFd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
}

} // namespace

std::string UserDefaults::userConfigFolder() {
    const char* configured = g_getenv("XDG_CONFIG_HOME");
    if (configured != nullptr && g_path_is_absolute(configured)) {
        return configured;
    }
    const char* home = g_getenv("HOME");
    if (home == nullptr || !g_path_is_absolute(home)) {
        home = g_get_home_dir();
    }
    return std::string(home) + "/.config";
}

std::shared_ptr<UserDefaults> UserDefaults::standard() {
    return open(userConfigFolder() + '/' + std::string(standardFolderName), false);
}

std::shared_ptr<UserDefaults> UserDefaults::suite(std::string_view name) {
    if (!isUsableSuiteName(name)) {
        return nullptr;
    }
    return open(userConfigFolder() + '/' + std::string(name), true);
}

// One object per file in the process, so that every user of a store sees the same cache and
// pending writes; a store lives while anyone holds it.
std::shared_ptr<UserDefaults> UserDefaults::open(const std::string& folder, bool mustBeUsable) {
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<UserDefaults>> stores;
    const std::lock_guard lock(mutex);
    if (auto existing = stores[folder].lock()) {
        return existing;
    }
    if (!prepareFolder(folder) && mustBeUsable) {
        return nullptr;
    }
    std::shared_ptr<UserDefaults> store(new UserDefaults(folder));
    stores[folder] = store;
    return store;
}

UserDefaults::UserDefaults(std::string folder)
    : folder_(std::move(folder)), path_(folder_ + '/' + std::string(fileName)),
      lockPath_(path_ + ".lock"), cache_(g_key_file_new()),
      announcedIdentity_(FileIdentity::ofPath(path_)) {
    Gio::init();
    startMonitoring();
}

UserDefaults::~UserDefaults() {
    monitorConnection_.disconnect();
    if (monitor_) {
        monitor_->cancel();
    }
}

std::optional<Glib::VariantBase> UserDefaults::object(std::string_view key) const {
    refresh();
    const std::string name(key);
    const GCharPtr text(g_key_file_get_value(cache_.get(), group, name.c_str(), nullptr));
    if (!text) {
        return std::nullopt;
    }
    return parseValue(text.get());
}

std::optional<std::string> UserDefaults::string(std::string_view key) const {
    const auto value = object(key);
    return value ? stringReading(*value) : std::nullopt;
}

double UserDefaults::doubleValue(std::string_view key) const {
    const auto value = object(key);
    return value ? doubleReading(*value) : 0.0;
}

bool UserDefaults::boolValue(std::string_view key) const {
    const auto value = object(key);
    return value && boolReading(*value);
}

void UserDefaults::set(std::string_view key, const Glib::VariantBase& value) {
    if (!value) {
        remove(key);
        return;
    }
    write(key, printValue(value));
}

void UserDefaults::setString(std::string_view key, std::string_view value) {
    const GCharPtr valid(g_utf8_make_valid(value.data(), static_cast<gssize>(value.size())));
    set(key, Glib::VariantBase(g_variant_new_string(valid.get())));
}

void UserDefaults::setDouble(std::string_view key, double value) {
    set(key, Glib::VariantBase(g_variant_new_double(value)));
}

void UserDefaults::setBool(std::string_view key, bool value) {
    set(key, Glib::VariantBase(g_variant_new_boolean(value)));
}

void UserDefaults::remove(std::string_view key) {
    write(key, std::nullopt);
}

void UserDefaults::refresh() const {
    const auto identity = FileIdentity::ofPath(path_);
    if (!cacheLoaded_ || identity != cacheIdentity_) {
        load(identity);
    }
}

void UserDefaults::load(std::optional<FileIdentity> identity) const {
    cache_.reset(g_key_file_new());
    damaged_ = false;
    if (identity) {
        try {
            const LoadedText loaded = readTextFile(path_);
            identity = loaded.identity;
            damaged_ =
                !g_key_file_load_from_data(cache_.get(), loaded.text.data(), loaded.text.size(),
                                           G_KEY_FILE_KEEP_COMMENTS, nullptr);
        } catch (const FileError& error) {
            // Gone since the stat: an empty store. Anything else cannot be read as settings.
            damaged_ = error.errnum() != ENOENT;
            if (!damaged_) {
                identity = std::nullopt;
            }
        }
        if (damaged_) {
            cache_.reset(g_key_file_new());
        }
    }
    cacheIdentity_ = identity;
    cacheLoaded_ = true;
    for (const auto& [key, text] : pending_) {
        if (text) {
            g_key_file_set_value(cache_.get(), group, key.c_str(), text->c_str());
        } else {
            g_key_file_remove_key(cache_.get(), group, key.c_str(), nullptr);
        }
    }
}

void UserDefaults::write(std::string_view key, std::optional<std::string> text) {
    requireUsableKey(key);
    pending_.insert_or_assign(std::string(key), std::move(text));
    {
        // Read again under the lock, so that what another process wrote a moment ago is kept.
        const FileLock lock(lockPath_);
        load(FileIdentity::ofPath(path_));
        saveLocked();
    }
    postChange();
}

void UserDefaults::saveLocked() {
    if (damaged_) {
        setAsideDamagedFile();
    }
    gsize length = 0;
    const GCharPtr data(g_key_file_to_data(cache_.get(), &length, nullptr));
    try {
        const FileIdentity identity =
            writeFileAtomically(path_, std::string_view(data.get(), length));
        cacheIdentity_ = identity;
        announcedIdentity_ = identity;
        pending_.clear();
    } catch (const FileError& error) {
        // Writes have no failure result; the values stay readable in this run.
        std::cerr << "Warning: could not save settings to " << FileError::quoted(path_) << ": "
                  << error.what() << std::endl;
    }
}

// A file this store cannot read would be lost by the rewrite; keep it for the user instead.
void UserDefaults::setAsideDamagedFile() {
    damaged_ = false;
    struct stat status {};
    if (::lstat(path_.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return;
    }
    const std::string aside = path_ + ".damaged";
    if (::rename(path_.c_str(), aside.c_str()) == 0) {
        std::cerr << "Warning: the settings file " << FileError::quoted(path_)
                  << " could not be read; it was kept as " << FileError::quoted(aside) << std::endl;
    }
}

// The folder, not the file: writers replace the file by renaming a new one over it, which a
// monitor on the file itself would lose track of.
void UserDefaults::startMonitoring() {
    try {
        monitor_ = Gio::File::create_for_path(folder_)->monitor_directory(
            Gio::FileMonitorFlags::WATCH_MOVES);
    } catch (const Glib::Error&) {
        // No monitor (the folder could not be made): changes by this process still post.
        return;
    }
    monitorConnection_ = monitor_->signal_changed().connect(
        [this](const Glib::RefPtr<Gio::File>&, const Glib::RefPtr<Gio::File>&,
               Gio::FileMonitor::Event) { onFolderChanged(); });
}

// Every event in the folder (temporary files included) costs one stat; only a file that is not
// the one last announced counts as a change, so this process's own writes are not posted twice.
void UserDefaults::onFolderChanged() {
    const auto identity = FileIdentity::ofPath(path_);
    if (identity == announcedIdentity_) {
        return;
    }
    announcedIdentity_ = identity;
    postChange();
}

void UserDefaults::postChange() const {
    NotificationCenter::defaultCenter().post(didChangeNotification, path_);
}

} // namespace quessel::core
