#include "palette_grid.h"

#include <wx/dcclient.h>

#include "plot_color.h"

namespace wxg {

namespace {
constexpr int kIndexCount = 255;
constexpr int kRows = (kIndexCount + PaletteGrid::kColumns - 1) / PaletteGrid::kColumns;
constexpr int kSwatchInset = 2;
} // namespace

PaletteGrid::PaletteGrid(wxWindow* parent, bool forPlot, std::function<void(int)> onPick)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(kColumns * kCellSize, kRows * kCellSize),
               wxWANTS_CHARS, "PaletteGrid"),
      forPlot_(forPlot), onPick_(std::move(onPick)) {
    SetMinSize(GetSize());
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &PaletteGrid::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &PaletteGrid::onLeftDown, this);
    Bind(wxEVT_KEY_DOWN, &PaletteGrid::onKeyDown, this);
}

void PaletteGrid::setPickedIndex(int index) {
    pickedIndex_ = index >= 1 && index <= kIndexCount ? index : 0;
    Refresh();
}

wxRect PaletteGrid::cellRect(int index) const {
    const int cell = index - 1;
    return wxRect((cell % kColumns) * kCellSize, (cell / kColumns) * kCellSize, kCellSize,
                  kCellSize);
}

int PaletteGrid::indexAt(const wxPoint& point) const {
    if (point.x < 0 || point.y < 0 || point.x >= kColumns * kCellSize) {
        return 0;
    }
    const int index = (point.y / kCellSize) * kColumns + point.x / kCellSize + 1;
    return index <= kIndexCount ? index : 0;
}

void PaletteGrid::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    for (int index = 1; index <= kIndexCount; ++index) {
        drawSwatch(dc, cellRect(index).Deflate(kSwatchInset), indexColour(index, forPlot_));
    }
    if (pickedIndex_ != 0) {
        // Square corners stay sharp where the screen has several pixels to the toolkit's one.
        wxPen outline(GetForegroundColour(), 2);
        outline.SetJoin(wxJOIN_MITER);
        dc.SetPen(outline);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(cellRect(pickedIndex_));
    }
}

void PaletteGrid::pick(int index) {
    setPickedIndex(index);
    onPick_(index);
}

void PaletteGrid::onLeftDown(wxMouseEvent& event) {
    SetFocus();
    const int index = indexAt(event.GetPosition());
    if (index != 0) {
        pick(index);
    }
}

void PaletteGrid::onKeyDown(wxKeyEvent& event) {
    int step = 0;
    switch (event.GetKeyCode()) {
    case WXK_LEFT:
        step = -1;
        break;
    case WXK_RIGHT:
        step = 1;
        break;
    case WXK_UP:
        step = -kColumns;
        break;
    case WXK_DOWN:
        step = kColumns;
        break;
    default:
        event.Skip(); // Tab, Enter and Escape keep their meaning in the dialog
        return;
    }
    // Without a pick yet, the first arrow picks the first index.
    const int index = pickedIndex_ == 0 ? 1 : pickedIndex_ + step;
    if (index >= 1 && index <= kIndexCount) {
        pick(index);
    }
}

} // namespace wxg
