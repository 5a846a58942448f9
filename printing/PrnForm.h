#pragma once
// Prints what a form shows, the parts scrolled out of view included, scaled
// to the page with its aspect kept. Each band of the page is rendered anew
// from the form's widgets into a bitmap and sent as the bitmap printer sends
// its tiles, with the same fall-backs.

#include "printing/PrnUtils.h"

#include <functional>

class QObject;
class QPainter;
class QWidget;

namespace tessaran {

struct FormPrintOptions {
    std::int32_t Size = 16;
    TLongBool ShowDialog = LongFalse; // the cancel dialog while printing
    TLongBool NoFlush = LongFalse;
    TLongBool TrueColor = LongFalse; // false: bands of few colours go out with a palette
};

// Paints the form's background (or a control) itself; true when it did.
using FormPainter = std::function<bool(QWidget *form, QPainter &painter)>;
using ControlPainter = std::function<bool(QWidget *control, QPainter &painter)>;

class TAbortDialog;

struct FormPrintJob {
    TPrintDevice *DC = nullptr;
    QWidget *Form = nullptr;
    TRect Dest;
    TRect FormRect;
    TRect Visible;
    TRect Clip;
    int ScrollX = 0;
    int ScrollY = 0;
    long double DestPerFormX = 0;
    long double DestPerFormY = 0;
    long double FormPerDestX = 0;
    long double FormPerDestY = 0;
    bool Fallback = false;
    FormPainter PaintForm;
    ControlPainter PaintControl;
    FormPrintOptions Options;
    TAbortDialog *Dialog = nullptr;
    ProgressCallback CallerProgress = nullptr;
    void *CallerData = nullptr;
};

TLongBool PrintFormFitToPage(QWidget *form, TPrintDevice *dc, TLongBool centre, TLongBool useMargins);
TLongBool PrintFormToDC(QWidget *form, TPrintDevice *dc, TLongBool centre, TLongBool useMargins,
                        const FormPrintOptions *options);
TLongBool RenderFormToDC(QWidget *form, TPrintDevice *dc, int x, int y, int width, int height, TRect clip,
                         ProgressCallback progress, void *userData, FormPainter paintForm,
                         ControlPainter paintControl, const FormPrintOptions *options);

// The whole scrollable image of the form, and how far it is scrolled.
void GetFormImageSize(QWidget *form, int &width, int &height);
void GetFormScrollOffset(QWidget *form, int &x, int &y);
TLongBool InheritsFromClassName(const QObject *object, const char *className);

void RenderControlImage(QWidget *control, QPainter &painter);
void RenderControlTree(QWidget *control, QPainter &painter, int x, FormPrintJob *job, int y);
void RenderControlFrame(QWidget *control, QPainter &painter, int x, FormPrintJob *job, int y);

TLongBool PrintFormTile(TileInfo *info);
TLongBool FormPrintProgress(int tileIndex, int tileCount, void *userData);

namespace detail {
// The form printer's own copy of the printing settings.
PrintLibrarySettings &FormPrintSettings();
} // namespace detail

} // namespace tessaran
