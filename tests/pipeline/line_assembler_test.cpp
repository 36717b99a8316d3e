#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/line_assembler.h"

namespace {

TEST(LineAssembler, HandsOnWholeLinesOnly) {
    struct Case {
        std::vector<std::string> reads;
        std::vector<std::string> handedOn;  // per read, then the rest at the end
    };
    const Case cases[] = {
        {{"State=Fa", "il\r\n"}, {"", "State=Fail\r\n", ""}},
        {{"a\nb", "c\nd\n"}, {"a\n", "bc\nd\n", ""}},
        {{"no line end"}, {"", "no line end"}},
        {{"\xE4\xB8", "\xAD\n"}, {"", "\xE4\xB8\xAD\n", ""}},  // a character cut in two
    };
    for (const auto& c : cases) {
        LineAssembler lines;
        std::vector<std::string> handedOn;
        for (const auto& read : c.reads) handedOn.push_back(lines.Add(read));
        handedOn.push_back(lines.Finish());
        EXPECT_EQ(handedOn, c.handedOn);
    }
}

TEST(LineAssembler, AnEndlessLineIsNotHeldBackForEver) {
    LineAssembler lines;
    const std::string block(LineAssembler::kMaxPendingBytes, 'x');
    EXPECT_EQ(lines.Add(block), "");
    EXPECT_EQ(lines.Add("y"), block + "y");
    EXPECT_EQ(lines.Finish(), "");
}

}  // namespace
