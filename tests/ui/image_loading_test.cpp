#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/ui/skin_fixture.h"
#include "ui/core/image_description.h"
#include "ui/core/image_info.h"
#include "ui/core/image_pixels.h"
#include "ui/core/image_table.h"

namespace {

using SkinUI::ImageInfo;
using SkinUI::LoadImage;

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(ImagePixels, PremultipliesWithIntegerDivisionAndAppliesTheMask) {
    const struct {
        uint8_t rgba[4];
        uint32_t mask;
        uint32_t argb;
        bool hasAlpha;
    } cases[] = {
        {{255, 128, 0, 128}, 0, 0x80804000, true},   // R 128, G 64, B 0, A 128
        {{10, 20, 30, 255}, 0, 0xFF0A141E, false},
        {{100, 200, 50, 3}, 0, 0x03010200, true},
        {{9, 9, 9, 0}, 0, 0x00000000, true},
        {{255, 0, 0, 255}, 0xFFFF0000, 0x00000000, true},  // the mask includes alpha
        {{255, 0, 0, 255}, 0x00FF0000, 0xFFFF0000, false}, // so "#FF0000" matches nothing
        {{0, 0, 0, 0}, 0, 0, true},                        // alpha 0 equals mask 0 anyway
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.argb);
        uint32_t out = 0x12345678;
        EXPECT_EQ(SkinUI::ConvertToPremultipliedBgra(c.rgba, 1, c.mask, &out), c.hasAlpha);
        EXPECT_EQ(out, c.argb);
    }
}

class ImageLoadingTest : public SkinTest::SkinSettingsTest {
protected:
    void SetUp() override {
        SkinSettingsTest::SetUp();
        UseMemoryArchive();
    }
};

TEST_F(ImageLoadingTest, PngBecomesAPremultipliedDib) {
    const auto image = LoadImage(L"res\\mainWnd\\bg1.png", L"", 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_TRUE(image->hasAlpha);
    EXPECT_EQ(image->bits[0], 0x80804000u);
    EXPECT_EQ(image->bits[1], 0xFF0A141Eu);
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectW(image->bitmap.Get(), sizeof(section), &section), static_cast<int>(sizeof(section)));
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(section.dsBm.bmBits, image->bits);
}

TEST_F(ImageLoadingTest, OpaqueAndMaskedPictures) {
    const struct {
        const wchar_t* name;
        uint32_t mask;
        bool hasAlpha;
        uint32_t firstPixel;
    } cases[] = {
        {L"res/mainWnd/installBtnAnimate/000.png", 0, false, 0xFF0000FF},
        {L"res/common/masked.png", 0xFFFF0000, true, 0},
        {L"res/common/masked.png", 0x00FF0000, false, 0xFFFF0000},
        {L"res/common/clear.png", 0, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const auto image = LoadImage(c.name, L"", c.mask);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->hasAlpha, c.hasAlpha);
        EXPECT_EQ(image->bits[0], c.firstPixel);
        EXPECT_EQ(image->mask, c.mask);
    }
}

TEST_F(ImageLoadingTest, ColourPseudoImages) {
    const struct {
        const wchar_t* colour;
        uint32_t pixel;
        bool hasAlpha;
    } cases[] = {
        {L"#FF1675FE", 0xFF1675FE, false},
        {L"FF1675FE", 0xFF1675FE, false},
        {L"#80FF0000", 0x80800000, true},
        {L"#FF0000", 0x00000000, true},  // no alpha given: fully transparent
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.colour));
        const auto image = LoadImage(c.colour, SkinUI::kColorImageType, 0);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 1);
        EXPECT_EQ(image->height, 1);
        EXPECT_EQ(image->bits[0], c.pixel);
        EXPECT_EQ(image->hasAlpha, c.hasAlpha);
    }
}

TEST_F(ImageLoadingTest, UnusablePicturesGiveNothing) {
    for (const wchar_t* name : {L"res/common/not_a_png.png", L"res/common/closebtn4.png",
                                L"res/big/over4mib.bin", L"res/big/exact4mib.bin", L"res/empty.txt",
                                L"mainWnd.xml", L""}) {
        SCOPED_TRACE(Narrow(name));
        EXPECT_EQ(LoadImage(name, L"", 0), nullptr);
    }
    EXPECT_EQ(LoadImage(L"999", L"PNG", 0), nullptr);  // no such module resource
    EXPECT_EQ(LoadImage(L"res/mainWnd/bg1.png", L"PNG", 0), nullptr);  // a type means a resource
}

TEST_F(ImageLoadingTest, PicturesFromModuleResources) {
    // A name starting with a digit is a numeric resource id.
    const auto image = LoadImage(L"101", L"PNG", 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[0], 0x80804000u);
    EXPECT_EQ(image->resourceType, L"PNG");
}

TEST_F(ImageLoadingTest, ANameMissingFromTheSkinIsTriedAsAPath) {
    const std::wstring path = (SkinTest::FixtureFolder() / L"skin/res/mainWnd/bg1.png").wstring();
    const auto image = LoadImage(path, L"", 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[0], 0x80804000u);
}

TEST_F(ImageLoadingTest, ImageTableNamesAreExactWhileTheArchiveIgnoresSeparators) {
    SkinUI::ImageStore store;
    const auto backslashes = store.GetOrLoadImage(L"res\\mainWnd\\bg1.png", L"", 0, false);
    const auto slashes = store.GetOrLoadImage(L"res/mainWnd/bg1.png", L"", 0, false);
    ASSERT_NE(backslashes, nullptr);
    ASSERT_NE(slashes, nullptr);
    EXPECT_NE(backslashes, slashes);
    EXPECT_EQ(store.OwnImageCount(), 2u);
    EXPECT_EQ(store.GetOrLoadImage(L"res/mainWnd/bg1.png", L"", 0, false), slashes);
    EXPECT_EQ(store.GetImage(L"RES/mainWnd/bg1.png"), nullptr);

    EXPECT_EQ(store.AddImage(L"res/common/not_a_png.png", L"", 0, false, false), nullptr);
    EXPECT_EQ(store.OwnImageCount(), 2u);  // a failed load stores nothing

    // Replacing an entry of the same name destroys the old one.
    const auto replaced = store.AddImage(L"res/mainWnd/bg1.png", L"", 0, true, false);
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(store.GetImage(L"res/mainWnd/bg1.png"), replaced);
    EXPECT_TRUE(replaced->useHsl);
    ASSERT_EQ(replaced->unadjustedBits.size(), 2u);
    EXPECT_EQ(replaced->unadjustedBits[0], 0x80804000u);
}

TEST_F(ImageLoadingTest, SharedImagesAreSeenByEveryWindow) {
    SkinUI::ImageStore first;
    SkinUI::ImageStore second;
    const auto shared = first.AddImage(L"res/common/masked.png", L"", 0, false, true);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(first.OwnImageCount(), 0u);
    EXPECT_EQ(second.GetImage(L"res/common/masked.png"), shared);
    // A window's own image of the same name takes precedence.
    const auto own = second.AddImage(L"res/common/masked.png", L"", 0xFFFF0000, false, false);
    EXPECT_EQ(second.GetImage(L"res/common/masked.png"), own);
    SkinUI::SharedImageTable().Remove(L"res/common/masked.png");
}

}  // namespace
