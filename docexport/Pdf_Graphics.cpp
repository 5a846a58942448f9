#include "docexport/Pdf_Graphics.h"

#include "docexport/Doc_Utils.h"

#include <cmath>
#include <numbers>

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string N(Extended value) { return FormatPDFNumber(value); }

Extended Radians(Extended degrees) { return degrees * std::numbers::pi_v<long double> / 180; }

// Bezier control distance of a quarter ellipse.
const Extended Kappa = 4.0L / 3.0L * (std::sqrt(2.0L) - 1);

// The four curves of an ellipse grid, each followed by a blank.
std::string EllipseCurves(const TdeEllipseGrid &g)
{
    const auto &x = g.x;
    const auto &y = g.y;
    return FormatCurveTo(x[3], y[0], x[4], y[1], x[4], y[2]) + " " +
           FormatCurveTo(x[4], y[3], x[3], y[4], x[2], y[4]) + " " +
           FormatCurveTo(x[1], y[4], x[0], y[3], x[0], y[2]) + " " +
           FormatCurveTo(x[0], y[1], x[1], y[0], x[2], y[0]) + " ";
}

} // namespace

std::string FormatCurveTo(Extended x1, Extended y1, Extended x2, Extended y2, Extended x3, Extended y3)
{
    if (x2 == x3 && y2 == y3)
        return N(x1) + " " + N(y1) + " " + N(x3) + " " + N(y3) + " y";
    return N(x1) + " " + N(y1) + " " + N(x2) + " " + N(y2) + " " + N(x3) + " " + N(y3) + " c";
}

TdeEllipseGrid EllipseBezierGrid(Extended x1, Extended y1, Extended x2, Extended y2)
{
    TdeEllipseGrid g;
    g.x[0] = std::min(x1, x2);
    g.x[4] = std::max(x1, x2);
    g.x[2] = (g.x[0] + g.x[4]) / 2;
    g.x[1] = g.x[2] - Kappa * (g.x[2] - g.x[0]);
    g.x[3] = g.x[2] + Kappa * (g.x[2] - g.x[0]);
    g.y[0] = std::max(y1, y2);
    g.y[4] = std::min(y1, y2);
    g.y[2] = (g.y[0] + g.y[4]) / 2;
    g.y[1] = g.y[2] + Kappa * (g.y[0] - g.y[2]);
    g.y[3] = g.y[2] - Kappa * (g.y[0] - g.y[2]);
    return g;
}

Extended ArcPointAngle(Extended cx, Extended cy, Extended x, Extended y)
{
    const Extended dx = x - cx;
    const Extended dy = y - cy;
    const Extended toDegrees = 180 / std::numbers::pi_v<long double>;
    if (dx > 0) {
        Extended angle = std::atan(dy / dx) * toDegrees + 360;
        if (angle >= 360)
            angle -= 360;
        return angle;
    }
    if (dx == 0)
        return dy > 0 ? 90 : 270;
    return std::atan(dy / dx) * toDegrees + 180;
}

std::string ArcToBezier(Extended cx, Extended cy, Extended rx, Extended ry, Extended startAngle, Extended endAngle)
{
    const Extended t1 = Radians(startAngle);
    const Extended t2 = Radians(endAngle);
    const Extended h = (t2 - t1) / 2;
    const Extended k = (startAngle == endAngle) ? 0 : 4.0L / 3.0L * (1 - std::cos(h)) / std::sin(h);
    return FormatCurveTo(cx - rx * (std::cos(t1) - k * std::sin(t1)), cy - ry * (std::sin(t1) + k * std::cos(t1)),
                         cx - rx * (std::cos(t2) + k * std::sin(t2)), cy - ry * (std::sin(t2) - k * std::cos(t2)),
                         cx - rx * std::cos(t2), cy - ry * std::sin(t2));
}

std::string BuildArcPath(Extended x1, Extended y1, Extended x2, Extended y2, Extended x3, Extended y3, Extended x4,
                         Extended y4)
{
    const Extended cx = (x1 + x2) / 2;
    const Extended cy = (y1 + y2) / 2;
    const Extended rx = std::fabs(x1 - x2) / 2;
    const Extended ry = std::fabs(y1 - y2) / 2;
    // The ellipse runs from (cx - rx, cy) at angle 0, so half a turn more
    // points towards the radial point.
    Extended s = ArcPointAngle(cx, cy, x3, y3) + 180;
    Extended e = ArcPointAngle(cx, cy, x4, y4) + 180;
    while (e <= s)
        e += 360;
    std::string text = N(cx - rx * std::cos(Radians(s))) + " " + N(cy - ry * std::sin(Radians(s))) + " m";
    while (e - s > 90) {
        text += " " + ArcToBezier(cx, cy, rx, ry, s, s + 90);
        s += 90;
    }
    if (e != s)
        text += " " + ArcToBezier(cx, cy, rx, ry, s, e);
    return text;
}

void DrawLineShape(TdePDFPageContent &page, const TdePen &pen, double x1, double y1, double x2, double y2)
{
    if (page.InPath()) {
        if (page.FFirstPoint) {
            page.FPath += page.Pt(x1, y1) + " m " + page.Pt(x2, y2) + " l ";
            page.FInitialPos = {x1, y1};
            page.FFirstPoint = false;
        } else {
            page.FPath += page.Pt(x2, y2) + " l ";
        }
        return;
    }
    if (pen.Style == TPenStyle::psClear)
        return;
    const std::string body = page.Stroke(pen) + page.Pt(x1, y1) + " m " + page.Pt(x2, y2) + " l " +
                             TdePDFPageContent::GetPaintOperator(&pen, nullptr, false);
    if (page.FIsClipState())
        page.Append(CRLF + body + CRLF);
    else
        page.Append(CRLF + "q " + body + CRLF + "Q");
}

void DrawRectangleShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                        double x2, double y2)
{
    // The corner written is the lower left one on the page.
    const std::string r = page.X(x1) + " " + page.Y(y2) + " " + N(page.PixelToPointX(x2 - x1)) + " " +
                          N(page.LengthToPointY(y2 - y1)) + " re";
    if (page.InPath()) {
        page.FPath += r + " ";
        return;
    }
    std::string body;
    if (TdePDFPageContent::BrushVisible(brush))
        body += page.Fill(brush) + r + " f ";
    if (pen.Style != TPenStyle::psClear)
        body += page.Stroke(pen) + r + " s";
    page.AppendWrapped(body);
}

void DrawRoundRectShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                        double x2, double y2, double w, double h)
{
    // Painted even inside a path bracket.
    if (w > std::fabs(x2 - x1))
        w = std::fabs(x2 - x1) + 1;
    if (h > std::fabs(y2 - y1))
        h = std::fabs(y2 - y1) + 1;
    const TdeEllipseGrid g =
        EllipseBezierGrid(page.PixelToPointX(x1), page.PixelToPointY(y1), page.PixelToPointX(x1 + w),
                          page.PixelToPointY(y1 + h));
    const auto &x = g.x;
    const auto &y = g.y;
    const Extended dx = page.PixelToPointX(x2 - x1 - w);
    const Extended dy = page.LengthToPointY(y2 - y1 - h);
    const std::string p = N(x[2]) + " " + N(y[0]) + " m " + N(x[2] + dx) + " " + N(y[0]) + " l " +
                          FormatCurveTo(x[3] + dx, y[0], x[4] + dx, y[1], x[4] + dx, y[2]) + " " + N(x[4] + dx) +
                          " " + N(y[2] - dy) + " l " +
                          FormatCurveTo(x[4] + dx, y[3] - dy, x[3] + dx, y[4] - dy, x[2] + dx, y[4] - dy) + " " +
                          N(x[2]) + " " + N(y[4] - dy) + " l " +
                          FormatCurveTo(x[1], y[4] - dy, x[0], y[3] - dy, x[0], y[2] - dy) + " " + N(x[0]) + " " +
                          N(y[2]) + " l " + FormatCurveTo(x[0], y[1], x[1], y[0], x[2], y[0]);
    std::string body;
    if (TdePDFPageContent::BrushVisible(brush))
        body += page.Fill(brush) + p + " f ";
    if (pen.Style != TPenStyle::psClear)
        body += page.Stroke(pen) + p + " s";
    page.AppendWrapped(body);
}

void DrawEllipseShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                      double x2, double y2)
{
    if (page.InPath()) {
        // Built on the native corners and converted afterwards, so the
        // figure starts on the lower edge on the page.
        TdeEllipseGrid native = EllipseBezierGrid(x1, y1, x2, y2);
        TdeEllipseGrid g;
        for (int i = 0; i < 5; ++i) {
            g.x[i] = page.PixelToPointX(native.x[i]);
            g.y[i] = page.PixelToPointY(native.y[i]);
        }
        if (page.FFirstPoint) {
            page.FPath += N(g.x[2]) + " " + N(g.y[0]) + " m ";
            page.FInitialPos = {static_cast<double>(native.x[2]), static_cast<double>(native.y[0])};
            page.FFirstPoint = false;
        }
        page.FPath += EllipseCurves(g);
        return;
    }
    const TdeEllipseGrid g =
        EllipseBezierGrid(page.PixelToPointX(x1), page.PixelToPointY(y1), page.PixelToPointX(x2), page.PixelToPointY(y2));
    const std::string p = N(g.x[2]) + " " + N(g.y[0]) + " m " + EllipseCurves(g);
    std::string body;
    if (TdePDFPageContent::BrushVisible(brush))
        body += page.Fill(brush) + p + " f ";
    if (pen.Style != TPenStyle::psClear)
        body += page.Stroke(pen) + p + " s";
    page.AppendWrapped(body);
}

void DrawPolygonShape(TdePDFPageContent &page, const TdePoints &points, int noPoints, bool closed, const TdePen &pen,
                      const TdeBrush *brush)
{
    noPoints = std::min(noPoints, static_cast<int>(points.size()));
    if (noPoints < 1)
        return;
    if (page.InPath()) {
        if (page.FFirstPoint) {
            page.FPath += page.Pt(points[0]) + " m ";
            page.FInitialPos = points[0];
            page.FFirstPoint = false;
        }
        for (int i = 1; i < noPoints; ++i)
            page.FPath += page.Pt(points[i]) + " l ";
        return;
    }
    std::string s = page.Pt(points[0]) + " m ";
    for (int i = 1; i < noPoints; ++i)
        s += page.Pt(points[i]) + " l ";
    std::string body;
    if (closed) {
        const bool fill = TdePDFPageContent::BrushVisible(brush);
        const bool stroke = pen.Style != TPenStyle::psClear;
        if (!fill && !stroke)
            return;
        s += page.Pt(points[0]) + " l ";
        if (fill)
            body += page.Fill(brush);
        if (stroke)
            body += page.Stroke(pen);
        body += s + (fill && stroke ? "B* " : stroke ? " S " : " f ");
    } else {
        if (pen.Style == TPenStyle::psClear)
            return;
        body = page.Stroke(pen) + s + " S ";
    }
    page.AppendWrapped(body, "Q ");
}

void DrawPolyShape(TdePDFPageContent &page, const std::vector<TdePoints> &shapes, const TdePen &pen,
                   const TdeBrush *brush, bool fillAlternate, bool closed)
{
    if (shapes.empty())
        return;
    const bool stroke = TdePDFPageContent::PenVisible(pen);
    const bool fill = closed && TdePDFPageContent::BrushVisible(brush);
    if (!stroke && !fill)
        return;
    std::string path;
    for (const TdePoints &points : shapes) {
        if (points.empty())
            continue;
        path += page.Pt(points[0]) + " m ";
        for (std::size_t i = 1; i < points.size(); ++i)
            path += page.Pt(points[i]) + " l ";
        if (closed)
            path += page.Pt(points[0]) + " l ";
    }
    std::string body;
    if (stroke)
        body += page.Stroke(pen);
    if (fill) {
        if (brush->Style == TBrushStyle::bsSolid)
            body += ColorToPDFRGB(brush->Color) + " rg" + CRLF + path + CRLF;
        else
            body += "/CSP cs " + ColorToPDFRGB(brush->Color) + " /" + page.PatternName(brush->Style) + " scn n" +
                    CRLF + path + CRLF;
        body += std::string(fillAlternate ? "f*" : "f") + CRLF;
    }
    // Polylines stay open: "s" would close the last of them.
    if (stroke)
        body += path + (closed ? "s" : "S");
    page.AppendWrapped(body);
}

void DrawArcShape(TdePDFPageContent &page, const TdePen &pen, double x1, double y1, double x2, double y2, double x3,
                  double y3, double x4, double y4)
{
    if (!TdePDFPageContent::PenVisible(pen))
        return;
    page.AppendWrapped(page.Stroke(pen) +
                       BuildArcPath(page.PixelToPointX(x1), page.PixelToPointY(y1), page.PixelToPointX(x2),
                                    page.PixelToPointY(y2), page.PixelToPointX(x3), page.PixelToPointY(y3),
                                    page.PixelToPointX(x4), page.PixelToPointY(y4)) +
                       " S");
}

namespace {

void DrawPieOrChord(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                    double x2, double y2, double x3, double y3, double x4, double y4, bool toCentre)
{
    const bool stroke = TdePDFPageContent::PenVisible(pen);
    const bool fill = TdePDFPageContent::BrushVisible(brush);
    if (!stroke && !fill)
        return;
    const Extended px1 = page.PixelToPointX(x1), py1 = page.PixelToPointY(y1);
    const Extended px2 = page.PixelToPointX(x2), py2 = page.PixelToPointY(y2);
    std::string p = BuildArcPath(px1, py1, px2, py2, page.PixelToPointX(x3), page.PixelToPointY(y3),
                                 page.PixelToPointX(x4), page.PixelToPointY(y4));
    if (toCentre)
        p += " " + N((px1 + px2) / 2) + " " + N((py1 + py2) / 2) + " l";
    std::string body;
    if (fill)
        body += page.Fill(brush) + p + " f ";
    if (stroke)
        body += page.Stroke(pen) + p + " s";
    page.AppendWrapped(body);
}

} // namespace

void DrawPieShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1, double x2,
                  double y2, double x3, double y3, double x4, double y4)
{
    DrawPieOrChord(page, pen, brush, x1, y1, x2, y2, x3, y3, x4, y4, true);
}

void DrawChordShape(TdePDFPageContent &page, const TdePen &pen, const TdeBrush *brush, double x1, double y1,
                    double x2, double y2, double x3, double y3, double x4, double y4)
{
    DrawPieOrChord(page, pen, brush, x1, y1, x2, y2, x3, y3, x4, y4, false);
}

void DrawPolyBezierShape(TdePDFPageContent &page, const TdePoints &points, int noPoints, const TdePen &pen)
{
    noPoints = std::min(noPoints, static_cast<int>(points.size()));
    if (noPoints < 1)
        return;
    // Whole curves only: the last point index rounded down to a multiple of 3.
    const int m = (noPoints - 1) / 3 * 3;
    std::string curves;
    for (int i = 1; i + 2 <= m; i += 3)
        curves += page.Pt(points[i]) + " " + page.Pt(points[i + 1]) + " " + page.Pt(points[i + 2]) + " c ";
    if (page.InPath()) {
        if (page.FFirstPoint) {
            page.FPath += page.Pt(points[0]) + " m ";
            page.FInitialPos = points[0];
            page.FFirstPoint = false;
        }
        page.FPath += curves;
        return;
    }
    if (!TdePDFPageContent::PenVisible(pen) || noPoints <= 3)
        return;
    const std::string body = page.Stroke(pen) + page.Pt(points[0]) + " m " + curves;
    if (page.FIsClipState())
        page.Append(CRLF + body + "S" + CRLF);
    else
        page.Append(CRLF + "q" + CRLF + body + "S" + CRLF + "Q ");
}

void DrawPolyPolygon(TdePDFPageContent &page, const TdePoints &points, const std::vector<int> &counts,
                     const TdePen &pen, const TdeBrush &brush, bool fillAlternate)
{
    if (counts.empty())
        return;
    const int total = std::min(counts[0], static_cast<int>(points.size()));
    std::string path;
    std::size_t polygon = 1;
    int written = 0;
    for (int i = 0; i < total; ++i) {
        path += page.Pt(points[i]) + " " + (written == 0 ? "m " : "l ") + CRLF;
        ++written;
        if (polygon >= counts.size() || written >= counts[polygon]) {
            ++polygon;
            written = 0;
        }
    }
    path += CRLF;
    std::string body = CRLF;
    if (brush.Style == TBrushStyle::bsSolid)
        body += ColorToPDFRGB(brush.Color) + " rg" + CRLF + path + CRLF;
    else if (brush.Style != TBrushStyle::bsClear)
        body += "/CSP cs " + ColorToPDFRGB(brush.Color) + " /" + page.PatternName(brush.Style) + " scn n" + CRLF +
                path + CRLF;
    if (brush.Style != TBrushStyle::bsClear)
        body += std::string(fillAlternate ? "f*" : "f") + CRLF;
    if (pen.Style != TPenStyle::psClear)
        body += page.Stroke(pen) + path + " s";
    page.AppendWrapped(body, "Q ");
}

} // namespace tessaran
