// Feeds arbitrary bytes to the pump record loader, embedded and as a pump
// file, at versions on both sides of its gates. The loader may refuse the
// bytes with its error, but must never read outside them, and a refused
// record must leave the pump as it was.

#include "model/Pump_Class.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

using namespace tessaran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const char *const versions[] = {"0",    "2.02", "2.063", "4.01", "4.06", "5.50", "6.22",
                                           "6.25", "6.26", "6.28",  "6.31", "6.37", "7.06", "7.40"};
    const std::string version = versions[data[0] % (sizeof versions / sizeof versions[0])];
    const bool standalone = (data[0] & 0x80) != 0;
    const std::vector<std::uint8_t> bytes(data + 1, data + size);

    TPump pump;
    pump.Name = "Before";
    TMemoryStream stream(bytes);
    try {
        pump.Load(stream, version, 998.0, standalone);
    } catch (const EPumpClass &) {
        if (pump.Name != "Before")
            std::abort();
        return 0;
    }
    // A record that loads is written back and loads again.
    TMemoryStream saved;
    pump.Save(saved, PumpCurrentFileVersion, 998.0, true);
    TPump again;
    saved.Seek(0);
    again.Load(saved, PumpCurrentFileVersion, 998.0, true);
    return 0;
}
