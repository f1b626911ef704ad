// Feeds arbitrary bytes to the table reader. Whatever it accepts must also write out and read
// back to the same canonical bytes, so that saving an opened table can never lose it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plot_style_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    PlotStyleTablePtr table = readPlotStyleTableFromMemory(data, size, error);
    if (!table) {
        return 0;
    }
    std::string written;
    if (!writePlotStyleTableToMemory(*table, written)) {
        std::abort();
    }
    PlotStyleTablePtr again = readPlotStyleTableFromMemory(
        reinterpret_cast<const std::uint8_t*>(written.data()), written.size(), error);
    std::string rewritten;
    if (!again || !writePlotStyleTableToMemory(*again, rewritten) || rewritten != written) {
        std::abort();
    }
    return 0;
}
