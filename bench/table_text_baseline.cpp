// The least a program does to show table files: reads each with wxBase, inflates its body with
// zlib through the table library's container reader and prints the text. The yardstick for the
// whole-process cost of pstyle export and diff: what is left above it is start-up and work of
// pstyle's own.
#include <cstdio>
#include <string>

#include <wx/ffile.h>

#include "table_container.h"

int main(int argc, char** argv) {
    for (int arg = 1; arg < argc; ++arg) {
        wxFFile file(wxString::FromUTF8(argv[arg]), "rb");
        const wxFileOffset length = file.IsOpened() ? file.Length() : -1;
        if (length < 0) {
            return 2;
        }
        std::string bytes(std::size_t(length), '\0');
        if (file.Read(bytes.data(), bytes.size()) != bytes.size()) {
            return 2;
        }
        TableContainer content;
        std::string error;
        if (!unpackTableContainer(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                  content, error)) {
            std::fprintf(stderr, "%s: %s\n", argv[arg], error.c_str());
            return 2;
        }
        std::fwrite(content.text.data(), 1, content.text.size(), stdout);
    }
    return 0;
}
