#include "drawing/Symbol_Sheet.h"
#include "drawing_qt/Reference_Image.h"
#include "platform/MetafileCanvas.h"
#include "platform/qt/Qt_Canvas.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

TEST(SymbolSheetImage, PaintedAndPlayedBackMatchTheReference)
{
    QImage direct = WhiteImage(SymbolSheetWidth, SymbolSheetHeight);
    {
        TQtCanvas canvas(&direct);
        DrawSymbolSheet(canvas);
    }
    ExpectMatchesReference(direct, QStringLiteral("symbol_sheet.png"));

    TMetafile mf;
    mf.Width = SymbolSheetWidth;
    mf.Height = SymbolSheetHeight;
    TMetafileCanvas recorder(mf);
    DrawSymbolSheet(recorder);
    recorder.Close();
    const QImage played = PlayToImage(mf, SymbolSheetWidth, SymbolSheetHeight);
    ExpectMatchesReference(played, QStringLiteral("symbol_sheet_played.png"));
    EXPECT_LE(DifferingShare(played, direct), 0.02);
}

} // namespace
} // namespace tessaran
