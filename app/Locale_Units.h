#pragma once
// The user's country as a telephone country code, from which start-up
// chooses inches (North American numbering, codes below 3) or metres.

#include <QLocale>

#include <string>

namespace tessaran {

// The country's international dialling code as text ("1", "44", ...);
// Canada keeps the code 2 that it had in the platform's locale tables.
// Empty for a territory not in the table.
std::string CountryCodeText(QLocale::Territory territory);

// The code of the user's default locale.
std::string GetUserLocaleCountryCodeText();

// True for a code below 3; an unknown country keeps metres.
bool CountryCodeUsesInches(const std::string &countryCode);

} // namespace tessaran
