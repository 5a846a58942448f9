#pragma once
// Shapes as PDF page-description operators: lines, rectangles, rounded
// rectangles, ellipses, polygons and polylines, arcs, pies, chords, Bezier
// curves and poly-polygons, painted with their pen and brush. Ellipses and
// arcs are built from cubic Bezier segments. Inside a path bracket the
// shapes add path construction text instead of painting. Coordinates are
// native (screen pixels); the page content converts them.

#include "docexport/Pdf_Page_Content.h"

#include <array>
#include <string>
#include <vector>

namespace tessaran {

// Curve operator from the current point; "y" when the second control point
// is the end point.
std::string FormatCurveTo(Extended x1, Extended y1, Extended x2, Extended y2, Extended x3, Extended y3);

// Five x values (smaller to larger) and five y values (larger to smaller)
// of the Bezier approximation of the ellipse in a box given by two corners.
struct TdeEllipseGrid {
    std::array<Extended, 5> x;
    std::array<Extended, 5> y;
};
TdeEllipseGrid EllipseBezierGrid(Extended x1, Extended y1, Extended x2, Extended y2);

// Angle in degrees (0 to 360) of a point seen from a centre.
Extended ArcPointAngle(Extended cx, Extended cy, Extended x, Extended y);
// One Bezier segment of the ellipse (cx - rx cos t, cy - ry sin t) from
// startAngle to endAngle, in degrees.
std::string ArcToBezier(Extended cx, Extended cy, Extended rx, Extended ry, Extended startAngle, Extended endAngle);
// The arc of the ellipse in the box (x1, y1)-(x2, y2) from the radial point
// (x3, y3) to (x4, y4), counter-clockwise, in page units; equal radial
// points give a full turn.
std::string BuildArcPath(Extended x1, Extended y1, Extended x2, Extended y2, Extended x3, Extended y3, Extended x4,
                         Extended y4);

void DrawLineShape(TdePDFPageContent &page, const TdePen &pen, double x1, double y1, double x2, double y2);
void DrawRectangleShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                        double x2, double y2);
// w and h: width and height of the corner ellipse.
void DrawRoundRectShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                        double x2, double y2, double w, double h);
void DrawEllipseShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                      double x2, double y2);
void DrawPolygonShape(TdePDFPageContent &page, const TdePoints &points, int noPoints, bool closed, const TdePen &pen,
                      const TdeBrush *brush);
// Several polygons or polylines drawn with the pen and brush of the first.
void DrawPolyShape(TdePDFPageContent &page, const std::vector<TdePoints> &shapes, const TdePen &pen,
                   const TdeBrush *brush, bool fillAlternate, bool closed);
void DrawArcShape(TdePDFPageContent &page, const TdePen &pen, double x1, double y1, double x2, double y2, double x3,
                  double y3, double x4, double y4);
void DrawPieShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2,
                  double y2, double x3, double y3, double x4, double y4);
void DrawChordShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                    double x2, double y2, double x3, double y3, double x4, double y4);
void DrawPolyBezierShape(TdePDFPageContent &page, const TdePoints &points, int noPoints, const TdePen &pen);
// counts[0] is the total number of points, counts[k + 1] that of polygon k.
void DrawPolyPolygon(TdePDFPageContent &page, const TdePoints &points, const std::vector<int> &counts,
                     const TdePen &pen, const TdeBrush &brush, bool fillAlternate);

} // namespace tessaran
