// The editor on a colour-dependent table of 255 styles: becoming ready for input next to its bare
// layout, the heap it holds, selecting every style as the list reports it, and sorting the
// lineweights; and the table selection dialog on plot style folders of many tables in
// subfolders. Needs an X display.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

#include <malloc.h>

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/spinctrl.h>
#include <wx/xrc/xmlres.h>

#include <kesutils/plot_style_table.h>
#include <kesutils/ut_services.h>

#include "plot_style_folder.h"
#include "psl_dlg_plot_style_editor.h"
#include "psl_dlg_select_table.h"
#include "psl_resources.h"
#include "psl_text.h"

namespace {

class BenchApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        return true;
    }
};

// A table whose styles differ from each other, as a real table's do; with reversedLineWeights,
// its lineweights stand in descending order.
wxString writeSampleTable(bool reversedLineWeights = false) {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    if (reversedLineWeights) {
        std::reverse(std::begin(table->LineWeights), std::end(table->LineWeights));
    }
    for (int index = 0; index < int(table->size()); ++index) {
        CPlotStyle& style = *table->style(index);
        style.updateColor(index * 0x010305);
        style.LineWeight = index % 28;
        style.Screening = index % 101;
        style.PhysPenNum = index % 33;
    }
    const wxString base = wxFileName::CreateTempFileName("pstyle-bench");
    wxRemoveFile(base);
    const wxString path = base + ".ctb";
    table->write(toHostText(path).c_str());
    return path;
}

wxString samplePath;

std::unique_ptr<DlgPlotStyleEditor> openEditor() {
    auto editor = std::make_unique<DlgPlotStyleEditor>(samplePath, wxString(), nullptr);
    editor->Show(); // sends the init-dialog event, which loads the table
    return editor;
}

// The floor of editorReady: the toolkit builds, shows and paints the editor's layout, with no
// table and none of the editor's own setting up.
void editorLayoutShown(benchmark::State& state) {
    for (auto _ : state) {
        wxDialog layout;
        ut::loadDialog(&layout, nullptr, "DlgPlotStyleEditor");
        layout.Show();
        layout.Update();
    }
}
BENCHMARK(editorLayoutShown)->Unit(benchmark::kMillisecond);

void editorReady(benchmark::State& state) {
    for (auto _ : state) {
        auto editor = openEditor();
        editor->Update();
        benchmark::DoNotOptimize(editor->currentTable());
    }
}
BENCHMARK(editorReady)->Unit(benchmark::kMillisecond);

std::size_t heapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

// The heap that an open editor holds, the table included, next to what its bare layout holds.
void editorHeap(benchmark::State& state) {
    std::size_t layoutBytes = 0;
    std::size_t editorBytes = 0;
    for (auto _ : state) {
        {
            const std::size_t before = heapInUse();
            wxDialog layout;
            ut::loadDialog(&layout, nullptr, "DlgPlotStyleEditor");
            layout.Show();
            layout.Update();
            layoutBytes = heapInUse() - before;
        }
        const std::size_t before = heapInUse();
        const auto editor = openEditor();
        editor->Update();
        editorBytes = heapInUse() - before;
    }
    state.counters["layout_bytes"] = double(layoutBytes);
    state.counters["editor_bytes"] = double(editorBytes);
}
BENCHMARK(editorHeap)->Iterations(3)->Unit(benchmark::kMillisecond);

void selectAllStyles(benchmark::State& state) {
    const auto editor = openEditor();
    auto* list = XRCCTRL(*editor, "ListStyles", wxListCtrl);
    auto* screening = XRCCTRL(*editor, "SpinScreening", wxSpinCtrl);
    for (auto _ : state) {
        state.PauseTiming();
        for (long row = 0; row < list->GetItemCount(); ++row) {
            list->SetItemState(row, 0, wxLIST_STATE_SELECTED);
        }
        state.ResumeTiming();
        // One selection event per row, each merging the rows selected so far.
        for (long row = 0; row < list->GetItemCount(); ++row) {
            list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        }
    }
    if (list->GetSelectedItemCount() != 255 || screening->GetValue() != 0) {
        state.SkipWithError("the form does not show the merged selection");
    }
}
BENCHMARK(selectAllStyles)->Unit(benchmark::kMillisecond);

void sortLineWeights(benchmark::State& state) {
    const wxString unordered = writeSampleTable(true);
    const auto editor = std::make_unique<DlgPlotStyleEditor>(unordered, wxString(), nullptr);
    editor->Show();
    const double* weights = editor->currentTable()->LineWeights;
    bool sorted = true;
    for (auto _ : state) {
        editor->sortLineWeights();
        state.PauseTiming();
        sorted = sorted && std::is_sorted(weights, weights + CPlotStyleTable::kLineWeightCount);
        // Ctrl+Z puts the rows out of order again.
        wxKeyEvent undo(wxEVT_CHAR_HOOK);
        undo.m_keyCode = 'Z';
        undo.m_controlDown = true;
        undo.SetEventObject(editor.get());
        editor->ProcessWindowEvent(undo);
        state.ResumeTiming();
    }
    wxRemoveFile(unordered);
    if (!sorted) {
        state.SkipWithError("the lineweights are not sorted");
    }
}
BENCHMARK(sortLineWeights)->Unit(benchmark::kMicrosecond);

// On an empty folder: the layout's own cost, the floor for the folders of many tables.
void selectionDialogReady(benchmark::State& state) {
    const PlotStyleFolder folder(int(state.range(0)));
    unsigned listed = 0;
    for (auto _ : state) {
        DlgSelectTable dialog;
        ut::loadDialog(&dialog, nullptr, "DlgSelectTable");
        dialog.Show(); // sends the init-dialog event, which lists the tables
        dialog.Update();
        listed = XRCCTRL(dialog, "ComboSourceFile", wxComboBox)->GetCount();
    }
    if (listed != std::min(unsigned(state.range(0)), DlgSelectTable::kMaxListedTables)) {
        state.SkipWithError("the drop-down does not list the tables");
    }
}
BENCHMARK(selectionDialogReady)
    ->Arg(0)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new BenchApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "Cannot start the GUI toolkit; is there an X display?\n");
        return 2;
    }
    ensureResources();
    samplePath = writeSampleTable();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxRemoveFile(samplePath);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
