#include "plot_dxf_records.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iterator>

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

std::uint64_t handleValue(const std::string& text) {
    return std::strtoull(text.c_str(), nullptr, 16);
}

bool allFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool isHandledKind(const std::string& kind) {
    static const char* const kinds[] = {
        "LINE",    "LWPOLYLINE", "POLYLINE", "VERTEX", "SEQEND",    "CIRCLE",   "ARC",
        "ELLIPSE", "SPLINE",     "POINT",    "TEXT",   "MTEXT",     "ATTRIB",   "ATTDEF",
        "SOLID",   "TRACE",      "HATCH",    "INSERT", "DIMENSION", "VIEWPORT",
    };
    return std::any_of(std::begin(kinds), std::end(kinds),
                       [&](const char* known) { return kind == known; });
}

void readRawGroup(RawGroups& record, unsigned int code, const std::string& value) {
    switch (code) {
    case 1:
    case 3:
        if (record.kind == "MTEXT") {
            record.text += value;
        } else if (code == 3) {
            record.entryName = value;
        }
        break;
    case 2:
        record.name = value;
        break;
    case 5:
        record.handle = handleValue(value);
        break;
    case 8:
        if (!isHandledKind(record.kind)) {
            record.layer = value;
        }
        break;
    case 11:
    case 21:
        record.hasDirection = true;
        record.direction[code == 11 ? 0 : 1] = std::atof(value.c_str());
        break;
    case 49:
        if (record.kind == "LTYPE") {
            const double length = std::atof(value.c_str());
            if (std::isfinite(length)) {
                record.dashes.push_back(length);
            }
        }
        break;
    case 50:
        record.angle = std::atof(value.c_str());
        break;
    case 60:
        record.invisible = std::atoi(value.c_str()) == 1;
        break;
    case 67:
        record.paperSpace = std::atoi(value.c_str()) == 1;
        break;
    case 70:
        record.flags = std::atoi(value.c_str());
        break;
    case 210:
    case 220:
    case 230:
        record.extrusion[(code - 210) / 10] = std::atof(value.c_str());
        break;
    case 290:
        record.plotted = std::atoi(value.c_str()) != 0;
        break;
    case 340:
        record.defaultEntry = handleValue(value);
        break;
    case 350:
    case 360:
        if (!record.entryName.empty()) {
            record.entries.emplace_back(std::move(record.entryName), handleValue(value));
            record.entryName.clear();
        }
        break;
    case 380:
        record.plotStyleType = std::atoi(value.c_str());
        break;
    case 390:
        record.plotStyleHandle = handleValue(value);
        break;
    default:
        break;
    }
}
