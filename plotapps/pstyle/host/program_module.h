// A part of the program that lives in a shared library of its own and is loaded only by the
// commands that need it, so that the commands without a window never load the GUI toolkit or
// the drawing libraries.
#pragma once

#include <string>

class ProgramModule {
public:
    // Loads fileName ("libpstyle_gui.so") from the program's library folder: next to the program
    // in the build tree, the library folder of the prefix when installed.
    ProgramModule(const char* fileName, const char* programPath);
    ~ProgramModule();
    ProgramModule(const ProgramModule&) = delete;
    ProgramModule& operator=(const ProgramModule&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    // Why the module or a symbol could not be found, as the dynamic loader says it.
    const std::string& error() const { return error_; }

    // The module's function of that name and type, or null.
    template <typename Function> Function* find(const char* symbol) {
        return reinterpret_cast<Function*>(findSymbol(symbol));
    }

private:
    void* findSymbol(const char* symbol);

    void* handle_ = nullptr;
    std::string error_;
};
