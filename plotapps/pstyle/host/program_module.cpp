#include "program_module.h"

#include <dlfcn.h>

#include <wx/filename.h>

#include "program_files.h"

ProgramModule::ProgramModule(const char* fileName, const char* programPath) {
    const wxString folder = programFolder(programPath);
    for (const wxString& candidate :
         {wxFileName(folder, fileName).GetFullPath(),
          wxFileName(folder + "/" + PSTYLE_LIB_FROM_BIN, fileName).GetFullPath()}) {
        if (!wxFileName::FileExists(candidate)) {
            continue;
        }
        // A module stays mapped until the process ends, with the libraries it brought: the
        // toolkit and its libraries keep state and exit handlers that must not be unmapped, and
        // the leak checker can name only what is still mapped.
        handle_ = dlopen(candidate.fn_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (!handle_) {
            error_ = dlerror();
        }
        return;
    }
    error_ = std::string(fileName) + ": not found next to the program";
}

ProgramModule::~ProgramModule() {
    if (handle_) {
        dlclose(handle_);
    }
}

void* ProgramModule::findSymbol(const char* symbol) {
    if (!handle_) {
        return nullptr;
    }
    dlerror();
    void* address = dlsym(handle_, symbol);
    if (!address) {
        const char* reason = dlerror();
        error_ = reason ? reason : std::string(symbol) + ": not found";
    }
    return address;
}
