// Feeds arbitrary text to the pump import: it is refused with EPumpClass and
// the pump is left as it was, or the imported pump saves and loads again.

#include "model/Pump_Class.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace tessaran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string path = "/tmp/tessaran_pump_import_" + std::to_string(::getpid()) + ".txt";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    TPump pump;
    pump.Name = "Before";
    try {
        pump.LoadFromPumpImportFile(path);
    } catch (const EPumpClass &) {
        if (pump.Name != "Before")
            std::abort();
        return 0;
    }
    TMemoryStream saved;
    pump.Save(saved, PumpCurrentFileVersion, 998.0, true);
    TPump again;
    saved.Seek(0);
    again.Load(saved, PumpCurrentFileVersion, 998.0, true);
    return 0;
}
