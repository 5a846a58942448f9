#pragma once
// Comparing a drawing painted through Qt with its stored reference image.
// Setting TESSARAN_WRITE_REFERENCES writes the references instead.

#include "platform/Metafile.h"
#include "platform/qt/Emf_Player.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <cstdlib>

namespace tessaran {

inline const QString &DrawingReferenceDir()
{
    static const QString dir = QStringLiteral(TESSARAN_TEST_DATA_DIR "/drawing_qt/");
    return dir;
}

inline QImage WhiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

inline QImage PlayToImage(const TMetafile &mf, int w, int h)
{
    QImage image = WhiteImage(w, h);
    QPainter painter(&image);
    PlayMetafile(painter, mf, QRectF(0, 0, w, h));
    return image;
}

// The share of pixels whose channels differ by more than the threshold.
inline double DifferingShare(const QImage &a, const QImage &b, int threshold = 64)
{
    if (a.size() != b.size())
        return 1.0;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > threshold || std::abs(qGreen(p) - qGreen(q)) > threshold ||
                std::abs(qBlue(p) - qBlue(q)) > threshold)
                ++differing;
        }
    return double(differing) / (double(a.width()) * a.height());
}

// Compares an image with the reference picture of that name in a folder;
// TESSARAN_WRITE_REFERENCES set writes the reference instead.
inline void ExpectMatchesReferenceIn(const QString &folder, const QImage &image, const QString &name,
                                     double tolerance)
{
    const QString path = folder + name;
    image.save(QStringLiteral("render_") + name); // kept beside the test for inspection
    if (std::getenv("TESSARAN_WRITE_REFERENCES")) {
        QDir().mkpath(folder);
        ASSERT_TRUE(image.save(path));
        return;
    }
    const QImage reference(path);
    ASSERT_FALSE(reference.isNull()) << "missing reference " << path.toStdString();
    EXPECT_LE(DifferingShare(image.convertToFormat(QImage::Format_RGB32),
                             reference.convertToFormat(QImage::Format_RGB32)),
              tolerance)
        << name.toStdString();
}

inline void ExpectMatchesReference(const QImage &image, const QString &name, double tolerance = 0.005)
{
    ExpectMatchesReferenceIn(DrawingReferenceDir(), image, name, tolerance);
}

} // namespace tessaran
