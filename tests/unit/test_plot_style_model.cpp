#include <gtest/gtest.h>

#include <kesutils/plot_style_table.h>
#include <teigha/od_cm_color.h>

namespace {

// Colours mapped to a deleted style plot with the first style instead.
TEST(PlotStyleTableModel, DeletingAMappedStyleMapsItsColoursToTheFirst) {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    ASSERT_TRUE(table->addStyle(u"A", 0, nullptr));
    table->AciTableAvailable = true;
    for (CPlotStyle*& entry : table->AciTable) {
        entry = table->style(1);
    }
    table->deleteStyle(1);
    for (const CPlotStyle* entry : table->AciTable) {
        EXPECT_EQ(entry, table->style(0));
    }
    table->deleteStyle(0);
    EXPECT_EQ(table->size(), 1u) << "the last style stays";
}

TEST(PlotStyleColor, UpdateColorEncodesAndColor2RgbDecodes) {
    CPlotStyle style;
    EXPECT_EQ(style.color2rgb(), 0x00FFFFFF);

    // Pure red is colour index 1: stored as an index colour by its RGB, red high.
    style.updateColor(0xFF0000);
    EXPECT_EQ(style.Color, 0xC3FF0000u);
    EXPECT_EQ(style.ModeColor, 0xC3FF0000u);
    EXPECT_EQ(style.color2rgb(), 0x0000FF);
    style.updateColor(0x102030);
    EXPECT_EQ(style.Color, 0xC2102030u);
    EXPECT_EQ(style.color2rgb(), 0x302010);

    // Every palette entry but white (the object colour code) is recognised as an index colour.
    const std::uint32_t* palette = odcmDarkPalette();
    for (int index = 1; index <= 255; ++index) {
        const std::uint32_t redLow = palette[index];
        const std::int32_t redHigh =
            std::int32_t(((redLow & 0xFF) << 16) | (redLow & 0xFF00) | ((redLow >> 16) & 0xFF));
        style.updateColor(redHigh);
        if (redHigh != 0xFFFFFF) {
            EXPECT_EQ(style.Color >> 24, 0xC3u) << "colour index " << index;
        }
        EXPECT_EQ(style.color2rgb(), std::int32_t(redLow)) << "colour index " << index;
    }

    style.updateColor(0x00FFFFFF);
    EXPECT_EQ(style.Color, 0xC3FFFFFFu);
    EXPECT_FALSE(style.updateColor(0x7F000000));
    EXPECT_EQ(style.Color, 0xC3FFFFFFu);
    for (const std::uint32_t objectColor : {0xFFFFFFFFu, 0xC0000001u, 0xC1000000u}) {
        style.Color = style.ModeColor = objectColor;
        EXPECT_EQ(style.color2rgb(), 0x00FFFFFF) << std::hex << objectColor;
    }

    // A true colour in the mode word wins over the approximation in the colour word.
    style.Color = 0xC3DDC16E;
    style.ModeColor = 0xC2CCC58F;
    EXPECT_EQ(style.color2rgb(), 0x8FC5CC);
}

} // namespace
