// Draws the picture of every example network ("<name>.jpg" beside
// "<name>.trz") with the program's network renderer, as the example browser
// shows it: 560 by 350 pixels, the network fitted in with a margin.
// The pictures depend on the fonts of the machine that draws them, so they
// are redrawn with the other data (target regenerate_data) but not compared
// byte for byte.

#include "Shipped_Data.h"

#include "drawing/MetaFileDrawing_Class.h"
#include "network/Network_Class.h"
#include "platform/Jpeg_Image.h"
#include "platform/Stream.h"
#include "platform/qt/Qt_Canvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

using namespace tessaran;
using namespace tessaran::shipped;

namespace {

constexpr int PictureWidth = 560;
constexpr int PictureHeight = 350;
constexpr int Margin = 16;

// The bounding box of everything that is not white.
QRect DrawnArea(const QImage &image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

void DrawPicture(const std::filesystem::path &networkFile)
{
    auto network = std::make_unique<TNetwork>();
    TMemoryStream stream;
    stream.LoadFromFile(networkFile.string());
    network->Load(stream);

    // The renderer draws in sheet units; the examples lie near the sheet's
    // corner, the isometric view around it.
    QImage sheet(2400, 1800, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(600, 600);
        TQtCanvas canvas(painter);
        TMetaFileDrawing drawing(18060, 12020);
        drawing.DrawNetworkOnCanvas(canvas, *network, TNetworkStates{}, false, false, false, 0, false);
    }
    const QRect area = DrawnArea(sheet);
    if (area.isNull()) {
        std::cerr << networkFile << " draws nothing\n";
        std::exit(1);
    }
    const QImage drawn = sheet.copy(area).scaled(PictureWidth - 2 * Margin, PictureHeight - 2 * Margin,
                                                 Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.drawImage((PictureWidth - drawn.width()) / 2, (PictureHeight - drawn.height()) / 2, drawn);
    }
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(FromQImage(picture), 90, false);
    std::filesystem::path pictureFile = networkFile;
    std::ofstream file = OpenOutput(pictureFile.replace_extension(".jpg"));
    file.write(reinterpret_cast<const char *>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path data = DataFolderArgument(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    for (const char *folder : {"ExampleSystems", "ExampleSystemsCompressible"})
        for (const auto &entry : std::filesystem::directory_iterator(data / folder))
            if (entry.path().extension() == ".trz")
                DrawPicture(entry.path());
    return 0;
}
