// Writes the sample plot style folder that ships with pstyle: a default colour-dependent table,
// a monochrome one, and a named table with a few styles for everyday drawings. Each is made
// through a table document, as the editor makes tables.
#include <cstdio>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include <wx/filefn.h>
#include <wx/filename.h>

#include "psl_style_values.h"
#include "psl_table_document.h"

namespace {

constexpr std::int32_t kBlack = 0x000000;

// A new table for folder/name, filled by fill and saved; an older file of that name goes first.
bool writeTable(const std::string& folder, const char* name,
                const std::function<void(TableDocument&)>& fill) {
    const wxFileName file(wxString::FromUTF8((folder + "/" + name).c_str()));
    if (file.FileExists()) {
        wxRemoveFile(file.GetFullPath());
    }
    TableDocument document(file);
    if (document.load() == TableDocument::LoadOutcome::Created) {
        fill(document);
        if (document.save().saved) {
            return true;
        }
    }
    std::fprintf(stderr, "make_sample_tables: cannot write %s\n",
                 file.GetFullPath().utf8_str().data());
    return false;
}

void makeMonochrome(TableDocument& document) {
    document.setTableDescription("Every colour plots black");
    std::vector<int> rows(document.table()->size());
    std::iota(rows.begin(), rows.end(), 0);
    document.setStyleProperty(rows, StyleProperty::Color, kBlack);
}

void makeNamed(TableDocument& document) {
    document.setTableDescription("Styles for plans and sections");
    struct Sample {
        const char* name;
        double lineWeight;
        std::int32_t lineType;
        std::int32_t screening;
    };
    const Sample samples[] = {
        {"Thin", 0.18, 31, 100},  {"Medium", 0.35, 31, 100},    {"Heavy", 0.7, 31, 100},
        {"Hidden", 0.25, 1, 100}, {"Background", 0.13, 31, 40},
    };
    for (const Sample& sample : samples) {
        const int row = int(document.table()->size());
        document.addStyle(sample.name, row - 1, false);
        document.setStyleProperty({row}, StyleProperty::Color, kBlack);
        document.setStyleProperty({row}, StyleProperty::LineWeight,
                                  lineWeightIndexOf(*document.table(), sample.lineWeight));
        document.setStyleProperty({row}, StyleProperty::LineType, sample.lineType);
        document.setStyleProperty({row}, StyleProperty::Screening, sample.screening);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_tables FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = writeTable(folder, "default.ctb", [](TableDocument&) {}) &&
                         writeTable(folder, "monochrome.ctb", makeMonochrome) &&
                         writeTable(folder, "named.stb", makeNamed);
    return written ? 0 : 1;
}
