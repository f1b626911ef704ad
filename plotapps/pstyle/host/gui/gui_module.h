// The program's GUI module, libpstyle_gui.so: the one part of the program that links the GUI
// toolkit. The window commands check their arguments and look for a display first, then load
// the module and hand it one request; the module starts the toolkit, loads the plug-in as a CAD
// application does and shows its dialogs.
#pragma once

#include <wx/string.h>

inline constexpr char kGuiModuleFile[] = "libpstyle_gui.so";

// A window command whose arguments the program has checked.
struct WindowRequest {
    enum class Command { Selection, Edit, New, Snapshot };
    Command command = Command::Selection;
    // The path the program was started by, for the toolkit and for finding the plug-in.
    const char* programPath = nullptr;
    // Edit: the table file and the one to start from (or empty), both absolute.
    // Snapshot: the sample table the editor's pages show.
    wxString file;
    wxString sourceFile;
    // New: the kind of table and its folder. Snapshot: the folder for the pictures.
    bool colorDependent = false;
    wxString folder;
};

// The module's one export: shows what request asks for and returns the program's exit status.
using RunWindowRequest = int(const WindowRequest& request);
inline constexpr char kRunWindowRequestSymbol[] = "pstyleRunWindowRequest";
