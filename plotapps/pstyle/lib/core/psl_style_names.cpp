#include "psl_style_names.h"

#include <memory>

#include <glib.h>

#include <wx/intl.h>

#include <kesutils/plot_style_table.h>

#include "psl_text.h"

namespace {

// Characters that file systems or other programs' table files cannot take in a name; the braces
// delimit a style's section in the file.
const wxString kForbiddenCharacters = "<>/\\\":?*|,=`;{}";

bool isControlCharacter(wxUniChar c) {
    const wxUint32 code = c.GetValue();
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// The C library folds only ASCII letters in the C locale in which hosts run; GLib folds by the
// Unicode tables alone.
std::string foldedCase(const wxString& name) {
    const wxScopedCharBuffer utf8 = name.utf8_str();
    const std::unique_ptr<gchar, decltype(&g_free)> folded(
        g_utf8_casefold(utf8.data(), gssize(utf8.length())), g_free);
    return folded.get();
}

} // namespace

wxString forbiddenStyleNameCharacters() {
    return kForbiddenCharacters;
}

wxString trimStyleName(const wxString& name) {
    return wxString(name).Trim(true).Trim(false);
}

bool isAllowedStyleName(const wxString& name) {
    for (const wxUniChar c : name) {
        if (isControlCharacter(c) || kForbiddenCharacters.Find(c) != wxNOT_FOUND) {
            return false;
        }
    }
    return true;
}

int findStyleByName(const CPlotStyleTable& table, const wxString& name) {
    const std::string folded = foldedCase(name);
    for (int row = 0; row < int(table.size()); ++row) {
        if (foldedCase(toWxString(table.style(row)->locName())) == folded) {
            return row;
        }
    }
    return -1;
}

StyleNameIndex::StyleNameIndex(const CPlotStyleTable& table) {
    rows_.reserve(table.size());
    for (int row = 0; row < int(table.size()); ++row) {
        add(toWxString(table.style(row)->locName()), row);
    }
}

void StyleNameIndex::add(const wxString& name, int row) {
    rows_.emplace(foldedCase(name), row);
}

int StyleNameIndex::find(const wxString& name) const {
    const auto found = rows_.find(foldedCase(name));
    return found == rows_.end() ? -1 : found->second;
}

wxString firstFreeStyleName(const CPlotStyleTable& table, int first) {
    for (int number = first;; ++number) {
        const wxString name = wxString::Format(_("Style %d"), number);
        if (findStyleByName(table, name) < 0) {
            return name;
        }
    }
}
