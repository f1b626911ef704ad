// Feeds arbitrary bytes to the table reader, container and compression included.
#include <cstdint>

#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const PlotStyleTablePtr table = readPlotStyleTableFromMemory(data, size, error);
    if (table) {
        checkRoundTrip(*table);
    }
    return 0;
}
