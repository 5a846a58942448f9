#pragma once
// Plays an enhanced metafile onto a QPainter, mapping the picture's frame
// (0, 0)-(Width, Height) onto a destination rectangle. It draws the records
// the program's recordings contain (objects, lines, shapes, polygons and
// curves in both widths, paths, text with its recorded advances, clipping,
// saved states, world transforms, pixels and stretched bitmaps); other
// records are passed over. A record whose fields lie outside it is skipped.

#include "platform/Metafile.h"

#include <QPainter>
#include <QRectF>

namespace tessaran {

void PlayMetafile(QPainter &painter, const TMetafile &metafile, const QRectF &dest);

} // namespace tessaran
