// Plane geometry of the plot: affine maps, and curves turned into points within a tolerance of
// the true curve once they are mapped.
#pragma once

#include <vector>

#include "plot_paper.h"

struct Point2 {
    double x;
    double y;
};

// A polyline vertex: the bulge is the tangent of a quarter of the arc's angle to the next
// vertex, positive counter-clockwise; 0 for a straight segment.
struct BulgePoint {
    double x;
    double y;
    double bulge;
};

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine2 {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    static Affine2 translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine2 rotation(double radians);
    static Affine2 scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }

    PaperPoint apply(double x, double y) const { return {a * x + c * y + e, b * x + d * y + f}; }
    PaperPoint applyLinear(double x, double y) const { return {a * x + c * y, b * x + d * y}; }
    // this after other: applies other first.
    Affine2 operator*(const Affine2& other) const;
    double determinant() const { return a * d - b * c; }
    // How much the map stretches a length at most, and on average over directions.
    double largestScale() const;
    double meanScale() const;
};

bool isFinitePoint(double x, double y);

// Each function appends the mapped points of a curve to out, the curve's first point
// included, within tolerance of the mapped curve.
void appendArc(const Affine2& map, Point2 center, double radius, double start, double sweep,
               double tolerance, std::vector<PaperPoint>& out);
void appendEllipse(const Affine2& map, Point2 center, Point2 majorAxis, double ratio, double start,
                   double sweep, double tolerance, std::vector<PaperPoint>& out);
// Without the closing segment back to the first vertex unless closed; the bulge of the last
// vertex counts only then.
void appendBulgePolyline(const Affine2& map, const std::vector<BulgePoint>& points, bool closed,
                         double tolerance, std::vector<PaperPoint>& out);
// A B-spline from its knots, control points and weights; one through its fit points when it
// has no usable control points; the control or fit polygon when neither makes a curve.
void appendSpline(const Affine2& map, int degree, const std::vector<double>& knots,
                  const std::vector<Point2>& controlPoints, const std::vector<double>& weights,
                  const std::vector<Point2>& fitPoints, bool closed, double tolerance,
                  std::vector<PaperPoint>& out);
