#include "paper_page.h"

#include <cmath>

namespace {

// The end of an open line: its last point and the direction it leaves in, or false when the
// line has no length.
bool lineEnd(const std::vector<PaperPoint>& points, bool atStart, PaperPoint& end,
             PaperPoint& direction) {
    const std::size_t count = points.size();
    end = atStart ? points.front() : points.back();
    for (std::size_t step = 1; step < count; ++step) {
        const PaperPoint& inner = points[atStart ? step : count - 1 - step];
        const double length = std::hypot(end.x - inner.x, end.y - inner.y);
        if (length > 0) {
            direction = {(end.x - inner.x) / length, (end.y - inner.y) / length};
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<PaperPath> diamondEnds(const PaperPath& path, double width) {
    std::vector<PaperPath> ends;
    if (path.end != LineEnd::Diamond || path.closed || path.filled || path.points.size() < 2) {
        return ends;
    }
    const double half = width / 2;
    for (const bool atStart : {true, false}) {
        PaperPoint end;
        PaperPoint direction;
        if (!lineEnd(path.points, atStart, end, direction)) {
            continue;
        }
        PaperPath triangle;
        triangle.points = {{end.x - direction.y * half, end.y + direction.x * half},
                           {end.x + direction.x * half, end.y + direction.y * half},
                           {end.x + direction.y * half, end.y - direction.x * half}};
        triangle.closed = true;
        triangle.filled = true;
        triangle.color = path.color;
        ends.push_back(std::move(triangle));
    }
    return ends;
}
