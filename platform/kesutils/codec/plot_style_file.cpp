#include <kesutils/plot_style_table.h>

CPlotStyleTable* CPlotStyleTable::read(const char16_t*) {
    return nullptr;
}

bool CPlotStyleTable::write(const char16_t*) const {
    return false;
}
