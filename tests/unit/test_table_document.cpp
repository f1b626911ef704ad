// The table document without a display: loading, saving, the checks that refuse values, the
// style and lineweight rules, undo and redo, values from other programs passing unchanged; typed
// numbers and the comma-separated outputs under a locale with a decimal comma.
#include <algorithm>
#include <clocale>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include <wx/filefn.h>
#include <wx/filename.h>

#include "psl_csv_export.h"
#include "psl_table_diff.h"
#include "psl_table_document.h"
#include "psl_table_edit.h"
#include "psl_text.h"
#include "psl_value_text.h"
#include "unit_test_support.h"

namespace {

using Outcome = EditResult::Outcome;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<wxString> styleNames(const CPlotStyleTable& table) {
    std::vector<wxString> names;
    for (int row = 0; row < int(table.size()); ++row) {
        names.push_back(toWxString(table.style(row)->locName()));
    }
    return names;
}

class TableDocumentTest : public TempFolderTest {
protected:
    // name may lead into a subfolder.
    wxFileName file(const wxString& name) const {
        return wxFileName(wxString::FromUTF8(dir_) + "/" + name);
    }

    // Writes a new table changed by change, as another program might have left it.
    wxFileName writeTable(const wxString& name, bool colorDependent,
                          const std::function<void(CPlotStyleTable&)>& change) const {
        const PlotStyleTablePtr table(CPlotStyleTable::create(colorDependent, nullptr));
        change(*table);
        EXPECT_TRUE(table->write(toHostText(file(name).GetFullPath()).c_str()));
        return file(name);
    }

    // A document holding what writeTable wrote.
    TableDocument loaded(const wxString& name, bool colorDependent,
                         const std::function<void(CPlotStyleTable&)>& change) const {
        TableDocument document(writeTable(name, colorDependent, change));
        EXPECT_EQ(document.load(), TableDocument::LoadOutcome::Read);
        return document;
    }

    // The bytes the document's table would be saved as.
    std::string bytesOf(const TableDocument& document) const {
        document.table()->write(toHostText(file("probe.stb").GetFullPath()).c_str());
        return readFile(path("probe.stb"));
    }
};

} // namespace

TEST_F(TableDocumentTest, LoadsAsTheEditorDoesAndKnowsTheFile) {
    const wxFileName existing = writeTable(
        "office.stb", false, [](CPlotStyleTable& table) { table.addStyle(u"Walls", 0, nullptr); });
    const wxFileName other = writeTable("other.ctb", true, [](CPlotStyleTable&) {});
    const std::string otherBytes = readFile(path("other.ctb"));
    std::ofstream(file("damaged.ctb").GetFullPath().fn_str()) << "not a table";
    const struct {
        wxFileName target;
        wxString source;
        TableDocument::LoadOutcome outcome;
        std::size_t styles;
        bool modified;
    } cases[] = {
        {file("Plan.CTB"), "", TableDocument::LoadOutcome::Created, 255, true},
        {file("new.stb"), file("gone.stb").GetFullPath(), TableDocument::LoadOutcome::Created, 1,
         true},
        {existing, file("missing.ctb").GetFullPath(), TableDocument::LoadOutcome::Read, 2, false},
        // A copy: the target does not hold the source's content until it is saved.
        {existing, other.GetFullPath(), TableDocument::LoadOutcome::Read, 255, true},
        {file("damaged.ctb"), "", TableDocument::LoadOutcome::ReadFailed, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.GetFullName() + " from " + c.source);
        TableDocument document(c.target);
        EXPECT_EQ(document.load(c.source), c.outcome);
        EXPECT_EQ(document.table() ? document.table()->size() : 0u, c.styles);
        EXPECT_EQ(document.isModified(), c.modified);
        EXPECT_EQ(document.fileIdentity().exists, c.target.FileExists());
        EXPECT_EQ(document.readFailure().empty(), bool(document.table()));
    }
    TableDocument document(existing);
    document.load();
    EXPECT_EQ(document.fileIdentity(),
              safefile::identityOf(std::string(existing.GetFullPath().fn_str())));
    EXPECT_TRUE(readFile(path("other.ctb")) == otherBytes) << "the source is never written";
}

// A failed save keeps the file, the name and the changes, and tells the system's cause; a good
// one clears the modified flag and takes the new file's identity.
TEST_F(TableDocumentTest, SavesOrKeepsEverythingAsItWas) {
    TableDocument document = loaded("plan.ctb", true, [](CPlotStyleTable&) {});
    const std::string original = readFile(path("plan.ctb"));
    const safefile::FileIdentity loadedIdentity = document.fileIdentity();
    ASSERT_TRUE(document.setTableDescription("Site").changed());

    const SaveResult failed = document.saveAs(file("missing/plan.ctb"));
    EXPECT_FALSE(failed.saved);
    EXPECT_EQ(failed.error, ENOENT);
    EXPECT_EQ(document.fileName(), file("plan.ctb"));
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.fileIdentity(), loadedIdentity);
    EXPECT_TRUE(readFile(path("plan.ctb")) == original);

    // Under the other kind's extension a table would not open as itself. (That a file the system
    // does not let us write is refused before anything is written, set's refusals show.)
    const SaveResult wrongKind = document.saveAs(file("plan.stb"));
    EXPECT_FALSE(wrongKind.saved);
    EXPECT_EQ(wrongKind.reason, "plan.stb is not a valid name to save to. A color-dependent "
                                "table is saved with the extension .ctb.");
    EXPECT_FALSE(wxFileExists(file("plan.stb").GetFullPath()));

    EXPECT_TRUE(document.saveAs(file("copy.ctb")).saved);
    EXPECT_EQ(document.fileName(), file("copy.ctb"));
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.fileIdentity(),
              safefile::identityOf(std::string(file("copy.ctb").GetFullPath().fn_str())));

    // Another program's change, a file deleted or one created meanwhile, is seen until a save.
    EXPECT_FALSE(document.fileChangedElsewhere());
    const wxString path = file("copy.ctb").GetFullPath();
    wxCopyFile(file("plan.ctb").GetFullPath(), path);
    EXPECT_TRUE(document.fileChangedElsewhere());
    EXPECT_TRUE(document.save().saved);
    EXPECT_FALSE(document.fileChangedElsewhere());
    wxRemoveFile(path);
    EXPECT_TRUE(document.fileChangedElsewhere());
    TableDocument created(file("new.ctb"));
    created.load();
    writeTable("new.ctb", true, [](CPlotStyleTable&) {});
    EXPECT_TRUE(created.fileChangedElsewhere());
}

TEST_F(TableDocumentTest, PropertiesGoToEveryStyleButTheBaseStyleWithinTheirRange) {
    const struct {
        StyleProperty property;
        std::int32_t value;
        bool accepted;
    } cases[] = {
        {StyleProperty::Color, 0x102030, true},  {StyleProperty::Color, 0x00FFFFFF, true},
        {StyleProperty::Color, -1, false},       {StyleProperty::Color, 0x01000000, false},
        {StyleProperty::Dither, 1, true},        {StyleProperty::Grayscale, 2, false},
        {StyleProperty::Adaptive, -1, false},    {StyleProperty::PhysicalPen, 32, true},
        {StyleProperty::PhysicalPen, 33, false}, {StyleProperty::VirtualPen, 255, true},
        {StyleProperty::VirtualPen, 256, false}, {StyleProperty::Screening, 0, true},
        {StyleProperty::Screening, -1, false},   {StyleProperty::Screening, 101, false},
        {StyleProperty::LineType, 31, true},     {StyleProperty::LineType, 32, false},
        {StyleProperty::LineWeight, 27, true},   {StyleProperty::LineWeight, 28, false},
        {StyleProperty::EndStyle, 4, true},      {StyleProperty::EndStyle, 5, false},
        {StyleProperty::JoinStyle, 5, true},     {StyleProperty::JoinStyle, 4, false},
        {StyleProperty::FillStyle, 64, true},    {StyleProperty::FillStyle, 63, false},
        {StyleProperty::FillStyle, 74, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.property) << " = " << c.value);
        TableDocument document = loaded("styles.stb", false, [](CPlotStyleTable& table) {
            table.addStyle(u"Walls", 0, nullptr);
            table.addStyle(u"Doors", 1, nullptr);
        });
        const std::string before = bytesOf(document);
        const EditResult result = document.setStyleProperty({0, 2}, c.property, c.value);
        EXPECT_EQ(result.refused(), !c.accepted) << result.reason;
        EXPECT_EQ(document.isModified(), c.accepted && result.changed());
        if (!c.accepted) {
            EXPECT_TRUE(bytesOf(document) == before);
            EXPECT_FALSE(result.reason.empty());
            continue;
        }
        EXPECT_EQ(styleValue(*document.table()->style(2), c.property), c.value);
        const CPlotStyle& base = *document.table()->style(0);
        const CPlotStyle& untouched = *document.table()->style(1);
        EXPECT_EQ(styleValue(base, c.property), styleValue(untouched, c.property));
    }

    // Dither and grayscale are two bits of one word whose other bits stay.
    TableDocument document =
        loaded("bits.ctb", true, [](CPlotStyleTable& table) { table.style(4)->ColorPolicy = 7; });
    document.setStyleProperty({4}, StyleProperty::Grayscale, 0);
    EXPECT_EQ(document.table()->style(4)->ColorPolicy, 5);
    document.setStyleProperty({4}, StyleProperty::Dither, 0);
    EXPECT_EQ(document.table()->style(4)->ColorPolicy, 4);
    EXPECT_TRUE(document.setStyleProperty({0, 255}, StyleProperty::Screening, 5).refused());
}

// Whatever another program wrote stays as it was through a copy, undo, save and convert, and may
// be chosen again; only a new value is checked. Convert keeps the names unique (the command
// suite sees it keep each colour's description).
TEST_F(TableDocumentTest, ValuesFromOtherProgramsPassThroughUnchanged) {
    const auto foreign = [](CPlotStyleTable& table) {
        table.ScaleFactor = kNaN;
        table.LineWeights[3] = 350.0;
        table.style(0)->Screening = 250;
        table.style(0)->LineType = 77;
        table.style(0)->PhysPenNum = -7;
        table.style(1)->Screening = 250;
        table.style(0)->setLocName(u"W\u00e4nde");
        table.style(1)->setLocName(u"W\u00c4NDE");
        table.style(2)->setLocName(u"Color_2");
        table.style(3)->setLocName(u"normal");
        table.CustomLineWeightUnits = 1;
    };
    const wxFileName source = writeTable("foreign.ctb", true, foreign);
    const std::string original = readFile(path("foreign.ctb"));
    TableDocument copy(file("copy.ctb"));
    ASSERT_EQ(copy.load(source.GetFullPath()), TableDocument::LoadOutcome::Read);
    EXPECT_EQ(copy.setStyleProperty({0, 1}, StyleProperty::Screening, 250).outcome,
              Outcome::Unchanged);
    EXPECT_EQ(copy.setStyleProperty({0}, StyleProperty::LineType, 77).outcome, Outcome::Unchanged);
    EXPECT_TRUE(copy.setStyleProperty({0, 2}, StyleProperty::Screening, 250).refused());
    EXPECT_EQ(copy.setScaleFactor(kNaN).outcome, Outcome::Unchanged);
    ASSERT_TRUE(copy.setStyleProperty({2}, StyleProperty::Screening, 40).changed());
    EXPECT_TRUE(copy.undo());
    ASSERT_TRUE(copy.save().saved);
    EXPECT_TRUE(readFile(path("copy.ctb")) == original);

    // Names that differ only in the case of a letter outside ASCII are one name, also in the C
    // locale in which hosts run, so convert cannot make two of them.
    const std::string locale = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    TableDocument named(file("named.stb"));
    named.load(source.GetFullPath());
    ASSERT_TRUE(named.convertToNamed().changed());
    std::setlocale(LC_CTYPE, locale.c_str());
    const CPlotStyleTable& table = *named.table();
    const std::vector<wxString> names = styleNames(table);
    EXPECT_EQ(std::vector<wxString>(names.begin(), names.begin() + 5),
              (std::vector<wxString>{"Normal", wxString::FromUTF8("Wände"), "Color_2", "Color_3",
                                     "Color_4"}));
    EXPECT_EQ(table.AciTable[1], table.style(2)) << "colour 2 keeps its renamed style";
    EXPECT_TRUE(std::isnan(table.ScaleFactor));
    EXPECT_EQ(table.CustomLineWeightUnits, 1) << "inches stay inches";
    EXPECT_EQ(table.LineWeights[3], 350.0);
    const CPlotStyle& first = *table.style(1);
    EXPECT_EQ((std::vector<int>{first.Screening, first.LineType, first.PhysPenNum}),
              (std::vector<int>{250, 77, -7}));
    EXPECT_TRUE(named.isModified());
    EXPECT_TRUE(named.convertToNamed().refused()) << "a named table is converted no further";
}

TEST_F(TableDocumentTest, DescriptionsAndTableSettingsAreChecked) {
    TableDocument document = loaded("general.stb", false, [](CPlotStyleTable& table) {
        table.addStyle(u"Walls", 0, nullptr);
        table.Description = u"Office";
    });
    const struct {
        std::function<EditResult()> edit;
        Outcome outcome;
    } cases[] = {
        {[&] { return document.setTableDescription("office"); }, Outcome::Changed},
        {[&] { return document.setTableDescription("office"); }, Outcome::Unchanged},
        {[&] { return document.setTableDescription("two\nlines"); }, Outcome::Refused},
        {[&] { return document.setStyleDescription({1}, "Outer\r\nwall"); }, Outcome::Refused},
        {[&] { return document.setStyleDescription({0}, "Base"); }, Outcome::Unchanged},
        {[&] { return document.setApplyFactor(true); }, Outcome::Changed},
        {[&] { return document.setScaleFactor(0.5); }, Outcome::Changed},
        {[&] { return document.setScaleFactor(0.0); }, Outcome::Refused},
        {[&] { return document.setScaleFactor(kNaN); }, Outcome::Refused},
        {[&] { return document.setScaleFactor(HUGE_VAL); }, Outcome::Refused},
        {[&] { return document.setTableDescription(wxString('t', 65536)); }, Outcome::Changed},
        {[&] { return document.setTableDescription(wxString('t', 65537)); }, Outcome::Refused},
        {[&] { return document.setStyleDescription({1}, wxString(L'\u00E9', 32769)); },
         Outcome::Refused},
        {[&] { return document.setTableDescription("office"); }, Outcome::Changed},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const EditResult result = cases[i].edit();
        EXPECT_EQ(result.outcome, cases[i].outcome) << result.reason;
        EXPECT_EQ(result.reason.empty(), cases[i].outcome != Outcome::Refused);
    }
    EXPECT_EQ(document.table()->Description, u"office");
    EXPECT_EQ(document.table()->ScaleFactor, 0.5);
    EXPECT_EQ(toWxString(document.table()->style(0)->desc()), "");
}

TEST_F(TableDocumentTest, StylesAreAddedDeletedAndRenamedByTheNameRules) {
    const std::string locale = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    TableDocument document(file("names.stb"));
    document.load();
    const wxString walls = wxString::FromUTF8("Wände");
    const wxString exists = "A style named '%s' already exists. Please enter a unique style name.";
    const wxString forbidden = "A style name cannot contain any of the following characters: "
                               "<>/\\\":?*|,=`;{}";
    const struct {
        std::function<EditResult()> edit;
        wxString refusal; // empty when the edit is taken
    } steps[] = {
        {[&] { return document.addStyle("  " + walls + " ", 0, false); }, ""},
        {[&] { return document.addStyle(wxString::FromUTF8("WÄNDE"), 1, false); },
         wxString::Format(exists, wxString::FromUTF8("WÄNDE"))},
        {[&] { return document.addStyle("normal", 1, false); }, wxString::Format(exists, "normal")},
        {[&] { return document.addStyle("Door;s", 1, false); }, forbidden},
        {[&] { return document.addStyle("Tab\there", 1, false); }, forbidden},
        {[&] { return document.addStyle("   ", 1, false); }, "A style name cannot be empty."},
        {[&] { return document.addStyle("Doors", 0, true); }, ""},
        {[&] { return document.renameStyle(1, "DOORS"); }, wxString::Format(exists, "DOORS")},
        {[&] { return document.renameStyle(1, "Brace{1}"); }, forbidden},
        {[&] { return document.renameStyle(1, " Gates "); }, ""},
        {[&] { return document.renameStyle(0, "Base"); }, "This style cannot be renamed."},
        {[&] { return document.renameStyle(1, wxString('n', 1025)); },
         "A style name can be at most 1024 bytes long in UTF-8."},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        const EditResult result = steps[i].edit();
        EXPECT_EQ(result.refused(), !steps[i].refusal.empty());
        EXPECT_EQ(result.reason, steps[i].refusal);
    }
    std::setlocale(LC_CTYPE, locale.c_str());
    EXPECT_EQ(styleNames(*document.table()), (std::vector<wxString>{"Normal", "Gates", walls}));
    EXPECT_EQ(document.renameStyle(1, "Gates").outcome, Outcome::Unchanged);

    // The base style stays whatever else is deleted.
    EXPECT_TRUE(document.deleteStyles({0, 2}).changed());
    EXPECT_EQ(styleNames(*document.table()), (std::vector<wxString>{"Normal", "Gates"}));
    EXPECT_EQ(document.deleteStyles({0}).outcome, Outcome::Unchanged);

    // A table holds what a file may hold.
    TableDocument full = loaded("full.stb", false, [](CPlotStyleTable& table) {
        for (int row = 1; row < 10000; ++row) {
            table.addStyle(toHostText(wxString::Format("S%d", row)).c_str(), row - 1, nullptr);
        }
    });
    EXPECT_EQ(full.addStyle("One more", 0, false).reason,
              "A named table holds at most 10000 styles.");

    // Colour-dependent tables and tables with an ACI table keep their set of styles.
    TableDocument colors = loaded("colors.ctb", true, [](CPlotStyleTable&) {});
    TableDocument aci(file("aci.stb"));
    aci.load(file("colors.ctb").GetFullPath());
    aci.convertToNamed();
    for (TableDocument* fixed : {&colors, &aci}) {
        EXPECT_TRUE(fixed->addStyle("New", 0, false).refused());
        EXPECT_TRUE(fixed->deleteStyles({3}).refused());
    }
    EXPECT_TRUE(colors.renameStyle(3, "Red").refused());
    EXPECT_TRUE(aci.renameStyle(3, "Red").changed()) << "a converted table renames its styles";
}

TEST_F(TableDocumentTest, LineweightsAreRoundedLimitedAndSortedWithTheirStyles) {
    const struct {
        double typed;
        double stored; // NaN when refused
    } cases[] = {
        {200.00004, 200.0}, {200.00006, kNaN}, {0.25404, 0.254}, {199.9996, 199.9996},
        {-0.00004, 0.0},    {-1.0, kNaN},      {kNaN, kNaN},     {HUGE_VAL, kNaN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TableDocument document = loaded("edit.ctb", true, [](CPlotStyleTable&) {});
        const std::vector<double> before(std::begin(document.table()->LineWeights),
                                         std::end(document.table()->LineWeights));
        const EditResult result = document.setLineWeight(26, c.typed);
        const double* after = document.table()->LineWeights;
        if (std::isnan(c.stored)) {
            EXPECT_TRUE(result.refused());
            EXPECT_EQ(result.reason, "Custom lineweights must be greater than or equal to 0 and "
                                     "less than or equal to 200 mm (7.8740\").");
            EXPECT_EQ(std::vector<double>(after, after + 27), before);
            EXPECT_FALSE(document.isModified());
        } else {
            EXPECT_NE(std::find(after, after + 27, c.stored), after + 27);
            EXPECT_TRUE(std::is_sorted(after, after + 27));
            EXPECT_TRUE(document.isModified());
        }
    }

    // 0.3 typed into row 2 moves behind 0.18; every style plots with the weight it had.
    TableDocument document = loaded("move.ctb", true, [](CPlotStyleTable& table) {
        const double head[] = {0.0, 0.05, 0.13, 0.15, 0.18, 0.35};
        std::copy(std::begin(head), std::end(head), table.LineWeights);
        for (int row = 6; row < CPlotStyleTable::kLineWeightCount; ++row) {
            table.LineWeights[row] = 0.4 + 0.1 * (row - 6);
        }
        for (const int row : {0, 1, 2, 3}) {
            table.style(row)->LineWeight = row + 3;
        }
        table.style(4)->LineWeight = CPlotStyleTable::kLineWeightCount; // the last row, 2.4 mm
    });
    LineWeightOrder order{};
    ASSERT_TRUE(document.setLineWeight(2, 0.3, &order).changed());
    EXPECT_EQ(
        std::vector<double>(document.table()->LineWeights + 2, document.table()->LineWeights + 6),
        (std::vector<double>{0.15, 0.18, 0.3, 0.35}));
    EXPECT_EQ((std::vector<int>{order[2], order[3], order[4], order[5]}),
              (std::vector<int>{4, 2, 3, 5}));
    const CPlotStyleTable& moved = *document.table();
    for (const auto& [row, weight] :
         {std::pair(0, 0.3), {1, 0.15}, {2, 0.18}, {3, 0.35}, {4, 2.4}}) {
        // Row 0 is the object's lineweight.
        const int index = moved.style(row)->LineWeight;
        EXPECT_EQ(index >= 1 ? moved.LineWeights[index - 1] : 0.0, weight) << row;
    }

    // Sorting rows already in order changes nothing, yet counts as a change; so do the units.
    ASSERT_TRUE(document.save().saved);
    EXPECT_EQ(document.sortLineWeights().outcome, Outcome::Unchanged);
    EXPECT_TRUE(document.isModified());
    ASSERT_TRUE(document.save().saved);
    EXPECT_TRUE(document.setLineWeightUnits(true).changed());
    EXPECT_EQ(document.table()->CustomLineWeightUnits, 1);
    EXPECT_EQ(document.setLineWeightUnits(true).outcome, Outcome::Unchanged);
}

// Every kind of edit is undone to the file's bytes and redone; the modified flag follows the
// saved step; typing into one description is one step; the last 100 steps are kept.
TEST_F(TableDocumentTest, UndoAndRedoWalkEveryEditBackToTheFile) {
    TableDocument document = loaded("office.stb", false, [](CPlotStyleTable& table) {
        table.Description = u"Office";
        for (const char16_t* name : {u"Glass", u"Doors", u"Walls"}) {
            table.addStyle(name, 0, nullptr);
        }
        table.style(1)->LineWeight = 4;
        std::swap(table.LineWeights[3], table.LineWeights[4]);
    });
    const std::vector<std::function<EditResult()>> edits = {
        [&] {
            return document.setStyleProperty({1, 2, 3}, StyleProperty::LineType, 3);
        },
        [&] { return document.addStyle("Stairs", 3, true); },
        [&] { return document.renameStyle(1, "Outer walls"); },
        [&] {
            return document.deleteStyles({2, 3});
        },
        [&] { return document.sortLineWeights(); },
        [&] { return document.setLineWeight(2, 0.3); },
        [&] { return document.setLineWeightUnits(true); },
        [&] { return document.setTableDescription("Office, 2nd floor"); },
        [&] { return document.setApplyFactor(true); },
        [&] { return document.setScaleFactor(2.5); },
        [&] {
            EditResult typed;
            for (const char* text : {"B", "Br", "Bri", "Brick"}) {
                typed = document.setStyleDescription({2}, text);
            }
            return typed;
        },
    };
    std::vector<std::string> states{bytesOf(document)};
    for (const auto& edit : edits) {
        EXPECT_TRUE(edit().changed()) << states.size();
        states.push_back(bytesOf(document));
    }
    for (std::size_t step = edits.size(); step > 0; --step) {
        ASSERT_TRUE(document.undo()) << step;
        EXPECT_TRUE(bytesOf(document) == states[step - 1]) << step;
        EXPECT_EQ(document.isModified(), step > 1) << step;
    }
    EXPECT_FALSE(document.undo());
    for (std::size_t step = 1; step <= edits.size(); ++step) {
        ASSERT_TRUE(document.redo()) << step;
        EXPECT_TRUE(bytesOf(document) == states[step]) << step;
    }
    EXPECT_FALSE(document.redo());

    // Saved, then undone and changed anew: the saved step is gone, so nothing counts as saved.
    ASSERT_TRUE(document.save().saved);
    document.undo();
    EXPECT_TRUE(document.isModified());
    document.redo();
    EXPECT_FALSE(document.isModified());
    document.undo();
    document.setScaleFactor(4.0);
    EXPECT_FALSE(document.redo()) << "a new edit drops the steps undone";
    document.undo();
    document.redo();
    EXPECT_TRUE(document.isModified()) << "the file holds the step that was dropped";
    document.load();
    EXPECT_FALSE(document.undo()) << "loading starts a new history";

    // A new table stays unsaved however far back its edits go; the last steps are kept.
    TableDocument created(file("new.ctb"));
    created.load();
    created.setScaleFactor(2.0);
    created.undo();
    EXPECT_TRUE(created.isModified()) << "the file does not exist yet";
    for (int pen = 1; pen <= 105; ++pen) {
        created.setStyleProperty({7}, StyleProperty::VirtualPen, pen);
    }
    int undone = 0;
    while (created.undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(created.table()->style(7)->VirtPenNum, 5);
    EXPECT_TRUE(created.isModified());
}

// Typed numbers read alike in every locale; text that is no number, and numbers that are not
// finite, give nothing. The comma-separated outputs keep their decimal points.
TEST(ValueText, NumbersAndCommaSeparatedLinesIgnoreTheHostsLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing; scripts/deps generates it";
    const struct {
        const char* text;
        std::optional<long> integer;
        std::optional<double> decimal;
    } numbers[] = {{"42", 42, 42.0},   {"  7", 7, 7.0},    {"-3", -3, -3.0},
                   {"0.25", {}, 0.25}, {"2e2", {}, 200.0}, {"99999999999999999999", {}, 1e20}};
    for (const auto& c : numbers) {
        EXPECT_EQ(parseInteger(c.text), c.integer) << c.text;
        EXPECT_EQ(parseDecimal(c.text), c.decimal) << c.text;
    }
    for (const char* text : {"0,25", "7 ", "60+", "5-3", "", "Varies", "abc", "1.2.3", "nan", "inf",
                             "-inf", "1e999", "0x10"}) {
        EXPECT_FALSE(parseInteger(text) || parseDecimal(text)) << text;
    }
    // The scale factor as people see it there: with the locale's decimal comma.
    EXPECT_EQ(parseLocaleDecimal("2,5"), 2.5);
    for (const char* text : {"2.5", "nan", "1e999", "", "abc"}) {
        EXPECT_FALSE(parseLocaleDecimal(text)) << text;
    }
    for (const char* refused : {"lineweight=nan", "lineweight=inf", "lineweight=0,35",
                                "screening=1e2", "physical-pen=inf"}) {
        StyleEdit edit{};
        wxString error;
        EXPECT_FALSE(parseStyleEdit(refused, edit, error)) << refused;
    }
    StyleEdit edit{};
    wxString error;
    EXPECT_TRUE(parseStyleEdit("lineweight=0.35", edit, error)) << error;
    EXPECT_EQ(edit.lineWeightMillimetres, 0.35);

    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    table->ScaleFactor = 2.5;
    table->style(0)->LinePatSize = 12.7;
    PlotStyleTablePtr changed(CPlotStyleTable::create(true, nullptr));
    changed->ScaleFactor = 0.75;
    changed->style(0)->LineWeight = 9;
    const wxArrayString lines = csvExportLines(*table, "t.ctb");
    const wxArrayString differences = differenceCsvLines(compareTables(table.get(), changed.get()));
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(lines[3], ",ScaleFactor,2.500000");
    const wxString firstStyle = lines[lines.Index("STYLES,,") + 2];
    EXPECT_TRUE(firstStyle.Contains(",12.7,")) << firstStyle;
    EXPECT_EQ(lines.Last(), ",26,2.110000");
    EXPECT_EQ(differences[1], ",scale-factor,2.5,0.75");
    EXPECT_EQ(differences[2], "Color 1,lineweight,object,0.25");
}
