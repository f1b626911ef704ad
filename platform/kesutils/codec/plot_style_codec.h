// Reading and writing table files, below the public read and write calls: for the fuzzer, the
// tests and callers that want to know why a file was refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <kesutils/plot_style_table.h>

// The table held by a file's bytes, or null with the reason in error; report, when given, says
// what the read filled in.
PlotStyleTablePtr readPlotStyleTableFromMemory(const std::uint8_t* data, std::size_t size,
                                               std::string& error,
                                               PlotStyleReadReport* report = nullptr);
// The file's bytes for table in canonical form; false when compressing failed.
bool writePlotStyleTableToMemory(const CPlotStyleTable& table, std::string& bytes);

// path is UTF-8. Null or false with the reason in error; a failed write leaves the system's
// cause in errno.
PlotStyleTablePtr readPlotStyleTableFile(const std::string& path, std::string& error,
                                         PlotStyleReadReport* report = nullptr);
bool writePlotStyleTableFile(const CPlotStyleTable& table, const std::string& path,
                             std::string& error);
