// The raw groups of a DXF record that dxflib's callbacks do not hand on: plot style names and
// their dictionary, layers' plot flags, extrusions, texts of multi-line texts and the like.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// The groups of one record that the library's callbacks do not hand on.
struct RawGroups {
    std::string kind;
    std::string name;  // 2: a dimension's block
    std::string layer; // 8, kept only for kinds that are not drawn
    std::string text;  // 3 and 1 of a multi-line text
    std::uint64_t handle = 0;
    std::uint64_t plotStyleHandle = 0;
    int plotStyleType = -1; // 380
    int flags = 0;          // 70
    bool invisible = false; // 60
    bool plotted = true;    // 290
    bool paperSpace = false;
    double extrusion[3] = {0, 0, 1};
    bool hasDirection = false;
    double direction[2] = {1, 0};
    double angle = 0;           // 50
    std::vector<double> dashes; // 49 of a linetype
    // Dictionary entries: 3 names the next 350 or 360.
    std::string entryName;
    std::vector<std::pair<std::string, std::uint64_t>> entries;
    std::uint64_t defaultEntry = 0; // 340
};

// Keeps what the record needs of one group.
void readRawGroup(RawGroups& record, unsigned int code, const std::string& value);

// Kinds of entities that are drawn, or that belong to one that is, or never plot.
bool isHandledKind(const std::string& kind);

std::string upperCase(std::string text);
// A handle's hexadecimal digits as a number; 0 for none.
std::uint64_t handleValue(const std::string& text);
bool allFinite(std::initializer_list<double> values);
