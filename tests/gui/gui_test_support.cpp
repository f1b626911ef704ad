#include "gui_test_support.h"

#include <fstream>
#include <iterator>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/dir.h>
#include <wx/filefn.h>

void sendCommand(wxWindow* parent, const char* name, wxEventType type, int intValue) {
    wxWindow* control = parent->FindWindow(XRCID(name));
    wxCHECK_RET(control, wxString::Format("no control named %s", name));
    wxCommandEvent event(type, control->GetId());
    event.SetEventObject(control);
    event.SetInt(intValue);
    control->GetEventHandler()->ProcessEvent(event);
}

void clickButton(wxWindow* parent, const char* name) {
    sendCommand(parent, name, wxEVT_BUTTON);
}

void processPendingEvents() {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
}

wxDialog* activeModalDialog() {
    // Dialogs nest: the one opened last runs the innermost loop.
    for (auto node = wxTopLevelWindows.GetLast(); node; node = node->GetPrevious()) {
        auto* dialog = dynamic_cast<wxDialog*>(node->GetData());
        if (dialog && dialog->IsModal()) {
            return dialog;
        }
    }
    return nullptr;
}

LogCapture::LogCapture() : previous_(wxLog::SetActiveTarget(this)) {}

LogCapture::~LogCapture() {
    wxLog::SetActiveTarget(previous_);
}

std::vector<LogRecord> LogCapture::errors() const {
    std::vector<::LogRecord> result;
    for (const ::LogRecord& record : records_) {
        if (record.level == wxLOG_Error) {
            result.push_back(record);
        }
    }
    return result;
}

void LogCapture::DoLogRecord(wxLogLevel level, const wxString& message,
                             const wxLogRecordInfo& info) {
    records_.push_back({level, message, wxString(info.func ? info.func : "")});
}

ScratchDir::ScratchDir() {
    const wxString base = wxFileName::CreateTempFileName("pstyle-test");
    wxRemoveFile(base);
    wxMkdir(base);
    path_ = base;
}

ScratchDir::~ScratchDir() {
    wxFileName::Rmdir(path_, wxPATH_RMDIR_RECURSIVE);
}

wxString ScratchDir::file(const wxString& name) const {
    return wxFileName(path_ + wxFILE_SEP_PATH + name).GetFullPath();
}

wxString ScratchDir::copyTestData(const wxString& name, const wxString& as) const {
    const wxString target = file(as.empty() ? name : as);
    wxCopyFile(testDataPath(name), target);
    return target;
}

wxString testDataPath(const wxString& name) {
    return wxFileName(PSTYLE_TEST_DATA_DIR, name).GetFullPath();
}

std::vector<char> readBytes(const wxString& path) {
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
