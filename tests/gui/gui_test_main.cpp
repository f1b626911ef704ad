// Runs the GUI suites inside a real wxWidgets application, set up as the host sets up its own:
// image handlers and every standard XRC handler installed before a dialog is built.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/xrc/xmlres.h>

namespace {

class GuiTestApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        return true;
    }
};

// A failed toolkit assertion fails the running test instead of opening a dialog that no one
// answers.
void failTestOnAssert(const wxString& file, int line, const wxString& function,
                      const wxString& condition, const wxString& message) {
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wxWidgets assertion in " << function << ": " << condition << " " << message;
}

} // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    wxSetAssertHandler(failTestOnAssert);
    wxApp::SetInstance(new GuiTestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        fprintf(stderr, "Cannot start the GUI toolkit; is there an X display?\n");
        return 2;
    }
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
