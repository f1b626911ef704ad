// Plot style tables and their styles as the host library keeps them. Texts crossing this
// interface are NUL-terminated strings of 16-bit code units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <teigha/od_alloc.h>

// Lines of a table file that the model has no field for, kept so that writing the table back
// loses nothing: key and raw value, in file order.
using PlotStyleExtraKeys = std::vector<std::pair<std::string, std::string>>;

class CPlotStyle {
public:
    CPlotStyle();
    explicit CPlotStyle(const char16_t* name);

    const char16_t* name() const { return texts_.c_str(); }
    const char16_t* locName() const { return texts_.c_str() + localizedNameAt_; }
    const char16_t* desc() const { return texts_.c_str() + descriptionAt_; }

    // The plot colour with red in bits 0 to 7, green 8 to 15, blue 16 to 23; 0x00FFFFFF when
    // the style uses the object's colour.
    std::int32_t color2rgb() const;
    // Sets the plot colour from red in bits 16 to 23, green 8 to 15, blue 0 to 7; 0x00FFFFFF
    // means the object's colour.
    bool updateColor(std::int32_t rgb);

    // Host-side setters, used when a table is read or created.
    void setName(std::u16string_view text) { setTexts(text, locName(), desc()); }
    void setLocName(std::u16string_view text) { setTexts(name(), text, desc()); }
    void setDesc(std::u16string_view text) { setTexts(name(), locName(), text); }
    void setTexts(std::u16string_view name, std::u16string_view localizedName,
                  std::u16string_view description);
    PlotStyleExtraKeys& extraKeys() { return extraKeys_; }
    const PlotStyleExtraKeys& extraKeys() const { return extraKeys_; }

    // Copies every property value of another style, but neither its names nor its description.
    void copyProperties(const CPlotStyle& source);

    std::uint32_t Color;
    std::uint32_t ModeColor;
    std::int32_t ColorPolicy;
    std::int32_t PhysPenNum;
    std::int32_t VirtPenNum;
    std::int32_t Screening;
    double LinePatSize;
    std::int32_t LineType;
    bool Adaptive;
    std::int32_t LineWeight;
    std::int32_t FillStyle;
    std::int32_t EndStyle;
    std::int32_t JoinStyle;

private:
    // Name, localized name and description, each ending in a NUL, in one block of memory: a
    // table of 255 styles holds a third as many blocks.
    std::u16string texts_;
    std::size_t localizedNameAt_;
    std::size_t descriptionAt_;
    PlotStyleExtraKeys extraKeys_;
};

struct PlotStyleReadReport;

class CPlotStyleTable {
public:
    static constexpr int kLineWeightCount = 27;
    static constexpr int kAciCount = 255;
    // The most a table holds, and so the most a table file may hold: styles in a named table,
    // and the bytes of a name or a description in UTF-8. A file that holds more is refused, and
    // a table that holds more is not written.
    static constexpr std::size_t kMaxNamedStyles = 10000;
    static constexpr std::size_t kMaxNameBytes = 1024;
    static constexpr std::size_t kMaxDescriptionBytes = 65536;
    using AciStyles = CPlotStyle* [kAciCount];

    // A table read from a file, or null when the file is missing, damaged or not a table.
    // The caller owns the result and releases it with releasePlotStyleTable.
    static CPlotStyleTable* read(const char16_t* path);
    // The same, and why a file was refused: one line in English naming what is wrong, with the
    // line of the table's text where the fault is in the text ("line 12: bad value for
    // color"). reason is empty after a successful read. A host library without reasons may
    // leave it empty on failure too; callers then fall back to a message of their own.
    static CPlotStyleTable* read(const char16_t* path, std::u16string& reason);
    // The same, and on success what the read filled in or read another way than the file says.
    static CPlotStyleTable* read(const char16_t* path, std::u16string& reason,
                                 PlotStyleReadReport& report);
    // A new table with default content: 255 styles Color_1 to Color_255, or one style Normal.
    // The text argument is reserved and may be null.
    static CPlotStyleTable* create(bool colorDependent, const char16_t* text);

    // Writes the table to path atomically: true when the file holds the table, false when it
    // could not be written, in which case an existing file is left as it was and errno holds
    // the cause. A file whose permission bits deny the user writing is refused (EACCES), root
    // included; a replaced file keeps its owner, group and permissions.
    bool write(const char16_t* path) const;
    // Whether write would refuse path, found without writing or waiting for a lock: false with
    // one line in English naming the cause (a link that is not followed, a file this user may
    // not write, a folder, a file of another kind), for callers that check all their files
    // before they write the first. A write can still fail for what only writing shows (a full
    // disk).
    bool canWrite(const char16_t* path, std::u16string& reason) const;

    ~CPlotStyleTable();
    CPlotStyleTable(const CPlotStyleTable&) = delete;
    CPlotStyleTable& operator=(const CPlotStyleTable&) = delete;

    std::size_t size() const { return styles_.size(); }
    CPlotStyle* style(int index);
    const CPlotStyle* style(int index) const;

    // Inserts a style named name at after + 1, with the property values of source or defaults.
    bool addStyle(const char16_t* name, int after, const CPlotStyle* source);
    void deleteStyle(int index);
    // Gives the style at index a new name and localized name.
    bool renameStyle(int index, const char16_t* name);

    PlotStyleExtraKeys& extraKeys() { return extraKeys_; }
    const PlotStyleExtraKeys& extraKeys() const { return extraKeys_; }
    // Lineweight rows past the table's 27 that another writer added: no style refers to them.
    PlotStyleExtraKeys& extraLineWeightRows() { return extraLineWeightRows_; }
    const PlotStyleExtraKeys& extraLineWeightRows() const { return extraLineWeightRows_; }

    std::u16string Description;
    double ScaleFactor;
    bool ApplyFactor;
    std::int32_t CustomLineWeightUnits;
    double LineWeights[kLineWeightCount];
    bool ColorDependent;
    bool AciTableAvailable;
    AciStyles& AciTable;

private:
    explicit CPlotStyleTable(bool colorDependent);
    friend class PlotStyleTableFactory;

    AciStyles aciStyles_{};
    std::vector<std::unique_ptr<CPlotStyle>> styles_;
    PlotStyleExtraKeys extraKeys_;
    PlotStyleExtraKeys extraLineWeightRows_;
};

// What a read made of a file beyond what the file holds, for checking tables that other
// programs wrote. As it stands before a read, it reports nothing filled in.
struct PlotStyleReadReport {
    // The kind the file's header names. A file whose header says colour-dependent but that
    // holds neither 255 styles nor a colour index table is read as a named table.
    bool headerColorDependent = false;
    // Rows of the file's lineweight table, those past the table's 27 included, and how many of
    // the 27 it lacked and were given default values.
    int lineWeightRows = CPlotStyleTable::kLineWeightCount;
    int lineWeightRowsFilledIn = 0;
};

// Destroys a table from read or create and returns its storage to the shared allocator.
inline void releasePlotStyleTable(CPlotStyleTable* table) {
    if (table) {
        table->~CPlotStyleTable();
        odrxFree(table);
    }
}

struct PlotStyleTableRelease {
    void operator()(CPlotStyleTable* table) const { releasePlotStyleTable(table); }
};

using PlotStyleTablePtr = std::unique_ptr<CPlotStyleTable, PlotStyleTableRelease>;
