// A plot style table as it is edited: the table, the file it belongs to, its undo history,
// whether it holds changes that the file lacks, and the file as the document last saw it. Every
// change of a table, by a person in the editor or by a command, goes through the operations
// here, and each checks the value it is given. Values that a table already holds, whatever
// program wrote them, pass through undo and save unchanged. Needs no GUI library.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <wx/filename.h>
#include <wx/string.h>

#include <kesutils/plot_style_table.h>
#include <safe_file.h>

#include "psl_edit_history.h"
#include "psl_style_property.h"

// What an edit did. A refused edit leaves the table as it was and says why, translated.
struct EditResult {
    enum class Outcome { Changed, Unchanged, Refused };
    Outcome outcome = Outcome::Unchanged;
    wxString reason;

    bool changed() const { return outcome == Outcome::Changed; }
    bool refused() const { return outcome == Outcome::Refused; }

    static EditResult refusal(const wxString& why) { return {Outcome::Refused, why}; }
};

struct SaveResult {
    bool saved = false;
    // Why the write failed, as an errno value; 0 when the system gave no reason.
    int error = 0;
    // Why the save was refused before anything was written, translated; empty otherwise.
    wxString reason;
};

// Where each lineweight row went in a sort: entry r is the new row of row r.
using LineWeightOrder = std::array<int, CPlotStyleTable::kLineWeightCount>;

// Rounds to 4 decimals, halves away from zero, as lineweights are stored.
double roundTo4Decimals(double value);

class TableDocument {
public:
    enum class LoadOutcome { Read, Created, ReadFailed, CreateFailed };

    // A document for the table of file, which need not exist yet; it holds no table until load.
    explicit TableDocument(const wxFileName& file = wxFileName());

    // Holds the table of the document's file: read from sourceFile instead when that names an
    // existing file (a copy begins), else from the file when it exists, else a new table of the
    // kind that the file's extension names. Modified when the file does not exist or was not
    // read (a copy). Starts a new history and takes the file's identity.
    LoadOutcome load(const wxString& sourceFile = wxString());
    // Why the last load could not read its file, in English from the table library; empty after
    // a good load, or when the library gave no reason.
    const wxString& readFailure() const { return readFailure_; }

    bool hasTable() const { return bool(table_); }
    const CPlotStyleTable* table() const { return table_.get(); }
    const wxFileName& fileName() const { return fileName_; }
    bool isModified() const { return modified_; }
    // The file as it was when this document loaded it or last wrote it.
    const safefile::FileIdentity& fileIdentity() const { return fileIdentity_; }
    // Whether another program changed, replaced, created or deleted the file since then.
    bool fileChangedElsewhere() const;

    // Row 0 of a named table: it keeps its name and properties and is never deleted.
    bool isBaseStyle(int row) const;
    // Only regular named tables gain and lose styles; tables with an ACI table keep theirs.
    bool canAddOrDeleteStyles() const;
    bool canRenameStyle(int row) const;

    // Writes the table to the document's file. A failed write leaves the file and the document
    // as they were; a file whose extension is not the table's kind's is refused.
    SaveResult save();
    // Writes the table to file, which becomes the document's file only when the write succeeds.
    SaveResult saveAs(const wxFileName& file);
    // Why save would refuse the document's file, found without writing or waiting for its lock:
    // the extension of another kind, or what the table library refuses (a link, a file this user
    // may not write, a folder, a file of another kind). Empty when it may be written.
    wxString saveRefusal() const;

    // Gives value to the styles of rows, the base style left out. A value outside the
    // property's range is refused unless every one of those styles already holds it.
    EditResult setStyleProperty(const std::vector<int>& rows, StyleProperty property,
                                std::int32_t value);
    // Descriptions hold no line break and at most CPlotStyleTable::kMaxDescriptionBytes. Typing
    // into the descriptions of the same styles makes one undo step, until another change, undo,
    // redo or endTyping.
    EditResult setStyleDescription(const std::vector<int>& rows, const wxString& text);
    void endTyping();

    EditResult setTableDescription(const wxString& text);
    EditResult setApplyFactor(bool apply);
    // A finite factor above 0.
    EditResult setScaleFactor(double factor);

    // Inserts a style behind row after, with the properties of the style at after when
    // copyProperties, else with the defaults. The name is stored without surrounding blanks and
    // must be allowed, unique regardless of case and at most CPlotStyleTable::kMaxNameBytes; a
    // table holds at most CPlotStyleTable::kMaxNamedStyles.
    EditResult addStyle(const wxString& name, int after, bool copyProperties);
    // Deletes the styles of rows, the base style left out.
    EditResult deleteStyles(const std::vector<int>& rows);
    EditResult renameStyle(int row, const wxString& name);

    // Stores millimetres in row, rounded to 4 decimals and from 0 to kMaxLineWeight, then sorts
    // the lineweights; order, when given, receives where each row went.
    EditResult setLineWeight(int row, double millimetres, LineWeightOrder* order = nullptr);
    // Sorts the lineweights by value; every style keeps plotting with the weight it had.
    // Counts as a change even when the rows were in order already.
    EditResult sortLineWeights(LineWeightOrder* order = nullptr);
    // Counts as a change even when the unit stays.
    EditResult setLineWeightUnits(bool inches);

    // Replaces a colour-dependent table by a named one made from it, with one style per colour
    // and an ACI table; starts a new history.
    EditResult convertToNamed();

    // Takes back the last change, or brings back the last one taken back; false when there is
    // none. Back at the content of the file, the table is no longer modified.
    bool undo();
    bool redo();

private:
    EditResult checkTable() const;
    EditResult checkRows(const std::vector<int>& rows) const;
    EditResult checkNewStyleName(const wxString& name) const;
    // A table file cannot hold a line break in a text, nor a description beyond its length.
    static EditResult checkDescription(const wxString& text);
    // Marks the table modified and takes its content as an undo step, or as part of the step
    // before when joinStep; the result tells whether the content changed.
    EditResult noteChange(bool joinStep = false);

    PlotStyleTablePtr table_;
    wxFileName fileName_;
    bool modified_ = false;
    safefile::FileIdentity fileIdentity_;
    wxString readFailure_;
    EditHistory history_;
    // The styles whose descriptions are being typed into, while that typing is one step.
    std::vector<int> typingRows_;
};
