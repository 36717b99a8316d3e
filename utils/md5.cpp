#include "utils/md5.h"

#include <cstring>

namespace Utils {
namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

constexpr uint32_t RotateLeft(uint32_t value, int count) {
    return (value << count) | (value >> (32 - count));
}

// One of the 64 operations; the round picks the mixing function and the word order.
template <int Round>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, int index) {
    uint32_t mixed;
    if constexpr (Round == 0) mixed = d ^ (b & (c ^ d));
    else if constexpr (Round == 1) mixed = c ^ (d & (b ^ c));
    else if constexpr (Round == 2) mixed = b ^ c ^ d;
    else mixed = c ^ (b | ~d);
    a = b + RotateLeft(a + mixed + word + kSine[index], kShift[Round][index % 4]);
}

template <int Round>
inline int WordIndex(int step) {
    if constexpr (Round == 0) return step;
    else if constexpr (Round == 1) return (5 * step + 1) % 16;
    else if constexpr (Round == 2) return (3 * step + 5) % 16;
    else return (7 * step) % 16;
}

template <int Round>
inline void RunRound(uint32_t (&v)[4], const uint32_t (&words)[16]) {
#pragma GCC unroll 16
    for (int step = 0; step < 16; ++step) {
        // The registers rotate roles every step: a, d, c, b take turns as the target.
        const int target = (4 - step % 4) % 4;
        Step<Round>(v[target], v[(target + 1) % 4], v[(target + 2) % 4], v[(target + 3) % 4],
                    words[WordIndex<Round>(step)], Round * 16 + step);
    }
}

}  // namespace

void Md5::Transform(const uint8_t* block) {
    uint32_t words[16];
    for (int i = 0; i < 16; ++i) {
        const uint8_t* p = block + i * 4;
        words[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    uint32_t v[4] = {state_[0], state_[1], state_[2], state_[3]};
    RunRound<0>(v, words);
    RunRound<1>(v, words);
    RunRound<2>(v, words);
    RunRound<3>(v, words);
    for (int i = 0; i < 4; ++i) state_[i] += v[i];
}

void Md5::Update(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t used = static_cast<size_t>(length_ % 64);
    length_ += size;
    if (used > 0) {
        const size_t take = size < 64 - used ? size : 64 - used;
        std::memcpy(pending_ + used, bytes, take);
        bytes += take;
        size -= take;
        if (used + take < 64) return;
        Transform(pending_);
    }
    for (; size >= 64; bytes += 64, size -= 64) Transform(bytes);
    std::memcpy(pending_, bytes, size);
}

Md5::Digest Md5::Finish() {
    const uint64_t bitLength = length_ * 8;
    uint8_t padding[72] = {0x80};
    const size_t used = static_cast<size_t>(length_ % 64);
    Update(padding, used < 56 ? 56 - used : 120 - used);
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<uint8_t>(bitLength >> (8 * i));
    Update(lengthBytes, 8);

    Digest digest;
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(state_[i / 4] >> (8 * (i % 4)));
    return digest;
}

std::string Md5::ToHex(const Digest& digest) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(32);
    for (uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0f];
    }
    return hex;
}

std::string Md5Hex(std::string_view bytes) {
    Md5 md5;
    md5.Update(bytes.data(), bytes.size());
    return Md5::ToHex(md5.Finish());
}

}  // namespace Utils
