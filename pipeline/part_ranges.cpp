#include "pipeline/part_ranges.h"

#include <algorithm>

namespace Pipeline {

std::vector<PartRange> SplitIntoParts(int64_t fileLength) {
    std::vector<PartRange> parts;
    if (fileLength <= 0) return parts;
    const int64_t count = std::clamp<int64_t>(fileLength / kPartSplitBytes, 1, kMaxParts);
    const int64_t partSize = fileLength / count;
    int64_t offset = 0;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t size = i + 1 == count ? fileLength - offset : partSize;
        parts.push_back({offset, offset + size - 1});
        offset += size;
    }
    return parts;
}

size_t AcceptedBytes(int64_t next, int64_t last, size_t offered) {
    if (next > last) return 0;
    const int64_t room = last - next + 1;
    return static_cast<int64_t>(offered) <= room ? offered : static_cast<size_t>(room);
}

}  // namespace Pipeline
