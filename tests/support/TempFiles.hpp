// Temporary folders and files for tests that open and save real documents.
#pragma once

#include <filesystem>
#include <string>

namespace quessel::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    // Writes `text` to the file `name` in the folder and answers its path.
    std::filesystem::path write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

// Points XDG_CONFIG_HOME at a folder of its own for the whole test program, before any store
// is opened, so that tests never read or write the user's settings or recent files.
const std::filesystem::path& isolateConfigFolder();

std::string readFile(const std::filesystem::path& path);

} // namespace quessel::testing
