// Feeds arbitrary table texts straight to the codec's parser, past the compression that stops
// most mutations of a whole file. The first byte is the header's kind ('C' colour-dependent,
// anything else named), the rest the text as it comes out of the container.
#include <cstdint>
#include <string_view>

#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string error;
    const PlotStyleTablePtr table = readPlotStyleTableFromText(text, data[0] == 'C', error);
    if (table) {
        checkRoundTrip(*table);
    }
    return 0;
}
