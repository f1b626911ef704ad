// What the pstyle program finds next to itself, in the build tree, or below the install prefix:
// the sample plot style folder and the message catalogue.
#pragma once

#include <string>

#include <wx/string.h>

// The path the program was started by (argv[0]), which main records before it runs a command;
// commands hand it to what looks for files next to the program.
void setProgramPath(const char* path);
const char* programPath();

// The folder that holds the running program; programPath (argv[0]) when the system cannot say.
wxString programFolder(const char* programPath);

// The sample plot style folder: plot-styles next to the program in the build tree, else the
// one installed with it.
wxString samplePlotStyleFolder(const char* programPath);

// Stores the plot style folder in the host configuration: folder, or when it is empty the
// sample folder that ships with the program.
void configurePlotStylePath(const std::string& folder, const char* programPath);

// Sets up the translations of the messages for language ("de", "de_DE"), or when it is empty
// for the environment's: the locale that LC_ALL, LC_MESSAGES or LANG names, the first that is
// set, with the preferred languages of LANGUAGE unless that locale is C. Only the messages
// change: numbers keep the decimal point of the C locale. False after reporting a language
// that has no catalogue.
bool chooseLanguage(const std::string& language, const char* programPath);
