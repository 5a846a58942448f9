#pragma once
// The user's date and time formats, read from the desktop's locale and
// handed to the document engine as patterns it can print with.

#include "docexport/Text_Utils.h"

#include <QLocale>
#include <QString>

namespace tessaran {

// A locale's date or time pattern ("dd/MM/yyyy", "h:mm AP") as a strftime
// pattern ("%d/%m/%Y", "%I:%M %p"). Quoted text is kept as it stands.
std::string StrftimePattern(const QString &localePattern);

TdeDateTimeFormats LocaleDateTimeFormats(const QLocale &locale);

} // namespace tessaran
