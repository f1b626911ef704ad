// The resource bundle in the memory file system: names, types, content and the run-once guard.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <wx/filesys.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/xml/xml.h>

#include "../support/resource_catalogue.h"
#include "psl_resources.h"

namespace {

const wxString memoryFolder = "memory:XRC_resource/";
const wxString bundleTag = "psl_xrc.cpp$";

// A file's memory name: the bundle tag and its path with "/", "\" and ":" made "_".
wxString memoryName(wxString path) {
    for (wxChar separator : {'/', '\\', ':'})
        path.Replace(wxString(separator), "_");
    return bundleTag + path;
}

struct BundleFile {
    wxString memoryName;
    wxString mimeType;
    wxString source; // below res
};

std::vector<BundleFile> expectedBundle() {
    const wxString layouts = PSTYLE_RES_DIR "/locale/en-US/xrc/";
    std::vector<BundleFile> files = {
        {memoryName("../../../ico/app_16.ico"), "image/x-icon", "ico/app_16.ico"},
        {memoryName(layouts + "psl_dlg_new_table.xrc"), "text/xml", ""},
        {memoryName("../../../bitmaps/ctb_48x48_depth32.png"), "image/png",
         "bitmaps/ctb_48x48_depth32.png"},
        {memoryName(layouts + "psl_dlg_plot_style_editor.xrc"), "text/xml", ""},
        {memoryName(layouts + "psl_dlg_select_table.xrc"), "text/xml", ""},
    };
    for (const CatalogueImage& image : expectedCatalogue())
        files.push_back(
            {memoryName("../bitmaps/" + image.file), "image/png", "bitmaps/" + image.file});
    files.push_back({memoryName(PSTYLE_RES_DIR "/xrc/psl_graphics.xrc"), "text/xml", ""});
    return files;
}

std::vector<char> readAll(wxInputStream& stream) {
    std::vector<char> bytes;
    char buffer[4096];
    while (stream.Read(buffer, sizeof buffer).LastRead() > 0)
        bytes.insert(bytes.end(), buffer, buffer + stream.LastRead());
    return bytes;
}

std::vector<char> readSource(const wxString& path) {
    std::ifstream in((PSTYLE_RES_DIR "/" + path).fn_str(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

int countBundleFiles() {
    wxFileSystem fileSystem;
    int count = 0;
    for (wxString name = fileSystem.FindFirst(memoryFolder + bundleTag + "*", wxFILE);
         !name.empty(); name = fileSystem.FindNext())
        ++count;
    return count;
}

// Counts the error records logged while it lives.
class ErrorCounter : public wxLog {
public:
    ErrorCounter() : previous(wxLog::SetActiveTarget(this)) {}
    ~ErrorCounter() override { wxLog::SetActiveTarget(previous); }

    int errors = 0;

protected:
    void DoLogRecord(wxLogLevel level, const wxString&, const wxLogRecordInfo&) override {
        errors += level == wxLOG_Error ? 1 : 0;
    }

private:
    wxLog* previous;
};

// The file names that a layout document refers to: bitmaps, icons and catalogue entries.
void collectReferences(const wxXmlNode* node, std::vector<wxString>& references) {
    for (; node; node = node->GetNext()) {
        if (node->GetType() != wxXML_ELEMENT_NODE)
            continue;
        const bool catalogueEntry =
            node->GetName() == "object" && node->GetAttribute("class") == "wxBitmap";
        if (catalogueEntry || node->GetName() == "bitmap" || node->GetName() == "icon")
            references.push_back(node->GetNodeContent().Strip(wxString::both));
        else
            collectReferences(node->GetChildren(), references);
    }
}

TEST(ResourceBundle, RegistersEveryFileOnceUnderItsMemoryNameAndType) {
    wxInitializer initializer;
    ErrorCounter log;
    EXPECT_EQ(countBundleFiles(), 0);

    ensureResources();
    EXPECT_EQ(log.errors, 0);
    const std::vector<BundleFile> expected = expectedBundle();
    ASSERT_EQ(expected.size(), 73u);
    EXPECT_EQ(countBundleFiles(), 73);

    wxFileSystem fileSystem;
    for (const BundleFile& file : expected) {
        std::unique_ptr<wxFSFile> opened(fileSystem.OpenFile(memoryFolder + file.memoryName));
        ASSERT_TRUE(opened) << file.memoryName;
        EXPECT_EQ(opened->GetMimeType(), file.mimeType) << file.memoryName;
        const std::vector<char> content = readAll(*opened->GetStream());
        if (!file.source.empty())
            EXPECT_TRUE(content == readSource(file.source)) << file.memoryName;
        else
            EXPECT_EQ(wxString(content.data(), content.size()).Left(5), "<?xml") << file.memoryName;
    }

    // Each document names its images by registered memory names, relative to its own folder.
    const size_t referenceCounts[] = {1, 2, 1, 67};
    size_t document = 0;
    for (const BundleFile& file : expected) {
        if (file.mimeType != "text/xml")
            continue;
        std::unique_ptr<wxFSFile> opened(fileSystem.OpenFile(memoryFolder + file.memoryName));
        wxXmlDocument xml(*opened->GetStream());
        ASSERT_TRUE(xml.IsOk()) << file.memoryName;
        std::vector<wxString> references;
        collectReferences(xml.GetRoot(), references);
        EXPECT_EQ(references.size(), referenceCounts[document++]) << file.memoryName;
        for (const wxString& reference : references) {
            std::unique_ptr<wxFSFile> image(fileSystem.OpenFile(memoryFolder + reference));
            EXPECT_TRUE(image) << file.memoryName << " refers to " << reference;
        }
    }

    ensureResources();
    EXPECT_EQ(log.errors, 0) << "the second call registered the bundle again";
    EXPECT_EQ(countBundleFiles(), 73);

    // The memory file system refuses a name twice; that refusal is what the guard spares.
    registerResources();
    EXPECT_GT(log.errors, 0);
}

} // namespace
