#include "utils/file_md5.h"

#include <cstdio>
#include <memory>

#include "utils/md5.h"

namespace Utils {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

}  // namespace

std::string FileMd5(const std::string& path) {
    if (path.empty()) return {};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    Md5 md5;
    // Small reads on purpose: the C runtime's own buffer turns them into larger ones.
    unsigned char block[1024];
    size_t read = 0;
    while ((read = std::fread(block, 1, sizeof(block), file.get())) > 0) md5.Update(block, read);
    // A read error is not the end of the file: a digest of part of it would be wrong.
    if (std::ferror(file.get())) return {};
    return Md5::ToHex(md5.Finish());
}

}  // namespace Utils
