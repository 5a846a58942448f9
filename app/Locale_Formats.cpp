#include "app/Locale_Formats.h"

namespace tessaran {

std::string StrftimePattern(const QString &localePattern)
{
    std::string result;
    const bool twelveHour = localePattern.contains("AP", Qt::CaseInsensitive);
    for (qsizetype i = 0; i < localePattern.size();) {
        const QChar c = localePattern.at(i);
        if (c == '\'') { // quoted text; two quotes are one quote
            QString text;
            qsizetype j = i + 1;
            if (j < localePattern.size() && localePattern.at(j) == '\'') {
                result += "'";
                i += 2;
                continue;
            }
            while (j < localePattern.size()) {
                if (localePattern.at(j) == '\'') {
                    if (j + 1 < localePattern.size() && localePattern.at(j + 1) == '\'') {
                        text += '\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += localePattern.at(j++);
            }
            result += text.replace("%", "%%").toStdString();
            i = j + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < localePattern.size() && localePattern.at(i + run) == c)
            ++run;
        const char letter = c.toLatin1();
        switch (letter) {
        case 'y':
            result += run >= 4 ? "%Y" : "%y";
            break;
        case 'M':
            result += run >= 4 ? "%B" : run == 3 ? "%b" : "%m";
            break;
        case 'd':
            result += run >= 4 ? "%A" : run == 3 ? "%a" : "%d";
            break;
        case 'H':
        case 'h':
            result += twelveHour ? "%I" : "%H";
            break;
        case 'm':
            result += "%M";
            break;
        case 's':
            result += "%S";
            break;
        case 'A':
        case 'a':
            if (i + 1 < localePattern.size() && localePattern.at(i + 1).toLower() == 'p') {
                result += "%p";
                i += 2;
                continue;
            }
            result += std::string(static_cast<std::size_t>(run), letter);
            break;
        case 'z':
        case 't':
            // Milliseconds and time zones have no place in a document's dates.
            break;
        case '%':
            result += std::string(static_cast<std::size_t>(run) * 2, '%');
            break;
        default:
            result += QString(run, c).toStdString();
        }
        i += run;
    }
    return result;
}

TdeDateTimeFormats LocaleDateTimeFormats(const QLocale &locale)
{
    TdeDateTimeFormats formats;
    formats.ShortDate = StrftimePattern(locale.dateFormat(QLocale::ShortFormat));
    formats.LongDate = StrftimePattern(locale.dateFormat(QLocale::LongFormat));
    formats.ShortTime = StrftimePattern(locale.timeFormat(QLocale::ShortFormat));
    formats.LongTime = StrftimePattern(locale.timeFormat(QLocale::LongFormat));
    return formats;
}

} // namespace tessaran
