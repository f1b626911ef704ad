// Error reports of the dialogs. The log record names the reporting function as "Class::method",
// which the compiler's own function name does not give.
#pragma once

#include <wx/intl.h>
#include <wx/log.h>

#define PSL_LOG_ERROR(function, ...)                                                               \
    do {                                                                                           \
        if (wxLog::IsLevelEnabled(wxLOG_Error, wxLOG_COMPONENT)) {                                 \
            wxLogger(wxLOG_Error, __FILE__, __LINE__, function, wxLOG_COMPONENT).Log(__VA_ARGS__); \
        }                                                                                          \
    } while (false)

// "Failed to save file: %ls" with the full path, then the system's reason (errorCode, an errno
// value) as a record of its own, so that the user learns why; no reason when errorCode is 0.
#define PSL_LOG_SAVE_FAILURE(function, path, errorCode)                                            \
    do {                                                                                           \
        const int pslSaveError = (errorCode);                                                      \
        PSL_LOG_ERROR(function, _("Failed to save file: %ls"), path);                              \
        if (pslSaveError != 0) {                                                                   \
            PSL_LOG_ERROR(function, "%ls", wxSysErrorMsgStr(pslSaveError));                        \
        }                                                                                          \
    } while (false)
