#include "psl_table_convert.h"

#include <algorithm>
#include <iterator>
#include <string>

#include <wx/string.h>

#include "psl_style_names.h"
#include "psl_text.h"

namespace {

// Style names are unique without regard to case, in any script; a colour whose style has no
// usable name of its own gets the name a new colour-dependent table gives it, numbered on when
// another style holds that one too.
wxString uniqueStyleName(const StyleNameIndex& named, const CPlotStyle& style, int index) {
    wxString name = toWxString(style.locName());
    if (!name.empty() && named.find(name) < 0) {
        return name;
    }
    name = wxString::Format("Color_%d", index + 1);
    for (int copy = 2; named.find(name) >= 0; ++copy) {
        name = wxString::Format("Color_%d_%d", index + 1, copy);
    }
    return name;
}

} // namespace

PlotStyleTablePtr convertToNamedTable(const CPlotStyleTable& colorDependent) {
    PlotStyleTablePtr named(CPlotStyleTable::create(false, nullptr));
    if (!named) {
        return nullptr;
    }
    named->Description = colorDependent.Description;
    named->ScaleFactor = colorDependent.ScaleFactor;
    named->ApplyFactor = colorDependent.ApplyFactor;
    named->CustomLineWeightUnits = colorDependent.CustomLineWeightUnits;
    std::copy(std::begin(colorDependent.LineWeights), std::end(colorDependent.LineWeights),
              named->LineWeights);

    const int count = std::min(int(colorDependent.size()), CPlotStyleTable::kAciCount);
    StyleNameIndex names(*named);
    for (int index = 0; index < count; ++index) {
        const CPlotStyle& source = *colorDependent.style(index);
        const wxString name = uniqueStyleName(names, source, index);
        if (!named->addStyle(toHostText(name).c_str(), index, &source)) {
            return nullptr;
        }
        names.add(name, index + 1);
        named->style(index + 1)->setDesc(source.desc());
    }
    named->AciTableAvailable = true;
    for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
        named->AciTable[index] = named->style(index < count ? index + 1 : 0);
    }
    return named;
}
