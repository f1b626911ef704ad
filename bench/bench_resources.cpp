// Registering the resource bundle: memory files for the layouts and images, then the four
// layout loads. Each iteration starts from a process in which nothing is registered.
#include <benchmark/benchmark.h>

#include <vector>

#include <wx/filesys.h>
#include <wx/fs_mem.h>
#include <wx/init.h>
#include <wx/xrc/xmlres.h>

#include "psl_resources.h"

namespace {

void forgetResources() {
    wxFileSystem fileSystem;
    std::vector<wxString> names;
    const wxString prefix = "memory:";
    for (wxString name = fileSystem.FindFirst("memory:XRC_resource/psl_xrc.cpp$*", wxFILE);
         !name.empty(); name = fileSystem.FindNext())
        names.push_back(name.Mid(prefix.length()));
    for (const wxString& name : names)
        wxMemoryFSHandler::RemoveFile(name);
    delete wxXmlResource::Set(new wxXmlResource);
}

void registerResourcesFresh(benchmark::State& state) {
    wxInitializer initializer;
    for (auto _ : state) {
        state.PauseTiming();
        forgetResources();
        state.ResumeTiming();
        registerResources();
    }
}
BENCHMARK(registerResourcesFresh)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
