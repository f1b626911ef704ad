// Reading and writing table files, below the public read and write calls: for the fuzzer, the
// tests and callers that want to know why a file was refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <kesutils/plot_style_table.h>

// The table held by a file's bytes, or null with the reason in error; report, when given, says
// what the read filled in.
PlotStyleTablePtr readPlotStyleTableFromMemory(const std::uint8_t* data, std::size_t size,
                                               std::string& error,
                                               PlotStyleReadReport* report = nullptr);
// The table held by a file's text once it is out of its container, for a file whose header
// names the kind colorDependent.
PlotStyleTablePtr readPlotStyleTableFromText(std::string_view text, bool colorDependent,
                                             std::string& error,
                                             PlotStyleReadReport* report = nullptr);
// The file's bytes for table in canonical form; false with the reason in error (and errno) when
// the table holds more than a file may, or compressing failed.
bool writePlotStyleTableToMemory(const CPlotStyleTable& table, std::string& bytes,
                                 std::string& error);

// path is UTF-8. Null or false with the reason in error; a failed write leaves the system's
// cause in errno.
PlotStyleTablePtr readPlotStyleTableFile(const std::string& path, std::string& error,
                                         PlotStyleReadReport* report = nullptr);
bool writePlotStyleTableFile(const CPlotStyleTable& table, const std::string& path,
                             std::string& error);
