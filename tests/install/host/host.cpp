// A host that speaks German: it lists its plot style folder, lets the user type a table's
// description in the editor and save it, and opens the selection and new table dialogs. Exit
// status 0 when all went as the user expects.
#include <cstdio>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/textctrl.h>
#include <wx/translation.h>
#include <wx/xrc/xmlres.h>

#include <kesutils/ut_services.h>
#include <pstyle_lib.h>

namespace {

class HostApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        auto* translations = new wxTranslations;
        translations->SetLanguage("de");
        wxTranslations::Set(translations);
        return true;
    }
};

int failure(const wxString& what) {
    std::fprintf(stderr, "pstyle_host: %s\n", static_cast<const char*>(what.utf8_str()));
    return 1;
}

wxDialog* openDialog() {
    return dynamic_cast<wxDialog*>(wxTheApp->GetTopWindow());
}

int useTheLibrary(const wxString& folder) {
    ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", folder);
    wxArrayString files;
    if (getPlotStyleFiles(files) != 3 || files.Index("named.stb") == wxNOT_FOUND) {
        return failure("the plot style folder lists " + wxJoin(files, ' '));
    }

    wxString title;
    wxTheApp->CallAfter([&title] {
        wxDialog* editor = openDialog();
        title = editor->GetTitle();
        XRCCTRL(*editor, "TextTableDescr", wxTextCtrl)->SetValue("Vom Host gespeichert");
        wxCommandEvent saveAndClose(wxEVT_BUTTON, wxID_OK);
        editor->ProcessWindowEvent(saveAndClose);
    });
    if (!editPlotStyleTable(folder + "/named.stb", nullptr)) {
        return failure("the editor did not end with Save & Close");
    }
    if (title != "Plotstiltabellen-Editor - named.stb") {
        return failure("the editor's title is " + title);
    }
    // Opened again, the editor shows what was saved.
    wxTheApp->CallAfter([&title] {
        title = XRCCTRL(*openDialog(), "TextTableDescr", wxTextCtrl)->GetValue();
        openDialog()->EndModal(wxID_CANCEL);
    });
    editPlotStyleTable(folder + "/named.stb", nullptr);
    if (title != "Vom Host gespeichert") {
        return failure("the file holds the description " + title);
    }

    // The selection and new table dialogs open too; the user cancels them.
    wxTheApp->CallAfter([] { openDialog()->EndModal(wxID_CANCEL); });
    const bool selected = startPlotStyleEditor(nullptr);
    wxTheApp->CallAfter([] { openDialog()->EndModal(wxID_CANCEL); });
    wxString newTable;
    return selected || newPlotStyleTable(newTable, true, folder, nullptr)
               ? failure("a cancelled dialog ended with OK")
               : 0;
}

} // namespace

int main(int argc, char** argv) {
    wxApp::SetInstance(new HostApp);
    if (argc != 2 || !wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        return failure("usage: pstyle_host PLOT_STYLE_FOLDER, with a display");
    }
    const int status = useTheLibrary(wxString::FromUTF8(argv[1]));
    wxTheApp->OnExit();
    wxEntryCleanup();
    return status;
}
