// Feeds arbitrary bytes to the metafile loader, the record readers and the
// playback into a recording.
#include "platform/MetafileCanvas.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tessaran;
    TMetafile mf;
    try {
        mf.SetBytes(std::vector<std::uint8_t>(data, data + size));
    } catch (const EMetafileError &) {
        return 0;
    }
    mf.Enumerate([](const TEmfRecord &r) {
        try {
            for (std::size_t at = 0; at + 4 <= 64; at += 4)
                (void)r.U32(at);
        } catch (const EMetafileError &) {
        }
        return true;
    });
    TMetafile target;
    target.Width = target.Height = 100;
    TMetafileCanvas canvas(target);
    mf.Width = mf.Width > 0 ? mf.Width : 1;
    mf.Height = mf.Height > 0 ? mf.Height : 1;
    canvas.StretchDraw(TRect{0, 0, 100, 100}, mf);
    canvas.Close();
    return 0;
}
