#include <gtest/gtest.h>

#include <string>

#include "ui/core/text_decoding.h"

namespace {

using SkinUI::DecodeUtf16WithMark;
using SkinUI::DecodeUtf8;

std::wstring Utf8(const std::string& bytes) {
    return DecodeUtf8(bytes.data(), bytes.size());
}

TEST(TextDecoding, Utf8) {
    EXPECT_EQ(Utf8("<a/>"), L"<a/>");
    EXPECT_EQ(Utf8("\xEF\xBB\xBF<a/>"), L"<a/>");
    EXPECT_EQ(Utf8("\xE5\xBE\xAE\xE8\xBD\xAF"), L"微软");
    EXPECT_EQ(Utf8("\xF0\x9F\x98\x80"), L"\xD83D\xDE00");
    // Malformed: stray continuation, truncated sequence, overlong form, surrogate.
    EXPECT_EQ(Utf8("a\x80" "b"), L"a\xFFFD" L"b");
    EXPECT_EQ(Utf8("a\xE5\xBE"), L"a\xFFFD");
    EXPECT_EQ(Utf8("\xC0\xAF"), L"\xFFFD");
    EXPECT_EQ(Utf8("\xED\xA0\x80"), L"\xFFFD");
    EXPECT_EQ(Utf8(""), L"");
}

TEST(TextDecoding, Utf16NeedsAByteOrderMark) {
    const std::string little("\xFF\xFE<\0a\0/\0>\0", 10);
    const std::string big("\xFE\xFF\0<\0a\0/\0>", 10);
    EXPECT_EQ(DecodeUtf16WithMark(little.data(), little.size()), std::wstring(L"<a/>"));
    EXPECT_EQ(DecodeUtf16WithMark(big.data(), big.size()), std::wstring(L"<a/>"));
    const std::string unmarked("<\0a\0", 4);
    EXPECT_FALSE(DecodeUtf16WithMark(unmarked.data(), unmarked.size()).has_value());
    EXPECT_EQ(DecodeUtf16WithMark(little.data(), 5), std::wstring(L"<"));
}

}  // namespace
