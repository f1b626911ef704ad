// Error reports of the dialogs. The log record names the reporting function as "Class::method",
// which the compiler's own function name does not give.
#pragma once

#include <wx/log.h>

#define PSL_LOG_ERROR(function, ...)                                                               \
    do {                                                                                           \
        if (wxLog::IsLevelEnabled(wxLOG_Error, wxLOG_COMPONENT)) {                                 \
            wxLogger(wxLOG_Error, __FILE__, __LINE__, function, wxLOG_COMPONENT).Log(__VA_ARGS__); \
        }                                                                                          \
    } while (false)
