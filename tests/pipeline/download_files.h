#pragma once
// Files a download test looks at.
#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/support/test_files.h"

namespace PipelineTests {

// A temp folder holding the package path the pipeline uses.
class PackageFolder {
public:
    std::filesystem::path PackagePath() const { return folder_.Path() / L"__Package_Vantorel.exe"; }
    std::filesystem::path PartialPath() const { return folder_.Path() / L"__Package_Vantorel.exe.part"; }
    std::filesystem::path PartPath(int index) const {
        return folder_.Path() / (L"__Package_Vantorel.exe_" + std::to_wstring(index));
    }

private:
    TestSupport::TempFolder folder_;
};

std::string Md5Of(const std::filesystem::path& path);
std::string ReadBytes(const std::filesystem::path& path, int64_t first, int64_t count);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// A file of the given size that holds no data on disk (zeros).
void WriteSparseFile(const std::filesystem::path& path, int64_t size);

}  // namespace PipelineTests
