#pragma once
// The machine identifier that names the recent-file list and the
// automatic-save files: the hardware address of a network adapter as twelve
// upper-case hexadecimal digits.

#include <string>
#include <vector>

namespace tessaran {

// One network adapter as the identifier looks at it.
struct TNetworkAdapter {
    std::string Name;
    bool Loopback = false;
    // As the platform gives it ("00:1A:2B:3C:4D:5E"), possibly empty.
    std::string HardwareAddress;
};

// The address of the first adapter in name order that is not a loopback and
// has a non-zero address of six bytes; empty when there is none.
std::string MachineIdentifierOf(std::vector<TNetworkAdapter> adapters);

// The identifier of this machine, read once and kept; empty when no
// adapter has an address.
std::string GetMacAddressString();

// The identifier the automatic-save files use when the machine has none.
inline constexpr const char *NoMachineIdentifier = "100000000000";

} // namespace tessaran
