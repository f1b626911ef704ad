#include "program_files.h"

#include <clocale>
#include <vector>

#include <unistd.h>

#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include <kesutils/ut_services.h>

#include "command_support.h"
#include "psl_file_names.h"
#include "psl_translations.h"

namespace {

const char* startedAs = "pstyle";

// Loads catalogues from the program's own folders only. The toolkit's loader also searches the
// system's folders, which it finds through the running application; the headless commands
// never start one.
class ProgramCatalogueLoader : public wxTranslationsLoader {
public:
    explicit ProgramCatalogueLoader(const wxArrayString& folders) : folders_(folders) {}

    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString& language) override {
        for (const wxString& folder : folders_) {
            const wxString path = cataloguePath(folder, language, domain);
            if (wxFileName::FileExists(path)) {
                return wxMsgCatalog::CreateFromFile(path, domain);
            }
        }
        return nullptr;
    }

    wxArrayString GetAvailableTranslations(const wxString& domain) const override {
        wxArrayString languages;
        for (const wxString& folder : folders_) {
            wxDir dir;
            if (!wxDir::Exists(folder) || !dir.Open(folder)) {
                continue;
            }
            wxString language;
            for (bool found = dir.GetFirst(&language, wxString(), wxDIR_DIRS); found;
                 found = dir.GetNext(&language)) {
                if (wxFileName::FileExists(cataloguePath(folder, language, domain)) &&
                    languages.Index(language) == wxNOT_FOUND) {
                    languages.Add(language);
                }
            }
        }
        return languages;
    }

private:
    static wxString cataloguePath(const wxString& folder, const wxString& language,
                                  const wxString& domain) {
        return folder + "/" + language + "/LC_MESSAGES/" + domain + ".mo";
    }

    wxArrayString folders_;
};

bool isEnglish(const wxString& language) {
    return language == "en" || language.StartsWith("en_");
}

// The languages the environment asks for, best first, by the C library's rules: the first of
// LC_ALL, LC_MESSAGES and LANG that is set names the locale of the messages, and LANGUAGE may
// list languages to prefer to it, unless that locale is C, which means English whatever
// LANGUAGE says (scripts rely on that).
std::vector<wxString> environmentLanguages() {
    wxString locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (wxGetEnv(variable, &locale) && !locale.empty()) {
            break;
        }
    }
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.StartsWith("C.")) {
        return {"en"};
    }
    std::vector<wxString> languages;
    wxString preferred;
    if (wxGetEnv("LANGUAGE", &preferred)) {
        for (const wxString& language : wxSplit(preferred, ':', '\0')) {
            if (!language.empty()) {
                languages.push_back(language);
            }
        }
    }
    languages.push_back(locale.BeforeFirst('.').BeforeFirst('@'));
    return languages;
}

// The toolkit's own texts (stock buttons, file dialogs) and the system's error messages follow
// the C library's message locale: the environment's, or the chosen language's when the system
// has a locale for it. Only the messages: numbers keep the C locale.
void chooseSystemMessages(const wxString& language) {
    if (language.empty()) {
        std::setlocale(LC_MESSAGES, "");
        return;
    }
    if (const wxLanguageInfo* info = wxLocale::FindLanguageInfo(language)) {
        const wxString name = info->GetLocaleName();
        if (!name.empty()) {
            std::setlocale(LC_MESSAGES, name.utf8_str());
        }
    }
}

} // namespace

void setProgramPath(const char* path) {
    startedAs = path;
}

const char* programPath() {
    return startedAs;
}

wxString programFolder(const char* programPath) {
    char program[4096];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    const wxString executable = length > 0 ? wxString(program, *wxConvFileName, length)
                                           : wxString(programPath, *wxConvFileName);
    return wxFileName(executable).GetPath();
}

wxString samplePlotStyleFolder(const char* programPath) {
    const wxString folder = programFolder(programPath);
    const wxFileName besideProgram = wxFileName::DirName(folder + "/plot-styles");
    if (besideProgram.DirExists()) {
        return besideProgram.GetPath();
    }
    wxFileName installed = wxFileName::DirName(folder + "/" + PSTYLE_SAMPLES_FROM_BIN);
    installed.Normalize(wxPATH_NORM_DOTS);
    return installed.GetPath();
}

void configurePlotStylePath(const std::string& folder, const char* programPath) {
    // The program is the host here: the configuration is its own to fill.
    ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath",
                  folder.empty() ? samplePlotStyleFolder(programPath) : fileNameFromBytes(folder));
}

bool chooseLanguage(const std::string& language, const char* programPath) {
    const wxArrayString folders =
        catalogueFolders(programFolder(programPath), PSTYLE_LOCALE_FROM_BIN);
    auto* translations = new wxTranslations;
    wxTranslations::Set(translations);
    translations->SetLoader(new ProgramCatalogueLoader(folders));
    const wxString chosen = fromUtf8(language);
    const std::vector<wxString> candidates =
        chosen.empty() ? environmentLanguages() : std::vector<wxString>{chosen};
    for (const wxString& candidate : candidates) {
        translations->SetLanguage(candidate);
        if (isEnglish(candidate) || addMessageCatalogue(folders)) {
            chooseSystemMessages(chosen);
            return true;
        }
    }
    if (chosen.empty()) {
        translations->SetLanguage(wxLANGUAGE_ENGLISH_US);
        chooseSystemMessages(chosen);
        return true;
    }
    wxArrayString languages = translations->GetAvailableTranslations(kMessageDomain);
    languages.Add("en");
    languages.Sort();
    wxString available;
    for (const wxString& name : languages) {
        available += (available.empty() ? "" : ", ") + name;
    }
    usageError("--lang " + language + ": no messages in this language (there are: " +
               std::string(available.utf8_str()) + ")");
    return false;
}
