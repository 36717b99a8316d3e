#pragma once
// Writing the scripted fake package and fake uninstaller for one test.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/fixtures/scripted_setup/overlay.h"
#include "tests/support/test_files.h"
#include "utils/code_page.h"

namespace FixtureScripts {

// A path or other text inside a script line: UTF-8, backslashes escaped.
inline std::string Text(const std::wstring& text) {
    std::string escaped;
    for (const char byte : Utils::WideToMultiByte(text, Utils::kUtf8CodePage)) {
        if (byte == '\\') escaped += '\\';
        escaped += byte;
    }
    return escaped;
}

inline std::filesystem::path Write(const wchar_t* program, const std::filesystem::path& target,
                                   const std::string& script) {
    EXPECT_TRUE(FixtureOverlay::WriteScripted(TestSupport::BinFolder() / program, target, script));
    return target;
}

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace FixtureScripts
