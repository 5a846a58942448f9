#include "units/Graph_Class.h"

#include "platform/Codepage1252.h"
#include "platform/Pascal.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tessaran {

namespace {

// The six colour sets in entry order: x heading font, x value font, x axis,
// minor, major and value tick pens, x grid pen, the seven y twins, the plot
// line pen and the title font.
constexpr TColor kColorSets[6][16] = {
    {0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0xC0C0C0, 0x000000, 0x000000, 0x000000, 0x000000,
     0x000000, 0x000000, 0xC0C0C0, 0xFF0000, 0xFF0000},
    {0xFF0000, 0xFF0000, 0x000000, 0x000000, 0x000000, 0x000000, 0xC0C0C0, 0xFF0000, 0xFF0000, 0x000000, 0x000000,
     0x000000, 0x000000, 0xC0C0C0, 0xFF0000, 0xFF0000},
    {0x008000, 0x008000, 0x008000, 0x008000, 0x008000, 0x008000, 0xC0C0C0, 0x008000, 0x008000, 0x008000, 0x008000,
     0x008000, 0x008000, 0xC0C0C0, 0x008000, 0x008000},
    {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0xC0C0C0, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF,
     0x0000FF, 0x0000FF, 0xC0C0C0, 0x0000FF, 0x0000FF},
    {0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xC0C0C0, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF,
     0xFF00FF, 0xFF00FF, 0xC0C0C0, 0xFF00FF, 0xFF00FF},
    {0x808000, 0x808000, 0x808000, 0x808000, 0x808000, 0x808000, 0xC0C0C0, 0x808000, 0x808000, 0x808000, 0x808000,
     0x808000, 0x808000, 0xC0C0C0, 0x808000, 0x808000},
};

bool between(double v, double a, double b) { return (v >= a && v <= b) || (v >= b && v <= a); }
bool between(int v, int a, int b) { return (v >= a && v <= b) || (v >= b && v <= a); }

TFont graphFont(TColor color, int pixelsPerInch)
{
    TFont f;
    f.Name = "Arial";
    f.Size = 8;
    f.Style = TFontStyles();
    f.Color = color;
    f.PixelsPerInch = pixelsPerInch;
    return f;
}

TPen solidPen(TColor color)
{
    TPen p;
    p.Color = color;
    p.Width = 1;
    p.Style = TPenStyle::psSolid;
    return p;
}

// Rounds half away from zero, as the print scaling does.
int scaleHalfAway(int value, double ratio)
{
    double product = value * ratio;
    return static_cast<int>(product > 0 ? std::trunc(product + 0.5) : std::trunc(product - 0.5));
}

// A text cut to its first 255 single-byte characters.
std::string shortString255(const std::string &utf8)
{
    std::string single = Utf8ToCp1252(utf8);
    if (single.size() <= 255)
        return utf8;
    return Cp1252ToUtf8(single.substr(0, 255));
}

long double power10(int n) { return std::pow(10.0L, n); }

// The auto-chosen division value and decimals for a division of value a > 0.
bool autoDivision(long double a, long double &division, int &decimals)
{
    std::int64_t b = Trunc(a);
    int L = static_cast<int>(std::to_string(b).size());
    int k = 0;
    while (b == 0) {
        ++k;
        if (k > 300)
            return false;
        b = Trunc(a * power10(k));
    }
    int d1 = std::to_string(b)[0] - '0';
    std::string second = std::to_string(Trunc(a * power10(k + 1)));
    int d2 = second.size() > 1 ? second[1] - '0' : 0;
    int N = d2 > 3 ? (d1 + 1) * 10 : d1 * 10 + 5;
    division = (k == 0) ? N * power10(L - 2) : N / power10(k + 1);
    decimals = k;
    return true;
}

} // namespace

TGraph::TGraph(TCanvas *ForUseOnCanvas, int FontPixelsPerInch, int TheGraphWidth, int TheGraphHeight)
    : GraphWidth(TheGraphWidth), GraphHeight(TheGraphHeight), GraphCanvas(ForUseOnCanvas)
{
    XValueFont = YValueFont = graphFont(clBlack, FontPixelsPerInch);
    XHeadingFont = YHeadingFont = TitleFont = graphFont(clBlue, FontPixelsPerInch);
    if (GraphCanvas)
        GraphCanvas->Font.PixelsPerInch = FontPixelsPerInch;
    ClearData();
    SelectColorArray(0);
}

void TGraph::ClearData()
{
    XAxisShown = YAxisShown = XGridlinesShown = YGridlinesShown = true;
    GraphQuadrant = 1;
    XAxisVertOffset = 0;
    XDecPlaces = 1;
    XOrigin = XWidth = YOrigin = YHeight = 0;
    XIncrement = XNumberOfDivisions = 0;
    XMinorTicksPerIncrement = 2;
    XMajorTicksPerIncrement = 1;
    YAxisHorzOffset = 0;
    YDecPlaces = 1;
    YIncrement = YNumberOfDivisions = 0;
    YMinorTicksPerIncrement = 2;
    YMajorTicksPerIncrement = 1;
    XMinorTickLength = 2;
    XMajorTickLength = 4;
    XValueTickLength = 6;
    YMinorTickLength = -2;
    YMajorTickLength = -4;
    YValueTickLength = -6;
    XScaleStartValue = XScaleEndValue = YScaleStartValue = YScaleEndValue = 0;
    XValueIncrementSpacing = YValueIncrementSpacing = 1;
    XHeadingVertOffset = 30;
    YHeadingHorzOffset = -45;
    TitleVertOffset = -40;
    XHeading.clear();
    YHeading.clear();
    Title.clear();
    int ppi = XValueFont.PixelsPerInch;
    XValueFont = YValueFont = graphFont(clBlack, ppi);
    XHeadingFont = YHeadingFont = TitleFont = graphFont(clBlue, ppi);
    XGridlinesPen = YGridlinesPen = solidPen(clSilver);
    XAxisPen = XMinorTickPen = XMajorTickPen = XValueTickPen = solidPen(clBlack);
    YAxisPen = YMinorTickPen = YMajorTickPen = YValueTickPen = solidPen(clBlack);
    PlotLinePen = solidPen(clBlack);
    SelectColorArray(0);
    PlotType = GraphPlotLine;
    PlotOrigin = GraphPlotOriginNone;
}

void TGraph::CopyData(const TGraph &g)
{
    XAxisShown = g.XAxisShown;
    YAxisShown = g.YAxisShown;
    XGridlinesShown = g.XGridlinesShown;
    YGridlinesShown = g.YGridlinesShown;
    GraphQuadrant = g.GraphQuadrant;
    XAxisVertOffset = g.XAxisVertOffset;
    XDecPlaces = g.XDecPlaces;
    XOrigin = g.XOrigin;
    XWidth = g.XWidth;
    YOrigin = g.YOrigin;
    YHeight = g.YHeight;
    XIncrement = g.XIncrement;
    XNumberOfDivisions = g.XNumberOfDivisions;
    XMinorTicksPerIncrement = g.XMinorTicksPerIncrement;
    XMajorTicksPerIncrement = g.XMajorTicksPerIncrement;
    YAxisHorzOffset = g.YAxisHorzOffset;
    YDecPlaces = g.YDecPlaces;
    YIncrement = g.YIncrement;
    YNumberOfDivisions = g.YNumberOfDivisions;
    YMinorTicksPerIncrement = g.YMinorTicksPerIncrement;
    YMajorTicksPerIncrement = g.YMajorTicksPerIncrement;
    XMinorTickLength = g.XMinorTickLength;
    XMajorTickLength = g.XMajorTickLength;
    XValueTickLength = g.XValueTickLength;
    YMinorTickLength = g.YMinorTickLength;
    YMajorTickLength = g.YMajorTickLength;
    YValueTickLength = g.YValueTickLength;
    XScaleStartValue = g.XScaleStartValue;
    XScaleEndValue = g.XScaleEndValue;
    YScaleStartValue = g.YScaleStartValue;
    YScaleEndValue = g.YScaleEndValue;
    XValueIncrementSpacing = g.XValueIncrementSpacing;
    YValueIncrementSpacing = g.YValueIncrementSpacing;
    XHeadingVertOffset = g.XHeadingVertOffset;
    YHeadingHorzOffset = g.YHeadingHorzOffset;
    TitleVertOffset = g.TitleVertOffset;
    XHeading = g.XHeading;
    YHeading = g.YHeading;
    Title = g.Title;
    XHeadingColor = g.XHeadingColor;
    XValueColor = g.XValueColor;
    XAxisColor = g.XAxisColor;
    XMinorTickColor = g.XMinorTickColor;
    XMajorTickColor = g.XMajorTickColor;
    XValueTickColor = g.XValueTickColor;
    XGridLinesColor = g.XGridLinesColor;
    YHeadingColor = g.YHeadingColor;
    YValueColor = g.YValueColor;
    YAxisColor = g.YAxisColor;
    YMinorTickColor = g.YMinorTickColor;
    YMajorTickColor = g.YMajorTickColor;
    YValueTickColor = g.YValueTickColor;
    YGridLinesColor = g.YGridLinesColor;
    PlotColor = g.PlotColor;
    TitleColor = g.TitleColor;
    PlotType = g.PlotType;
    PlotOrigin = g.PlotOrigin;
    PlotLinePen = g.PlotLinePen;
}

void TGraph::SetGraphPositionAndScale(int TheXOrigin, int TheYOrigin, int TheXWidth, int TheYHeight,
                                      double TheXScaleStartValue, double TheYScaleStartValue,
                                      double TheXScaleEndValue, double TheYScaleEndValue, int TheXNumberOfDivisions,
                                      int TheYNumberOfDivisions, double TheRoundOnMultipleOfXValue,
                                      double TheRoundOnMultipleOfYValue)
{
    XOrigin = TheXOrigin;
    YOrigin = TheYOrigin;
    XWidth = TheXWidth;
    YHeight = TheYHeight;
    SetGraphScaleValues(TheXScaleStartValue, TheYScaleStartValue, TheXScaleEndValue, TheYScaleEndValue,
                        TheXNumberOfDivisions, TheYNumberOfDivisions);
    SetXRangeToRoundOnMultipleOfValue(TheRoundOnMultipleOfXValue);
    SetYRangeToRoundOnMultipleOfValue(TheRoundOnMultipleOfYValue);
}

void TGraph::SetGraphPositionByPercentages(int TheXPercentFrom, int TheXPercentTo, int TheYPercentFrom,
                                           int TheYPercentTo, int RoundOnMultipleOfXPixels,
                                           int RoundOnMultipleOfYPixels)
{
    XWidth = static_cast<int>(Trunc(static_cast<long double>(TheXPercentTo - TheXPercentFrom) * GraphWidth / 100));
    if (RoundOnMultipleOfXPixels != 0)
        XWidth = XWidth / RoundOnMultipleOfXPixels * RoundOnMultipleOfXPixels;
    XOrigin = static_cast<int>(Trunc(static_cast<long double>(TheXPercentFrom) * GraphWidth / 100));
    YHeight = static_cast<int>(Trunc(static_cast<long double>(TheYPercentTo - TheYPercentFrom) * GraphHeight / 100));
    if (RoundOnMultipleOfYPixels != 0)
        YHeight = YHeight / RoundOnMultipleOfYPixels * RoundOnMultipleOfYPixels;
    YHeight = -YHeight;
    YOrigin = GraphHeight - static_cast<int>(Trunc(static_cast<long double>(TheYPercentFrom) * GraphHeight / 100));
}

void TGraph::SetGraphScaleValues(double TheXScaleStartValue, double TheYScaleStartValue, double TheXScaleEndValue,
                                 double TheYScaleEndValue, int TheXNumberOfDivisions, int TheYNumberOfDivisions)
{
    XNumberOfDivisions = TheXNumberOfDivisions;
    YNumberOfDivisions = TheYNumberOfDivisions;
    XScaleStartValue = TheXScaleStartValue;
    YScaleStartValue = TheYScaleStartValue;
    XScaleEndValue = TheXScaleEndValue;
    YScaleEndValue = TheYScaleEndValue;
    XIncrement = XNumberOfDivisions != 0 ? static_cast<int>(Trunc(static_cast<long double>(XWidth) / XNumberOfDivisions)) : 0;
    YIncrement = YNumberOfDivisions != 0 ? static_cast<int>(Trunc(static_cast<long double>(YHeight) / YNumberOfDivisions)) : 0;
}

void TGraph::SetXRangeToRoundOnMultipleOfValue(double V)
{
    // Without divisions or a rounding step there is nothing to round on.
    if (XNumberOfDivisions == 0 || V == 0)
        return;
    long double k = Trunc((static_cast<long double>(XScaleEndValue) - XScaleStartValue) / XNumberOfDivisions * 0.999L / V) + 1;
    XScaleEndValue = static_cast<double>(V * k * XNumberOfDivisions + XScaleStartValue);
}

void TGraph::SetYRangeToRoundOnMultipleOfValue(double V)
{
    if (YNumberOfDivisions == 0 || V == 0)
        return;
    long double k = Trunc((static_cast<long double>(YScaleEndValue) - YScaleStartValue) / YNumberOfDivisions * 0.999L / V) + 1;
    YScaleEndValue = static_cast<double>(V * k * YNumberOfDivisions + YScaleStartValue);
}

void TGraph::SetXRangeToRoundOnAutoChosenValue()
{
    if (XNumberOfDivisions <= 0)
        return;
    long double a = static_cast<long double>(XScaleEndValue) / XNumberOfDivisions;
    long double division = 0;
    int decimals = 1;
    if (a == 0 || !(a > 0 && autoDivision(a, division, decimals))) {
        if (a < 0)
            return; // the rounding is for positive scales only
        XScaleEndValue = 0;
        XDecPlaces = 1;
        return;
    }
    XScaleEndValue = static_cast<double>(XNumberOfDivisions * division);
    XDecPlaces = decimals;
}

void TGraph::SetYRangeToRoundOnAutoChosenValue()
{
    if (YNumberOfDivisions <= 0)
        return;
    long double a = static_cast<long double>(YScaleEndValue) / YNumberOfDivisions;
    long double division = 0;
    int decimals = 1;
    if (a == 0 || !(a > 0 && autoDivision(a, division, decimals))) {
        if (a < 0)
            return;
        YScaleEndValue = 0;
        YDecPlaces = 1;
        return;
    }
    YScaleEndValue = static_cast<double>(YNumberOfDivisions * division);
    YDecPlaces = decimals;
}

void TGraph::SetAxisOffsets(int TheYAxisHorzOffset, int TheXAxisVertOffset, bool BoolShowXAxis, bool BoolShowYAxis,
                            bool BoolShowXGridlines, bool BoolShowYGridlines)
{
    YAxisHorzOffset = TheYAxisHorzOffset;
    XAxisVertOffset = TheXAxisVertOffset;
    XAxisShown = BoolShowXAxis;
    YAxisShown = BoolShowYAxis;
    XGridlinesShown = BoolShowXGridlines;
    YGridlinesShown = BoolShowYGridlines;
}

void TGraph::SetAxisHeadings(const std::string &TheXHeading, const std::string &TheYHeading,
                             const std::string &TheTitle)
{
    XHeading = shortString255(TheXHeading);
    YHeading = shortString255(TheYHeading);
    Title = shortString255(TheTitle);
}

void TGraph::SetXTickLengths(int TheXMinorTickLength, int TheXMajorTickLength, int TheXValueTickLength)
{
    XMinorTickLength = TheXMinorTickLength;
    XMajorTickLength = TheXMajorTickLength;
    XValueTickLength = TheXValueTickLength;
}

void TGraph::SetYTickLengths(int TheYMinorTickLength, int TheYMajorTickLength, int TheYValueTickLength)
{
    YMinorTickLength = TheYMinorTickLength;
    YMajorTickLength = TheYMajorTickLength;
    YValueTickLength = TheYValueTickLength;
}

void TGraph::SetPlotData(TColor ThePlotColor, TGraphPlotType ThePlotType, TGraphPlotOrigin ThePlotOrigin)
{
    PlotColor = ThePlotColor;
    PlotLinePen.Color = ThePlotColor;
    PlotType = ThePlotType;
    PlotOrigin = ThePlotOrigin;
}

void TGraph::SetXColorData(TColor TheXHeadingColor, TColor TheXValueColor, TColor TheXAxisColor,
                           TColor TheXMinorTickColor, TColor TheXMajorTickColor, TColor TheXValueTickColor,
                           TColor TheXGridLinesColor)
{
    XHeadingColor = XHeadingFont.Color = TheXHeadingColor;
    XValueColor = XValueFont.Color = TheXValueColor;
    XAxisColor = XAxisPen.Color = TheXAxisColor;
    XMinorTickColor = XMinorTickPen.Color = TheXMinorTickColor;
    XMajorTickColor = XMajorTickPen.Color = TheXMajorTickColor;
    XValueTickColor = XValueTickPen.Color = TheXValueTickColor;
    XGridLinesColor = XGridlinesPen.Color = TheXGridLinesColor;
}

void TGraph::SetYColorData(TColor TheYHeadingColor, TColor TheYValueColor, TColor TheYAxisColor,
                           TColor TheYMinorTickColor, TColor TheYMajorTickColor, TColor TheYValueTickColor,
                           TColor TheYGridLinesColor)
{
    YHeadingColor = YHeadingFont.Color = TheYHeadingColor;
    YValueColor = YValueFont.Color = TheYValueColor;
    YAxisColor = YAxisPen.Color = TheYAxisColor;
    YMinorTickColor = YMinorTickPen.Color = TheYMinorTickColor;
    YMajorTickColor = YMajorTickPen.Color = TheYMajorTickColor;
    YValueTickColor = YValueTickPen.Color = TheYValueTickColor;
    YGridLinesColor = YGridlinesPen.Color = TheYGridLinesColor;
}

void TGraph::SelectColorArray(int Index)
{
    if (Index < 0 || Index > 5)
        return;
    const TColor *c = kColorSets[Index];
    XHeadingFont.Color = c[0];
    XValueFont.Color = c[1];
    XAxisPen.Color = c[2];
    XMinorTickPen.Color = c[3];
    XMajorTickPen.Color = c[4];
    XValueTickPen.Color = c[5];
    XGridlinesPen.Color = c[6];
    YHeadingFont.Color = c[7];
    YValueFont.Color = c[8];
    YAxisPen.Color = c[9];
    YMinorTickPen.Color = c[10];
    YMajorTickPen.Color = c[11];
    YValueTickPen.Color = c[12];
    YGridlinesPen.Color = c[13];
    PlotLinePen.Color = c[14];
    TitleFont.Color = c[15];
}

void TGraph::SetAxisFontSize(int TheFontSize)
{
    for (TFont *f : {&XValueFont, &YValueFont, &XHeadingFont, &YHeadingFont, &TitleFont})
        f->Size = TheFontSize;
}

void TGraph::SetCanvasFontData(TColor TheFontColor, int TheFontSize, TFontStyles TheFontStyle,
                               const std::string &TheFontName, TBrushStyle TheBrushStyle)
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Font.Color = TheFontColor;
    GraphCanvas->Font.Size = TheFontSize;
    GraphCanvas->Font.Style = TheFontStyle;
    GraphCanvas->Font.Name = TheFontName;
    GraphCanvas->Brush.Style = TheBrushStyle;
}

void TGraph::SetCanvasPenData(TColor ThePenColor, int ThePenWidth, TPenStyle ThePenStyle)
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Pen.Color = ThePenColor;
    GraphCanvas->Pen.Width = ThePenWidth;
    GraphCanvas->Pen.Style = ThePenStyle;
}

void TGraph::SetCanvasPenWidth(int ThePenWidth)
{
    if (GraphCanvas)
        GraphCanvas->Pen.Width = ThePenWidth;
}

void TGraph::SetCanvasBrushData(TColor TheBrushColor, TBrushStyle TheBrushStyle)
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Brush.Color = TheBrushColor;
    GraphCanvas->Brush.Style = TheBrushStyle;
}

void TGraph::SetAxisHeadingOffsetsAutomatic()
{
    if (!GraphCanvas)
        return;
    XHeadingVertOffset = 2 * GraphCanvas->TextHeight("00");
    YHeadingHorzOffset = -GraphCanvas->TextWidth("000000000");
    TitleVertOffset = -GraphCanvas->TextHeight("00");
}

void TGraph::SetXAxisHeadingOffset(int TheVertOffset)
{
    if (TheVertOffset != 0 || !GraphCanvas) {
        XHeadingVertOffset = TheVertOffset;
        return;
    }
    int amount = XValueTickLength + static_cast<int>(Trunc(1.5L * GraphCanvas->TextHeight("Wavy")));
    XHeadingVertOffset = XValueTickLength <= 0 ? -amount : amount;
}

void TGraph::SetYAxisHeadingOffset(int TheHorzOffset)
{
    if (TheHorzOffset != 0 || !GraphCanvas) {
        YHeadingHorzOffset = TheHorzOffset;
        return;
    }
    int w = GraphCanvas->TextWidth(formatFixed(YDecPlaces, YScaleEndValue));
    int h = GraphCanvas->TextHeight("Wavy");
    YHeadingHorzOffset = YMajorTickLength < 1 ? YMajorTickLength - w - h : YMajorTickLength + w + h;
}

void TGraph::SetTitleVertOffset(int TheVertOffset)
{
    if (TheVertOffset != 0 || !GraphCanvas) {
        TitleVertOffset = TheVertOffset;
        return;
    }
    TitleVertOffset = -GraphCanvas->TextHeight("Wavy");
}

void TGraph::SetPrintRatio(double r)
{
    for (int *v : {&XAxisVertOffset, &XOrigin, &XWidth, &XIncrement, &YAxisHorzOffset, &YOrigin, &YHeight,
                   &YIncrement, &XMinorTickLength, &XMajorTickLength, &XValueTickLength, &YMinorTickLength,
                   &YMajorTickLength, &YValueTickLength, &XHeadingVertOffset, &YHeadingHorzOffset,
                   &TitleVertOffset})
        *v = scaleHalfAway(*v, r);
    if (GraphCanvas)
        GraphCanvas->Font.Size = scaleHalfAway(GraphCanvas->Font.Size, r);
}

int TGraph::GetGraphQuadrant() const
{
    if (XWidth > 0 && YHeight > 0)
        return 4;
    if (XWidth < 0 && YHeight > 0)
        return 3;
    if (XWidth < 0 && YHeight < 0)
        return 2;
    return 1;
}

// ---- drawing the frame ------------------------------------------------------

TRect TGraph::plotRect() const
{
    return TRect{std::min(XOrigin, XOrigin + XWidth), std::min(YOrigin, YOrigin + YHeight),
                 std::max(XOrigin, XOrigin + XWidth), std::max(YOrigin, YOrigin + YHeight)};
}

void TGraph::drawLine(int x1, int y1, int x2, int y2)
{
    GraphCanvas->MoveTo(x1, y1);
    GraphCanvas->LineTo(x2, y2);
}

void TGraph::setCanvasDefaults()
{
    TFont &f = GraphCanvas->Font;
    f.Color = clBlack;
    f.Size = 8;
    f.Style = TFontStyles();
    f.Name = "Arial";
    f.Escapement = 0;
    GraphCanvas->Brush.Style = TBrushStyle::bsClear;
    GraphCanvas->Pen.Color = clBlack;
    GraphCanvas->Pen.Width = 1;
    GraphCanvas->Pen.Style = TPenStyle::psSolid;
}

void TGraph::ClearImage(TColor Color)
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Brush.Style = TBrushStyle::bsSolid;
    GraphCanvas->Brush.Color = Color;
    GraphCanvas->Pen.Style = TPenStyle::psSolid;
    GraphCanvas->Pen.Color = Color;
    GraphCanvas->Rectangle(0, 0, GraphWidth, GraphHeight);
}

void TGraph::DrawGridBackground(TColor Color)
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Brush.Style = TBrushStyle::bsSolid;
    GraphCanvas->Brush.Color = Color;
    GraphCanvas->Pen.Style = TPenStyle::psSolid;
    GraphCanvas->Pen.Color = Color;
    GraphCanvas->Rectangle(plotRect());
}

void TGraph::DrawGraph(bool TheGridBackground, TGraphGridLines TheGridLines, bool TheXAxis, bool TheYAxis,
                       bool TheXAxisValues, bool TheYAxisValues, bool TheXAxisHeading, bool TheYAxisHeading,
                       bool TheTitle)
{
    if (!GraphCanvas)
        return;
    setCanvasDefaults();
    if (TheGridBackground)
        DrawGridBackground(clWhite);
    if (TheGridLines == GraphGridStandard || TheGridLines == GraphGridFine)
        DrawGridLines(TheGridLines);
    if (TheXAxis)
        DrawXAxis();
    if (TheYAxis)
        DrawYAxis();
    if (TheXAxisValues)
        DrawXAxisValues(999);
    if (TheYAxisValues)
        DrawYAxisValues(999);
    if (TheXAxisHeading)
        DrawXAxisHeading();
    if (TheYAxisHeading)
        DrawYAxisHeading();
    if (TheTitle)
        DrawTitle();
}

void TGraph::DrawGridLines(TGraphGridLines TheGraphGridLines)
{
    if (!GraphCanvas)
        return;
    bool fine = TheGraphGridLines == GraphGridFine;
    GraphCanvas->Brush.Style = TBrushStyle::bsSolid;
    GraphCanvas->Pen = XGridlinesPen;
    if (XGridlinesShown && XIncrement != 0) {
        for (int x = XOrigin; between(x, XOrigin, XOrigin + XWidth); x += XIncrement) {
            int half = x + static_cast<int>(Round(XIncrement / 2.0L));
            if (fine && between(half, XOrigin, XOrigin + XWidth))
                drawLine(half, YOrigin, half, YOrigin + YHeight);
            drawLine(x, YOrigin, x, YOrigin + YHeight);
        }
    }
    GraphCanvas->Pen = YGridlinesPen;
    if (YGridlinesShown && YIncrement != 0) {
        for (int y = YOrigin; between(y, YOrigin, YOrigin + YHeight); y += YIncrement) {
            int half = y + static_cast<int>(Round(YIncrement / 2.0L));
            if (fine && between(half, YOrigin, YOrigin + YHeight))
                drawLine(XOrigin, half, XOrigin + XWidth, half);
            drawLine(XOrigin, y, XOrigin + XWidth, y);
        }
    }
}

void TGraph::DrawXAxis()
{
    if (!GraphCanvas)
        return;
    int y0 = YOrigin + XAxisVertOffset;
    GraphCanvas->Brush.Style = TBrushStyle::bsSolid;
    GraphCanvas->Pen = XAxisPen;
    drawLine(XOrigin, y0, XOrigin + XWidth, y0);
    // The ticks walk the axis in division steps; before a scale is set there are none.
    if (XIncrement == 0)
        return;
    if (XMinorTicksPerIncrement > 0) {
        GraphCanvas->Pen = XMinorTickPen;
        for (int e = XOrigin; between(e, XOrigin, XOrigin + XWidth); e += XIncrement) {
            drawLine(e, y0, e, y0 + XMinorTickLength);
            for (int s = 1; static_cast<long double>(s) * XIncrement / XMinorTicksPerIncrement <= XIncrement; ++s) {
                int p = e + static_cast<int>(Round(static_cast<long double>(s) * XIncrement / XMinorTicksPerIncrement));
                if (!between(p, XOrigin, XOrigin + XWidth))
                    break;
                drawLine(p, y0, p, y0 + XMinorTickLength);
            }
        }
    }
    // Major ticks stand every XMajorTicksPerIncrement divisions, as on the y axis.
    int step = XIncrement * XMajorTicksPerIncrement;
    if (XMajorTicksPerIncrement > 0 && step != 0) {
        GraphCanvas->Pen = XMajorTickPen;
        for (int p = XOrigin + step; between(p, XOrigin, XOrigin + XWidth); p += step)
            drawLine(p, y0, p, y0 + XMajorTickLength);
    }
}

void TGraph::DrawYAxis()
{
    if (!GraphCanvas)
        return;
    int x0 = XOrigin + YAxisHorzOffset;
    GraphCanvas->Brush.Style = TBrushStyle::bsSolid;
    GraphCanvas->Pen = YAxisPen;
    drawLine(x0, YOrigin, x0, YOrigin + YHeight);
    if (YIncrement == 0)
        return;
    if (YMinorTicksPerIncrement > 0) {
        GraphCanvas->Pen = YMinorTickPen;
        for (int e = YOrigin; between(e, YOrigin, YOrigin + YHeight); e += YIncrement) {
            drawLine(x0, e, x0 + YMinorTickLength, e);
            // Steps are compared by size: the y increment is negative when y grows upwards.
            for (int s = 1; std::fabs(static_cast<double>(s) * YIncrement / YMinorTicksPerIncrement) <=
                            std::abs(YIncrement);
                 ++s) {
                int p = e + static_cast<int>(Round(static_cast<long double>(s) * YIncrement / YMinorTicksPerIncrement));
                if (!between(p, YOrigin, YOrigin + YHeight))
                    break;
                drawLine(x0, p, x0 + YMinorTickLength, p);
            }
        }
    }
    int step = static_cast<int>(Trunc(static_cast<long double>(YIncrement) * YMajorTicksPerIncrement));
    if (YMajorTicksPerIncrement > 0 && step != 0) {
        GraphCanvas->Pen = YMajorTickPen;
        for (int p = YOrigin + step; between(p, YOrigin, YOrigin + YHeight); p += step)
            drawLine(x0, p, x0 + YMajorTickLength, p);
    }
}

void TGraph::DrawXAxisValues(int MaxDisplayCount)
{
    if (!GraphCanvas || XIncrement == 0 || XWidth == 0)
        return;
    int spacing = XValueIncrementSpacing > 0 ? XValueIncrementSpacing : 1;
    int y0 = YOrigin + XAxisVertOffset;
    GraphCanvas->Brush.Style = TBrushStyle::bsClear;
    GraphCanvas->Font = XValueFont;
    int offset = XValueTickLength;
    if (XMajorTickLength < 0)
        offset -= GraphCanvas->TextHeight("Wavy");
    int count = std::min(MaxDisplayCount - 1, XNumberOfDivisions / spacing) + 1;
    double divisions = static_cast<double>(XWidth) / XIncrement;
    for (int n = 0, j = 0; n < count; ++n, j += spacing) {
        if (std::abs(static_cast<long long>(j) * XIncrement) > std::abs(XWidth))
            break;
        double value = XScaleStartValue + j * (XScaleEndValue - XScaleStartValue) / divisions;
        std::string text = formatFixed(XDecPlaces, value);
        int x = XOrigin + j * XIncrement;
        GraphCanvas->Font = XValueFont;
        GraphCanvas->TextOut(x - GraphCanvas->TextWidth(text) / 2, y0 + offset, text);
        GraphCanvas->Pen = XValueTickPen;
        drawLine(x, y0, x, y0 + XValueTickLength);
    }
}

void TGraph::DrawYAxisValues(int MaxDisplayCount)
{
    if (!GraphCanvas || YIncrement == 0 || YHeight == 0)
        return;
    int spacing = YValueIncrementSpacing > 0 ? YValueIncrementSpacing : 1;
    int x0 = XOrigin + YAxisHorzOffset;
    GraphCanvas->Brush.Style = TBrushStyle::bsClear;
    GraphCanvas->Font = YValueFont;
    int count = std::min(MaxDisplayCount - 1, YNumberOfDivisions / spacing) + 1;
    double divisions = static_cast<double>(YHeight) / YIncrement;
    for (int n = 0, j = 0; n < count; ++n, j += spacing) {
        if (std::abs(static_cast<long long>(j) * YIncrement) > std::abs(YHeight))
            break;
        double value = YScaleStartValue + j * (YScaleEndValue - YScaleStartValue) / divisions;
        std::string text = formatFixed(YDecPlaces, value);
        int y = YOrigin + j * YIncrement;
        GraphCanvas->Font = YValueFont;
        TSize size = GraphCanvas->TextExtent(text);
        int x = YValueTickLength < 0 ? x0 + YValueTickLength - size.cx - 4 : x0 + YValueTickLength + 4;
        GraphCanvas->TextOut(x, y - size.cy / 2, text);
        GraphCanvas->Pen = YValueTickPen;
        drawLine(x0, y, x0 + YValueTickLength, y);
    }
}

void TGraph::DrawXAxisHeading()
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Brush.Style = TBrushStyle::bsClear;
    GraphCanvas->Font = XHeadingFont;
    int w = GraphCanvas->TextWidth(XHeading);
    GraphCanvas->TextOut(XOrigin + XWidth / 2 - w / 2, YOrigin + XAxisVertOffset + XHeadingVertOffset, XHeading);
}

void TGraph::DrawYAxisHeading()
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Brush.Style = TBrushStyle::bsClear;
    TFont saved = GraphCanvas->Font;
    GraphCanvas->Font = YHeadingFont;
    TSize size = GraphCanvas->TextExtent(YHeading);
    GraphCanvas->Font.Escapement = 900;
    GraphCanvas->TextOut(XOrigin + YAxisHorzOffset + YHeadingHorzOffset - size.cy / 2,
                         YOrigin + YHeight / 2 + size.cx / 2, YHeading);
    GraphCanvas->Font = saved;
}

void TGraph::DrawTitle()
{
    if (!GraphCanvas)
        return;
    GraphCanvas->Brush.Style = TBrushStyle::bsClear;
    GraphCanvas->Font = TitleFont;
    int w = GraphCanvas->TextWidth(Title);
    GraphCanvas->TextOut(XOrigin + XWidth / 2 - w / 2, YOrigin + YHeight + TitleVertOffset, Title);
}

// ---- plotting ------------------------------------------------------------------

bool TGraph::insideScales(double x, double y) const
{
    return between(x, XScaleStartValue, XScaleEndValue) && between(y, YScaleStartValue, YScaleEndValue);
}

bool TGraph::GetXYpoint(double TheXValue, double TheYValue, int &x, int &y, bool IgnoreRangeCheck) const
{
    x = 0;
    y = 0;
    if (!IgnoreRangeCheck && !insideScales(TheXValue, TheYValue))
        return false;
    double yRange = YScaleEndValue - YScaleStartValue;
    if (yRange == 0)
        return false;
    double xRange = XScaleEndValue - XScaleStartValue;
    if (xRange != 0)
        x = XOrigin + static_cast<int>(Round((TheXValue - XScaleStartValue) / xRange * XWidth));
    y = YOrigin + static_cast<int>(Round((TheYValue - YScaleStartValue) / yRange * YHeight));
    return true;
}

bool TGraph::GetXYvalue(int x, int y, double &TheXValue, double &TheYValue) const
{
    TheXValue = 0;
    TheYValue = 0;
    if (XWidth != 0)
        TheXValue = XScaleStartValue + static_cast<double>(x - XOrigin) / XWidth * (XScaleEndValue - XScaleStartValue);
    if (YHeight != 0)
        TheYValue = static_cast<double>(YOrigin - y) / std::abs(YHeight) * (YScaleEndValue - YScaleStartValue) +
                    YScaleStartValue;
    if (!(TheXValue >= XScaleStartValue && TheXValue <= XScaleEndValue))
        TheXValue = 0;
    if (!(TheYValue >= YScaleStartValue && TheYValue <= YScaleEndValue))
        TheYValue = 0;
    return true;
}

void TGraph::TextOut(int x, int y, const std::string &s)
{
    if (GraphCanvas)
        GraphCanvas->TextOut(x, y, s);
}

void TGraph::TextOnGrid(double TheXValue, double TheYValue, const std::string &TheText, TGraphTextPos TextPos,
                        int TheRadius)
{
    int px = 0, py = 0;
    if (!GraphCanvas || !GetXYpoint(TheXValue, TheYValue, px, py, false))
        return;
    TSize size = GraphCanvas->TextExtent(TheText);
    int w = size.cx, h = size.cy;
    switch (TextPos) {
    case GraphTextPosRight:
        GraphCanvas->TextOut(px + TheRadius, py - h / 2, TheText);
        break;
    case GraphTextPosAbove:
        GraphCanvas->TextOut(px - w / 2, py - h - TheRadius, TheText);
        break;
    case GraphTextPosLeft:
        GraphCanvas->TextOut(px - w - TheRadius, py - h / 2, TheText);
        break;
    case GraphTextPosBelow:
        GraphCanvas->TextOut(px - w / 2, py + TheRadius, TheText);
        break;
    case GraphTextNone:
        GraphCanvas->TextOut(px, py, TheText);
        break;
    }
}

void TGraph::PlotPoint(double TheXValue, double TheYValue, int TheRadius, const std::string &TheText,
                       TGraphTextPos TheTextPos)
{
    int px = 0, py = 0;
    if (!GraphCanvas || !GetXYpoint(TheXValue, TheYValue, px, py, false))
        return;
    TColor color = PlotLinePen.Color;
    int radius = TheRadius;
    if (radius >= -20 && radius <= -1) {
        int a = -radius;
        GraphCanvas->Pen.Color = color;
        GraphCanvas->Pen.Width = 1;
        GraphCanvas->Pen.Style = TPenStyle::psSolid;
        drawLine(px - a, py, px + a + 1, py);
        drawLine(px, py - a, px, py + a + 1);
    } else if (radius == 0) {
        GraphCanvas->SetPixel(px, py, color);
    } else if (radius >= 1 && radius <= 20) {
        if (radius == 1)
            radius = 2;
        if (radius % 2 == 0)
            ++radius;
        GraphCanvas->Pen.Color = color;
        GraphCanvas->Pen.Style = TPenStyle::psSolid;
        GraphCanvas->Brush.Color = color;
        GraphCanvas->Brush.Style = TBrushStyle::bsSolid;
        GraphCanvas->Ellipse(px - radius, py - radius, px + radius, py + radius);
    }
    GraphCanvas->Brush.Style = TBrushStyle::bsClear;
    if (!TheText.empty() && TheTextPos != GraphTextNone)
        TextOnGrid(TheXValue, TheYValue, TheText, TheTextPos, radius);
}

void TGraph::PlotLineElement(double TheXValue, double TheYValue, int ThePenWidth)
{
    int px = 0, py = 0;
    if (!GraphCanvas || !GetXYpoint(TheXValue, TheYValue, px, py, false))
        return;
    if (PlotOrigin == GraphPlotOriginNone) {
        static constexpr int offsets[5][2] = {{-1, -1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        int q = GetGraphQuadrant();
        GraphCanvas->MoveTo(XOrigin + offsets[q][0], YOrigin + offsets[q][1]);
    } else if (PlotOrigin == GraphPlotOriginGraphOrigin) {
        GraphCanvas->MoveTo(XOrigin, YOrigin);
    }
    PlotOrigin = GraphPlotOriginCurrentPenPos;
    TPoint pen = GraphCanvas->PenPos();
    if (!between(pen.X, XOrigin, XOrigin + XWidth) || !between(pen.Y, YOrigin, YOrigin + YHeight))
        GraphCanvas->MoveTo(px, py);
    if (ThePenWidth != 1)
        PlotLinePen.Width = ThePenWidth;
    GraphCanvas->Pen.Color = PlotLinePen.Color;
    GraphCanvas->Pen.Width = PlotLinePen.Width;
    GraphCanvas->Pen.Style = PlotLinePen.Style;
    switch (PlotType) {
    case GraphPlotLine:
        GraphCanvas->LineTo(px, py);
        break;
    case GraphPlotDotted:
        GraphCanvas->Pen.Style = TPenStyle::psDot;
        GraphCanvas->LineTo(px, py);
        break;
    case GraphPlotPoint:
        PlotPoint(TheXValue, TheYValue, ThePenWidth, "", GraphTextNone);
        break;
    }
}

void TGraph::MoveToXYpoint(double TheXValue, double TheYValue)
{
    int px = 0, py = 0;
    if (GraphCanvas && GetXYpoint(TheXValue, TheYValue, px, py, false))
        GraphCanvas->MoveTo(px, py);
}

void TGraph::LineToXYpoint(double TheXValue, double TheYValue)
{
    int px = 0, py = 0;
    if (GraphCanvas && GetXYpoint(TheXValue, TheYValue, px, py, false))
        GraphCanvas->LineTo(px, py);
}

void TGraph::LineWideToXYpoint(double TheXValue, double TheYValue, TColor LineColor, int LineWidth,
                               TColor BackLineColor, int BackLineWidth)
{
    int px = 0, py = 0;
    if (!GraphCanvas || !GetXYpoint(TheXValue, TheYValue, px, py, false))
        return;
    TPoint start = GraphCanvas->PenPos();
    if (BackLineWidth > 1) {
        GraphCanvas->Pen.Color = BackLineColor;
        GraphCanvas->Pen.Width = BackLineWidth;
        GraphCanvas->Pen.Style = TPenStyle::psInsideFrame;
        GraphCanvas->LineTo(px, py);
        GraphCanvas->MoveTo(start.X, start.Y);
    }
    GraphCanvas->Pen.Color = LineColor;
    GraphCanvas->Pen.Width = LineWidth;
    GraphCanvas->LineTo(px, py);
}

void TGraph::blendPixel(int x, int y, double coverage, TColor color)
{
    TColor under = GraphCanvas->GetPixel(x, y);
    auto mix = [coverage](int below, int line) {
        return static_cast<int>(Round((1 - coverage) * below + coverage * line));
    };
    GraphCanvas->SetPixel(x, y,
                          RGB(mix(GetRValue(under), GetRValue(color)), mix(GetGValue(under), GetGValue(color)),
                              mix(GetBValue(under), GetBValue(color))));
}

void TGraph::LineToXYPointAntialias(double TheXValue, double TheYValue, TColor LineColor)
{
    int px = 0, py = 0;
    if (!GraphCanvas || !GetXYpoint(TheXValue, TheYValue, px, py, false))
        return;
    TPoint start = GraphCanvas->PenPos();
    double x0 = start.X, y0 = start.Y, x1 = px, y1 = py;
    bool steep = std::fabs(x1 - x0) < std::fabs(y1 - y0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    double dx = x1 - x0, dy = y1 - y0;
    auto plot = [&](int x, int y, double c) {
        if (steep)
            blendPixel(y, x, c, LineColor);
        else
            blendPixel(x, y, c, LineColor);
    };
    auto frac = [](double v) { return v - std::floor(v); };
    if (dx != 0) {
        double g = dy / dx;
        // First end point.
        double xe = static_cast<double>(Round(x0));
        double ye = y0 + g * (xe - x0);
        double gap = 1 - frac(x0 + 0.5);
        int xStart = static_cast<int>(xe);
        plot(xStart, static_cast<int>(std::floor(ye)), (1 - frac(ye)) * gap);
        plot(xStart, static_cast<int>(std::floor(ye)) + 1, frac(ye) * gap);
        double intery = ye + g;
        // Second end point.
        xe = static_cast<double>(Round(x1));
        ye = y1 + g * (xe - x1);
        gap = frac(x1 + 0.5);
        int xEnd = static_cast<int>(xe);
        plot(xEnd, static_cast<int>(std::floor(ye)), (1 - frac(ye)) * gap);
        plot(xEnd, static_cast<int>(std::floor(ye)) + 1, frac(ye) * gap);
        for (int x = xStart + 1; x < xEnd; ++x) {
            plot(x, static_cast<int>(std::floor(intery)), 1 - frac(intery));
            plot(x, static_cast<int>(std::floor(intery)) + 1, frac(intery));
            intery += g;
        }
    }
    GraphCanvas->MoveTo(px, py);
}

void TGraph::drawClippedPolyline(const std::vector<TPoint> &points)
{
    TRect clip = plotRect();
    clip.Right += 1;
    clip.Bottom += 1;
    GraphCanvas->SaveState();
    GraphCanvas->IntersectClipRect(clip);
    GraphCanvas->Polyline(points);
    GraphCanvas->RestoreState();
}

void TGraph::Polyline(const std::vector<TGraphPoint> &ThePoints, int LastIndex)
{
    if (!GraphCanvas)
        return;
    int last = std::min(LastIndex, static_cast<int>(ThePoints.size()) - 1);
    std::vector<TPoint> pixels;
    for (int i = 0; i <= last; ++i) {
        TPoint p;
        GetXYpoint(ThePoints[static_cast<std::size_t>(i)].X, ThePoints[static_cast<std::size_t>(i)].Y, p.X, p.Y, true);
        pixels.push_back(p);
    }
    if (!pixels.empty())
        drawClippedPolyline(pixels);
}

void TGraph::PolylineWithBackLine(const std::vector<TGraphPoint> &ThePoints, int LastIndex, TColor LineColor,
                                  int LineWidth, TColor BackLineColor, int BackLineWidth, TPenStyle PenStyle)
{
    if (!GraphCanvas)
        return;
    int last = std::min(LastIndex, static_cast<int>(ThePoints.size()) - 1);
    std::vector<TPoint> pixels;
    for (int i = 0; i <= last; ++i) {
        TPoint p;
        if (GetXYpoint(ThePoints[static_cast<std::size_t>(i)].X, ThePoints[static_cast<std::size_t>(i)].Y, p.X, p.Y,
                       false))
            pixels.push_back(p);
    }
    if (pixels.empty())
        return;
    GraphCanvas->Pen.Color = BackLineColor;
    GraphCanvas->Pen.Width = BackLineWidth;
    GraphCanvas->Pen.Style = PenStyle;
    drawClippedPolyline(pixels);
    GraphCanvas->Pen.Color = LineColor;
    GraphCanvas->Pen.Width = LineWidth;
    drawClippedPolyline(pixels);
}

// ---- settings record -------------------------------------------------------------

namespace {
void writeFont(TStream &s, const TFont &f)
{
    s.WriteInt32(f.Color);
    s.WriteInt32(f.Size);
    s.WriteByte(f.Style.ToByte());
    s.WriteShortString(f.Name, 32);
}

void readFont(TStream &s, TFont &f)
{
    f.Color = s.ReadInt32();
    f.Size = s.ReadInt32();
    std::uint8_t style = s.ReadByte();
    if (style > 0x0F)
        throw EStreamError("Stream read failed: font style out of range");
    f.Style = TFontStyles::FromByte(style);
    f.Name = s.ReadShortString(32);
}

void writePen(TStream &s, const TPen &p)
{
    s.WriteInt32(p.Color);
    s.WriteInt32(p.Width);
    s.WriteEnum(p.Style);
}

void readPen(TStream &s, TPen &p)
{
    p.Color = s.ReadInt32();
    p.Width = s.ReadInt32();
    p.Style = s.ReadEnum<TPenStyle>(static_cast<int>(TPenStyle::psInsideFrame));
}

template <typename Enum>
Enum readEnum32(TStream &s, int highest)
{
    std::int32_t v = s.ReadInt32();
    if (v < 0 || v > highest)
        throw EStreamError("Stream read failed: enumeration value " + std::to_string(v) + " out of range");
    return static_cast<Enum>(v);
}
} // namespace

bool TGraph::SaveData(TStream &s, std::string *Message) const
{
    try {
        s.WriteBool(XAxisShown);
        s.WriteBool(YAxisShown);
        s.WriteBool(XGridlinesShown);
        s.WriteBool(YGridlinesShown);
        s.WriteInt32(GraphQuadrant);
        s.WriteShortString(XHeading, 250);
        s.WriteShortString(YHeading, 250);
        s.WriteShortString(Title, 250);
        for (int v : {XAxisVertOffset, XOrigin, XWidth, XDecPlaces, XIncrement, XNumberOfDivisions,
                      XMinorTicksPerIncrement, XMajorTicksPerIncrement, XValueIncrementSpacing, XMinorTickLength,
                      XMajorTickLength, XValueTickLength, YAxisHorzOffset, YOrigin, YHeight, YDecPlaces, YIncrement,
                      YNumberOfDivisions, YMinorTicksPerIncrement, YMajorTicksPerIncrement, YValueIncrementSpacing,
                      YMinorTickLength, YMajorTickLength, YValueTickLength})
            s.WriteInt32(v);
        s.WriteDouble(XScaleStartValue);
        s.WriteDouble(XScaleEndValue);
        s.WriteDouble(YScaleStartValue);
        s.WriteDouble(YScaleEndValue);
        s.WriteInt32(XHeadingVertOffset);
        s.WriteInt32(YHeadingHorzOffset);
        s.WriteInt32(TitleVertOffset);
        for (const TFont *f : {&XValueFont, &YValueFont, &XHeadingFont, &YHeadingFont, &TitleFont})
            writeFont(s, *f);
        for (const TPen *p : {&XGridlinesPen, &YGridlinesPen, &XAxisPen, &XMinorTickPen, &XMajorTickPen,
                              &XValueTickPen, &YAxisPen, &YMinorTickPen, &YMajorTickPen, &YValueTickPen,
                              &PlotLinePen})
            writePen(s, *p);
        s.WriteInt32(static_cast<std::int32_t>(PlotType));
        s.WriteInt32(static_cast<std::int32_t>(PlotOrigin));
        return true;
    } catch (const std::exception &) {
        if (Message)
            *Message = "The file cannot be save.\r";
        return false;
    }
}

bool TGraph::LoadData(TStream &s, std::string *Message)
{
    ClearData();
    try {
        XAxisShown = s.ReadBool();
        YAxisShown = s.ReadBool();
        XGridlinesShown = s.ReadBool();
        YGridlinesShown = s.ReadBool();
        GraphQuadrant = s.ReadInt32();
        XHeading = s.ReadShortString(250);
        YHeading = s.ReadShortString(250);
        Title = s.ReadShortString(250);
        for (int *v : {&XAxisVertOffset, &XOrigin, &XWidth, &XDecPlaces, &XIncrement, &XNumberOfDivisions,
                       &XMinorTicksPerIncrement, &XMajorTicksPerIncrement, &XValueIncrementSpacing,
                       &XMinorTickLength, &XMajorTickLength, &XValueTickLength, &YAxisHorzOffset, &YOrigin, &YHeight,
                       &YDecPlaces, &YIncrement, &YNumberOfDivisions, &YMinorTicksPerIncrement,
                       &YMajorTicksPerIncrement, &YValueIncrementSpacing, &YMinorTickLength, &YMajorTickLength,
                       &YValueTickLength})
            *v = s.ReadInt32();
        XScaleStartValue = s.ReadDouble();
        XScaleEndValue = s.ReadDouble();
        YScaleStartValue = s.ReadDouble();
        YScaleEndValue = s.ReadDouble();
        XHeadingVertOffset = s.ReadInt32();
        YHeadingHorzOffset = s.ReadInt32();
        TitleVertOffset = s.ReadInt32();
        for (TFont *f : {&XValueFont, &YValueFont, &XHeadingFont, &YHeadingFont, &TitleFont})
            readFont(s, *f);
        for (TPen *p : {&XGridlinesPen, &YGridlinesPen, &XAxisPen, &XMinorTickPen, &XMajorTickPen, &XValueTickPen,
                        &YAxisPen, &YMinorTickPen, &YMajorTickPen, &YValueTickPen, &PlotLinePen})
            readPen(s, *p);
        PlotType = readEnum32<TGraphPlotType>(s, GraphPlotPoint);
        PlotOrigin = readEnum32<TGraphPlotOrigin>(s, GraphPlotOriginGraphOrigin);
    } catch (const std::exception &) {
        ClearData();
        if (Message)
            *Message = "The file does not have the correct format and cannot be loaded.\r";
        return false;
    }
    if (GraphCanvas)
        setCanvasDefaults();
    return true;
}

} // namespace tessaran
