// Writes the sample plot style folder that ships with pstyle: a default colour-dependent table,
// a monochrome one, and a named table with a few styles for everyday drawings.
#include <cstdio>
#include <string>

#include <kesutils/plot_style_table.h>

#include "psl_style_values.h"
#include "psl_text.h"

namespace {

constexpr std::int32_t kBlack = 0x000000;

bool writeTable(const CPlotStyleTable& table, const std::string& folder, const char* name) {
    const std::string path = folder + "/" + name;
    if (!table.write(toHostText(wxString::FromUTF8(path.c_str())).c_str())) {
        std::fprintf(stderr, "make_sample_tables: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

PlotStyleTablePtr makeMonochrome() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    table->Description = u"Every colour plots black";
    for (int row = 0; row < int(table->size()); ++row) {
        table->style(row)->updateColor(kBlack);
    }
    return table;
}

PlotStyleTablePtr makeNamed() {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    table->Description = u"Styles for plans and sections";
    struct Sample {
        const char16_t* name;
        double lineWeight;
        std::int32_t lineType;
        std::int32_t screening;
    };
    const Sample samples[] = {
        {u"Thin", 0.18, 31, 100},  {u"Medium", 0.35, 31, 100},    {u"Heavy", 0.7, 31, 100},
        {u"Hidden", 0.25, 1, 100}, {u"Background", 0.13, 31, 40},
    };
    for (const Sample& sample : samples) {
        const int after = int(table->size()) - 1;
        table->addStyle(sample.name, after, nullptr);
        CPlotStyle* style = table->style(after + 1);
        style->updateColor(kBlack);
        style->LineWeight = lineWeightIndexOf(*table, sample.lineWeight);
        style->LineType = sample.lineType;
        style->Screening = sample.screening;
    }
    return table;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_tables FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const PlotStyleTablePtr standard(CPlotStyleTable::create(true, nullptr));
    const bool written = writeTable(*standard, folder, "default.ctb") &&
                         writeTable(*makeMonochrome(), folder, "monochrome.ctb") &&
                         writeTable(*makeNamed(), folder, "named.stb");
    return written ? 0 : 1;
}
