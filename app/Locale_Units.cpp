#include "app/Locale_Units.h"

#include <charconv>
#include <utility>

namespace tessaran {

namespace {

struct TTerritoryCode {
    QLocale::Territory Territory;
    int Code;
};

constexpr TTerritoryCode TerritoryCodes[] = {
    // North American numbering
    {QLocale::UnitedStates, 1}, {QLocale::Canada, 2}, {QLocale::PuertoRico, 1}, {QLocale::Jamaica, 1},
    {QLocale::Bahamas, 1}, {QLocale::Barbados, 1}, {QLocale::Bermuda, 1}, {QLocale::CaymanIslands, 1},
    {QLocale::DominicanRepublic, 1}, {QLocale::TrinidadAndTobago, 1}, {QLocale::Guam, 1},
    {QLocale::UnitedStatesVirginIslands, 1}, {QLocale::AmericanSamoa, 1}, {QLocale::NorthernMarianaIslands, 1},
    {QLocale::Grenada, 1}, {QLocale::SaintLucia, 1}, {QLocale::SaintKittsAndNevis, 1},
    {QLocale::SaintVincentAndGrenadines, 1}, {QLocale::AntiguaAndBarbuda, 1}, {QLocale::Dominica, 1},
    {QLocale::Montserrat, 1}, {QLocale::Anguilla, 1}, {QLocale::BritishVirginIslands, 1},
    {QLocale::TurksAndCaicosIslands, 1}, {QLocale::SintMaarten, 1}, {QLocale::UnitedStatesOutlyingIslands, 1},
    // elsewhere
    {QLocale::Russia, 7}, {QLocale::Kazakhstan, 7}, {QLocale::Egypt, 20}, {QLocale::SouthAfrica, 27},
    {QLocale::Greece, 30}, {QLocale::Netherlands, 31}, {QLocale::Belgium, 32}, {QLocale::France, 33},
    {QLocale::Spain, 34}, {QLocale::Hungary, 36}, {QLocale::Italy, 39}, {QLocale::Romania, 40},
    {QLocale::Switzerland, 41}, {QLocale::Austria, 43}, {QLocale::UnitedKingdom, 44}, {QLocale::Denmark, 45},
    {QLocale::Sweden, 46}, {QLocale::Norway, 47}, {QLocale::Poland, 48}, {QLocale::Germany, 49},
    {QLocale::Peru, 51}, {QLocale::Mexico, 52}, {QLocale::Cuba, 53}, {QLocale::Argentina, 54},
    {QLocale::Brazil, 55}, {QLocale::Chile, 56}, {QLocale::Colombia, 57}, {QLocale::Venezuela, 58},
    {QLocale::Malaysia, 60}, {QLocale::Australia, 61}, {QLocale::Indonesia, 62}, {QLocale::Philippines, 63},
    {QLocale::NewZealand, 64}, {QLocale::Singapore, 65}, {QLocale::Thailand, 66}, {QLocale::Japan, 81},
    {QLocale::SouthKorea, 82}, {QLocale::Vietnam, 84}, {QLocale::China, 86}, {QLocale::Turkey, 90},
    {QLocale::India, 91}, {QLocale::Pakistan, 92}, {QLocale::Iran, 98}, {QLocale::Morocco, 212},
    {QLocale::Algeria, 213}, {QLocale::Tunisia, 216}, {QLocale::Nigeria, 234}, {QLocale::Kenya, 254},
    {QLocale::Portugal, 351}, {QLocale::Luxembourg, 352}, {QLocale::Ireland, 353}, {QLocale::Iceland, 354},
    {QLocale::Finland, 358}, {QLocale::Bulgaria, 359}, {QLocale::Lithuania, 370}, {QLocale::Latvia, 371},
    {QLocale::Estonia, 372}, {QLocale::Ukraine, 380}, {QLocale::Serbia, 381}, {QLocale::Croatia, 385},
    {QLocale::Slovenia, 386}, {QLocale::CzechRepublic, 420}, {QLocale::Slovakia, 421}, {QLocale::HongKong, 852},
    {QLocale::Taiwan, 886}, {QLocale::SaudiArabia, 966}, {QLocale::UnitedArabEmirates, 971}, {QLocale::Israel, 972},
    {QLocale::Qatar, 974},
};

} // namespace

std::string CountryCodeText(QLocale::Territory territory)
{
    for (const TTerritoryCode &entry : TerritoryCodes)
        if (entry.Territory == territory)
            return std::to_string(entry.Code);
    return {};
}

std::string GetUserLocaleCountryCodeText() { return CountryCodeText(QLocale::system().territory()); }

bool CountryCodeUsesInches(const std::string &countryCode)
{
    int code = 0;
    const auto [end, error] = std::from_chars(countryCode.data(), countryCode.data() + countryCode.size(), code);
    if (countryCode.empty() || error != std::errc() || end != countryCode.data() + countryCode.size())
        return false;
    return code < 3;
}

} // namespace tessaran
