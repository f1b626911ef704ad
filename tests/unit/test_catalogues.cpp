// Value catalogues of the style pickers: labels inside and outside each catalogue, their
// translation, the image names and the lineweight image rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <wx/translation.h>
#include <wx/xml/xml.h>

#include "psl_catalogues.h"

namespace {

using LabelFunction = wxString (*)(int);

struct CatalogueCase {
    const char* name;
    CatalogueValues values;
    LabelFunction label;
    LabelFunction bitmap;
    const char* bitmapPrefix;
};

const CatalogueCase kCatalogues[] = {
    {"line type", kLineTypeValues, lineTypeLabel, lineTypeBitmap, "BmpLineType"},
    {"end style", kEndStyleValues, endStyleLabel, endStyleBitmap, "BmpEndStyle"},
    {"join style", kJoinStyleValues, joinStyleLabel, joinStyleBitmap, "BmpJoinStyle"},
    {"fill style", kFillStyleValues, fillStyleLabel, fillStyleBitmap, "BmpFillStyle"},
};

// A gettext catalogue in memory, as msgfmt would write it.
std::string machineObject(const std::vector<std::pair<std::string, std::string>>& messages) {
    std::vector<std::pair<std::string, std::string>> entries = {
        {"", "Content-Type: text/plain; charset=UTF-8\n"}};
    entries.insert(entries.end(), messages.begin(), messages.end());

    const std::uint32_t count = std::uint32_t(entries.size());
    const std::uint32_t originals = 28;
    const std::uint32_t translations = originals + 8 * count;
    std::uint32_t stringOffset = translations + 8 * count;

    std::vector<std::uint32_t> words = {0x950412de, 0, count, originals, translations, 0, 0};
    std::string strings;
    for (const bool original : {true, false}) {
        for (const auto& [key, text] : entries) {
            const std::string& value = original ? key : text;
            words.push_back(std::uint32_t(value.size()));
            words.push_back(stringOffset + std::uint32_t(strings.size()));
            strings += value;
            strings += '\0';
        }
    }
    std::string data(reinterpret_cast<const char*>(words.data()), words.size() * 4);
    return data + strings;
}

class MemoryLoader : public wxTranslationsLoader {
public:
    explicit MemoryLoader(std::string data) : data_(std::move(data)) {}

    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString&) override {
        return wxMsgCatalog::CreateFromData(
            wxScopedCharBuffer::CreateNonOwned(data_.data(), data_.size()), domain);
    }
    wxArrayString GetAvailableTranslations(const wxString&) const override {
        return wxArrayString(1, "de");
    }

private:
    std::string data_;
};

// Installs a German catalogue for as long as it lives.
class GermanCatalogue {
public:
    explicit GermanCatalogue(const std::vector<std::pair<std::string, std::string>>& messages) {
        auto* translations = new wxTranslations;
        translations->SetLoader(new MemoryLoader(machineObject(messages)));
        translations->SetLanguage("de");
        translations->AddCatalog("pstyle");
        wxTranslations::Set(translations);
    }
    ~GermanCatalogue() { wxTranslations::Set(nullptr); }
};

wxString lineWeightImage(int number) {
    return wxString::Format("BmpLineWeight%02d", number);
}

} // namespace

TEST(Catalogues, OwnSettingAndOutsideValuesHaveTheirOwnLabels) {
    EXPECT_EQ(lineTypeLabel(31), "Use entity linetype");
    EXPECT_EQ(lineTypeLabel(32), "Line type 32");
    EXPECT_EQ(lineTypeLabel(-1), "Line type -1");

    EXPECT_EQ(endStyleLabel(4), "Use entity end style");
    EXPECT_EQ(endStyleLabel(5), "End style 5");

    EXPECT_EQ(joinStyleLabel(4), "Join style 4");
    EXPECT_EQ(joinStyleLabel(5), "Use entity join style");
    EXPECT_EQ(joinStyleLabel(-2147483647 - 1), "Join style -2147483648");

    EXPECT_EQ(fillStyleLabel(63), "Fill style 63");
    EXPECT_EQ(fillStyleLabel(73), "Use entity fill style");
    EXPECT_EQ(fillStyleLabel(74), "Fill style 74");
    EXPECT_EQ(fillStyleLabel(0), "Fill style 0");

    EXPECT_EQ(lineWeightOwnSettingLabel(), "Use object lineweight");
}

TEST(Catalogues, CatalogueValuesHaveTheirOwnLabelsAndImages) {
    EXPECT_EQ(lineTypeLabel(0), "Solid");
    EXPECT_EQ(lineTypeLabel(7), "Short Dash x2");
    EXPECT_EQ(lineTypeLabel(16), "Sparse Dot");
    EXPECT_EQ(lineTypeLabel(30), "ISO Double Dash Triple Dot");
    EXPECT_EQ(endStyleLabel(0), "Butt");
    EXPECT_EQ(endStyleLabel(3), "Diamond");
    EXPECT_EQ(joinStyleLabel(0), "Miter");
    EXPECT_EQ(joinStyleLabel(2), "Round");
    EXPECT_EQ(fillStyleLabel(64), "Solid");
    EXPECT_EQ(fillStyleLabel(72), "Vertical Bars");

    EXPECT_EQ(lineTypeBitmap(0), "BmpLineType00");
    EXPECT_EQ(lineTypeBitmap(9), "BmpLineType09");
    EXPECT_EQ(lineTypeBitmap(30), "BmpLineType30");
    EXPECT_EQ(endStyleBitmap(1), "BmpEndStyleSquare");
    EXPECT_EQ(joinStyleBitmap(3), "BmpJoinStyleDiamond");
    EXPECT_EQ(fillStyleBitmap(64), "BmpFillStyleSolid");
    EXPECT_EQ(fillStyleBitmap(69), "BmpFillStyleSlantLeft");

    // A picker whose items share a label or an image, or fall back to the "... %d" form, is
    // unusable; the own-setting item and values outside the catalogue have no image.
    for (const CatalogueCase& catalogue : kCatalogues) {
        SCOPED_TRACE(catalogue.name);
        const CatalogueValues& values = catalogue.values;
        std::set<wxString> labels{catalogue.label(values.ownSetting)};
        std::set<wxString> images;
        for (int value = values.first; value <= values.last; ++value) {
            const wxString label = catalogue.label(value);
            EXPECT_FALSE(label.Contains(wxString::Format("%d", value))) << label;
            EXPECT_TRUE(labels.insert(label).second) << label;
            const wxString image = catalogue.bitmap(value);
            EXPECT_TRUE(image.StartsWith(catalogue.bitmapPrefix)) << image;
            EXPECT_TRUE(images.insert(image).second) << image;
        }
        for (const int outside : {values.first - 1, values.last + 1, values.ownSetting, -1}) {
            EXPECT_EQ(catalogue.bitmap(outside), "") << outside;
        }
    }
}

TEST(Catalogues, LabelsAndFormatsAreTranslated) {
    // One word, two meanings: a catalogue's labels are looked up in its own message context
    // (gettext keys them as context, EOT, text).
    const GermanCatalogue german({{"linetype\x04Solid", "Durchgezogen"},
                                  {"fill style\x04Solid", "Vollfläche"},
                                  {"line end style\x04Round", "Rund"},
                                  {"line join style\x04Round", "Abgerundet"},
                                  {"Use entity linetype", "Linientyp des Objekts"},
                                  {"Line type %d", "Linientyp Nr. %d"},
                                  {"Fill style %d", "%d. Füllstil"}});

    EXPECT_EQ(lineTypeLabel(0), "Durchgezogen");
    EXPECT_EQ(fillStyleLabel(64), wxString::FromUTF8("Vollfläche"));
    EXPECT_EQ(endStyleLabel(2), "Rund");
    EXPECT_EQ(joinStyleLabel(2), "Abgerundet");
    EXPECT_EQ(lineTypeLabel(31), "Linientyp des Objekts");
    EXPECT_EQ(lineTypeLabel(-1), "Linientyp Nr. -1");
    EXPECT_EQ(fillStyleLabel(74), wxString::FromUTF8("74. Füllstil"));
    EXPECT_EQ(endStyleLabel(9), "End style 9"); // no translation: the English text stays
}

TEST(Catalogues, EveryImageNameIsInTheImageCatalogue) {
    wxXmlDocument document;
    ASSERT_TRUE(document.Load(PSTYLE_TEST_DATA_DIR "/../../res/xrc/psl_graphics.xrc"));
    std::set<wxString> catalogueNames;
    for (wxXmlNode* node = document.GetRoot()->GetChildren(); node; node = node->GetNext()) {
        if (node->GetAttribute("class") == "wxBitmap") {
            catalogueNames.insert(node->GetAttribute("name"));
        }
    }

    std::vector<wxString> used;
    for (const CatalogueCase& catalogue : kCatalogues) {
        for (int value = catalogue.values.first; value <= catalogue.values.last; ++value) {
            used.push_back(catalogue.bitmap(value));
        }
    }
    for (double millimetres = 0; millimetres < 3.2; millimetres += 0.01) {
        used.push_back(lineWeightBitmap(millimetres));
    }
    for (const wxString& name : used) {
        EXPECT_EQ(catalogueNames.count(name), 1u) << name;
    }
}

TEST(Catalogues, LineWeightImagesChangeAtTheirLimits) {
    EXPECT_EQ(lineWeightBitmap(0), lineWeightImage(1));
    EXPECT_EQ(lineWeightBitmap(0.25), lineWeightImage(1));
    EXPECT_EQ(lineWeightBitmap(0.35), lineWeightImage(2));
    EXPECT_EQ(lineWeightBitmap(1.0), lineWeightImage(5));
    EXPECT_EQ(lineWeightBitmap(3.0), lineWeightImage(14));
    EXPECT_EQ(lineWeightBitmap(25.4), lineWeightImage(14));

    // Limits in millimetres between image k and k + 1, as users type them.
    const double limits[] = {0.33, 0.55, 0.77, 0.99, 1.21, 1.43, 1.65,
                             1.87, 2.09, 2.31, 2.53, 2.75, 2.97};
    for (int k = 1; k <= 13; ++k) {
        const double limit = limits[k - 1];
        SCOPED_TRACE(limit);
        EXPECT_EQ(lineWeightBitmap(limit - 0.0001), lineWeightImage(k));
        EXPECT_EQ(lineWeightBitmap(limit), lineWeightImage(k + 1));
        EXPECT_EQ(lineWeightBitmap(limit + 0.0001), lineWeightImage(k + 1));
    }

    // Weights read from other programs' files may be anything.
    EXPECT_EQ(lineWeightBitmap(-0.5), lineWeightImage(1));
    EXPECT_EQ(lineWeightBitmap(std::numeric_limits<double>::quiet_NaN()), lineWeightImage(1));
    EXPECT_EQ(lineWeightBitmap(std::numeric_limits<double>::infinity()), lineWeightImage(14));
}
