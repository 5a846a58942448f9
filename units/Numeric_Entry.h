#pragma once
// Numeric entry: which typed keys an edit box keeps, how its text is read
// back as a number with a validity flag, and small text helpers. Everything
// here works on plain text; the decimal separator of the user's locale is
// always passed in by the caller, never looked up here. The edit-box side
// lives with TRightEdit.

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaran {

// Key codes the filters treat apart from printable characters. A refused
// key is replaced by KeyNone, which the edit box then ignores.
inline constexpr char16_t KeyNone = 0;
inline constexpr char16_t KeyBackspace = 8;
inline constexpr char16_t KeyTab = 9;
inline constexpr char16_t KeyReturn = 13;

// The text of an edit box as the key filters see it: the text and its
// selection (start and length in UTF-16 units, as the box counts them).
struct TEntryText {
    std::u16string text;
    int selStart = 0;
    int selLength = 0;
};

// Information messages of the real-key filter when a digit limit is hit.
inline constexpr std::string_view MaxPreDecimalDigitsMessage =
    "Maximum number of pre-decimal digits reached.\r\r"
    "Delete some pre-decimal digits and then update the value as required.";
inline constexpr std::string_view MaxPostDecimalDigitsMessage =
    "Maximum number of post-decimal digits reached.\r\r"
    "Delete some post-decimal digits and then update the value as required.";
// Warning shown for an entry that the readers found invalid.
inline constexpr std::string_view InvalidNumericEntryMessage = "Numeric entry is not valid";

// --- Key filters: each returns whether the key survives and sets key to
// KeyNone when it does not.

bool FilterNumericKey(std::u16string_view text, char16_t &key, bool allowNegative, char16_t decimalSeparator);
bool FilterIntegerKey(const TEntryText &entry, char16_t &key, bool allowNegative, int maximumLength);
// When a digit limit refuses the key, `message` (if given) receives the
// information message the edit box shows; otherwise it is left empty.
bool FilterRealKey(const TEntryText &entry, char16_t &key, bool allowNegative, int maximumPreDecimalDigits,
                   int maximumPostDecimalDigits, char16_t decimalSeparator, std::string *message = nullptr);
bool FilterFileNameKey(char16_t &key, bool allowPoint);

// --- Readers. A bad entry gives -1 and valid false; they never throw.
// With a readable number, valid is false when the value is 0 and zero is
// not allowed, or negative and negatives are not allowed; the value read is
// returned either way.

double ReadRealFromString(std::string_view text, bool &valid, bool allowZero, bool allowNegative,
                          char decimalSeparator);
// As ReadRealFromString on an edit box's text, except that a lone "-" (a
// negative number being typed) reads as 0, valid as zero is allowed.
double ReadRealFromEdit(std::string_view editText, bool &valid, bool allowZero, bool allowNegative,
                        char decimalSeparator);
std::int32_t ReadIntegerFromString(std::string_view text, bool &valid, bool allowZero, bool allowNegative);
std::int32_t ReadIntegerFromEdit(std::string_view editText, bool &valid, bool allowZero, bool allowNegative);
std::int64_t ReadInt64FromString(std::string_view text, bool &valid, bool allowZero, bool allowNegative);
// Reads without the character test; an unreadable text gives -1 and valid
// false; a value not above 0 is invalid unless zero or negative is allowed.
double ReadPositiveRealFromEdit(std::string_view editText, bool &valid, bool allowZeroOrNegative,
                                char decimalSeparator);
// Whether an edit box's text holds an acceptable real; when it does not, the
// box's text is to be set back to its previous text.
bool CheckRealInEdit(std::string_view editText, bool allowZeroOrNegative, char decimalSeparator);

// --- Text helpers.

// With "." as separator the first "," becomes "."; with "," the first "."
// becomes ",". Only the first occurrence changes.
void NormaliseDecimalSeparator(std::string &text, char decimalSeparator);
// The first locale separator becomes "." (texts written to files).
std::string DecimalSeparatorToPoint(std::string_view text, char decimalSeparator);

bool IsIntegerText(std::string_view text);
bool IsRealText(std::string_view text, char decimalSeparator);

// Widths count characters, not bytes.
void PadLeft(std::string &text, int width);
void PadRight(std::string &text, int width);
void PadLeftWith(std::string &text, char character, int width);

// Line feeds removed, each carriage return replaced by one blank.
std::string LineBreaksToSpaces(std::string_view text);
// Line feeds removed, each carriage return replaced by the replacement.
std::string ReplaceLineBreaks(std::string_view text, std::string_view replacement);
std::string RemoveSpaces(std::string_view text);
// Keys for comparing names: blanks and "-" removed, A-Z lower-cased; the
// name key also drops ".".
std::string FilterMatchKey(std::string_view text);
std::string NameMatchKey(std::string_view text);

} // namespace tessaran
