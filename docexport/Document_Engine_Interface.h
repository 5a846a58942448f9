#pragma once
// The interface through which page-event handlers reach an engine: its
// settings objects and the lifecycle, drawing, band and state operations. The
// engine implements it; the handlers do not own the engine through it.

#include <string>
#include <vector>

#include "docexport/Document_Items.h"
#include "docexport/Engine_Settings.h"
#include "docexport/Graphics_Attributes.h"
#include "docexport/Page_Settings.h"
#include "platform/Metafile.h"
#include "platform/Stream.h"

namespace tessaran {

class IdeDocumentEngine {
public:
    virtual TColor BackgroundColor() const = 0;
    virtual TdePicture &BackgroundImage() = 0;
    virtual TdeBackgroundDisplayType BackgroundImageDisplayType() const = 0;
    virtual TdeBrush &Brush() = 0;
    virtual TdeFont &DefaultFont() = 0;
    virtual const std::string &FileDescription() const = 0;
    virtual TdeDocInfo &DocInfo() = 0;
    virtual const std::string &FileExtension() const = 0;
    virtual const std::string &FileName() const = 0;
    virtual TdeFont &Font() = 0;
    virtual TdeFrame &Frame() = 0;
    virtual TdeImageSettings &ImageSettings() = 0;
    virtual TdePageSettings &Page() = 0;
    virtual TdeBorder &PageBorder() = 0;
    virtual TdePen &Pen() = 0;
    virtual TdePreferences &Preferences() = 0;
    virtual TdeTableSettings &TableSettings() = 0;
    virtual TdeTextFormatting &TextFormatting() = 0;

    virtual void SetBackgroundColor(TColor value) = 0;
    virtual void SetBackgroundImage(const TdePicture &value) = 0;
    virtual void SetBackgroundImageDisplayType(TdeBackgroundDisplayType value) = 0;
    virtual void SetBrush(const TdeBrush &value) = 0;
    virtual void SetDefaultFont(const TdeFont &value) = 0;
    virtual void SetFileDescription(const std::string &value) = 0;
    virtual void SetDocInfo(const TdeDocInfo &value) = 0;
    virtual void SetFileExtension(const std::string &value) = 0;
    virtual void SetFileName(const std::string &value) = 0;
    virtual void SetFont(const TdeFont &value) = 0;
    virtual void SetFrame(const TdeFrame &value) = 0;
    virtual void SetImageSettings(const TdeImageSettings &value) = 0;
    virtual void SetPage(const TdePageSettings &value) = 0;
    virtual void SetPageBorder(TdeBorder *value) = 0;
    virtual void SetPen(const TdePen &value) = 0;
    virtual void SetPreferences(const TdePreferences &value) = 0;
    virtual void SetTableSettings(const TdeTableSettings &value) = 0;
    virtual void SetTextFormatting(const TdeTextFormatting &value) = 0;

    virtual void BeginDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void NewPage() = 0;
    virtual void DrawJPEGDirect(const TdeRect &ARect, int AImagePixelWidth, int AImagePixelHeight,
                                TStream &AStream) = 0;
    virtual void DrawJPEGDirect(const TdeRect &ImageRect, const TdePicture &AGraphic) = 0;
    virtual void DrawImage(double X, double Y, const TdePicture &AGraphic) = 0;
    virtual void DrawImage(const TdeRect &ImageRect, const TdePicture &AGraphic) = 0;
    virtual void DrawImage(const TdeRect &ImageRect, int Index) = 0;
    virtual void DrawImage(int ColumnNo, double Width, double Height, const TdePicture &AGraphic) = 0;
    virtual int AddImageAsResource(const TdePicture &AGraphic) = 0;
    virtual void Line(double X1, double Y1, double X2, double Y2) = 0;
    virtual void Rectangle(double X1, double Y1, double X2, double Y2, bool IsFill) = 0;
    virtual void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3, bool IsFill) = 0;
    virtual void Ellipse(double X1, double Y1, double X2, double Y2, bool IsFill) = 0;
    virtual void Polygon(const TdePoints &Points, bool IsFill) = 0;
    virtual void PolyLine(const TdePoints &Points) = 0;
    virtual void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) = 0;
    virtual void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4,
                     bool IsFill) = 0;
    virtual void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4,
                       bool IsFill) = 0;
    virtual void PolyBezier(const TdePoints &Points) = 0;
    virtual void PlayMetafile(TMetafile &Metafile) = 0;
    virtual void PlayMetafile(const TdeRect &DestRect, TMetafile &Metafile) = 0;
    virtual void PlayMetafile(double X, double Y, TMetafile &Metafile) = 0;
    virtual void BeginHeader() = 0;
    virtual void EndHeader() = 0;
    virtual void ClearHeader() = 0;
    virtual void BeginFooter() = 0;
    virtual void EndFooter() = 0;
    virtual void ClearFooter() = 0;
    virtual void BeginWaterMark() = 0;
    virtual void EndWaterMark() = 0;
    virtual void ClearWaterMark() = 0;
    virtual void BeginStamp() = 0;
    virtual void EndStamp() = 0;
    virtual void ClearStamp() = 0;
    virtual int SaveEngineState() = 0;
    virtual void RestoreEngineState(int index) = 0;
    virtual void ClearEngineStates() = 0;
    virtual void SetWorkingPage(int pageNo) = 0;

    virtual void HTMLTextOut(double X, double Y, const WideString &HTMLText) = 0;
    virtual void TextOutV(double X, double Y, const WideString &Text, bool TopDown) = 0;
    virtual void TextOut(double X, double Y, const WideString &Text) = 0;
    virtual void TextOut(int ColumnNo, const WideString &Text) = 0;
    virtual double TextOut(const WideString &Text) = 0;
    virtual void TextRect(const TdeRect &Rect, double X, double Y, const WideString &Text) = 0;
    virtual void TextBox(const TdeRect &Rect, const WideString &Text, TdeHAlignment HAlignment,
                         TdeVAlignment VAlignment) = 0;
    virtual void BeginPara() = 0;
    virtual void EndPara() = 0;
    virtual std::vector<TdeColumn> *BeginTable(double X, double Y, int NoColumns) = 0;
    virtual double NewRow(double Height) = 0;
    virtual double NewRow() = 0;
    virtual void EndTable() = 0;
    virtual TSize GetTextExtent(const WideString &Text, const TFont &Font) = 0;
    virtual TSize GetAnsiTextExtent(const std::string &Text, const TFont &Font) = 0;

protected:
    ~IdeDocumentEngine() = default;
};

} // namespace tessaran
