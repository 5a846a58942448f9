// Feeds arbitrary bytes to the element record loaders at versions on both
// sides of their gates. A loader may refuse the bytes with its error, but
// must never read outside them or leave a half-loaded object behind.

#include "model/Component_Pressure_Class.h"
#include "model/FileHeader.h"
#include "model/Fitting_Set_Class.h"
#include "model/Flow_Control_Class.h"
#include "model/Fluid_Class.h"
#include "model/Node_Class.h"
#include "platform/Stream.h"

#include <cstdint>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

using namespace tessaran;

namespace {

template <typename Load>
void Try(const std::vector<std::uint8_t> &bytes, Load load)
{
    TMemoryStream stream(bytes);
    try {
        load(stream);
    } catch (const std::exception &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const char *const versions[] = {"2.05", "2.062", "2.1", "4.05", "5.50", "6.39", "6.43", "7.06", "7.12", "7.40"};
    const std::string version = versions[data[0] % (sizeof versions / sizeof versions[0])];
    const std::vector<std::uint8_t> bytes(data + 1, data + size);

    Try(bytes, [](TStream &s) { TFileHeader().Load(s); });
    Try(bytes, [&](TStream &s) { TFluid().Load(s, version); });
    Try(bytes, [&](TStream &s) { TNode().Load(s, version); });
    Try(bytes, [&](TStream &s) { TFlowControl().Load(s, version); });
    Try(bytes, [&](TStream &s) { TComponentPressure().Load(s, version, false); });
    Try(bytes, [](TStream &s) { TComponentPressure().Load(s, "7.40", true); });
    Try(bytes, [&](TStream &s) {
        TFittingSet set(5);
        set.Load(s, version);
    });

    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    try {
        TFileHeader().LoadFromText(text);
        TFittingSet database(50);
        (void)database.LoadFromTextWithoutQuantity(text);
    } catch (const std::exception &) {
    }
    return 0;
}
