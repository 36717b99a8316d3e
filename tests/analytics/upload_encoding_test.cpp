#include <gtest/gtest.h>

#include <string>

#include "analytics/sdk/base64.h"
#include "analytics/sdk/form_url_encoding.h"
#include "analytics/sdk/gzip_compress.h"

namespace {

TEST(Base64, EncodesTheStandardTestVectors) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\xfb\xff\xbf", 3), "+/+/"},
        {std::string("\0\0\0", 3), "AAAA"},
    };
    for (const auto& [bytes, encoded] : cases) {
        EXPECT_EQ(usage_analytics::Base64Encode(bytes), encoded);
    }
}

TEST(UploadUrlEncoding, KeepsOnlyUnreservedCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"AZaz09-._~", "AZaz09-._~"},
        {"a+b/c=", "a%2Bb%2Fc%3D"},
        {" &%?#", "%20%26%25%3F%23"},
        {"\xE5\xAE\x89", "%E5%AE%89"},
        {std::string("\0\x7f", 2), "%00%7F"},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(usage_analytics::UrlEncodeUnreserved(text), encoded);
    }
}

TEST(GzipCompress, WritesAGzipStreamAtMaximumCompression) {
    const std::string input(100000, 'a');
    const auto compressed = usage_analytics::GzipCompress(input);
    ASSERT_TRUE(compressed.has_value());
    ASSERT_GT(compressed->size(), 18u);
    EXPECT_EQ(compressed->substr(0, 3), "\x1f\x8b\x08");
    EXPECT_EQ(static_cast<unsigned char>((*compressed)[8]), 2u) << "XFL: slowest, best compression";
    EXPECT_LT(compressed->size(), 1000u);
    // The trailer holds the input length modulo 2^32, little-endian.
    const auto& bytes = *compressed;
    const size_t n = bytes.size();
    const uint32_t length = static_cast<unsigned char>(bytes[n - 4]) | static_cast<unsigned char>(bytes[n - 3]) << 8 |
                            static_cast<unsigned char>(bytes[n - 2]) << 16 |
                            static_cast<uint32_t>(static_cast<unsigned char>(bytes[n - 1])) << 24;
    EXPECT_EQ(length, input.size());
}

}  // namespace
