#include "units/Numeric_Entry.h"

#include <string>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

struct ReadCase {
    const char *text;
    char separator;
    bool allowZero;
    bool allowNegative;
    double value;
    bool valid;
};

TEST(NumericEntry, ReadRealFromStringUnderBothSeparators)
{
    const ReadCase cases[] = {
        {"1.5", '.', false, false, 1.5, true},
        {"1,5", '.', false, false, 1.5, true},    // the other separator is normalised
        {"1.5", ',', false, false, 1.5, true},
        {"1,5", ',', false, false, 1.5, true},
        {"1.5.2", ',', true, true, -1, false},    // the second point survives: character test fails
        {"1,5,2", ',', true, true, -1, false},    // conversion fails
        {"1,5,2", '.', true, true, -1, false},
        {"", '.', true, true, -1, false},          // an empty box is never valid
        {"", ',', true, true, -1, false},
        {"-", '.', true, true, -1, false},
        {"abc", '.', true, true, -1, false},
        {"1e3", '.', true, true, -1, false},       // letters fail the character test
        {" 2", '.', true, true, -1, false},
        {"-2.25", '.', true, true, -2.25, true},
        {"-2.25", '.', true, false, -2.25, false}, // negative refused, value kept
        {"0", '.', false, true, 0, false},         // zero refused, value kept
        {"0,0", ',', true, false, 0, true},
        {"-0", '.', true, false, 0, true},
        {"5.", '.', false, false, 5, true},
        {",5", ',', false, false, 0.5, true},
        {"1-2", '.', true, true, -1, false},
        {"123456789012", '.', false, false, 123456789012.0, true},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\" with '" + c.separator + "'");
        bool valid = !c.valid;
        EXPECT_DOUBLE_EQ(ReadRealFromString(c.text, valid, c.allowZero, c.allowNegative, c.separator), c.value);
        EXPECT_EQ(valid, c.valid);
    }
}

// A lone minus in an edit box is a negative number being typed: it reads as
// 0 and is judged as 0. Leaving the flag as the caller set it let a stale
// "valid" from an earlier read accept it even where zero is refused.
TEST(NumericEntry, ReadRealFromEditJudgesALoneMinusAsZero)
{
    for (const bool callerFlag : {true, false}) {
        bool valid = callerFlag;
        EXPECT_EQ(ReadRealFromEdit("-", valid, false, true, '.'), 0.0);
        EXPECT_FALSE(valid);
        valid = callerFlag;
        EXPECT_EQ(ReadRealFromEdit("-", valid, true, true, ','), 0.0);
        EXPECT_TRUE(valid);
    }
    bool valid = true;
    EXPECT_EQ(ReadRealFromEdit("", valid, true, true, '.'), -1.0);
    EXPECT_FALSE(valid);
    EXPECT_EQ(ReadRealFromEdit("3,25", valid, false, false, '.'), 3.25);
    EXPECT_TRUE(valid);
}

TEST(NumericEntry, IntegerReaders)
{
    const struct {
        const char *text;
        bool allowZero, allowNegative;
        std::int64_t value;
        bool valid;
    } cases[] = {
        {"42", false, false, 42, true},
        {"0", false, false, 0, false},
        {"0", true, false, 0, true},
        {"-3", true, false, -3, false},
        {"-3", true, true, -3, true},
        {"", true, true, -1, false},
        {"-", true, true, -1, false},
        {"1.0", true, true, -1, false},
        {"--1", true, true, -1, false},
        {"1-", true, true, -1, false},
        {"2147483647", true, true, 2147483647, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        bool valid = !c.valid;
        EXPECT_EQ(ReadIntegerFromString(c.text, valid, c.allowZero, c.allowNegative), c.value);
        EXPECT_EQ(valid, c.valid);
        valid = !c.valid;
        EXPECT_EQ(ReadIntegerFromEdit(c.text, valid, c.allowZero, c.allowNegative), c.value);
        EXPECT_EQ(valid, c.valid);
        valid = !c.valid;
        EXPECT_EQ(ReadInt64FromString(c.text, valid, c.allowZero, c.allowNegative), c.value);
        EXPECT_EQ(valid, c.valid);
    }
    // Beyond the 4-byte range only the 64-bit reader can hold it.
    bool valid = true;
    EXPECT_EQ(ReadIntegerFromString("2147483648", valid, true, true), -1);
    EXPECT_FALSE(valid);
    EXPECT_EQ(ReadInt64FromString("2147483648", valid, true, true), 2147483648LL);
    EXPECT_TRUE(valid);
    EXPECT_EQ(ReadInt64FromString("99999999999999999999", valid, true, true), -1);
    EXPECT_FALSE(valid);
}

TEST(NumericEntry, ReadPositiveRealAndCheckReal)
{
    const struct {
        const char *text;
        char separator;
        bool allowZeroOrNegative;
        double value;
        bool valid;
    } cases[] = {
        {"2,5", '.', false, 2.5, true},
        {"2.5", ',', false, 2.5, true},
        {"0", '.', false, 0, false},
        {"0", '.', true, 0, true},
        {"-1", '.', false, -1, false},
        {"-4", ',', true, -4, true},
        {"", '.', true, -1, false},
        {"x", '.', true, -1, false},
        {"1e2", '.', false, 100, true},  // no character test before reading
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        bool valid = !c.valid;
        EXPECT_DOUBLE_EQ(ReadPositiveRealFromEdit(c.text, valid, c.allowZeroOrNegative, c.separator), c.value);
        EXPECT_EQ(valid, c.valid);
        EXPECT_EQ(CheckRealInEdit(c.text, c.allowZeroOrNegative, c.separator), c.valid);
    }
}

TEST(NumericEntry, DecimalSeparatorHelpers)
{
    std::string text = "1,2,3";
    NormaliseDecimalSeparator(text, '.');
    EXPECT_EQ(text, "1.2,3");  // only the first comma
    text = "1.2.3";
    NormaliseDecimalSeparator(text, ',');
    EXPECT_EQ(text, "1,2.3");
    text = "1.5";
    NormaliseDecimalSeparator(text, '.');
    EXPECT_EQ(text, "1.5");
    EXPECT_EQ(DecimalSeparatorToPoint("3,14,1", ','), "3.14,1");
    EXPECT_EQ(DecimalSeparatorToPoint("3.14", '.'), "3.14");

    EXPECT_TRUE(IsIntegerText(""));
    EXPECT_TRUE(IsIntegerText("-12"));
    EXPECT_FALSE(IsIntegerText("1.2"));
    EXPECT_TRUE(IsRealText("-1,2", ','));
    EXPECT_FALSE(IsRealText("-1.2", ','));
    EXPECT_FALSE(IsRealText("1 2", '.'));
}

TEST(NumericEntry, TextHelpers)
{
    std::string text = "ab";
    PadLeft(text, 4);
    EXPECT_EQ(text, "  ab");
    PadRight(text, 6);
    EXPECT_EQ(text, "  ab  ");
    PadLeft(text, 3);  // already wider
    EXPECT_EQ(text, "  ab  ");
    text = "m³";  // widths count characters, not bytes
    PadLeft(text, 3);
    EXPECT_EQ(text, " m³");
    text = "7";
    PadLeftWith(text, '0', 3);
    EXPECT_EQ(text, "007");

    EXPECT_EQ(LineBreaksToSpaces("a\r\nb\rc\nd"), "a b cd");
    EXPECT_EQ(ReplaceLineBreaks("a\r\nb\r", " | "), "a | b | ");
    EXPECT_EQ(RemoveSpaces(" a b  c "), "abc");
    EXPECT_EQ(FilterMatchKey("Sch 40 - Steel"), "sch40steel");
    EXPECT_EQ(FilterMatchKey("Sch.40-X S"), "sch.40xs");  // the point stays
    EXPECT_EQ(NameMatchKey("Sch.40-X S"), "sch40xs");
    EXPECT_EQ(NameMatchKey("ÄB"), "Äb");  // only A to Z are lower-cased
}

// ---- Key filters ------------------------------------------------------------

struct KeyCase {
    std::u16string text;
    int selStart;
    int selLength;
    char16_t key;
    bool survives;
    const char *message; // "" none, "pre" or "post"
};

TEST(NumericEntry, FilterRealKey)
{
    const int pre = 5, post = 3;
    const KeyCase cases[] = {
        {u"12", 2, 0, u'3', true, ""},
        {u"12", 2, 0, u'a', false, ""},
        {u"12", 2, 0, u'+', false, ""},
        {u"12", 2, 0, u',', false, ""},      // only the given separator
        {u"12", 2, 0, KeyBackspace, true, ""},
        {u"12", 2, 0, KeyTab, true, ""},
        {u"12", 2, 0, KeyReturn, true, ""},
        {u"12", 2, 0, u'.', true, ""},
        {u"1.2", 3, 0, u'.', false, ""},     // a second separator
        {u"-12", 3, 0, u'-', false, ""},     // a second minus
        {u"12", 0, 0, u'-', true, ""},
        {u"1.2", 0, 2, u'.', true, ""},      // the separator is in the selection being replaced
        {u"12345", 5, 0, u'6', false, "pre"}, // a sixth pre-decimal digit at the end
        {u"12345", 2, 0, u'6', false, "pre"}, // ... and before the end
        {u"12345", 0, 5, u'6', true, ""},     // the selection is replaced
        {u"12345", 4, 1, u'6', true, ""},
        {u"12345.", 6, 0, u'6', true, ""},    // after the separator it is a decimal
        {u"1234.5", 4, 0, u'6', true, ""},
        {u"1.234", 5, 0, u'5', false, "post"},
        {u"1.234", 2, 0, u'5', false, "post"},
        {u"1.234", 1, 0, u'5', true, ""},     // before the separator
        {u"1.234", 4, 1, u'5', true, ""},
        {u"1.23", 4, 0, u'4', true, ""},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()) + " key " + static_cast<char>(c.key) + " at " +
                     std::to_string(c.selStart));
        char16_t key = c.key;
        std::string message = "stale";
        EXPECT_EQ(FilterRealKey({c.text, c.selStart, c.selLength}, key, true, pre, post, u'.', &message),
                  c.survives);
        EXPECT_EQ(key, c.survives ? c.key : KeyNone);
        const std::string expected = std::string(c.message) == "pre"    ? std::string(MaxPreDecimalDigitsMessage)
                                     : std::string(c.message) == "post" ? std::string(MaxPostDecimalDigitsMessage)
                                                                        : std::string();
        EXPECT_EQ(message, expected);
    }
}

TEST(NumericEntry, FilterRealKeyWithCommaAndNoNegatives)
{
    char16_t key = u',';
    EXPECT_TRUE(FilterRealKey({u"12", 2, 0}, key, false, 5, 2, u','));
    key = u'.';
    EXPECT_FALSE(FilterRealKey({u"12", 2, 0}, key, false, 5, 2, u','));
    key = u'-';
    EXPECT_FALSE(FilterRealKey({u"12", 0, 0}, key, false, 5, 2, u','));
    key = u'9';
    EXPECT_FALSE(FilterRealKey({u"1,25", 4, 0}, key, false, 5, 2, u','));
    // A selection past the end of the text is clipped, never read beyond it.
    key = u'9';
    EXPECT_TRUE(FilterRealKey({u"1", 7, 9}, key, false, 5, 2, u','));
}

TEST(NumericEntry, FilterIntegerNumericAndFileNameKeys)
{
    const struct {
        std::u16string text;
        int selStart, selLength;
        char16_t key;
        bool allowNegative;
        bool survives;
    } integerCases[] = {
        {u"12", 2, 0, u'3', true, true},
        {u"123", 3, 0, u'4', true, false},   // at the maximum length of 3
        {u"123", 0, 1, u'4', true, true},    // typing replaces the selection
        {u"-1", 2, 0, u'-', true, false},
        {u"1", 0, 0, u'-', false, false},
        {u"1", 0, 0, u'-', true, true},
        {u"123", 3, 0, KeyBackspace, true, true},
        {u"1", 1, 0, u'.', true, false},
        {u"1", 1, 0, KeyReturn, false, true},
    };
    for (const auto &c : integerCases) {
        char16_t key = c.key;
        EXPECT_EQ(FilterIntegerKey({c.text, c.selStart, c.selLength}, key, c.allowNegative, 3), c.survives)
            << std::string(c.text.begin(), c.text.end()) << " " << static_cast<char>(c.key);
        EXPECT_EQ(key == KeyNone, !c.survives);
    }

    char16_t key = u'.';
    EXPECT_TRUE(FilterNumericKey(u"12", key, false, u'.'));
    key = u'.';
    EXPECT_FALSE(FilterNumericKey(u"1.2", key, false, u'.'));
    key = u'-';
    EXPECT_FALSE(FilterNumericKey(u"12", key, false, u'.'));
    key = u'-';
    EXPECT_TRUE(FilterNumericKey(u"12", key, true, u','));
    key = u'-';
    EXPECT_FALSE(FilterNumericKey(u"-12", key, true, u','));
    key = KeyTab;
    EXPECT_FALSE(FilterNumericKey(u"12", key, true, u'.'));
    EXPECT_EQ(key, KeyNone);

    for (const char16_t accepted : {u'a', u'Z', u'0', u'_', u'-', KeyBackspace}) {
        key = accepted;
        EXPECT_TRUE(FilterFileNameKey(key, false));
    }
    for (const char16_t refused : {u' ', u'/', u'\\', u':', u'*', u'.', u'\u00e9'}) {
        key = refused;
        EXPECT_FALSE(FilterFileNameKey(key, false));
        EXPECT_EQ(key, KeyNone);
    }
    key = u'.';
    EXPECT_TRUE(FilterFileNameKey(key, true));
}

} // namespace
} // namespace tessaran
