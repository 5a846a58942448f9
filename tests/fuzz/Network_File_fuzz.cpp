// Feeds arbitrary bytes to the network file loader. The loader must never
// read outside them, hang or raise; a file it refuses must leave exactly the
// network that a new one is, and whatever it accepts must save again.

#include "network/Network_Class.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace tessaran;

namespace {

class TRecordingUserInterface : public TUserInterfaceSeam {
public:
    void ShowMessage(TMessageKind, const std::string &text) override
    {
        if (text == "The file does not have the correct format and cannot be loaded.\r" ||
            text.rfind("The file was produced by Tessaran version ", 0) == 0)
            Refused = true;
    }
    bool AskYesNo(TMessageKind, const std::string &) override { return false; }
    void ProcessMessages() override {}
    int TestResultsMode() const override { return 0; }
    bool Refused = false;
};

std::vector<std::uint8_t> Saved(TNetwork &network)
{
    TMemoryStream stream;
    network.Save(stream);
    return stream.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // One network for every input, as the main window reuses its tabs: a
    // load must not depend on what the network held before.
    static TNetwork *network = new TNetwork();
    static const std::vector<std::uint8_t> empty = [] {
        auto fresh = std::make_unique<TNetwork>();
        return Saved(*fresh);
    }();
    static TRecordingUserInterface ui;
    network->UserInterface = &ui;
    ui.Refused = false;

    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    network->Load(stream);
    const std::vector<std::uint8_t> saved = Saved(*network);
    if (ui.Refused && saved != empty)
        std::abort(); // refused, yet not left as a new network
    return 0;
}
