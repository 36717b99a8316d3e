#pragma once
// MD5 (RFC 1321). The downloaders compare a package against the digest in its URL.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Utils {

class Md5 {
public:
    using Digest = std::array<uint8_t, 16>;

    void Update(const void* data, size_t size);
    // Pads, appends the length and returns the digest; the object is spent afterwards.
    Digest Finish();

    // 32 lower-case hexadecimal digits.
    static std::string ToHex(const Digest& digest);

private:
    void Transform(const uint8_t* block);

    uint32_t state_[4] = {0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
    // Bytes hashed so far: 64 bits, so files beyond 4 GiB keep their true length.
    uint64_t length_ = 0;
    uint8_t pending_[64] = {};
};

std::string Md5Hex(std::string_view bytes);

}  // namespace Utils
