// Shared by the editor suites: the editor built and shown as the exports do, the events a user's
// actions on its pages send, message boxes answered after checking their text, and tables
// written and read back.
#pragma once

#include <algorithm>
#include <csignal>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/testing.h>
#include <wx/textdlg.h>

#include <davaz/wxg_combo.h>

#include <kesutils/plot_style_table.h>
#include <kesutils/ut_services.h>

#include "gui_test_support.h"
#include "psl_dlg_plot_style_editor.h"
#include "psl_resources.h"
#include "psl_text.h"

// Answers a message box after checking what it says.
inline AnswerWith<wxMessageDialog> expectMessageBox(const wxString& message, int answer) {
    return AnswerWith<wxMessageDialog>([=](wxMessageDialog* dialog) {
        EXPECT_EQ(dialog->GetMessage(), message);
        EXPECT_EQ(dialog->GetTitle(), "Plot Style Table Editor");
        return answer;
    });
}

// Answers the add prompt after checking the name it offers.
inline AnswerWith<wxTextEntryDialog> expectStyleName(const wxString& offered,
                                                     const wxString& answer) {
    return AnswerWith<wxTextEntryDialog>([=](wxTextEntryDialog* dialog) {
        EXPECT_EQ(dialog->GetValue(), offered);
        dialog->SetValue(answer);
        return wxID_OK;
    });
}

// A key pressed while from has the focus, as the dialog first sees it.
inline void pressKey(wxWindow* editor, wxWindow* from, int key, int modifiers = wxMOD_NONE) {
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = key;
    event.m_controlDown = modifiers & wxMOD_CONTROL;
    event.m_shiftDown = modifiers & wxMOD_SHIFT;
    event.m_altDown = modifiers & wxMOD_ALT;
    event.SetEventObject(from);
    editor->ProcessWindowEvent(event);
}

// Answers a file dialog with a path, or cancels it when path is empty; checks the folder it
// starts in when one is given.
inline AnswerWith<wxFileDialog> expectFileChoice(const wxString& path,
                                                 const wxString& folder = wxString()) {
    return AnswerWith<wxFileDialog>([=](wxFileDialog* dialog) {
        if (!folder.empty()) {
            EXPECT_EQ(wxFileName::DirName(dialog->GetDirectory()), wxFileName::DirName(folder));
        }
        if (path.empty()) {
            return wxID_CANCEL;
        }
        dialog->SetPath(path);
        // The native dialog takes the folder in the background; wait until it reports the path.
        for (int round = 0; round < 200 && dialog->GetPath() != path; ++round) {
            wxTheApp->Yield();
            wxMilliSleep(5);
        }
        EXPECT_EQ(dialog->GetPath(), path);
        return wxID_OK;
    });
}

inline PlotStyleTablePtr readTable(const wxString& path) {
    return PlotStyleTablePtr(CPlotStyleTable::read(toHostText(path).c_str()));
}

// Writes a new table changed by change, as another program might have left it.
inline wxString writeTable(const ScratchDir& dir, const wxString& name, bool colorDependent,
                           const std::function<void(CPlotStyleTable&)>& change) {
    const PlotStyleTablePtr table(CPlotStyleTable::create(colorDependent, nullptr));
    change(*table);
    const wxString path = dir.file(name);
    EXPECT_TRUE(table->write(toHostText(path).c_str()));
    return path;
}

inline wxListCtrl* styleList(const wxWindow* editor) {
    return findControl<wxListCtrl>(editor, "ListStyles");
}

inline wxg::ImageCombo* imagePicker(const wxWindow* editor, const char* name) {
    return findControl<wxg::ImageCombo>(editor, name);
}

inline std::vector<wxString> rowTexts(const wxListCtrl* list) {
    std::vector<wxString> texts;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        texts.push_back(list->GetItemText(row));
    }
    return texts;
}

// Selects exactly rows in the style list; the list reports each change as a user's click would.
inline void selectRows(wxWindow* editor, std::initializer_list<long> rows) {
    wxListCtrl* list = styleList(editor);
    for (long row = 0; row < list->GetItemCount(); ++row) {
        if (std::find(rows.begin(), rows.end(), row) == rows.end()) {
            list->SetItemState(row, 0, wxLIST_STATE_SELECTED);
        }
    }
    for (long row : rows) {
        list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }
}

// The property controls write only while the Form View is the page shown.
inline void showFormView(wxWindow* editor) {
    findControl<wxNotebook>(editor, "NoteBook")->SetSelection(1);
}

// One update-UI pass, as the idle loop runs it.
inline void refreshControls(wxWindow* editor) {
    editor->UpdateWindowUI(wxUPDATE_UI_RECURSE);
}

inline void pick(wxWindow* editor, const char* name, int value) {
    wxg::ImageCombo* picker = imagePicker(editor, name);
    ASSERT_GE(picker->setValue(value), 0) << name << " has no item " << value;
    sendCommand(editor, name, wxEVT_COMBOBOX, picker->GetSelection());
}

inline void pickColor(wxWindow* editor, int item) {
    findControl<wxg::ColorCombo>(editor, "ComboColor")->SetSelection(item);
    sendCommand(editor, "ComboColor", wxEVT_COMBOBOX, item);
}

inline void clickCheck(wxWindow* editor, const char* name, wxCheckBoxState state) {
    findControl<wxCheckBox>(editor, name)->Set3StateValue(state);
    sendCommand(editor, name, wxEVT_CHECKBOX, state);
}

inline void spinTo(wxWindow* editor, const char* name, int value) {
    auto* spin = findControl<wxSpinCtrl>(editor, name);
    spin->SetValue(value);
    wxSpinEvent event(wxEVT_SPINCTRL, spin->GetId());
    event.SetEventObject(spin);
    event.SetValue(value);
    spin->GetEventHandler()->ProcessEvent(event);
}

// The keyboard focus leaves the control named name.
inline void leaveField(wxWindow* editor, const char* name) {
    auto* field = findControl<wxWindow>(editor, name);
    wxFocusEvent left(wxEVT_KILL_FOCUS, field->GetId());
    left.SetEventObject(field);
    field->ProcessWindowEvent(left);
}

inline void chooseRadio(wxWindow* editor, const char* name) {
    findControl<wxRadioButton>(editor, name)->SetValue(true);
    sendCommand(editor, name, wxEVT_RADIOBUTTON, 1);
}

// Ends an in-place edit of a row of the named list with typed text, or cancels it (Escape); true
// when the list may keep the text.
inline bool endLabelEdit(wxWindow* editor, const char* listName, long row, const wxString& text,
                         bool cancelled = false) {
    auto* list = findControl<wxListCtrl>(editor, listName);
    wxListEvent event(wxEVT_LIST_END_LABEL_EDIT, list->GetId());
    event.SetEventObject(list);
    event.SetEditCanceled(cancelled);
    event.SetIndex(row);
    event.m_item.SetId(row);
    event.m_item.SetText(text);
    list->GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed();
}

inline bool typeLineWeight(wxWindow* editor, long row, const wxString& text,
                           bool cancelled = false) {
    return endLabelEdit(editor, "ListLineWeights", row, text, cancelled);
}

// Makes every write beyond a few bytes fail, as a full disk would; root is bound by it too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

// Builds a dialog from its layout, as the exports do, and shows it.
template <class T, class... Args>
std::unique_ptr<T> showDialog(const char* layout, Args&&... args) {
    auto dialog = std::make_unique<T>(std::forward<Args>(args)...);
    ut::loadDialog(dialog.get(), nullptr, layout);
    dialog->Show();
    return dialog;
}

class EditorTest : public testing::Test {
protected:
    void SetUp() override { ensureResources(); }

    // Builds the editor as the exports do and shows it, which sets it up and loads the table.
    std::unique_ptr<DlgPlotStyleEditor> openEditor(const wxString& path,
                                                   const wxString& source = wxString()) {
        auto editor = std::make_unique<DlgPlotStyleEditor>(path, source, nullptr);
        editor->Show();
        return editor;
    }

    // Makes the scratch folder the plot style folder, with a.CTB and site/plan.ctb in it.
    void fillPlotStyleFolder() {
        ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", dir.path());
        dir.copyTestData("canonical.ctb", "a.CTB");
        wxMkdir(dir.file("site"));
        dir.copyTestData("independent-writer-64bit-header.ctb", "site/plan.ctb");
    }

    // Clicks a button of the shown editor; true when that ended the dialog.
    static bool closedBy(DlgPlotStyleEditor& editor, const char* button) {
        clickButton(&editor, button);
        return !editor.IsShown();
    }

    ScratchDir dir;
    LogCapture log;
};
