// Part split and range guard arithmetic, including offsets past 32 bits.
#include "pipeline/part_ranges.h"

#include <gtest/gtest.h>

namespace PipelineTests {
namespace {

using Pipeline::PartRange;

struct SplitRow {
    int64_t fileLength;
    std::vector<std::pair<int64_t, int64_t>> parts;
};

TEST(PartRanges, SplitsAtTwentyMebibytes) {
    const SplitRow rows[] = {
        {256, {{0, 255}}},
        {20971519, {{0, 20971518}}},
        {20971520, {{0, 10485759}, {10485760, 20971519}}},
        {20971521, {{0, 10485759}, {10485760, 20971520}}},
        {5368709121LL, {{0, 2684354559LL}, {2684354560LL, 5368709120LL}}},
    };
    for (const SplitRow& row : rows) {
        std::vector<std::pair<int64_t, int64_t>> parts;
        for (const PartRange& part : Pipeline::SplitIntoParts(row.fileLength)) parts.emplace_back(part.first, part.last);
        EXPECT_EQ(row.parts, parts) << row.fileLength;
    }
}

TEST(PartRanges, GuardAcceptsOnlyTheRestOfTheRange) {
    struct Row {
        int64_t next, last;
        size_t offered, accepted;
    } rows[] = {
        {0, 99, 50, 50},    {0, 99, 100, 100},  {0, 99, 101, 100},
        {90, 99, 50, 10},   {100, 99, 10, 0},   {3000000000LL, 3000000009LL, 16384, 10},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.accepted, Pipeline::AcceptedBytes(row.next, row.last, row.offered)) << row.next << " " << row.offered;
    }
}

}  // namespace
}  // namespace PipelineTests
