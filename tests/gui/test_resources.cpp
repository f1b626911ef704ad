// The resource bundle: every layout loads, and every image the pickers name is there.
#include <gtest/gtest.h>

#include <wx/dialog.h>

#include "gui_test_support.h"
#include "psl_catalogues.h"
#include "psl_resources.h"

TEST(Resources, LayoutsAndImagesLoadOnceWithoutErrors) {
    ensureResources();
    LogCapture log;
    ensureResources(); // a second registration would be refused with errors
    const struct {
        const char* layout;
        const char* title;
    } layouts[] = {{"DlgPlotStyleEditor", "Plot Style Table Editor"},
                   {"DlgSelectTable", "Plot Style Table Editor"},
                   {"DlgNewTable", "Add Plot Style Table"}};
    for (const auto& [layout, title] : layouts) {
        wxDialog dialog;
        ASSERT_TRUE(wxXmlResource::Get()->LoadDialog(&dialog, nullptr, layout)) << layout;
        EXPECT_EQ(dialog.GetTitle(), title);
        EXPECT_EQ(dialog.GetIcons().GetIconCount(), 1u) << layout;
    }

    std::vector<wxString> names = {"BmpCTB", "BmpSTB", "MarkCheck", "MarkEmpty",
                                   "BmpStyleColorBox"};
    for (const auto& [values, bitmap] : {std::pair{kLineTypeValues, lineTypeBitmap},
                                         {kEndStyleValues, endStyleBitmap},
                                         {kJoinStyleValues, joinStyleBitmap},
                                         {kFillStyleValues, fillStyleBitmap}}) {
        for (int value = values.first; value <= values.last; ++value) {
            names.push_back(bitmap(value));
        }
        EXPECT_EQ(bitmap(values.ownSetting), "") << "the own setting has no image";
    }
    for (double millimetres = 0; millimetres < 3.2; millimetres += 0.11) {
        names.push_back(lineWeightBitmap(millimetres));
    }
    for (const wxString& name : names) {
        EXPECT_TRUE(wxXmlResource::Get()->LoadBitmap(name).IsOk()) << name;
    }
    EXPECT_TRUE(log.errors().empty()) << log.errors().front().text;
}
