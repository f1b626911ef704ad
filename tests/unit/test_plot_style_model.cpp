#include <gtest/gtest.h>

#include <kesutils/plot_style_table.h>
#include <teigha/od_cm_color.h>

namespace {

PlotStyleTablePtr namedTable(std::initializer_list<const char16_t*> names) {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    int after = 0;
    for (const char16_t* name : names) {
        EXPECT_TRUE(table->addStyle(name, after++, nullptr));
    }
    return table;
}

std::u16string namesOf(const CPlotStyleTable& table) {
    std::u16string names;
    for (int index = 0; index < static_cast<int>(table.size()); ++index) {
        names += std::u16string(table.style(index)->name()) + u";";
    }
    return names;
}

TEST(PlotStyleTableModel, NewTablesHoldTheirKindsDefaults) {
    PlotStyleTablePtr legacy(CPlotStyleTable::create(true, nullptr));
    ASSERT_TRUE(legacy);
    EXPECT_TRUE(legacy->ColorDependent);
    EXPECT_TRUE(legacy->AciTableAvailable);
    ASSERT_EQ(legacy->size(), 255u);
    EXPECT_EQ(std::u16string(legacy->style(0)->name()), u"Color_1");
    EXPECT_EQ(std::u16string(legacy->style(254)->locName()), u"Color_255");
    for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
        EXPECT_EQ(legacy->AciTable[index], legacy->style(index));
    }

    PlotStyleTablePtr named(CPlotStyleTable::create(false, nullptr));
    ASSERT_EQ(named->size(), 1u);
    EXPECT_FALSE(named->ColorDependent);
    EXPECT_FALSE(named->AciTableAvailable);
    EXPECT_EQ(std::u16string(named->style(0)->locName()), u"Normal");
    EXPECT_EQ(named->ScaleFactor, 1.0);
    EXPECT_EQ(named->LineWeights[0], 0.0);
    EXPECT_EQ(named->LineWeights[26], 2.11);

    const CPlotStyle& style = *named->style(0);
    EXPECT_EQ(style.Color, 0xC3FFFFFFu);
    EXPECT_EQ(style.ModeColor, 0xC3FFFFFFu);
    EXPECT_EQ(style.ColorPolicy, 1);
    EXPECT_EQ(style.Screening, 100);
    EXPECT_EQ(style.LineType, 31);
    EXPECT_TRUE(style.Adaptive);
    EXPECT_EQ(style.FillStyle, 73);
    EXPECT_EQ(style.EndStyle, 4);
    EXPECT_EQ(style.JoinStyle, 5);
}

TEST(PlotStyleTableModel, AddStyleInsertsBehindTheGivenPosition) {
    PlotStyleTablePtr table = namedTable({u"A", u"B"});
    CPlotStyle& model = *table->style(1);
    model.LineWeight = 12;
    model.Screening = 40;
    model.updateColor(0x102030);
    model.setDesc(u"model description");

    ASSERT_TRUE(table->addStyle(u"Copy", 1, &model));
    EXPECT_EQ(namesOf(*table), u"Normal;A;Copy;B;");
    const CPlotStyle& copy = *table->style(2);
    EXPECT_EQ(std::u16string(copy.locName()), u"Copy");
    EXPECT_EQ(copy.LineWeight, 12);
    EXPECT_EQ(copy.Screening, 40);
    EXPECT_EQ(copy.Color, model.Color);
    EXPECT_EQ(copy.ModeColor, model.ModeColor);

    ASSERT_TRUE(table->addStyle(u"Fresh", 3, nullptr));
    EXPECT_EQ(namesOf(*table), u"Normal;A;Copy;B;Fresh;");
    EXPECT_EQ(table->style(4)->LineWeight, 0);
    EXPECT_EQ(table->style(4)->Screening, 100);

    EXPECT_FALSE(table->addStyle(u"Beyond", 5, nullptr));
    EXPECT_FALSE(table->addStyle(u"Before", -2, nullptr));
    EXPECT_EQ(table->size(), 5u);

    PlotStyleTablePtr legacy(CPlotStyleTable::create(true, nullptr));
    EXPECT_FALSE(legacy->addStyle(u"Extra", 3, nullptr));
    EXPECT_EQ(legacy->size(), 255u);
}

TEST(PlotStyleTableModel, DeleteStyleClosesTheGapAndKeepsTheTableUsable) {
    PlotStyleTablePtr table = namedTable({u"A", u"B", u"C"});
    table->AciTableAvailable = true;
    for (CPlotStyle*& entry : table->AciTable) {
        entry = table->style(1);
    }
    table->AciTable[9] = table->style(3);

    // Highest first, as the editor deletes a multiple selection.
    table->deleteStyle(3);
    table->deleteStyle(1);
    EXPECT_EQ(namesOf(*table), u"Normal;B;");
    for (const CPlotStyle* entry : table->AciTable) {
        EXPECT_EQ(entry, table->style(0));
    }

    table->deleteStyle(2);
    table->deleteStyle(-1);
    EXPECT_EQ(namesOf(*table), u"Normal;B;");
    table->deleteStyle(0);
    table->deleteStyle(0);
    EXPECT_EQ(namesOf(*table), u"B;");

    PlotStyleTablePtr legacy(CPlotStyleTable::create(true, nullptr));
    legacy->deleteStyle(10);
    EXPECT_EQ(legacy->size(), 255u);
}

TEST(PlotStyleTableModel, RenameStyleChangesBothNames) {
    PlotStyleTablePtr table = namedTable({u"A"});
    EXPECT_TRUE(table->renameStyle(1, u"Wände"));
    EXPECT_EQ(std::u16string(table->style(1)->name()), u"Wände");
    EXPECT_EQ(std::u16string(table->style(1)->locName()), u"Wände");
    EXPECT_FALSE(table->renameStyle(2, u"Nowhere"));
    EXPECT_FALSE(table->renameStyle(1, nullptr));
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
    EXPECT_EQ(style.ModeColor, 0xC2102030u);
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
    EXPECT_EQ(style.ModeColor, 0xC3FFFFFFu);
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
    style.ModeColor = 0xC3DDC16E;
    EXPECT_EQ(style.color2rgb(), 0x6EC1DD);
}

} // namespace
