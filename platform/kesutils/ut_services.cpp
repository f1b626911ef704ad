// The utility library's services that need no GUI: the configuration and the colour palette.
#include <kesutils/ut_services.h>

#include <map>
#include <utility>

#include <teigha/od_cm_color.h>

namespace ut {

namespace {

using ConfigKey = std::pair<ECfgGroup, wxString>;

std::map<ConfigKey, wxString>& configStore() {
    static std::map<ConfigKey, wxString> store;
    return store;
}

} // namespace

wxString getString(ECfgGroup group, const wxString& key) {
    const auto& store = configStore();
    const auto found = store.find({group, key});
    return found != store.end() ? found->second : wxString();
}

void setString(ECfgGroup group, const wxString& key, const wxString& value) {
    configStore()[{group, key}] = value;
}

const std::uint32_t* colorPaletteDark() {
    return odcmDarkPalette();
}

} // namespace ut
