// Error reports of the dialogs. The log record names the reporting function as "Class::method",
// which the compiler's own function name does not give.
#pragma once

#include <wx/intl.h>
#include <wx/log.h>

#include "psl_table_files.h"

#define PSL_LOG_ERROR(function, ...)                                                               \
    do {                                                                                           \
        if (wxLog::IsLevelEnabled(wxLOG_Error, wxLOG_COMPONENT)) {                                 \
            wxLogger(wxLOG_Error, __FILE__, __LINE__, function, wxLOG_COMPONENT).Log(__VA_ARGS__); \
        }                                                                                          \
    } while (false)

// "Failed to save file: PATH (reason)" as one record, the system's reason (errorCode, an errno
// value) left out when errorCode is 0.
#define PSL_LOG_SAVE_FAILURE(function, path, errorCode)                                            \
    PSL_LOG_ERROR(function, "%ls", saveFailureMessage(path, errorCode))
