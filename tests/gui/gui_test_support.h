// Helpers for driving dialogs in GUI tests: finding controls by layout name, sending the events
// a user's actions produce, capturing log records, and scratch folders.
#pragma once

#include <functional>
#include <vector>

#include <wx/event.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/testing.h>
#include <wx/window.h>
#include <wx/xrc/xmlres.h>

// The control named name in the layout, or null when there is none of type T.
template <class T> T* findControl(const wxWindow* parent, const char* name) {
    return dynamic_cast<T*>(parent->FindWindow(XRCID(name)));
}

// Sends a command event of the given type from the control named name, as a click or a change
// by the user would; the event travels from the control up to its dialog.
void sendCommand(wxWindow* parent, const char* name, wxEventType type, int intValue = 0);
void clickButton(wxWindow* parent, const char* name);

// Answers a modal dialog of type T with whatever answer does to it and returns.
template <class T> class AnswerWith : public wxExpectModalBase<T, AnswerWith<T>> {
public:
    explicit AnswerWith(std::function<int(T*)> answer) : answer_(std::move(answer)) {}

protected:
    int OnInvoked(T* dialog) const override { return answer_(dialog); }

private:
    std::function<int(T*)> answer_;
};

// Lets pending events and idle processing run, so that CallAfter and update-UI work is done.
void processPendingEvents();

// The dialog whose modal loop runs now (the innermost one), or null.
wxDialog* activeModalDialog();

struct LogRecord {
    wxLogLevel level;
    wxString text;
    wxString function; // "Class::method" of the reporter
};

// Collects every log record while it lives, instead of showing it. Inside the class the plain
// name LogRecord means wxLog::LogRecord, hence ::LogRecord.
class LogCapture : public wxLog {
public:
    LogCapture();
    ~LogCapture() override;

    const std::vector<::LogRecord>& records() const { return records_; }
    std::vector<::LogRecord> errors() const;
    void clear() { records_.clear(); }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& message,
                     const wxLogRecordInfo& info) override;

private:
    std::vector<::LogRecord> records_;
    wxLog* previous_;
};

// A fresh folder that is removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const wxString& path() const { return path_; }
    // name may lead into a subfolder (site/plan.ctb).
    wxString file(const wxString& name) const;
    // Copies tests/data/name into the folder and returns the copy's path.
    wxString copyTestData(const wxString& name, const wxString& as = wxString()) const;

private:
    wxString path_;
};

wxString testDataPath(const wxString& name);
// The file's bytes, or an empty vector when it cannot be read.
std::vector<char> readBytes(const wxString& path);
