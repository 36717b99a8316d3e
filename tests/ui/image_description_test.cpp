#include <gtest/gtest.h>

#include <string>

#include "ui/core/image_description.h"

namespace {

using SkinUI::ImageDescription;
using SkinUI::IntRect;
using SkinUI::ParseImageDescription;

std::string Narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end());
}

TEST(ImageDescription, PlainNamesAreFileNames) {
    for (const wchar_t* text : {L"res\\mainWnd\\bg1.png", L"res/common/btn.png", L"a b.png",
                                L"file=", L"file=''", L"x='unterminated"}) {
        SCOPED_TRACE(Narrow(text));
        ImageDescription expected;
        expected.name = text;
        EXPECT_EQ(ParseImageDescription(text), expected);
    }
}

TEST(ImageDescription, EveryKey) {
    const ImageDescription image = ParseImageDescription(
        L"file='res/a.png' dest='84,2,100,18' source='1,2,3,4' corner='2,2,2,2' mask='#FF00FF' "
        L"fade='128' hole='true' xtiled='true' ytiled='true' hsl='true'");
    EXPECT_EQ(image.name, L"res/a.png");
    EXPECT_EQ(image.resourceType, L"");
    EXPECT_FALSE(image.fromResource);
    EXPECT_EQ(image.dest, (IntRect{84, 2, 100, 18}));
    EXPECT_EQ(image.source, (IntRect{1, 2, 3, 4}));
    EXPECT_EQ(image.corner, (IntRect{2, 2, 2, 2}));
    EXPECT_EQ(image.mask, 0x00FF00FFu);
    EXPECT_EQ(image.fade, 128);
    EXPECT_TRUE(image.hole && image.xTiled && image.yTiled && image.hsl);
}

TEST(ImageDescription, KeyVariants) {
    const struct {
        const wchar_t* text;
        const wchar_t* name;
        const wchar_t* resourceType;
        bool fromResource;
        IntRect corner;
        uint8_t fade;
    } cases[] = {
        {L"color='#FF1675FE'", L"#FF1675FE", L"*COLOR*", false, {}, 255},
        {L"res='101' restype='PNG'", L"101", L"PNG", true, {}, 255},
        {L"file='a.png' scale9='1,2,3,4'", L"a.png", L"", false, {1, 2, 3, 4}, 255},
        // Booleans are exactly "true"; fade is held to 0-255.
        {L"file='a.png' hole='TRUE' fade='999'", L"a.png", L"", false, {}, 255},
        {L"file='a.png' fade='-5'", L"a.png", L"", false, {}, 0},
        // Keys are case-sensitive; unknown keys and empty values are ignored.
        {L"file='a.png' Fade='10' blur='3' dest=''", L"a.png", L"", false, {}, 255},
        // Blanks around '=' are allowed, the later of two "file" items wins.
        {L"  file = 'a.png' file='b.png'", L"b.png", L"", false, {}, 255},
        // Parsing stops when the closing quote is not followed by a blank.
        {L"file='a.png',fade='10'", L"a.png", L"", false, {}, 255},
        {L"file='a.png' fade='10", L"a.png", L"", false, {}, 255},
        {L"file='a b.png'", L"a b.png", L"", false, {}, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        ImageDescription expected;
        expected.name = c.name;
        expected.resourceType = c.resourceType;
        expected.fromResource = c.fromResource;
        expected.corner = c.corner;
        expected.fade = c.fade;
        EXPECT_EQ(ParseImageDescription(c.text), expected);
    }
}

}  // namespace
