// The baseline of bench_plot_command: reads a DXF drawing with dxflib and callbacks that do
// nothing, which no plot of it can avoid.
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    DL_CreationAdapter nothing;
    DL_Dxf dxf;
    return dxf.in(argv[1], &nothing) ? 0 : 1;
}
