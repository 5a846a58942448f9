#pragma once
// Interactive form fields of the extended PDF engine: push buttons, check
// boxes, radio groups, text fields, combo and list boxes, and the signature
// field of a signed document. Texts are UTF-8.

#include "docexport/Doc_Types.h"
#include "docexport/Pdf_Annotations.h"
#include "docexport/Pdf_Signature.h"
#include "platform/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tessaran {

enum class TdeAcroFieldPreferencesType : std::uint8_t { afpReadOnly, afpRequired, afpNoExport };

class TdeAcroFieldPreferences {
public:
    TdeAcroFieldPreferences() = default;
    TdeAcroFieldPreferences(std::initializer_list<TdeAcroFieldPreferencesType> types)
    {
        for (auto t : types)
            Include(t);
    }
    bool Contains(TdeAcroFieldPreferencesType t) const { return (FBits & Bit(t)) != 0; }
    void Include(TdeAcroFieldPreferencesType t) { FBits |= Bit(t); }
    // /Ff bits 1, 2 and 3.
    int Flags() const { return FBits; }

private:
    static std::uint8_t Bit(TdeAcroFieldPreferencesType t) { return static_cast<std::uint8_t>(1u << int(t)); }
    std::uint8_t FBits = 0;
};

enum class TdeButtonActionKind : std::uint8_t { bakNone, bakSubmitForm, bakResetForm, bakJavaScript };
enum class TdeSubmitFormat : std::uint8_t { sfHTML, sfFDF, sfXFDF };
// The mark of a check box or radio button.
enum class TdeCheckStyle : std::uint8_t { csCheck, csCircle, csCross, csDiamond, csSquare, csStar };

class TdePDFFormField {
public:
    TdePDFFormField() = default;
    virtual ~TdePDFFormField() = default;

    // /T; empty gives the kind's default name and the field's index.
    std::string FFieldName;
    std::string FDefaultValue;
    TdeAcroFieldPreferences FPreferences;
    TColor FBorderColor = 0;
    TColor FBackgroundColor = 0xFFFFFF;
    // In the measurement unit from the content band; page coordinates in
    // native units once the field is added.
    TdeRect FRect{};
    // Text field value, combo box fall-back, radio item export name.
    std::string FValue;
    TFont FFont;
    // /TU of a push button.
    std::string FAltFeildName;
    bool FVisible = true;
    // From 1; set when added (radio items: by the caller).
    int FPageNo = 0;
    int FFontIndex = -1;

    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }
    void SetFieldName(const std::string &value) { FFieldName = value; }
    void SetRect(const TdeRect &value) { FRect = value; }
    void SetFont(const TFont &value) { FFont = value; }
};

class TdePDFFormSignatureField : public TdePDFFormField {
public:
    TdeSignature FSignature;
    bool FEnable = false;
};

class TdePDFFormPushButton : public TdePDFFormField {
public:
    std::string FCaption;
    std::string FRolloverCaption;
    std::string FDownCaption;
    std::string FJavaScript;
    std::string FSubmitURL;
    TdeButtonActionKind FActionKind = TdeButtonActionKind::bakNone;
    TdeSubmitFormat FSubmitFormat = TdeSubmitFormat::sfHTML;
};

class TdePDFFormCheckBox : public TdePDFFormField {
public:
    TdeCheckStyle FCheckStyle = TdeCheckStyle::csCheck;
    bool FChecked = false;
};

class TdePDFFormRadioGroup : public TdePDFFormField {
public:
    // The buttons (rectangle, colours, export name in FValue, FPageNo) and,
    // once the page is closed, their widget object numbers; a button that
    // fell outside the content band is dropped (null).
    std::vector<std::pair<int, std::unique_ptr<TdePDFFormField>>> FItems;
    int FSelectedIndex = -1;
    bool FNoToggleToOff = false;
    TdeCheckStyle FCheckStyle = TdeCheckStyle::csCheck;

    TdePDFFormField &AddItem(const std::string &exportName, const TdeRect &rect)
    {
        auto item = std::make_unique<TdePDFFormField>();
        item->FValue = exportName;
        item->FRect = rect;
        FItems.emplace_back(0, std::move(item));
        return *FItems.back().second;
    }
};

class TdePDFFormTextField : public TdePDFFormField {
public:
    bool FMultiLine = false;
    bool FPassword = false;
    bool FFileSelect = false;
    bool FDoNotSpellCheck = false;
    bool FDoNotScroll = false;
    int FMaxLength = -1;
    bool FShowBorder = true;
    TdeAnnotAlignment FAlignment = TdeAnnotAlignment::aalLeft;
};

class TdePDFFormComboBox : public TdePDFFormField {
public:
    bool FEditable = false;
    int FSelectedIndex = -1;
    std::vector<std::string> FItems;
};

class TdePDFFormListBox : public TdePDFFormField {
public:
    bool FMultiSelect = false;
    std::vector<std::string> FItems;
};

// The /Ff value of a field: its preferences and its kind's bits.
int FormFieldFlags(const TdePDFFormField &field);
// The character /MK /CA names for a style ("4", "l", "8", "u", "n", "H").
std::string CheckStyleSymbol(TdeCheckStyle style);
// The mark drawn for a style, as a Unicode character.
char16_t CheckStyleMark(TdeCheckStyle style);
// A PDF name (without "/") for any UTF-8 text: bytes outside the regular
// characters, delimiters and "#" as "#" and two hex digits.
std::string PDFNameText(const std::string &utf8);

} // namespace tessaran
