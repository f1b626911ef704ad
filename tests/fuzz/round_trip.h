// What both fuzzers ask of a table the reader accepted: it writes out and reads back to the same
// canonical bytes, so that saving an opened table can never lose it. Only a canonical text
// beyond the reader's size, which a terse text can grow into, may be refused, with a reason.
#pragma once

#include <cstdlib>
#include <string>

#include "plot_style_codec.h"

inline void checkRoundTrip(const CPlotStyleTable& table) {
    std::string written;
    std::string error;
    if (!writePlotStyleTableToMemory(table, written, error)) {
        if (error.find("would be larger than") == std::string::npos) {
            std::abort();
        }
        return;
    }
    PlotStyleTablePtr again = readPlotStyleTableFromMemory(
        reinterpret_cast<const std::uint8_t*>(written.data()), written.size(), error);
    std::string rewritten;
    if (!again || !writePlotStyleTableToMemory(*again, rewritten, error) || rewritten != written) {
        std::abort();
    }
}
