// Colour arithmetic, picture recolouring and menu measuring rules of the flat look.
#include <gtest/gtest.h>

#include "ui/ColorAdjust.h"
#include "ui/MenuRules.h"
#include "ui/PictureRecolor.h"

using ui::Rgb;

TEST(ColorAdjust, HlsRoundTripsAndScales) {
    struct Case {
        Rgb rgb;
        ui::Hls hls;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 0}},       {{255, 255, 255}, {0, 255, 0}}, {{255, 0, 0}, {0, 127, 255}},
        {{0, 255, 0}, {85, 127, 255}}, {{0, 0, 255}, {170, 127, 255}}, {{192, 192, 192}, {0, 192, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rgb.r * 65536 + c.rgb.g * 256 + c.rgb.b);
        EXPECT_EQ(ui::RgbToHls(c.rgb), c.hls);
    }
    // Back and forth keeps a colour within the steps of the 0..255 hue scale.
    for (Rgb c : {Rgb{212, 208, 200}, Rgb{10, 36, 106}, Rgb{128, 128, 128}, Rgb{51, 153, 255}}) {
        Rgb back = ui::HlsToRgb(ui::RgbToHls(c));
        EXPECT_NEAR(back.r, c.r, 5);
        EXPECT_NEAR(back.g, c.g, 5);
        EXPECT_NEAR(back.b, c.b, 5);
    }
}

TEST(ColorAdjust, LightnessAndSaturationMovePercentages) {
    EXPECT_EQ(ui::ShiftPercent(100, 50), 177);   // 100 + 155 * 50 / 100
    EXPECT_EQ(ui::ShiftPercent(100, -15), 85);   // 100 * 85 / 100
    EXPECT_EQ(ui::ShiftPercent(100, 0), 100);
    EXPECT_EQ(ui::ShiftPercent(255, 80), 255);
    // A grey face lightened halfway to white, as behind the tab strip.
    EXPECT_EQ(ui::AdjustColor(Rgb{192, 192, 192}, 50, 0), (Rgb{223, 223, 223}));
    // Saturation -100 leaves the grey of the lightness.
    Rgb grey = ui::AdjustColor(Rgb{255, 0, 0}, 0, -100);
    EXPECT_EQ(grey.r, grey.g);
    EXPECT_EQ(grey.g, grey.b);
    EXPECT_EQ(ui::Darken(Rgb{200, 100, 0}, 0), (Rgb{186, 93, 0}));
    EXPECT_EQ(ui::Darken(Rgb{200, 100, 0}, 3), (Rgb{156, 78, 0}));
}

TEST(PictureRecolor, GreyLevelsNeverTurnTransparent) {
    struct Case {
        Rgb in, out;
    } cases[] = {
        {{192, 192, 192}, {192, 192, 192}},  // the transparent colour stays
        {{0, 0, 0}, {0, 0, 0}},
        {{255, 255, 255}, {255, 255, 255}},  // the weights add up to 1024
        {{255, 0, 0}, {76, 76, 76}},
        {{192, 193, 191}, {193, 193, 193}},  // computes to exactly 192
        {{180, 200, 190}, {193, 193, 193}},  // another colour whose grey is 192
    };
    for (const Case& c : cases) EXPECT_EQ(ui::GreyPicturePixel(c.in), c.out);
}

TEST(PictureRecolor, DisabledTintRunsFromShadowToWhite) {
    Rgb shadow{128, 128, 128};
    EXPECT_EQ(ui::DisabledPicturePixel(Rgb{0, 0, 0}, shadow), shadow);
    EXPECT_EQ(ui::DisabledPicturePixel(Rgb{255, 255, 255}, shadow), (Rgb{255, 255, 255}));
    EXPECT_EQ(ui::DisabledPicturePixel(Rgb{192, 192, 192}, shadow), (Rgb{192, 192, 192}));
    // Mean 85 (integer division by 3 first): 85/255 of the way from the shadow to white.
    EXPECT_EQ(ui::DisabledPicturePixel(Rgb{255, 0, 1}, shadow), (Rgb{170, 170, 170}));
    EXPECT_EQ(ui::DisabledPicturePixel(Rgb{2, 0, 0}, Rgb{10, 20, 30}), (Rgb{10, 20, 30}));
}

TEST(MenuRules, ItemHeightsFollowTheFont) {
    EXPECT_EQ(ui::MenuItemHeight(13), 20);
    EXPECT_EQ(ui::MenuItemHeight(14), 20);
    EXPECT_EQ(ui::MenuItemHeight(15), 21);
    EXPECT_EQ(ui::MenuSeparatorHeight(13), 8);
    EXPECT_EQ(ui::MenuSeparatorHeight(16), 10);
}

TEST(MenuRules, PopupItemsShareOneWidth) {
    uint32_t data = ui::PopupItemData(100, 40, 20);
    EXPECT_EQ(ui::MeasureMenuItem(data), (ui::ItemSize{182, 20}));
    EXPECT_EQ(ui::MeasureMenuItem(ui::PopupItemData(100, 0, 20)).width, 142);
    // The key width is kept to 8 bits in the data word.
    EXPECT_EQ(ui::MeasureMenuItem(ui::PopupItemData(10, 300, 20)).width, 10 + 44 + 42);
    // A separator's word is its height alone.
    EXPECT_EQ(ui::MeasureMenuItem(8), (ui::ItemSize{42, 8}));
    // Menu-bar items: text width + 4, height from the system.
    EXPECT_EQ(ui::MeasureMenuItem(ui::BarItemData(30)), (ui::ItemSize{34, 0}));
}

TEST(MenuRules, SplitsLabelAndKeyText) {
    ui::MenuTextParts p = ui::SplitMenuText("Rotate &Left\tCtrl+L");
    EXPECT_EQ(p.label, "Rotate Left");
    EXPECT_EQ(p.key, "Ctrl+L");
    p = ui::SplitMenuText("A&&B");
    EXPECT_EQ(p.label, "A&B");
    EXPECT_EQ(p.key, "");
}

TEST(MenuRules, MenuCharacterFindsTheFirstMnemonic) {
    const std::vector<std::string> logoEdit = {"Rotate &Left\tCtrl+L", "Rotate &Right\tCtrl+R", "",
                                               "Flip &Horizontal\tCtrl+H", "Flip &Vertical\tCtrl+V", ""};
    struct Case {
        std::vector<std::string> texts;
        char c;
        int item;
    } cases[] = {
        {logoEdit, 'l', 0},
        {logoEdit, 'L', 0},
        {logoEdit, 'h', 3},
        {logoEdit, 'v', 4},
        {logoEdit, 'x', -1},
        {{"Save && &Quit", "&Save"}, 's', 1},  // "&&" marks nothing
        {{"Fish&&Chips", "&Copy"}, 'c', 1},
        {{"Fish&&Chips"}, 'c', -1},
        {{"파일열기(&N)", "파일저장(&N)"}, 'n', 0},  // the first of equal mnemonics
        {{"End&"}, 'x', -1},                      // a trailing "&" marks nothing
        {{"&", "", "&a"}, 'a', 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.c));
        EXPECT_EQ(ui::MenuCharItem(c.texts, c.c), c.item);
    }
}

TEST(MenuRules, TextCachePrunesMenusThatAreGone) {
    ui::MenuTextCache cache;
    int a = 0, b = 0;
    cache.StoreForCommand(57601, "&Open...\tCtrl+O");
    cache.StoreForSubMenu(&a, "&File");
    cache.StoreForSubMenu(&b, "&Edit");
    cache.Prune([&](const void* m) { return m == &a; });
    EXPECT_EQ(cache.ForSubMenu(&a), "&File");
    EXPECT_EQ(cache.ForSubMenu(&b), "");
    EXPECT_EQ(cache.ForCommand(57601), "&Open...\tCtrl+O");
    EXPECT_EQ(cache.SubMenuCount(), 1u);
}

TEST(MenuRules, ShadowBandOfAnOpenBarItem) {
    // Column k = 0 (outermost) starts at row 2, k = 3 at row 0.
    EXPECT_EQ(ui::RightBandFirstRow(0), 2);
    EXPECT_EQ(ui::RightBandFirstRow(1), 1);
    EXPECT_EQ(ui::RightBandFirstRow(3), 0);
    EXPECT_EQ(ui::RightBandRowEnd(0, 20), 18);
    EXPECT_EQ(ui::RightBandRowEnd(2, 20), 17);
    EXPECT_EQ(ui::RightBandShade(0, 3), 0);
    EXPECT_EQ(ui::RightBandShade(1, 3), 1);
    EXPECT_EQ(ui::RightBandShade(1, 1), 0);
    EXPECT_EQ(ui::RightBandShade(2, 2), 2);
    EXPECT_EQ(ui::RightBandShade(5, 2), 2);
    EXPECT_EQ(ui::RightBandShade(5, 0), 0);
}
