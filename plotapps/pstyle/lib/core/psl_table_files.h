// How a table file's name tells its kind: "ctb" for colour-dependent tables, "stb" for named
// ones, in any letter case; where a name typed for a table file leads, and which names a new
// table may get.
#pragma once

#include <wx/filename.h>
#include <wx/string.h>

// The extension of a table kind's files, in lower case.
wxString tableFileExtension(bool colorDependent);

// True for names whose extension is "ctb" in any case.
bool hasColorDependentExtension(const wxFileName& file);

// True for names whose extension is "ctb" or "stb" in any case.
bool isPlotStyleTableFile(const wxFileName& file);

// The same for a file name without folder, split as wxFileName splits it: the extension follows
// the last dot, and a name that starts with its only dot (".stb") has none.
bool isPlotStyleTableName(const wxString& fileName);

// True when a table of the given kind may be saved under file's name.
bool fitsTableKind(const wxFileName& file, bool colorDependent);

// Tells which extension a table of the kind is saved with, after a name was refused.
wxString tableKindExtensionHint(bool colorDependent);

// Why a table of the kind may not be saved under file's name, translated: "plan.ctb is not a
// valid name to save to. A named table is saved with the extension .stb."; empty when it may.
wxString tableKindRefusal(const wxFileName& file, bool colorDependent);

// "Failed to save file: PATH", with the system's reason for error (an errno value) in brackets
// when there is one: one line that tells which file and why.
wxString saveFailureMessage(const wxString& path, int error);

// Completes a name typed for a new table whose files take expectedExtension (lower case): a name
// without extension gets it; one with an extension keeps it as typed, and must have, lower-cased,
// exactly that one ("Plan." has an empty extension). Otherwise returns false and gives the
// typed extension, lower-cased, in wrongExtension.
bool completeTableFileName(wxFileName& file, const wxString& expectedExtension,
                           wxString& wrongExtension);

// The file that name leads to from folder: name itself when it is absolute or folder is empty,
// otherwise name joined to folder, also when it names a subfolder (site/plan.ctb).
wxFileName fileInFolder(const wxString& folder, const wxString& name);

// Where the name typed for a new table may lead.
enum class NewTableReach {
    folder,     // a file name alone: the table goes into the folder given
    subfolders, // also into an existing subfolder (site/plan), or an absolute path as typed
};

// A name typed for a new table, checked: the file it leads to, or why it is refused.
struct NewTableFile {
    wxFileName file;
    wxString refusal; // one translated line naming the cause; empty when the name is accepted
};

// Checks name, typed for a new table whose files take extension (lower case), in folder. The
// file's own name may not be empty, start with a dot (a hidden file) or start or end with a
// blank; a relative name takes no ".." step; the folder a name leads into must exist; the
// extension completes as completeTableFileName does; and the file may not exist yet.
NewTableFile checkNewTableName(const wxString& name, const wxString& folder,
                               const wxString& extension, NewTableReach reach);
