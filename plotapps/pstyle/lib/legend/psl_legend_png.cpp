// The legend sheet drawn on an image through a graphics context, which needs no display.
#include "psl_legend_sheet.h"

#include <cmath>
#include <memory>

#include <wx/brush.h>
#include <wx/graphics.h>

namespace {

constexpr double kScale = kSheetPixelsPerMillimetre;
// Fonts are sized in points, which the renderer sets at 96 pixels to 72 points.
constexpr double kPointsPerPixel = 72.0 / 96.0;
constexpr double kFrameWidth = 0.15;
// The renderer draws on images up to this many pixels high.
constexpr int kMaxImageSide = 32767;

wxColour colour(std::uint32_t rgb) {
    return wxColour(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}

void drawBox(wxGraphicsContext& context, const SheetBox& box) {
    context.SetBrush(box.hollow ? wxGraphicsBrush()
                                : context.CreateBrush(wxBrush(colour(box.fill))));
    context.SetPen(
        box.framed ? context.CreatePen(wxGraphicsPenInfo(colour(0x808080), kFrameWidth * kScale))
                   : wxGraphicsPen());
    context.DrawRectangle(box.x * kScale, box.y * kScale, box.width * kScale, box.height * kScale);
}

void drawLine(wxGraphicsContext& context, const SheetLine& line) {
    context.SetPen(context.CreatePen(
        wxGraphicsPenInfo(colour(line.color), line.width * kScale).Cap(wxCAP_BUTT)));
    wxGraphicsPath path = context.CreatePath();
    for (const auto& [from, to] : line.dashes) {
        path.MoveToPoint(from * kScale, line.y * kScale);
        path.AddLineToPoint(to * kScale, line.y * kScale);
    }
    context.StrokePath(path);
}

void drawText(wxGraphicsContext& context, const SheetText& text) {
    // A font of a given family and size needs no display; the toolkit's default font would.
    const wxFont font(wxFontInfo(text.size * kScale * kPointsPerPixel)
                          .Family(wxFONTFAMILY_SWISS)
                          .Bold(text.bold));
    context.SetFont(context.CreateFont(font, colour(text.color)));
    double width = 0;
    double height = 0;
    double descent = 0;
    context.GetTextExtent(text.text, &width, &height, &descent, nullptr);
    context.DrawText(text.text, text.x * kScale, text.baseline * kScale - (height - descent));
}

} // namespace

wxImage legendSheetImage(const LegendSheet& sheet) {
    const int width = int(std::lround(sheet.width * kScale));
    const int height = int(std::lround(sheet.height * kScale));
    if (height > kMaxImageSide) {
        return wxImage();
    }
    wxImage image(width, height);
    image.SetRGB(wxRect(image.GetSize()), 0xFF, 0xFF, 0xFF);
    {
        // The context puts what it drew into the image when it is destroyed.
        const std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(image));
        for (const SheetGroup& group : sheet.groups) {
            for (const SheetBox& box : group.boxes) {
                drawBox(*context, box);
            }
            for (const SheetLine& line : group.lines) {
                drawLine(*context, line);
            }
            for (const SheetText& text : group.texts) {
                drawText(*context, text);
            }
        }
    }
    return image;
}
