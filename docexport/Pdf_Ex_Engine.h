#pragma once
// The extended PDF engine: annotations, page and document actions, custom
// document information as an XMP packet, and CCITT coding of one-bit
// images, over the PDF writer. A document that uses none of it comes out
// exactly as the PDF writer alone writes it.

#include "docexport/Pdf_Actions.h"
#include "docexport/Pdf_Annotations.h"
#include "docexport/Pdf_Engine.h"
#include "docexport/Pdf_Form_Fields.h"
#include "docexport/Pdf_Xmp.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace tessaran {

class TdeExPDFEngine : public TdeCustomPDFEngine {
public:
    explicit TdeExPDFEngine(TdeBaseComponent *owner = nullptr);
    ~TdeExPDFEngine() override;

    // The engine takes every object handed to it, whether it keeps it or not.
    // An annotation is kept when the document is open and the top-left
    // corner of its rectangle lies in the content band (edges included).
    void AddAnnotItem(std::unique_ptr<TdePDFAnnot> annot);
    void AddCustomDocInfo(std::unique_ptr<TdePDFCustomDocInfo> item);
    // One per page: a later one for the same page replaces the earlier.
    void AddPageEventAction(std::unique_ptr<TdePageEventAction> action);
    // Kept when the document is open and the field's top-left corner lies
    // in the content band; a radio group needs at least one button, and
    // keeps the buttons inside the band.
    void AddFormItem(std::unique_ptr<TdePDFFormField> field);
    // Emptied when a document begins: set the scripts after BeginDoc.
    TdeDocEventJSAction &DocEventJSAction() { return *FDocEventJSAction; }
    void SetDocEventJSAction(std::unique_ptr<TdeDocEventJSAction> value);

protected:
    void BeginDocOutput() override;
    void EndPageOutput() override;
    void EndDocOutput() override;
    std::string GetCatalogEntries() override;
    std::string GetPageEntries(int pageObjNo) override;
    std::unique_ptr<TMemoryStream> EncodeCCITTImage(const TBitmap &bitmap, TdeOutputImageFormat format) override;

    // "/A << ... >> " of an annotation's action, empty for none.
    std::string AnnotActionText(TdeAnnotAction &action, int objNo);
    // The part after "/S " of a page's open or close action; empty when the
    // action cannot be written.
    std::string EventActionText(const TdeAnnotAction &action, int pageObjNo);

    // Appearance streams of the form fields: one stream object each, with
    // the field's font (index fi of the font table).
    void WritePushButtonAppearance(const std::string &caption, int N, bool pressed, double W, double H, TColor back,
                                   TColor border, const TFont &font, int fi);
    void WriteCheckAppearance(TdeCheckStyle symbol, int N, bool on, double W, double H, TColor back, TColor border,
                              const TFont &font, int fi);
    void WriteCheckDownAppearance(TdeCheckStyle symbol, int N, bool on, double W, double H, TColor back,
                                  TColor border, const TFont &font, int fi);
    void WriteTextFieldAppearance(const std::string &value, bool multiLine, int N, double W, double H, TColor back,
                                  TColor border, const TFont &font, int fi, bool showBorder);
    void WriteComboBoxAppearance(const std::string &value, int N, TColor back, double W, double H, TColor border,
                                 const TFont &font, int fi);
    void WriteListBoxAppearance(const std::vector<std::string> &items, int N, double W, double H, TColor back,
                                TColor border, const TFont &font, int fi);
    // The text-showing operators of a value over several lines.
    std::string LayoutMultiLineText(double W, double H, const std::string &text, TdeAnnotAlignment alignment,
                                    TFont font, int fi);

private:
    // The operand of Tj for a text in font fi: a literal string of code
    // page bytes for a simple font, glyph numbers for a composite one.
    std::string ShowString(const std::string &utf8, int fi);
    double TextWidthPoints(const std::string &utf8, const TFont &font);
    void WriteAppearanceStream(int N, const std::string &operators, const std::string &tail);
    std::string AppearanceFontEntry(int fi);
    void BuildSignatureField();
    void AddFieldWidgets();
    void WriteFormFields();
    void WriteFormField(int index, int N, TdePDFFormField &field);
    std::string FieldRect(const TdePDFFormField &field);
    std::string AnnotationText(TdePDFAnnot &annot, int objNo);
    void WriteAnnotations();
    void WriteMetadata();
    void WriteDocumentScripts();
    std::string AHex(const std::string &utf8, int objNo);
    std::string UHex(const WideString &text, int objNo) { return EncodeInfoString(text, objNo); }
    // A literal string when the file is not encrypted, hexadecimal when it is.
    std::string LiteralString(const std::string &text, int objNo);
    std::string Point(int pageNo, double x, double y);
    std::string Destination(int pageNo, const std::string &page, TdeDestinationFit fit, const TdeRect &rect, int zoom,
                            bool resolutionFactor);
    int PageObject(int pageNo) const;

    int FAcroForms = 0;
    int FCstDocInfo = 0;
    std::vector<std::pair<int, std::unique_ptr<TdePDFFormField>>> FPDFFormFields;
    std::unique_ptr<TdePDFFormSignatureField> FSigFormField;
    // Character to glyph of the composite fonts the fields use.
    std::map<int, std::map<char32_t, std::uint16_t>> FFieldGlyphMaps;
    int FDocEventJS = 0;
    std::vector<std::pair<int, std::unique_ptr<TdePDFAnnot>>> FAnnotList;
    std::vector<TdePDFCustomDocInfo> FCstDocInfoList;
    std::vector<std::unique_ptr<TdePageEventAction>> FPageEventActionList;
    std::unique_ptr<TdeDocEventJSAction> FDocEventJSAction;
};

// The component the program's forms use.
class TdePDFEngine : public TdeExPDFEngine {
public:
    using TdeExPDFEngine::TdeExPDFEngine;
};

} // namespace tessaran
