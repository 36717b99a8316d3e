#pragma once
// Byte-range arithmetic of the multi-part download. 64-bit throughout: packages may
// exceed 2 GiB.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Pipeline {

inline constexpr int64_t kPartSplitBytes = 10485760;
inline constexpr int kMaxParts = 2;

struct PartRange {
    int64_t first;  // offset of the part's first byte
    int64_t last;   // offset of its last byte, inclusive
};

// One part below 20 MiB, two from there on; the last part takes the remainder.
std::vector<PartRange> SplitIntoParts(int64_t fileLength);

// How many of the offered bytes a part still wants when its next byte is at `next`:
// all of them, only the rest of its range, or none once it is full.
size_t AcceptedBytes(int64_t next, int64_t last, size_t offered);

}  // namespace Pipeline
