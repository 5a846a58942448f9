// Drives the PDF writer's public calls with arbitrary numbers: page
// settings, shapes, pens and outline entries. A call may refuse its
// arguments, but the document written must hold only PDF numbers.

#include "docexport/Pdf_Engine.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

using namespace tessaran;

namespace {

class TReader {
public:
    TReader(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    double Number()
    {
        // Small integers most of the time, any bit pattern otherwise.
        const std::uint8_t kind = Byte();
        if (kind < 200)
            return static_cast<double>(static_cast<std::int8_t>(Byte()));
        double value = 0;
        std::uint8_t bytes[sizeof value] = {};
        for (std::uint8_t &b : bytes)
            b = Byte();
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

template <typename Call>
void Try(Call call)
{
    try {
        call();
    } catch (const std::invalid_argument &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TReader in(data, size);
    TdeCustomPDFEngine engine;
    engine.Preferences().SetShowSetupDialog(false);
    engine.Preferences().SetOpenAfterCreate(false);
    engine.Preferences().SetOutputToUserStream(true);
    engine.Compression().Enabled = false;
    TMemoryStream out;
    engine.SetUserStream(&out);

    if (in.Byte() & 1) {
        engine.Page().SetPaperSize(TdePaperSize::Custom);
        Try([&] { engine.Page().SetWidth(in.Number()); });
        Try([&] { engine.Page().SetHeight(in.Number()); });
        Try([&] { engine.Page().SetLeftMargin(in.Number()); });
        Try([&] { engine.Page().SetTopMargin(in.Number()); });
    }
    engine.BeginDoc();
    for (int calls = 0; in.More() && calls < 64; ++calls) {
        switch (in.Byte() % 10) {
        case 0:
            Try([&] { engine.Line(in.Number(), in.Number(), in.Number(), in.Number()); });
            break;
        case 1:
            Try([&] { engine.Rectangle(in.Number(), in.Number(), in.Number(), in.Number(), in.Byte() & 1); });
            break;
        case 2:
            Try([&] { engine.Ellipse(in.Number(), in.Number(), in.Number(), in.Number(), in.Byte() & 1); });
            break;
        case 3:
            Try([&] {
                engine.RoundRect(in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number(),
                                 in.Byte() & 1);
            });
            break;
        case 4: {
            TdePoints points(in.Byte() % 6);
            for (TdePoint &p : points)
                p = {in.Number(), in.Number()};
            Try([&] { engine.Polygon(points, in.Byte() & 1); });
            Try([&] { engine.PolyLine(points); });
            break;
        }
        case 5:
            Try([&] {
                engine.Arc(in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number(),
                           in.Number());
            });
            break;
        case 6:
            engine.Pen().Width = static_cast<std::int8_t>(in.Byte());
            break;
        case 7:
            (void)engine.AddTOCItem(u"Entry", -1, 1 + in.Byte() % 2, in.Number());
            break;
        case 8:
            if (engine.PageCount() < 3)
                engine.NewPage();
            break;
        default:
            Try([&] {
                engine.Pie(in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number(),
                           in.Number(), in.Byte() & 1);
            });
            break;
        }
    }
    engine.EndDoc();

    const std::string pdf(out.Bytes().begin(), out.Bytes().end());
    for (const char *token : {"NAN", "INF", "nan", "inf", "E+", "e+"})
        if (pdf.find(token) != std::string::npos)
            std::abort();
    return 0;
}
