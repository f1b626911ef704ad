#include "plot_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Curves get at least this many segments a turn, so that even a curve smaller than the
// tolerance keeps its shape and the drawing's extents come out within half a percent.
constexpr int kMinSegmentsPerTurn = 32;
constexpr int kMaxSegments = 8192;
constexpr int kMaxSplineDegree = 11;

int segmentsFor(double radius, double sweep, double tolerance) {
    double step = 2 * kPi / kMinSegmentsPerTurn;
    if (radius > tolerance && tolerance > 0) {
        step = std::min(step, 2 * std::acos(1 - tolerance / radius));
    }
    const double segments = std::ceil(std::abs(sweep) / step);
    return std::isfinite(segments) ? std::clamp(int(segments), 1, kMaxSegments) : 1;
}

// Points of an arc, leaving out its first point and, unless withLast, its last.
void arcPoints(const Affine2& map, Point2 center, double radius, double start, double sweep,
               double tolerance, bool withLast, std::vector<PaperPoint>& out) {
    const int segments = segmentsFor(radius * map.largestScale(), sweep, tolerance);
    const int last = withLast ? segments : segments - 1;
    for (int i = 1; i <= last; ++i) {
        const double angle = start + sweep * i / segments;
        out.push_back(
            map.apply(center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)));
    }
}

void bulgeSegment(const Affine2& map, const BulgePoint& from, const BulgePoint& to,
                  double tolerance, bool withLast, std::vector<PaperPoint>& out) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double chord = std::hypot(dx, dy);
    if (std::abs(from.bulge) < 1e-9 || chord == 0) {
        if (withLast) {
            out.push_back(map.apply(to.x, to.y));
        }
        return;
    }
    // The centre lies on the chord's perpendicular through its middle, to the left of the
    // chord for a counter-clockwise arc shorter than a half circle.
    const double b = from.bulge;
    const double offset = (1 - b * b) / (4 * b);
    const Point2 center{from.x + dx / 2 - dy * offset, from.y + dy / 2 + dx * offset};
    const double radius = chord * (1 + b * b) / (4 * std::abs(b));
    const double start = std::atan2(from.y - center.y, from.x - center.x);
    arcPoints(map, center, radius, start, 4 * std::atan(b), tolerance, withLast, out);
}

double polygonLength(const Affine2& map, const std::vector<Point2>& points) {
    double length = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const PaperPoint step =
            map.applyLinear(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
        length += std::hypot(step.x, step.y);
    }
    return length;
}

bool usableBSpline(int degree, const std::vector<double>& knots,
                   const std::vector<Point2>& controlPoints, const std::vector<double>& weights) {
    const std::size_t count = controlPoints.size();
    if (degree < 1 || degree > kMaxSplineDegree || count <= std::size_t(degree) ||
        knots.size() != count + degree + 1) {
        return false;
    }
    if (!weights.empty() &&
        (weights.size() != count ||
         std::any_of(weights.begin(), weights.end(), [](double w) { return !(w > 0); }))) {
        return false;
    }
    return std::is_sorted(knots.begin(), knots.end()) && knots[count] > knots[degree];
}

// de Boor's algorithm in homogeneous coordinates.
Point2 bSplinePoint(int degree, const std::vector<double>& knots,
                    const std::vector<Point2>& controlPoints, const std::vector<double>& weights,
                    double u) {
    const int count = int(controlPoints.size());
    int span = degree;
    while (span < count - 1 && knots[span + 1] <= u) {
        ++span;
    }
    double x[kMaxSplineDegree + 1];
    double y[kMaxSplineDegree + 1];
    double w[kMaxSplineDegree + 1];
    for (int j = 0; j <= degree; ++j) {
        const int i = span - degree + j;
        w[j] = weights.empty() ? 1.0 : weights[i];
        x[j] = controlPoints[i].x * w[j];
        y[j] = controlPoints[i].y * w[j];
    }
    for (int r = 1; r <= degree; ++r) {
        for (int j = degree; j >= r; --j) {
            const int i = span - degree + j;
            const double knotSpan = knots[i + degree - r + 1] - knots[i];
            const double alpha = knotSpan > 0 ? (u - knots[i]) / knotSpan : 0;
            x[j] = (1 - alpha) * x[j - 1] + alpha * x[j];
            y[j] = (1 - alpha) * y[j - 1] + alpha * y[j];
            w[j] = (1 - alpha) * w[j - 1] + alpha * w[j];
        }
    }
    return {x[degree] / w[degree], y[degree] / w[degree]};
}

int sampleCount(double paperLength, double tolerance, int least) {
    const double samples = std::ceil(paperLength / std::max(tolerance * 20, 1e-6));
    return std::isfinite(samples) ? std::clamp(int(samples), least, kMaxSegments) : least;
}

// A Catmull-Rom curve through the fit points.
void fitCurve(const Affine2& map, const std::vector<Point2>& fit, bool closed, double tolerance,
              std::vector<PaperPoint>& out) {
    const int count = int(fit.size());
    auto at = [&](int i) {
        if (closed) {
            return fit[(i % count + count) % count];
        }
        return fit[std::clamp(i, 0, count - 1)];
    };
    out.push_back(map.apply(fit[0].x, fit[0].y));
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        const Point2 p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        const PaperPoint chord = map.applyLinear(p2.x - p1.x, p2.y - p1.y);
        const int samples = sampleCount(std::hypot(chord.x, chord.y), tolerance, 4);
        for (int s = 1; s <= samples; ++s) {
            const double t = double(s) / samples, t2 = t * t, t3 = t2 * t;
            auto blend = [&](double a, double b, double c, double d) {
                return 0.5 * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                              (3 * b - a - 3 * c + d) * t3);
            };
            out.push_back(map.apply(blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)));
        }
    }
}

} // namespace

Affine2 Affine2::rotation(double radians) {
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    return {cosine, sine, -sine, cosine, 0, 0};
}

Affine2 Affine2::operator*(const Affine2& o) const {
    return {a * o.a + c * o.b, b * o.a + d * o.b,     a * o.c + c * o.d,
            b * o.c + d * o.d, a * o.e + c * o.f + e, b * o.e + d * o.f + f};
}

double Affine2::largestScale() const {
    const double sum = a * a + b * b + c * c + d * d;
    const double det = determinant();
    return std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2);
}

double Affine2::meanScale() const {
    return std::sqrt(std::abs(determinant()));
}

bool isFinitePoint(double x, double y) {
    return std::isfinite(x) && std::isfinite(y);
}

void appendArc(const Affine2& map, Point2 center, double radius, double start, double sweep,
               double tolerance, std::vector<PaperPoint>& out) {
    out.push_back(
        map.apply(center.x + radius * std::cos(start), center.y + radius * std::sin(start)));
    arcPoints(map, center, radius, start, sweep, tolerance, true, out);
}

void appendEllipse(const Affine2& map, Point2 center, Point2 majorAxis, double ratio, double start,
                   double sweep, double tolerance, std::vector<PaperPoint>& out) {
    const Point2 minorAxis{-majorAxis.y * ratio, majorAxis.x * ratio};
    // The ellipse is the unit circle under this map.
    const Affine2 local{majorAxis.x, majorAxis.y, minorAxis.x, minorAxis.y, center.x, center.y};
    appendArc(map * local, {0, 0}, 1, start, sweep, tolerance, out);
}

void appendBulgePolyline(const Affine2& map, const std::vector<BulgePoint>& points, bool closed,
                         double tolerance, std::vector<PaperPoint>& out) {
    if (points.empty()) {
        return;
    }
    out.push_back(map.apply(points[0].x, points[0].y));
    for (std::size_t i = 1; i < points.size(); ++i) {
        bulgeSegment(map, points[i - 1], points[i], tolerance, true, out);
    }
    if (closed && points.size() > 1) {
        bulgeSegment(map, points.back(), points.front(), tolerance, false, out);
    }
}

void appendSpline(const Affine2& map, int degree, const std::vector<double>& knots,
                  const std::vector<Point2>& controlPoints, const std::vector<double>& weights,
                  const std::vector<Point2>& fitPoints, bool closed, double tolerance,
                  std::vector<PaperPoint>& out) {
    if (usableBSpline(degree, knots, controlPoints, weights)) {
        const int count = int(controlPoints.size());
        const double first = knots[degree];
        const double last = knots[count];
        const int samples =
            sampleCount(polygonLength(map, controlPoints), tolerance, 8 * (count - degree));
        for (int s = 0; s <= samples; ++s) {
            const double u = first + (last - first) * s / samples;
            const Point2 p = bSplinePoint(degree, knots, controlPoints, weights, u);
            out.push_back(map.apply(p.x, p.y));
        }
        return;
    }
    if (fitPoints.size() >= 2) {
        fitCurve(map, fitPoints, closed, tolerance, out);
        return;
    }
    for (const Point2& p : controlPoints) {
        out.push_back(map.apply(p.x, p.y));
    }
}
