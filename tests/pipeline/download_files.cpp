#include "tests/pipeline/download_files.h"

#include <windows.h>
#include <winioctl.h>

#include <fstream>

#include "utils/code_page.h"
#include "utils/file_md5.h"
#include "utils/unique_handle.h"

namespace PipelineTests {

std::string Md5Of(const std::filesystem::path& path) {
    return Utils::FileMd5(Utils::WideToMultiByte(path.wstring(), Utils::kAnsiCodePage));
}

std::string ReadBytes(const std::filesystem::path& path, int64_t first, int64_t count) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(first);
    std::string bytes(static_cast<size_t>(count), '\0');
    in.read(bytes.data(), count);
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteSparseFile(const std::filesystem::path& path, int64_t size) {
    Utils::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD returned = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file.Get());
}

}  // namespace PipelineTests
