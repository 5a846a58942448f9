#include "app/Locale_Formats.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

TEST(LocaleFormats, LocalePatternsBecomeStrftimePatterns)
{
    const std::pair<const char *, const char *> cases[] = {
        {"dd/MM/yyyy", "%d/%m/%Y"},
        {"M/d/yy", "%m/%d/%y"},
        {"dddd, d MMMM yyyy", "%A, %d %B %Y"},
        {"ddd d MMM", "%a %d %b"},
        {"HH:mm:ss", "%H:%M:%S"},
        {"h:mm AP", "%I:%M %p"},
        {"HH:mm:ss t", "%H:%M:%S "},
        {"d. MMMM 'um' HH", "%d. %B um %H"},
        {"'o''clock' 100%", "o'clock 100%%"},
    };
    for (const auto &[pattern, expected] : cases)
        EXPECT_EQ(StrftimePattern(pattern), expected) << pattern;
    // Every locale gives patterns the engine can print with.
    const TdeDateTimeFormats formats = LocaleDateTimeFormats(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formats.ShortDate, "%d.%m.%y");
}

} // namespace
} // namespace tessaran
