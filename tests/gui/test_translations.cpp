// The editor of a host that speaks German: its texts come from the German catalogue, while the
// export keeps its untranslated keys and numbers keep their decimal points.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <wx/notebook.h>
#include <wx/translation.h>

#include "editor_test_support.h"
#include "psl_csv_export.h"

namespace {

using testing::Contains;

// German translations set up before the first dialog, as a German host does; the library adds
// its catalogue to them.
class GermanEditorTest : public EditorTest {
protected:
    void SetUp() override {
        auto* translations = new wxTranslations;
        translations->SetLanguage("de");
        wxTranslations::Set(translations);
        EditorTest::SetUp();
    }
    void TearDown() override { wxTranslations::Set(nullptr); }
};

TEST_F(GermanEditorTest, ShowsTheEditorAndItsRefusalsInGerman) {
    const wxString path =
        writeTable(dir, "plan.ctb", true, [](CPlotStyleTable& table) { table.ScaleFactor = 1.5; });
    const auto editor = openEditor(path);
    EXPECT_EQ(editor->GetTitle(), "Plotstiltabellen-Editor - plan.ctb");
    auto* pages = findControl<wxNotebook>(editor.get(), "NoteBook");
    ASSERT_EQ(pages->GetPageCount(), 3u);
    EXPECT_EQ(pages->GetPageText(1), "Formularansicht");
    EXPECT_EQ(pages->GetPageText(2), wxString::FromUTF8("Linienstärken"));

    EXPECT_FALSE(typeLineWeight(editor.get(), 3, "-1"));
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].text,
              wxString::FromUTF8("Benutzerdefinierte Linienstärken müssen größer oder gleich 0 "
                                 "und kleiner oder gleich 200 mm (7.8740\") sein."));
    EXPECT_EQ(log.errors()[0].function, "DlgPlotStyleEditor::onEndLabelEdit");

    const wxArrayString lines = csvExportLines(*editor->currentTable(), "plan.ctb");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "PLOTSTYLE_TABLE,,");
    EXPECT_THAT(lines, Contains(",ScaleFactor,1.500000"));
    EXPECT_THAT(lines, Contains("LINE_WEIGHTS,,"));
}

} // namespace
