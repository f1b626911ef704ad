// The table file codec: tables from other writers read as they were written, damaged and hostile
// files refused with a reason, the canonical form written under any locale, and a save that lands
// only on a table of its own kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <unistd.h>
#include <zlib.h>

#include <kesutils/plot_style_table.h>

#include "plot_style_codec.h"
#include "table_container.h"
#include "table_text.h"
#include "unit_test_support.h"

namespace fs = std::filesystem;

namespace {

PlotStyleTablePtr readBytes(const std::string& bytes, std::string& error) {
    return readPlotStyleTableFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        bytes.size(), error);
}

PlotStyleTablePtr readFixture(const char* name) {
    std::string error;
    PlotStyleTablePtr table = readPlotStyleTableFile(fixture(name), error);
    EXPECT_TRUE(table) << name << ": " << error;
    return table;
}

// The UTF-16 code units as bytes: enough to compare texts, not to show them.
std::string unitsOf(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += {char(unit >> 8), char(unit)};
    }
    return bytes;
}

// The text inside a table file, as a reader of the file sees it.
std::string textOf(const std::string& bytes) {
    TableContainer content;
    std::string error;
    EXPECT_TRUE(unpackTableContainer(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                     bytes.size(), content, error))
        << error;
    return content.text;
}

std::string containerOf(bool colorDependent, const std::string& text) {
    std::string bytes;
    EXPECT_TRUE(packTableContainer(colorDependent, text, bytes));
    return bytes;
}

std::string canonicalBytes(const CPlotStyleTable& table) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(writePlotStyleTableToMemory(table, bytes, error)) << error;
    return bytes;
}

std::string styleBlock(int index, const std::string& name, const std::string& keys = "") {
    return " " + std::to_string(index) + "{\n  name=\"" + name + "\n  localized_name=\"" + name +
           "\n" + keys + " }\n";
}

std::string namedText(const std::string& styles, const std::string& tableKeys = "") {
    return "description=\"\naci_table_available=FALSE\n" + tableKeys + "plot_style{\n" + styles +
           "}\n";
}

// Every value of the table, its styles and its colour mapping, one style a line.
std::string valuesOf(const CPlotStyleTable& table) {
    std::ostringstream out;
    out << unitsOf(table.Description) << ' ' << table.ScaleFactor << ' ' << table.ApplyFactor << ' '
        << table.CustomLineWeightUnits << ' ' << table.ColorDependent << ' '
        << table.AciTableAvailable << '\n';
    for (const double weight : table.LineWeights) {
        out << weight << ' ';
    }
    for (int index = 0; index < int(table.size()); ++index) {
        const CPlotStyle& s = *table.style(index);
        out << '\n'
            << unitsOf(s.name()) << ';' << unitsOf(s.locName()) << ';' << unitsOf(s.desc()) << ' '
            << s.Color << ' ' << s.ModeColor << ' ' << s.ColorPolicy << ' ' << s.PhysPenNum << ' '
            << s.VirtPenNum << ' ' << s.Screening << ' ' << s.LinePatSize << ' ' << s.LineType
            << ' ' << s.Adaptive << ' ' << s.LineWeight << ' ' << s.FillStyle << ' ' << s.EndStyle
            << ' ' << s.JoinStyle;
    }
    for (int index = 0; table.AciTableAvailable && index < CPlotStyleTable::kAciCount; ++index) {
        out << ' ' << unitsOf(table.AciTable[index]->name());
    }
    return out.str();
}

// A style's numbers in the order of the export's columns, colour words in hexadecimal.
std::string numbersOf(const CPlotStyle& s) {
    char line[128];
    std::snprintf(line, sizeof line, "%08X,%08X,%d,%d,%d,%d,%g,%d,%d,%d,%d,%d,%d", s.Color,
                  s.ModeColor, s.ColorPolicy, s.PhysPenNum, s.VirtPenNum, s.Screening,
                  s.LinePatSize, s.LineType, int(s.Adaptive), s.LineWeight, s.FillStyle, s.EndStyle,
                  s.JoinStyle);
    return line;
}

// Tables from this program, from converted pen settings, in an older encoding, and from an
// independent writer with 8-byte header fields that labels named tables colour-dependent.
TEST(PlotStyleReader, FixturesReadAsTheirWritersWroteThem) {
    const char* const defaults = ",1,0,0,100,0.5,31,1,0,73,4,5";
    const struct {
        const char* file;
        int style;
        std::string numbers;
    } styles[] = {
        {"canonical.ctb", 0, "C3FF0000,C3FF0000,1,0,0,100,0.5,31,1,9,73,4,5"},
        {"canonical.ctb", 1, std::string("C3DDC16E,C2CCC58F") + defaults},
        {"canonical.ctb", 7, "C2102030,C2102030,3,0,0,25,0.5,31,1,0,73,4,5"},
        {"canonical-aci-table.stb", 2, "C3FFFFFF,C3FFFFFF,1,0,0,100,0.5,0,1,27,64,1,0"},
        {"canonical-aci-table.stb", 3, "C3FFFFFF,C3FFFFFF,1,0,0,100,12.7,1,1,0,73,4,5"},
        {"independent-writer-64bit-header.ctb", 0, std::string("C2FF0000,C2FF0000") + defaults},
        {"independent-writer-64bit-header.ctb", 2,
         "FFFFFFFF,FFFFFFFF,1,0,0,100,0.5,31,1,27,73,4,5"},
        {"independent-writer-64bit-header.ctb", 3, "FFFFFFFF,FFFFFFFF,1,0,0,50,0.5,31,1,0,73,4,5"},
        {"independent-writer-64bit-header.ctb", 4,
         "FFFFFFFF,FFFFFFFF,1,7,200,100,0.5,31,1,0,73,4,5"},
        {"independent-writer-64bit-header.ctb", 5, "FFFFFFFF,FFFFFFFF,1,0,0,100,0.5,2,1,0,73,4,5"},
        {"independent-writer-64bit-header.ctb", 6, "FFFFFFFF,FFFFFFFF,1,0,0,100,0.5,31,1,0,73,2,1"},
        {"independent-writer-64bit-header.ctb", 7, "FFFFFFFF,FFFFFFFF,1,0,0,100,0.5,31,1,0,66,4,5"},
        {"independent-writer-64bit-header.ctb", 8, "FFFFFFFF,FFFFFFFF,0,0,0,100,0.5,31,1,0,73,4,5"},
        {"independent-writer-64bit-header.ctb", 10,
         "FFFFFFFF,FFFFFFFF,1,0,0,100,0.5,31,0,0,73,4,5"},
        {"independent-writer-64bit-header.stb", 1, "FFFFFFFF,FFFFFFFF,5,0,0,100,0.5,31,1,3,73,4,5"},
        {"independent-writer-64bit-header.stb", 2, "FFFFFFFF,FFFFFFFF,5,0,0,80,0.5,31,1,11,73,4,5"},
    };
    for (const auto& [file, style, numbers] : styles) {
        PlotStyleTablePtr table = readFixture(file);
        ASSERT_TRUE(table);
        EXPECT_EQ(numbersOf(*table->style(style)), numbers) << file << " style " << style;
    }

    const struct {
        const char* file;
        bool colorDependent;
        std::size_t size;
        std::u16string description;
        int named; // a style whose name is checked
        std::u16string name;
    } tables[] = {
        {"canonical.ctb", true, 255, u"Canonical colour-dependent table", 254, u"Color_255"},
        {"canonical-aci-table.stb", false, 4, u"Converted from a pen configuration", 1, u"Style 1"},
        {"windows-1252.stb", false, 2, u"Maße für Pläne", 1, u"Gebäude"},
        {"independent-writer-64bit-header.ctb", true, 255, u"Bürostandard A3 – grau", 0,
         u"Color_1"},
        {"independent-writer-64bit-header.stb", false, 3, u"", 2, u"Wände"},
    };
    for (const auto& t : tables) {
        PlotStyleTablePtr table = readFixture(t.file);
        ASSERT_TRUE(table);
        EXPECT_EQ(table->ColorDependent, t.colorDependent) << t.file;
        ASSERT_EQ(table->size(), t.size) << t.file;
        EXPECT_EQ(table->Description, t.description) << t.file;
        EXPECT_EQ(std::u16string(table->style(t.named)->locName()), t.name) << t.file;
        // Written again, every value reads back as it was.
        std::string error;
        PlotStyleTablePtr again = readBytes(canonicalBytes(*table), error);
        ASSERT_TRUE(again) << t.file << ": " << error;
        EXPECT_EQ(valuesOf(*again), valuesOf(*table)) << t.file;
    }

    PlotStyleTablePtr converted = readFixture("canonical-aci-table.stb");
    EXPECT_TRUE(converted->AciTableAvailable);
    EXPECT_EQ(converted->AciTable[0], converted->style(2));
    EXPECT_EQ(converted->AciTable[4], converted->style(3));
    EXPECT_EQ(converted->AciTable[100], converted->style(0)) << "unnamed colours: the first";
    PlotStyleTablePtr independent = readFixture("independent-writer-64bit-header.ctb");
    // The 28th lineweight row has no place in the model and is written back as it was.
    EXPECT_EQ(independent->LineWeights[26], 2.11);
    const std::string written = textOf(canonicalBytes(*independent));
    EXPECT_NE(written.find(" 26=2.11\n 27=0.35\n}\n"), std::string::npos) << written;
}

TEST(PlotStyleReader, DamagedForeignAndHostileFilesAreRefusedInBoundedMemory) {
    for (const char* name : {"damaged-truncated.ctb", "damaged-bitflip.ctb", "not-a-table.ctb"}) {
        std::string error;
        EXPECT_FALSE(readPlotStyleTableFile(fixture(name), error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    std::string error;
    EXPECT_FALSE(readPlotStyleTableFile(PSTYLE_TEST_DATA_DIR, error));
    EXPECT_EQ(CPlotStyleTable::read(u"/nonexistent/folder/plan.ctb"), nullptr);

    std::string bytes = readFile(fixture("canonical.ctb"));
    // The header numbers are hints only; absurd ones must not lead to huge allocations.
    for (const int fill : {0x00, 0xFF}) {
        std::memset(bytes.data() + 48, fill, 12);
        EXPECT_TRUE(readBytes(bytes, error)) << fill << ": " << error;
    }

    std::string manyStyles;
    for (int index = 0; index <= 10000; ++index) {
        manyStyles += " " + std::to_string(index) + "{\n }\n";
    }
    std::string manyKeys;
    for (std::size_t index = 0; index <= kMaxUnknownKeys; ++index) {
        manyKeys += "k" + std::to_string(index) + "=1\n";
    }

    std::string legacyStyles;
    for (int index = 0; index < 254; ++index) {
        legacyStyles += styleBlock(index, "Color_" + std::to_string(index + 1));
    }
    const std::string legacyText = "aci_table_available=TRUE\nplot_style{\n" + legacyStyles + "}\n";
    EXPECT_FALSE(readBytes(containerOf(true, legacyText), error));
    EXPECT_NE(error.find("255"), std::string::npos) << error;

    const std::pair<std::string, const char*> broken[] = {
        {std::string((4u << 20) + 1, ' '), "larger than 4 MiB"},
        {namedText(manyStyles), "more than"},
        {namedText(styleBlock(0, "Normal"), manyKeys), ""},
        {namedText(styleBlock(0, "Normal"), "this line means nothing\n"), "line 3"},
        {namedText(styleBlock(0, "Normal", "  screen=lots\n")), "screen"},
        {namedText(styleBlock(0, "Normal", "  lineweight=28\n")), "lineweight"},
        {namedText(styleBlock(0, "Normal"), "scale_factor=1.0.0\n"), "scale_factor"},
        {namedText(styleBlock(0, "Normal"), "apply_factor=MAYBE\n"), "apply_factor"},
        {namedText(""), "no plot style"},
        {"plot_style{\n" + styleBlock(0, "Normal"), "not closed"},
        {namedText(styleBlock(0, "Normal")) + "}\n", "without an open block"},
        {namedText(styleBlock(0, "Normal")) + "aci_table{\n 255=\"Normal\n}\n", "out of range"},
        {namedText(styleBlock(0, "Normal")) + "custom_lineweight_table{\n x=1\n}\n", "lineweight"},
        {namedText(styleBlock(0, "Normal")) + std::string("desc\0ription=\"\n", 15), "NUL"},
        {namedText(styleBlock(0, std::string(1025, 'n'))), "name is longer than 1024 bytes"},
        {namedText(styleBlock(0, "Normal", "  description=\"" + std::string(65537, 'd') + "\n")),
         "line 7: description is longer than 65536 bytes"},
        {namedText(styleBlock(0, "Normal"), "description=\"" + std::string(65537, 'd') + "\n"),
         "description is longer"},
        {namedText(styleBlock(0, "Normal")) + "aci_table{\n 1=\"" + std::string(1025, 'n') +
             "\n}\n",
         "style name is longer"},
    };
    for (const auto& [text, reason] : broken) {
        EXPECT_FALSE(readBytes(containerOf(false, text), error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

// The longest texts write and read back; a table beyond the reader's limits is not written, so
// that a saved table always opens again.
TEST(PlotStyleWriter, WritesWhatTheReaderTakesAndNothingMore) {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    const std::u16string longestName(1024, u'n');
    table->style(0)->setTexts(longestName, longestName, std::u16string(65536, u'd'));
    std::string error;
    ASSERT_TRUE(readBytes(canonicalBytes(*table), error)) << error;
    const auto refusal = [&] {
        std::string bytes;
        errno = 0;
        EXPECT_FALSE(writePlotStyleTableToMemory(*table, bytes, error));
        EXPECT_EQ(errno, EFBIG);
        return error;
    };
    table->style(0)->setDesc(std::u16string(21846, u'\u20AC')); // three bytes in UTF-8 each
    EXPECT_EQ(refusal(), "the description of plot style 0 is longer than 65536 bytes");
    for (int row = 1; row <= 64; ++row) {
        table->addStyle(u"s", row - 1, nullptr);
        table->style(row - 1)->setDesc(std::u16string(65536, u'd'));
    }
    EXPECT_EQ(refusal(), "the table text would be larger than 4 MiB");
}

TEST(PlotStyleReader, AcceptsTheVariantsOtherWritersProduce) {
    const std::string text = "\xEF\xBB\xBF"
                             "description=\"CRLF lines\r\n"
                             "scale_factor=0,75\r\n"
                             "some_future_flag=7\r\n"
                             "aci_table_available=TRUE\r\n"
                             "aci_table{\r\n 0=\"Second\r\n 1=\"Nobody\r\n}\r\n"
                             "plot_style{\r\n" +
                             styleBlock(0, "Normal") +
                             " 1{\r\n"
                             "name=\"Second\r\n"
                             "color=3288334368\r\n"
                             "future_key=\"kept\r\n"
                             "future_block{\r\nx=1\r\n}\r\n"
                             "}\r\n}\r\n" +
                             std::string("\0\0  \n", 5);
    std::string error;
    PlotStyleTablePtr table = readBytes(containerOf(false, text), error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->Description, u"CRLF lines");
    EXPECT_EQ(table->ScaleFactor, 0.75);
    ASSERT_EQ(table->size(), 2u);
    const CPlotStyle& second = *table->style(1);
    EXPECT_EQ(std::u16string(second.locName()), u"Second");
    EXPECT_EQ(second.Color, 0xC4000020u);
    EXPECT_EQ(second.ModeColor, second.Color);
    EXPECT_EQ(table->AciTable[0], &second);
    EXPECT_EQ(table->AciTable[1], table->style(0));
    EXPECT_EQ(table->AciTable[2], table->style(0));

    const std::string written = textOf(canonicalBytes(*table));
    EXPECT_NE(written.find("  future_key=\"kept\n  future_block{\nx=1\n  }\n }\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("}\nsome_future_flag=7\n"), std::string::npos) << written;
    PlotStyleTablePtr again = readBytes(canonicalBytes(*table), error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(textOf(canonicalBytes(*again)), written);
}

// The canonical fixture reads and is written back as its writer wrote it, numbers with their
// decimal point, under a locale with a decimal comma; only the mode_color line that the fixture
// leaves out for style 6 is written too.
TEST(PlotStyleWriter, WritesTheCanonicalFormUnderAnyLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing; scripts/deps generates it";
    const std::string original = readFile(fixture("canonical.ctb"));
    std::string error;
    PlotStyleTablePtr table = readBytes(original, error);
    const std::string bytes = table ? canonicalBytes(*table) : "";
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_TRUE(table) << error;

    std::string expected = textOf(original);
    const std::size_t styleSix = expected.find("\n 6{\n");
    ASSERT_NE(styleSix, std::string::npos);
    expected.insert(expected.find("  color=-1\n", styleSix) + 11, "  mode_color=-1\n");
    const std::string text = textOf(bytes);
    EXPECT_EQ(text, expected);

    ASSERT_GE(bytes.size(), 60u);
    EXPECT_EQ(bytes.substr(0, 48),
              std::string("PIAFILEVERSION_2.0,CTBVER1,compress\r\npmzlibcodec"));
    const auto number = [&bytes](std::size_t at) {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    };
    const std::string body = bytes.substr(60);
    EXPECT_EQ(number(48), adler32(adler32(0, nullptr, 0),
                                  reinterpret_cast<const Bytef*>(body.data()), body.size()));
    EXPECT_EQ(number(52), text.size());
    EXPECT_EQ(number(56), body.size());
}

TEST(PlotStyleWriter, TextsOfEveryScriptReadBackAsWritten) {
    const std::pair<std::u16string, std::u16string> texts[] = {
        {u"Wände – 45° Schraffur", u"Wände – 45° Schraffur"},
        {u"Ebene \U0001F3D7 Baustelle", u"Ebene \U0001F3D7 Baustelle"},
        {u"lone \xD800 surrogate", u"lone \uFFFD surrogate"},
        // A line break would end the value's line.
        {u"two\r\nlines", u"two  lines"},
    };
    for (const auto& [written, expected] : texts) {
        PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
        table->addStyle(written.c_str(), 0, nullptr);
        table->style(1)->setDesc(written);
        std::string error;
        PlotStyleTablePtr again = readBytes(canonicalBytes(*table), error);
        ASSERT_TRUE(again) << error;
        EXPECT_EQ(std::u16string(again->style(1)->name()), expected);
        EXPECT_EQ(std::u16string(again->style(1)->locName()), expected);
        EXPECT_EQ(std::u16string(again->style(1)->desc()), expected);
    }
}

using AtomicTableWrite = TempFolderTest;

// A save lands only on a table file of the extension it was given, or on nothing; every refusal
// leaves the files as they were and the cause in errno.
TEST_F(AtomicTableWrite, RefusesTargetsThatAreNoTableFile) {
    PlotStyleTablePtr colorDependent(CPlotStyleTable::create(true, nullptr));
    std::ofstream(path("notes.txt")) << "notes";
    std::ofstream(path("Text.ctb")) << "not a table";
    std::ofstream(path("ReadOnly.ctb"));
    fs::permissions(path("ReadOnly.ctb"), fs::perms::owner_read);
    fs::create_symlink("notes.txt", path("Notes.ctb"));
    fs::create_directory(path("Folder.ctb"));
    const std::vector<std::string> before = entries();
    const std::pair<const char*, int> refused[] = {
        {"Text.ctb", EINVAL},   {"Notes.ctb", EINVAL},        {"ReadOnly.ctb", EACCES},
        {"Folder.ctb", EISDIR}, {"missing/Plan.ctb", ENOENT},
    };
    for (const auto& [name, cause] : refused) {
        std::string error;
        errno = 0;
        EXPECT_FALSE(writePlotStyleTableFile(*colorDependent, path(name), error));
        EXPECT_EQ(errno, cause) << name << ": " << error;
        EXPECT_NE(error.find(fs::path(name).begin()->string()), std::string::npos) << error;
        // The same refusal, found before writing.
        std::u16string reason;
        EXPECT_FALSE(colorDependent->canWrite(fs::path(path(name)).u16string().c_str(), reason));
        EXPECT_NE(reason.find(fs::path(name).begin()->u16string()), std::u16string::npos) << name;
    }
    std::u16string reason;
    EXPECT_TRUE(colorDependent->canWrite(fs::path(path("New.ctb")).u16string().c_str(), reason));
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(readFile(path("Text.ctb")), "not a table");
    // An empty file takes a table, also through a link (which the safe file suite sees stay).
    std::ofstream(path("Empty.ctb"));
    fs::create_symlink("Empty.ctb", path("Link.ctb"));
    colorDependent->Description = u"Grundriss";
    ASSERT_TRUE(colorDependent->write(fs::path(path("Link.ctb")).u16string().c_str()));
    PlotStyleTablePtr again(CPlotStyleTable::read(fs::path(path("Empty.ctb")).u16string().c_str()));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Description, u"Grundriss");
}

} // namespace
