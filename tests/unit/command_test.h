// What the suites of the pstyle program share: running the program as a user does, without a
// display, in a folder of the test's own.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/image.h>

#include "unit_test_support.h"

struct CommandResult {
    int status;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& text) {
    return "'" + text + "'";
}

// The lines with the prefix before each.
inline std::string prefixed(const std::string& prefix, const std::string& lines) {
    std::string result;
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = lines.find('\n', start);
        result += prefix + lines.substr(start, end + 1 - start);
        start = end + 1;
    }
    return result;
}

// Runs command in the shell; its standard output and exit status.
inline CommandResult runShell(const std::string& command) {
    CommandResult run{};
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, read);
    }
    run.status = WEXITSTATUS(pclose(pipe));
    return run;
}

class PstyleCommands : public TempFolderTest {
protected:
    // Runs pstyle with arguments (already quoted as needed) and no display at all; prefix goes
    // before the command in the shell, to set limits for example.
    CommandResult pstyle(const std::string& arguments, const std::string& prefix = "") const {
        const std::string errors = path("stderr.txt");
        const std::string command = prefix + "env -u DISPLAY -u WAYLAND_DISPLAY " +
                                    shellQuoted(PSTYLE_PROGRAM) + " " + arguments + " 2>" +
                                    shellQuoted(errors);
        CommandResult run = runShell(command);
        run.err = readFile(errors);
        return run;
    }

#ifdef PSTYLE_SAMPLE_DIR
    // One of the sample tables installed beside the program.
    static std::string sample(const std::string& name) {
        return std::string(PSTYLE_SAMPLE_DIR) + "/" + name;
    }
#endif

    // A copy of a fixture or sample table in the test's folder.
    std::string copied(const std::string& source, const std::string& name) const {
        std::ofstream(path(name), std::ios::binary) << readFile(source);
        return path(name);
    }

    // Every file of the folder and its bytes; a FIFO or a dangling link is listed without.
    std::map<std::string, std::string> folderContent() const {
        std::map<std::string, std::string> content;
        wxArrayString files;
        wxDir::GetAllFiles(wxString::FromUTF8(dir_), &files);
        for (const wxString& file : files) {
            const std::string name(file.utf8_str());
            content[name] = wxFileName::FileExists(file) ? readFile(name) : "";
        }
        content.erase(path("stderr.txt"));
        return content;
    }
};

// Commands whose pictures a test reads back: PNG files, and PDF pages rastered to PNM.
class PictureCommands : public PstyleCommands {
protected:
    void SetUp() override {
        PstyleCommands::SetUp();
        wxImage::AddHandler(new wxPNGHandler);
        wxImage::AddHandler(new wxPNMHandler);
    }
    // Without an application, nothing else removes them.
    void TearDown() override {
        wxImage::CleanUpHandlers();
        PstyleCommands::TearDown();
    }
};
