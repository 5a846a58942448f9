#include "app/Machine_Identifier.h"

#include <QNetworkInterface>

#include <algorithm>
#include <cctype>

namespace tessaran {

namespace {

// Twelve upper-case hexadecimal digits, or empty when the address is not
// six bytes or all zero.
std::string addressDigits(const std::string &address)
{
    std::string digits;
    for (char c : address) {
        if (c == ':' || c == '-')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {};
        digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (digits.size() != 12 || digits.find_first_not_of('0') == std::string::npos)
        return {};
    return digits;
}

} // namespace

std::string MachineIdentifierOf(std::vector<TNetworkAdapter> adapters)
{
    std::sort(adapters.begin(), adapters.end(),
              [](const TNetworkAdapter &a, const TNetworkAdapter &b) { return a.Name < b.Name; });
    for (const TNetworkAdapter &adapter : adapters) {
        if (adapter.Loopback)
            continue;
        const std::string digits = addressDigits(adapter.HardwareAddress);
        if (!digits.empty())
            return digits;
    }
    return {};
}

std::string GetMacAddressString()
{
    static const std::string identifier = [] {
        std::vector<TNetworkAdapter> adapters;
        for (const QNetworkInterface &adapter : QNetworkInterface::allInterfaces())
            adapters.push_back({adapter.name().toStdString(),
                                adapter.flags().testFlag(QNetworkInterface::IsLoopBack) ||
                                    adapter.type() == QNetworkInterface::Loopback,
                                adapter.hardwareAddress().toStdString()});
        return MachineIdentifierOf(std::move(adapters));
    }();
    return identifier;
}

} // namespace tessaran
