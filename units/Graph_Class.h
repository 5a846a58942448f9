#pragma once
// TGraph: an x-y chart drawn onto a canvas that belongs to someone else (an
// image, a bitmap, a metafile page): a plot area with two linear scales,
// grid lines, axes with ticks, value labels, headings and a title, and
// plotting primitives that take data values. It keeps no data series.

#include "platform/Canvas.h"
#include "platform/Stream.h"

#include <string>
#include <vector>

namespace tessaran {

enum TGraphPlotType { GraphPlotLine, GraphPlotDotted, GraphPlotPoint };
enum TGraphTextPos { GraphTextPosRight, GraphTextPosAbove, GraphTextPosLeft, GraphTextPosBelow, GraphTextNone };
enum TGraphPlotOrigin { GraphPlotOriginNone, GraphPlotOriginCurrentPenPos, GraphPlotOriginGraphOrigin };
enum TGraphGridLines { GraphGridNone, GraphGridStandard, GraphGridFine };

// A data point in scale values.
struct TGraphPoint {
    double X = 0;
    double Y = 0;
};

class TGraph {
public:
    TGraph(TCanvas *ForUseOnCanvas, int FontPixelsPerInch, int TheGraphWidth, int TheGraphHeight);
    TGraph(const TGraph &) = delete;
    TGraph &operator=(const TGraph &) = delete;

    int GraphWidth = 0, GraphHeight = 0;
    bool XAxisShown = true, YAxisShown = true, XGridlinesShown = true, YGridlinesShown = true;
    int GraphQuadrant = 1;
    int XAxisVertOffset = 0;
    int XDecPlaces = 1;
    int XOrigin = 0;
    int XWidth = 0;
    int YOrigin = 0;
    int YHeight = 0;
    int XIncrement = 0;
    int XNumberOfDivisions = 0;
    int XMinorTicksPerIncrement = 2;
    int XMajorTicksPerIncrement = 1;
    int YAxisHorzOffset = 0;
    int YDecPlaces = 1, YIncrement = 0, YNumberOfDivisions = 0, YMinorTicksPerIncrement = 2,
        YMajorTicksPerIncrement = 1;
    int XMinorTickLength = 2, XMajorTickLength = 4, XValueTickLength = 6;
    int YMinorTickLength = -2, YMajorTickLength = -4, YValueTickLength = -6;
    double XScaleStartValue = 0, XScaleEndValue = 0, YScaleStartValue = 0, YScaleEndValue = 0;
    TCanvas *GraphCanvas = nullptr;
    int XValueIncrementSpacing = 1, YValueIncrementSpacing = 1;
    int XHeadingVertOffset = 30;
    int YHeadingHorzOffset = -45;
    int TitleVertOffset = -40;
    std::string XHeading, YHeading, Title;
    TColor XHeadingColor = clBlack, XValueColor = clBlack, XAxisColor = clBlack, XMinorTickColor = clBlack,
           XMajorTickColor = clBlack, XValueTickColor = clBlack, XGridLinesColor = clSilver;
    TColor YHeadingColor = clBlack, YValueColor = clBlack, YAxisColor = clBlack, YMinorTickColor = clBlack,
           YMajorTickColor = clBlack, YValueTickColor = clBlack, YGridLinesColor = clSilver;
    TColor PlotColor = clBlue, TitleColor = clBlue;
    TGraphPlotType PlotType = GraphPlotLine;
    TGraphPlotOrigin PlotOrigin = GraphPlotOriginNone;
    TFont XValueFont, YValueFont, XHeadingFont, YHeadingFont, TitleFont;
    TPen XGridlinesPen, YGridlinesPen, XAxisPen, XMinorTickPen, XMajorTickPen, XValueTickPen, YAxisPen,
        YMinorTickPen, YMajorTickPen, YValueTickPen, PlotLinePen;

    // Settings.
    void ClearData();
    void CopyData(const TGraph &TheGraph);
    void SetGraphPositionAndScale(int TheXOrigin, int TheYOrigin, int TheXWidth, int TheYHeight,
                                  double TheXScaleStartValue, double TheYScaleStartValue, double TheXScaleEndValue,
                                  double TheYScaleEndValue, int TheXNumberOfDivisions, int TheYNumberOfDivisions,
                                  double TheRoundOnMultipleOfXValue, double TheRoundOnMultipleOfYValue);
    void SetGraphPositionByPercentages(int TheXPercentFrom, int TheXPercentTo, int TheYPercentFrom,
                                       int TheYPercentTo, int RoundOnMultipleOfXPixels,
                                       int RoundOnMultipleOfYPixels);
    void SetGraphScaleValues(double TheXScaleStartValue, double TheYScaleStartValue, double TheXScaleEndValue,
                             double TheYScaleEndValue, int TheXNumberOfDivisions, int TheYNumberOfDivisions);
    void SetXRangeToRoundOnMultipleOfValue(double TheValue);
    void SetYRangeToRoundOnMultipleOfValue(double TheValue);
    void SetXRangeToRoundOnAutoChosenValue();
    void SetYRangeToRoundOnAutoChosenValue();
    void SetXDecimalPlaces(int TheXDecPlaces) { XDecPlaces = TheXDecPlaces; }
    void SetYDecimalPlaces(int TheYDecPlaces) { YDecPlaces = TheYDecPlaces; }
    void SetXYorigin(int TheXOrigin, int TheYOrigin)
    {
        XOrigin = TheXOrigin;
        YOrigin = TheYOrigin;
    }
    void SetPlotOrigin(TGraphPlotOrigin ThePlotOrigin) { PlotOrigin = ThePlotOrigin; }
    void SetAxisOffsets(int TheYAxisHorzOffset, int TheXAxisVertOffset, bool BoolShowXAxis, bool BoolShowYAxis,
                        bool BoolShowXGridlines, bool BoolShowYGridlines);
    void SetAxisHeadings(const std::string &TheXHeading, const std::string &TheYHeading, const std::string &TheTitle);
    void SetXTickLengths(int TheXMinorTickLength, int TheXMajorTickLength, int TheXValueTickLength);
    void SetYTickLengths(int TheYMinorTickLength, int TheYMajorTickLength, int TheYValueTickLength);
    void SetPlotData(TColor ThePlotColor, TGraphPlotType ThePlotType, TGraphPlotOrigin ThePlotOrigin);
    void SetXColorData(TColor TheXHeadingColor, TColor TheXValueColor, TColor TheXAxisColor, TColor TheXMinorTickColor,
                       TColor TheXMajorTickColor, TColor TheXValueTickColor, TColor TheXGridLinesColor);
    void SetYColorData(TColor TheYHeadingColor, TColor TheYValueColor, TColor TheYAxisColor, TColor TheYMinorTickColor,
                       TColor TheYMajorTickColor, TColor TheYValueTickColor, TColor TheYGridLinesColor);
    void SelectColorArray(int Index);
    void SetAxisFontSize(int TheFontSize);
    void SetCanvasFontData(TColor TheFontColor, int TheFontSize, TFontStyles TheFontStyle,
                           const std::string &TheFontName, TBrushStyle TheBrushStyle);
    void SetCanvasPenData(TColor ThePenColor, int ThePenWidth, TPenStyle ThePenStyle);
    void SetCanvasPenWidth(int ThePenWidth);
    void SetCanvasBrushData(TColor TheBrushColor, TBrushStyle TheBrushStyle);
    void SetAxisHeadingOffsetsAutomatic();
    void SetXAxisHeadingOffset(int TheVertOffset);
    void SetYAxisHeadingOffset(int TheHorzOffset);
    void SetTitleVertOffset(int TheVertOffset);
    void SetPrintRatio(double The_Ratio);
    int GetGraphQuadrant() const;

    // Drawing the frame.
    void ClearImage(TColor Color);
    void DrawGridBackground(TColor Color);
    void DrawGraph(bool TheGridBackground, TGraphGridLines TheGridLines, bool TheXAxis, bool TheYAxis,
                   bool TheXAxisValues, bool TheYAxisValues, bool TheXAxisHeading, bool TheYAxisHeading,
                   bool TheTitle);
    void DrawGridLines(TGraphGridLines TheGraphGridLines);
    void DrawXAxis();
    void DrawYAxis();
    void DrawXAxisValues(int MaxDisplayCount);
    void DrawYAxisValues(int MaxDisplayCount);
    void DrawXAxisHeading();
    void DrawYAxisHeading();
    void DrawTitle();

    // Plotting.
    bool GetXYpoint(double TheXValue, double TheYValue, int &x, int &y, bool IgnoreRangeCheck) const;
    bool GetXYvalue(int x, int y, double &TheXValue, double &TheYValue) const;
    void TextOut(int x, int y, const std::string &s);
    void TextOnGrid(double TheXValue, double TheYValue, const std::string &TheText, TGraphTextPos TextPos,
                    int TheRadius);
    void PlotPoint(double TheXValue, double TheYValue, int TheRadius, const std::string &TheText,
                   TGraphTextPos TheTextPos);
    void PlotLineElement(double TheXValue, double TheYValue, int ThePenWidth);
    void MoveToXYpoint(double TheXValue, double TheYValue);
    void LineToXYpoint(double TheXValue, double TheYValue);
    void LineWideToXYpoint(double TheXValue, double TheYValue, TColor LineColor, int LineWidth, TColor BackLineColor,
                           int BackLineWidth);
    void LineToXYPointAntialias(double TheXValue, double TheYValue, TColor LineColor);
    void Polyline(const std::vector<TGraphPoint> &ThePoints, int LastIndex);
    void PolylineWithBackLine(const std::vector<TGraphPoint> &ThePoints, int LastIndex, TColor LineColor,
                              int LineWidth, TColor BackLineColor, int BackLineWidth, TPenStyle PenStyle);

    // The settings record. A failure gives false and the message for the
    // user; a failed load leaves the cleared defaults.
    bool SaveData(TStream &TheFileStream, std::string *Message = nullptr) const;
    bool LoadData(TStream &TheFileStream, std::string *Message = nullptr);

private:
    bool insideScales(double x, double y) const;
    TRect plotRect() const;
    void setCanvasDefaults();
    void drawLine(int x1, int y1, int x2, int y2);
    void blendPixel(int x, int y, double coverage, TColor color);
    void drawClippedPolyline(const std::vector<TPoint> &points);
};

} // namespace tessaran
