#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/test_files.h"
#include "utils/code_page.h"
#include "utils/file_md5.h"
#include "utils/md5.h"

namespace {

struct DigestCase {
    const char* label;
    std::string bytes;
    const char* md5;
};

// The test suite of RFC 1321, appendix A.5, and a million "a" (several hundred of the
// 1024-byte reads, with the length spilling into a second padding block).
const DigestCase kDigestCases[] = {
    {"empty", "", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"alphabet", "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"alphanumerics", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"eighty digits", "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {"a million a", std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    {"56 bytes: padding needs a second block", std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
};

TEST(Md5, KnownDigestsFromMemoryInAnyChunking) {
    for (const auto& c : kDigestCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utils::Md5Hex(c.bytes), c.md5);
        // Uneven pieces cross the 64-byte block boundaries at every offset.
        Utils::Md5 pieces;
        for (size_t offset = 0, size = 1; offset < c.bytes.size(); offset += size, size = size % 97 + 1) {
            pieces.Update(c.bytes.data() + offset, std::min(size, c.bytes.size() - offset));
        }
        EXPECT_EQ(Utils::Md5::ToHex(pieces.Finish()), c.md5);
    }
}

TEST(FileMd5, KnownDigestsOfFiles) {
    TestSupport::TempFolder folder;
    for (const auto& c : kDigestCases) {
        SCOPED_TRACE(c.label);
        const auto path = folder.WriteFile(L"digest.bin", c.bytes);
        EXPECT_EQ(Utils::FileMd5(path.string()), c.md5);
    }
}

TEST(FileMd5, TakesTheFileNameInTheAnsiCodePage) {
    // The downloaders hand over a Chinese package path converted to the ANSI code page.
    TestSupport::TempFolder folder;
    const auto path = folder.WriteFile(L"安装包.bin", "abc");
    const std::string ansiPath = Utils::WideToMultiByte(path.wstring(), Utils::kAnsiCodePage);
    if (Utils::MultiByteToWide(ansiPath, Utils::kAnsiCodePage) != path.wstring()) {
        GTEST_SKIP() << "the system's ANSI code page cannot spell the name";
    }
    EXPECT_EQ(Utils::FileMd5(ansiPath), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(FileMd5, EmptyWhenThereIsNoFileToRead) {
    TestSupport::TempFolder folder;
    EXPECT_EQ(Utils::FileMd5(""), "");
    EXPECT_EQ(Utils::FileMd5((folder.Path() / L"missing.bin").string()), "");
    EXPECT_EQ(Utils::FileMd5(folder.Path().string()), "") << "a folder is no file";
}

}  // namespace
