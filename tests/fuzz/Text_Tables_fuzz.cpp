// Feeds arbitrary text to the fitting and pipe-size text table readers. A
// bad line is refused with its error; whatever a table accepted is saved
// and must load again, row for row.

#include "model/Fitting_Set_Class.h"
#include "model/Pipe_Diameter_Set_Class.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>

using namespace tessaran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);

    TFittingSet fittings(60);
    std::istringstream fittingLines(text);
    const bool user = data[0] & 1;
    std::string error;
    try {
        error = user ? fittings.LoadUserFittings_FromTextWithoutQuantity(fittingLines)
                     : fittings.LoadFromTextWithoutQuantity(fittingLines);
    } catch (const EFittingClass &) {
        error = "refused";
    }
    if (error.empty() && fittings.FittingCount > 0) {
        std::ostringstream saved;
        if (user)
            fittings.SaveUserFittings_ToTextWithoutQuantity(saved);
        else
            fittings.SaveToTextWithoutQuantity(saved);
        TFittingSet again(60);
        std::istringstream savedLines(saved.str());
        const std::string againError = user ? again.LoadUserFittings_FromTextWithoutQuantity(savedLines)
                                            : again.LoadFromTextWithoutQuantity(savedLines);
        if (!againError.empty() || again.FittingCount != fittings.FittingCount)
            std::abort();
    }

    TPipeDiameterSet pipes(60);
    std::istringstream pipeLines(text);
    const std::string version = data[0] & 2 ? "1.05" : "1.02";
    try {
        if (data[0] & 4)
            pipes.LoadUserPipes_DiameterData_FromText(pipeLines, "fuzz.trpiu", version, nullptr);
        else
            pipes.LoadFromText_DiameterData(pipeLines, "fuzz.trpi", version, nullptr);
        std::ostringstream saved;
        pipes.SaveToText_DiameterData(saved);
        TPipeDiameterSet again(60);
        std::istringstream savedLines(saved.str());
        again.LoadFromText_DiameterData(savedLines, "again.trpi", "1.05", nullptr);
    } catch (const std::exception &) {
    }
    return 0;
}
