// Pixel tests: every primitive draws into a 32-bit DIB section and the pixels are read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "tests/ui/skin_fixture.h"
#include "ui/core/drawing.h"
#include "ui/core/gdi_handles.h"
#include "ui/core/image_description_cache.h"
#include "ui/core/image_info.h"
#include "ui/core/image_table.h"
#include "ui/core/multi_language.h"
#include "ui/core/paint_resources.h"

namespace {

using namespace SkinUI;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGrey = 0x404040;

// A memory DC over a top-down DIB section filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, uint32_t background = kGrey)
        : width_(width), dc_(::CreateCompatibleDC(nullptr)) {
        bitmap_ = CreateTopDownDib(dc_.Get(), width, height, &bits_);
        select_.emplace(dc_.Get(), bitmap_.Get());
        std::fill(bits_, bits_ + width * height, background);
    }
    HDC Dc() const { return dc_.Get(); }
    uint32_t At(int x, int y) const {
        ::GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    MemoryDc dc_;
    GdiBitmap bitmap_;
    uint32_t* bits_ = nullptr;
    std::optional<ScopedSelect> select_;
};

int Channel(uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}

// Colours equal within a rounding step per channel.
testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 2) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance) {
            return testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
        }
    }
    return testing::AssertionSuccess();
}

class TestResources : public IPaintResources {
public:
    ImageStore& GetImageStore() override { return store_; }
    HFONT GetFont(int32_t) override { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

private:
    ImageStore store_;
};

class DrawingTest : public SkinTest::SkinSettingsTest {
protected:
    void SetUp() override {
        SkinSettingsTest::SetUp();
        UseMemoryArchive();
    }

    // Draws a description over itemRect on a fresh canvas.
    bool DrawDescription(Canvas& canvas, const std::wstring& description, const RECT& itemRect,
                         const RECT* paintRect = nullptr) {
        ImageDescriptionCache cache;
        cache.SetDescription(description);
        return DrawImageDescription(canvas.Dc(), resources_, itemRect, paintRect ? *paintRect : itemRect,
                                    cache);
    }

    TestResources resources_;
};

TEST(Drawing, ColourFillAtEveryAlpha) {
    const struct {
        uint32_t argb;
        uint32_t overGrey;
    } cases[] = {
        {0x00FF0000, kGrey},     // alpha 0 draws nothing
        {0xFF1675FE, 0x1675FE},  // opaque fills exactly
        {0x80FF0000, 0xA02020},  // half and half: (255 + 64) / 2, 64 / 2 ...
        {0x80000000, 0x202020},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.argb);
        Canvas canvas(10, 10);
        DrawColor(canvas.Dc(), {2, 2, 8, 8}, c.argb);
        EXPECT_TRUE(Near(canvas.At(2, 2), c.overGrey));
        EXPECT_TRUE(Near(canvas.At(7, 7), c.overGrey));
        EXPECT_EQ(canvas.At(1, 1), kGrey);  // outside the rectangle
        EXPECT_EQ(canvas.At(8, 8), kGrey);
    }
}

TEST(Drawing, VerticalAndHorizontalGradients) {
    Canvas canvas(16, 16);
    DrawGradient(canvas.Dc(), {0, 0, 16, 16}, 0xFF000000, 0xFFFFFFFF, true, 16);
    EXPECT_TRUE(Near(canvas.At(5, 0), 0x000000, 16));
    EXPECT_TRUE(Near(canvas.At(5, 15), 0xFFFFFF, 16));
    EXPECT_LT(Channel(canvas.At(5, 4), 0), Channel(canvas.At(5, 11), 0));
    EXPECT_EQ(canvas.At(0, 8), canvas.At(15, 8));  // constant along a row

    Canvas horizontal(16, 4);
    DrawGradient(horizontal.Dc(), {0, 0, 16, 4}, 0xFFFF0000, 0xFF0000FF, false, 16);
    EXPECT_TRUE(Near(horizontal.At(0, 0), kRed, 16));
    EXPECT_TRUE(Near(horizontal.At(15, 0), kBlue, 16));

    Canvas transparent(8, 8);
    DrawGradient(transparent.Dc(), {0, 0, 8, 8}, 0x00FF0000, 0x000000FF, true, 16);
    EXPECT_EQ(transparent.At(4, 4), kGrey);

    // Mean alpha 0x80: the gradient is blended at half opacity.
    Canvas blended(8, 8, 0x000000);
    DrawGradient(blended.Dc(), {0, 0, 8, 8}, 0x80FFFFFF, 0x80FFFFFF, true, 16);
    EXPECT_TRUE(Near(blended.At(4, 4), 0x808080, 3));
}

TEST_F(DrawingTest, NinePartWithTwoPixelCornersOnBothPaths) {
    for (const wchar_t* description :
         {L"file='res/common/nine.png' corner='2,2,2,2'",
          L"file='res/common/nine.png' corner='2,2,2,2' fade='254'"}) {
        SCOPED_TRACE(std::string(description, description + wcslen(description)));
        Canvas canvas(30, 14);
        ASSERT_TRUE(DrawDescription(canvas, description, {0, 0, 30, 14}));
        // Corners stay 2 x 2, edges stretch along their length, the centre both ways.
        for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {28, 0}, {29, 1}, {0, 12}, {29, 13}}) {
            EXPECT_TRUE(Near(canvas.At(x, y), kRed)) << x << "," << y;
        }
        for (auto [x, y] : {std::pair{2, 0}, {27, 1}, {0, 2}, {1, 11}, {29, 6}, {15, 13}}) {
            EXPECT_TRUE(Near(canvas.At(x, y), kGreen)) << x << "," << y;
        }
        for (auto [x, y] : {std::pair{2, 2}, {27, 11}, {15, 7}}) {
            EXPECT_TRUE(Near(canvas.At(x, y), kBlue)) << x << "," << y;
        }
    }
}

TEST_F(DrawingTest, FadeBlendsAndHoleLeavesTheCentre) {
    Canvas faded(12, 12, 0x000000);
    ASSERT_TRUE(DrawDescription(faded, L"file='res/common/nine.png' corner='2,2,2,2' fade='128'", {0, 0, 12, 12}));
    EXPECT_TRUE(Near(faded.At(0, 0), 0x800000, 2));
    EXPECT_TRUE(Near(faded.At(6, 6), 0x000080, 2));

    Canvas holed(12, 12);
    ASSERT_TRUE(DrawDescription(holed, L"file='res/common/nine.png' corner='2,2,2,2' hole='true'", {0, 0, 12, 12}));
    EXPECT_EQ(holed.At(6, 6), kGrey);
    EXPECT_TRUE(Near(holed.At(0, 0), kRed));
    EXPECT_TRUE(Near(holed.At(6, 0), kGreen));
}

TEST_F(DrawingTest, TilingRepeatsTheCentreInsteadOfStretching) {
    // masked.png is one red and one green pixel.
    Canvas tiled(5, 3);
    ASSERT_TRUE(DrawDescription(tiled, L"file='res/common/masked.png' xtiled='true'", {0, 0, 5, 3}));
    const uint32_t tiledRow[] = {kRed, kGreen, kRed, kGreen, kRed};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(tiled.At(x, 0), tiledRow[x]) << x;
        EXPECT_EQ(tiled.At(x, 2), tiledRow[x]) << x;  // stretched vertically
    }
    Canvas stretched(4, 1);
    ASSERT_TRUE(DrawDescription(stretched, L"file='res/common/masked.png' corner='0,0,0,0' fade='255' dest='0,0,4,1'", {0, 0, 4, 1}));
    EXPECT_EQ(stretched.At(1, 0), kRed);
    EXPECT_EQ(stretched.At(2, 0), kGreen);

    Canvas both(3, 5);
    ASSERT_TRUE(DrawDescription(both, L"file='res/common/rows.png' xtiled='true' ytiled='true'", {0, 0, 3, 5}));
    const uint32_t column[] = {kRed, kBlue, kRed, kBlue, kRed};
    for (int y = 0; y < 5; ++y) EXPECT_EQ(both.At(2, y), column[y]) << y;
}

TEST_F(DrawingTest, DestPlacesThePictureInsideTheControl) {
    // A 100 x 20 button at (10, 5); dest (84,2,100,18) is the 16 x 16 square at (84, 2).
    Canvas canvas(120, 30);
    const RECT button = {10, 5, 110, 25};
    ASSERT_TRUE(DrawDescription(canvas, L"file='res/mainWnd/installBtnAnimate/000.png' dest='84,2,100,18'", button));
    EXPECT_EQ(canvas.At(94, 7), kBlue);
    EXPECT_EQ(canvas.At(109, 22), kBlue);
    EXPECT_EQ(canvas.At(93, 7), kGrey);
    EXPECT_EQ(canvas.At(94, 6), kGrey);
    EXPECT_EQ(canvas.At(110, 22), kGrey);
    EXPECT_EQ(canvas.At(94, 23), kGrey);

    // dest reaching past the control is cut at its edge.
    Canvas cut(40, 20);
    ASSERT_TRUE(DrawDescription(cut, L"file='res/mainWnd/installBtnAnimate/000.png' dest='5,0,50,10'", {0, 0, 20, 20}));
    EXPECT_EQ(cut.At(19, 5), kBlue);
    EXPECT_EQ(cut.At(20, 5), kGrey);
}

TEST_F(DrawingTest, OnlyThePaintRectangleIsTouchedAndPicturesStayUpright) {
    Canvas canvas(4, 4);
    const RECT paint = {0, 0, 4, 1};
    // Same size as the source and no corners: the plain copy path, clipped to paintRect.
    ASSERT_TRUE(DrawDescription(canvas, L"res/common/rows.png", {1, 0, 2, 2}, &paint));
    EXPECT_EQ(canvas.At(1, 0), kRed);
    EXPECT_EQ(canvas.At(1, 1), kGrey);

    Canvas upright(1, 2);
    ASSERT_TRUE(DrawDescription(upright, L"res/common/rows.png", {0, 0, 1, 2}));
    EXPECT_EQ(upright.At(0, 0), kRed);
    EXPECT_EQ(upright.At(0, 1), kBlue);

    // Out of the paint area: nothing drawn, yet the picture counts as available.
    Canvas missed(4, 4);
    const RECT elsewhere = {3, 3, 4, 4};
    EXPECT_TRUE(DrawDescription(missed, L"res/common/rows.png", {0, 0, 1, 2}, &elsewhere));
    EXPECT_EQ(missed.At(0, 0), kGrey);
}

TEST_F(DrawingTest, SourceSelectsPartOfThePicture) {
    Canvas canvas(4, 4);
    ASSERT_TRUE(DrawDescription(canvas, L"file='res/common/nine.png' source='2,2,4,4'", {0, 0, 4, 4}));
    EXPECT_EQ(canvas.At(0, 0), kBlue);
    EXPECT_EQ(canvas.At(3, 3), kBlue);
    // A source reaching past the picture is cut to it.
    Canvas clamped(2, 2);
    ASSERT_TRUE(DrawDescription(clamped, L"file='res/common/nine.png' source='4,4,99,99'", {0, 0, 2, 2}));
    EXPECT_EQ(clamped.At(0, 0), kRed);
}

TEST_F(DrawingTest, ColourDescriptionsAndMissingPictures) {
    Canvas canvas(4, 4);
    ASSERT_TRUE(DrawDescription(canvas, L"color='#FF1675FE'", {0, 0, 4, 4}));
    EXPECT_EQ(canvas.At(3, 3), 0x1675FEu);

    Canvas untouched(4, 4);
    ImageDescriptionCache cache;
    cache.SetDescription(L"res\\common\\closebtn4.png");
    EXPECT_FALSE(DrawImageDescription(untouched.Dc(), resources_, {0, 0, 4, 4}, {0, 0, 4, 4}, cache));
    EXPECT_TRUE(cache.IsParsed());
    EXPECT_EQ(untouched.At(0, 0), kGrey);
    // A new description is parsed and loaded afresh.
    cache.SetDescription(L"res\\common\\rows.png");
    EXPECT_FALSE(cache.IsParsed());
    EXPECT_TRUE(DrawImageDescription(untouched.Dc(), resources_, {0, 0, 4, 4}, {0, 0, 4, 4}, cache));
}

// Untrusted descriptions with absurd numbers draw something or nothing, never crash or
// hang, and never touch pixels outside the paint rectangle.
TEST_F(DrawingTest, RandomDescriptionsStayInsideThePaintRectangle) {
    std::mt19937 random(1211);
    const int32_t extremes[] = {0, 1, 2, 3, -1, -7, 5, 40, 99, 100000, -100000, 2147483647, -2147483647 - 1};
    auto number = [&]() -> std::wstring {
        if (random() % 2 == 0) return std::to_wstring(extremes[random() % std::size(extremes)]);
        return std::to_wstring(static_cast<int>(random() % 80) - 10);
    };
    auto rect = [&] { return number() + L"," + number() + L"," + number() + L"," + number(); };
    const wchar_t* files[] = {L"res/common/nine.png", L"res/common/masked.png", L"res/mainWnd/bg1.png",
                              L"res/common/rows.png"};
    const wchar_t* keys[] = {L"dest", L"source", L"corner", L"fade", L"hole", L"xtiled", L"ytiled", L"mask"};
    for (int round = 0; round < 1500; ++round) {
        std::wstring description = L"file='" + std::wstring(files[random() % std::size(files)]) + L"'";
        for (int item = static_cast<int>(random() % 6); item > 0; --item) {
            const std::wstring key = keys[random() % std::size(keys)];
            std::wstring value;
            if (key == L"fade") value = number();
            else if (key == L"hole" || key == L"xtiled" || key == L"ytiled") value = random() % 2 ? L"true" : L"false";
            else if (key == L"mask") value = L"#FFFF0000";
            else value = rect();
            description += L" " + key + L"='" + value + L"'";
        }
        SCOPED_TRACE(std::string(description.begin(), description.end()));
        Canvas canvas(40, 40);
        const RECT item = {5, 5, 35, 35};
        const RECT paint = {10, 10, 30, 30};
        DrawDescription(canvas, description, item, &paint);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (x >= 10 && x < 30 && y >= 10 && y < 30) continue;
                ASSERT_EQ(canvas.At(x, y), kGrey) << x << "," << y;
            }
        }
    }
}

TEST(Drawing, RectanglesAndLines) {
    Canvas rect(10, 10);
    DrawRect(rect.Dc(), {0, 0, 10, 10}, 2, 0xFFFF0000, PS_SOLID);
    EXPECT_EQ(rect.At(0, 0), kRed);
    EXPECT_EQ(rect.At(1, 5), kRed);
    EXPECT_EQ(rect.At(9, 9), kRed);  // drawn inside the frame
    EXPECT_EQ(rect.At(2, 5), kGrey);
    EXPECT_EQ(rect.At(5, 5), kGrey);  // null brush: the inside stays

    Canvas line(10, 10);
    DrawLine(line.Dc(), {0, 4, 10, 4}, 1, 0xFF00FF00, PS_SOLID);
    EXPECT_EQ(line.At(0, 4), kGreen);
    EXPECT_EQ(line.At(8, 4), kGreen);
    EXPECT_EQ(line.At(5, 3), kGrey);
    EXPECT_EQ(line.At(5, 5), kGrey);

    Canvas round(20, 20);
    DrawRoundRect(round.Dc(), {0, 0, 20, 20}, 1, 8, 8, 0xFF0000FF, PS_SOLID);
    EXPECT_EQ(round.At(10, 0), kBlue);
    EXPECT_EQ(round.At(0, 0), kGrey);  // the corner is rounded off
    EXPECT_EQ(round.At(10, 10), kGrey);
}

TEST(Drawing, TextIsDrawnAndMeasuredWithReferencesResolved) {
    TestResources resources;
    HDC screen = ::GetDC(nullptr);
    const SIZE empty = GetTextSize(screen, resources, L"", -1, 0);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 0);
    const SIZE plain = GetTextSize(screen, resources, L"WWWWWWWW", -1, 0);
    EXPECT_GT(plain.cx, 0);
    EXPECT_GT(plain.cy, 0);
    SetMultiLanguageString(7, L"WWWWWWWW");
    const SIZE resolved = GetTextSize(screen, resources, L"%{7}", -1, 0);
    EXPECT_EQ(resolved.cx, plain.cx);
    EXPECT_NE(GetTextSize(screen, resources, L"%{8}", -1, 0).cx, plain.cx);  // nothing registered
    ClearMultiLanguageStrings();
    ::ReleaseDC(nullptr, screen);

    Canvas canvas(80, 20, 0xFFFFFF);
    DrawText(canvas.Dc(), resources, {0, 0, 40, 20}, L"&W&W", 0xFF000000, -1, DT_LEFT | DT_TOP | DT_SINGLELINE);
    int inked = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (canvas.At(x, y) != 0xFFFFFF) {
                ++inked;
                EXPECT_LT(x, 40);  // clipped to nothing but the given rectangle
            }
        }
    }
    EXPECT_GT(inked, 10);
}

}  // namespace
