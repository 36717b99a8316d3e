#pragma once
#include <filesystem>
#include <string>

namespace TestSupport {

// The folder every program of the build is written to (tests, fixtures, the installer).
std::filesystem::path BinFolder();

// A fresh folder under the temporary path, removed with everything in it at scope end.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::filesystem::path& Path() const noexcept { return path_; }
    // Writes bytes as they are (no newline translation) to a file in this folder.
    std::filesystem::path WriteFile(const std::wstring& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

}  // namespace TestSupport
