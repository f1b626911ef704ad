// A grid of the 255 colour index swatches; a click picks an index, and so does moving with the
// arrow keys.
#pragma once

#include <functional>

#include <wx/window.h>

namespace wxg {

class PaletteGrid : public wxWindow {
public:
    static constexpr int kColumns = 24;
    static constexpr int kCellSize = 16;

    PaletteGrid(wxWindow* parent, bool forPlot, std::function<void(int)> onPick);

    // 0 shows no index as picked.
    void setPickedIndex(int index);
    int pickedIndex() const { return pickedIndex_; }

    wxRect cellRect(int index) const;
    // The index under point, or 0 between or beyond the cells.
    int indexAt(const wxPoint& point) const;

private:
    void onPaint(wxPaintEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void pick(int index);

    bool forPlot_;
    std::function<void(int)> onPick_;
    int pickedIndex_ = 0;
};

} // namespace wxg
