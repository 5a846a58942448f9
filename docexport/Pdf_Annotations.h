#pragma once
// Annotations of the extended PDF engine: the common part (rectangle,
// border, action, colours, texts, page) and the thirteen kinds.

#include "docexport/Doc_Types.h"
#include "docexport/Graphics_Attributes.h"
#include "docexport/Pdf_Actions.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tessaran {

enum class TdeAnnotBrushStyle : std::uint8_t { absSolid, absDashed, absBeveled, absInset, absUnderline };
enum class TdeTextAnnotIcon : std::uint8_t { taiComment, taiKey, taiNote, taiHelp, taiNewParagraph, taiParagraph, taiInsert };
enum class TdeAnnotAlignment : std::uint8_t { aalLeft, aalRight, aalCenter };
enum class TdeLinkHighlightMode : std::uint8_t { lhmNone, lhmInvert, lhmOutline, lhmPush };
enum class TdeLineEndingStyle : std::uint8_t {
    lesNone,
    lesButt,
    lesSquare,
    lesCircle,
    lesDiamond,
    lesOpenArrow,
    lesClosedArrow,
    lesROpenArrow,
    lesRClosedArrow
};
enum class TdeBorderEffectStyle : std::uint8_t { besNone, besCloudy };
enum class TdeTextMarkupType : std::uint8_t { tmtHighlight, tmtUnderline, tmtSquiggly, tmtStrikeOut };
enum class TdeCaretSymbol : std::uint8_t { csParagraph, csNone };
enum class TdeStampName : std::uint8_t {
    snApproved,
    snExperimental,
    snNotApproved,
    snAsIs,
    snExpired,
    snNotForPublicRelease,
    snConfidential,
    snFinal,
    snSold,
    snDepartmental,
    snForComment,
    snTopSecret,
    snDraft,
    snForPublicRelease
};
enum class TdeAttachmentIcon : std::uint8_t { aiGraph, aiPushPin, aiPaperclip, aiTag };

// The border of an annotation.
class TdeAnnotBrush {
public:
    int Width() const { return FWidth; }
    // Widths below 1 are ignored.
    void SetWidth(int value)
    {
        if (value >= 1)
            FWidth = value;
    }
    TdeAnnotBrushStyle Style = TdeAnnotBrushStyle::absSolid;

private:
    int FWidth = 1;
};

class TdePDFAnnot {
public:
    virtual ~TdePDFAnnot() = default;
    // In the measurement unit from the content band; page coordinates in
    // native units once the annotation is added.
    TdeRect Rect;
    std::unique_ptr<TdeAnnotBrush> Brush;
    std::unique_ptr<TdeAnnotAction> Action;
    TColor BackgroundColor = 0;
    TColor BorderColor = 0;
    WideString Contents;
    WideString Title;
    WideString Subject;
    // From 1; 0 until added.
    int PageNo = 0;
};

class TdePDFTextAnnot : public TdePDFAnnot {
public:
    TdeTextAnnotIcon Icon = TdeTextAnnotIcon::taiComment;
    bool Open = false;
};

class TdePDFFreeTextAnnot : public TdePDFAnnot {
public:
    TFont Font;
    TdeAnnotAlignment Alignment = TdeAnnotAlignment::aalLeft;
    TColor TextColor = 0;
};

class TdePDFLinkAnnot : public TdePDFAnnot {
public:
    TdeLinkHighlightMode HighlightMode = TdeLinkHighlightMode::lhmInvert;
    std::uint8_t BorderWidth = 0;
};

// The border entries the shape kinds share.
class TdePDFShapeAnnot : public TdePDFAnnot {
public:
    std::uint8_t BorderWidth = 1;
    TdeAnnotBrushStyle BorderStyle = TdeAnnotBrushStyle::absSolid;
    std::string DashPattern;
    TColor InteriorColor = 0;
};

class TdePDFLineAnnot : public TdePDFShapeAnnot {
public:
    // Measurement unit.
    double StartX = 0, StartY = 0, EndX = 0, EndY = 0;
    TdeLineEndingStyle BeginStyle = TdeLineEndingStyle::lesNone;
    TdeLineEndingStyle EndStyle = TdeLineEndingStyle::lesNone;
};

class TdePDFSquareAnnot : public TdePDFShapeAnnot {
public:
    TdeBorderEffectStyle EffectStyle = TdeBorderEffectStyle::besNone;
    // 0, 1 or 2.
    std::uint8_t EffectIntensity = 0;
    std::array<double, 4> RectDifferences{};
};

class TdePDFCircleAnnot : public TdePDFSquareAnnot {};

class TdePDFPolygonAnnot : public TdePDFShapeAnnot {
public:
    TdeBorderEffectStyle EffectStyle = TdeBorderEffectStyle::besNone;
    std::uint8_t EffectIntensity = 0;
    // Measurement unit.
    TdePoints Vertices;
};

class TdePDFPolyLineAnnot : public TdePDFPolygonAnnot {
public:
    TdeLineEndingStyle BeginStyle = TdeLineEndingStyle::lesNone;
    TdeLineEndingStyle EndStyle = TdeLineEndingStyle::lesNone;
};

class TdePDFStampAnnot : public TdePDFAnnot {
public:
    TdeStampName StampName = TdeStampName::snDraft;
};

class TdePDFTextMarkupAnnot : public TdePDFAnnot {
public:
    TdeTextMarkupType MarkupType = TdeTextMarkupType::tmtHighlight;
    TdePoints QuadPoints;
};

class TdePDFCaretAnnot : public TdePDFAnnot {
public:
    TdeCaretSymbol Symbol = TdeCaretSymbol::csNone;
    std::array<double, 4> RectDifferences{};
};

class TdePDFInkAnnot : public TdePDFAnnot {
public:
    TdePoints InkPoints;
};

class TdePDFFileAttachmentAnnot : public TdePDFAnnot {
public:
    TdeAttachmentIcon Icon = TdeAttachmentIcon::aiPushPin;
    // The file embedded in the document.
    std::string FileName;
};

} // namespace tessaran
