// Feeds arbitrary bytes to the pipe record, the node and pipe tables, the
// free text and the pipe-size table reader. A loader may refuse the bytes
// with its error, but must never read outside them or leave a half-loaded
// object behind.

#include "model/Free_Text_Class.h"
#include "model/Node_Set_Class.h"
#include "model/Pipe_Class.h"
#include "model/Pipe_Diameter_Set_Class.h"
#include "model/Pipe_Set_Class.h"
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
    static const char *const versions[] = {"0", "1.10", "2.0", "2.062", "5.10", "6.34", "6.40", "7.40"};
    const std::string version = versions[data[0] % (sizeof versions / sizeof versions[0])];
    const std::vector<std::uint8_t> bytes(data + 1, data + size);

    static TPipe pipe;
    Try(bytes, [&](TStream &s) { pipe.Load(s, version); });
    static TFreeText text;
    Try(bytes, [&](TStream &s) { text.Load(s, version); });
    static TNodeSet nodes;
    Try(bytes, [&](TStream &s) { nodes.Load(s, version); });
    static TPipeSet pipes;
    Try(bytes, [&](TStream &s) { pipes.Load(s, version); });

    static TPipeDiameterSet table(50);
    table.Clear();
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    try {
        table.LoadUserPipes_DiameterData_FromText(lines, "fuzz.trpiu", data[0] % 2 ? "1.05" : "1.02", nullptr);
    } catch (const std::exception &) {
    }
    return 0;
}
