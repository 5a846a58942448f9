// Feeds arbitrary bytes to the report options reader: it either refuses them
// with EStreamError and keeps the options as they were, or what it read is
// written back and reads again the same.

#include "network/Report_Options.h"
#include "network/User_Interface_Seam.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace tessaran;

namespace {

std::vector<std::uint8_t> Saved(const TReportOptions &options, bool gas)
{
    TMemoryStream stream;
    options.SaveReportOptions(stream, gas);
    return stream.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool gas = data[0] & 1;
    TSilentUserInterface ui;
    TReportOptions options;
    options.title = "Before";
    const std::vector<std::uint8_t> before = Saved(options, gas);
    TMemoryStream stream(std::vector<std::uint8_t>(data + 1, data + size));
    try {
        options.LoadReportOptions(stream, gas, ui);
    } catch (const EStreamError &) {
        if (Saved(options, gas) != before)
            std::abort(); // refused, yet changed
        return 0;
    }
    const std::vector<std::uint8_t> saved = Saved(options, gas);
    TReportOptions again;
    TMemoryStream reread(saved);
    again.LoadReportOptions(reread, gas, ui);
    if (Saved(again, gas) != saved)
        std::abort(); // what we write must read back the same
    return 0;
}
