#include "tests/support/test_files.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <system_error>

namespace TestSupport {

std::filesystem::path BinFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            (L"vantorel-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::WriteFile(const std::wstring& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(),
                                                                   static_cast<std::streamsize>(bytes.size()));
    return file;
}

}  // namespace TestSupport
