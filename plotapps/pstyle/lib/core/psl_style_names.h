// The names of styles in named tables: what a name may hold and when two names are the same.
// Every place that gives a style a name applies these rules.
#pragma once

#include <string>
#include <unordered_map>

#include <wx/string.h>

class CPlotStyleTable;

// The printable characters a style name cannot hold, as a message lists them; control
// characters are refused too.
wxString forbiddenStyleNameCharacters();

// The name without surrounding blanks, as it is checked and stored.
wxString trimStyleName(const wxString& name);

// True when name holds none of the forbidden characters and no control character.
bool isAllowedStyleName(const wxString& name);

// Index of the style whose localized name is name but for the case of its letters, in any script
// and whatever the process's locale; -1 when there is none.
int findStyleByName(const CPlotStyleTable& table, const wxString& name);

// The styles of a table by name but for the case of letters, as findStyleByName finds them, for
// looking up many names at once.
class StyleNameIndex {
public:
    explicit StyleNameIndex(const CPlotStyleTable& table);
    int find(const wxString& name) const;
    // Keeps up with a style added to the table.
    void add(const wxString& name, int row);

private:
    std::unordered_map<std::string, int> rows_;
};

// The first "Style N" that no style of the table holds, counting up from first.
wxString firstFreeStyleName(const CPlotStyleTable& table, int first);
