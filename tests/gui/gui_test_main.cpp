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

} // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
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
