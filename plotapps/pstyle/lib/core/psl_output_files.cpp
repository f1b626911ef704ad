#include "psl_output_files.h"

#include <wx/intl.h>
#include <wx/log.h>

#include <safe_file.h>

#include "psl_file_names.h"

namespace {

// The writer's refusal in the user's language. What it could not do is told by the system's
// reason alone: the file is named by the caller.
wxString failureText(const safefile::Failure& failure) {
    using safefile::Problem;
    const wxString subject = fileNameFromBytes(failure.subject);
    switch (failure.problem) {
    case Problem::unsafeLink:
        return wxString::Format(
            _("%ls is a link made by another user in a shared folder, so it is not followed"),
            subject);
    case Problem::danglingLink:
        return wxString::Format(_("%ls is a link to a file that does not exist"), subject);
    case Problem::notAFile:
        return wxString::Format(failure.error == EISDIR ? _("%ls is a folder")
                                                        : _("%ls is not a regular file"),
                                subject);
    case Problem::wrongKind:
        return wxString::Format(_("%ls does not have the extension %ls"), subject,
                                fileNameFromBytes(failure.detail));
    case Problem::readOnly:
        return failure.error == EACCES
                   ? wxString::Format(_("%ls is read-only"), subject)
                   : wxString::Format("%ls: %ls", subject, wxSysErrorMsgStr(failure.error));
    case Problem::locked:
        return wxString::Format(_("%ls is still locked by another program"), subject);
    case Problem::changed:
        return wxString::Format(_("%ls was changed by another program while it was written"),
                                subject);
    default:
        return wxSysErrorMsgStr(failure.error);
    }
}

} // namespace

bool writeOutputFile(const wxString& path, const std::string& bytes, wxString& reason) {
    const std::string requested = fileNameToBytes(path);
    safefile::WriteOptions options;
    options.checkKind = [&requested](const safefile::WriteTarget& target) {
        const std::string extension = safefile::extensionOf(requested);
        return safefile::takesExtensionOf(target, requested)
                   ? std::string()
                   : (extension.empty() ? std::string("(none)") : extension);
    };
    safefile::Failure failure;
    if (safefile::writeFile(requested, bytes, options, failure)) {
        return true;
    }
    reason = failureText(failure);
    return false;
}
