#include "pumps/Pump_Sheet_Image_Form.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QThread>

#include "model/Fluid_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Named_Widget.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Data_Form.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

// Halves go to the even neighbour, as the axis arithmetic rounds.
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

struct TUnitItem {
    const char *caption;
    TUnit unit;
};
const TUnitItem XUnitItems[] = {
    {"m³/sec", unt_m3_sec},     {"m³/min", unt_m3_min},     {"m³/hour", unt_m3_hour},   {"l/sec", unt_L_sec},
    {"l/min", unt_L_min},       {"l/hour", unt_L_hour},     {"ft³/sec", unt_ft3_sec},   {"ft³/min", unt_ft3_min},
    {"ft³/hour", unt_ft3_hour}, {"in³/sec", unt_inch3_sec}, {"in³/min", unt_inch3_min}, {"in³/hour", unt_inch3_hour},
    {"UK gpm", unt_gpm_UK},     {"US gpm", unt_gpm_USA},    {"kg/sec", unt_kg_sec},     {"kg/min", unt_kg_min},
    {"kg/hour", unt_kg_hour},   {"lb/sec", unt_lb_sec},     {"lb/min", unt_lb_min},     {"lb/hour", unt_lb_hour}};
const TUnitItem YUnitItems[] = {
    {"m Fluid", unt_m_hd_fluid},    {"ft Fluid", unt_ft_hd_fluid}, {"mm Fluid", unt_mm_hd_fluid},
    {"in. Fluid", unt_in_hd_fluid}, {"bar.g", unt_Bar_G},          {"psi.g", unt_Psi_G},
    {"kPa.g", unt_kPa_G},           {"mm Hg", unt_mm_Hg},          {"in. Hg", unt_in_Hg},
    {"mm.H²O", unt_mm_H2O},         {"in.H²O", unt_in_H2O}};
const TUnitItem DiameterUnitItems[] = {{"m", unt_m}, {"mm", unt_mm}, {"ft", unt_ft}, {"inch", unt_inch}};

template <std::size_t N>
int ItemOf(const TUnitItem (&items)[N], TUnit unit)
{
    for (std::size_t i = 0; i < N; ++i)
        if (items[i].unit == unit)
            return static_cast<int>(i);
    return -1;
}

double FlowConvert(TUnit from, TUnit to, double value, double density)
{
    return convertFlowUnit(from, to, std_15degC_101325Pa, value, density, 0, 288.15, 1.01325);
}

const QString FormColour = QStringLiteral("background-color: rgb(241, 250, 255);");

TPumpSheetImageForm *instance = nullptr;
void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

} // namespace

// --- the axis arithmetic -----------------------------------------------------------------

double TPumpSheetCalibration::XValueOfPixel(int x) const
{
    if (XEnd.x() == XStart.x())
        return 0;
    return xMin + static_cast<double>(x - XStart.x()) / std::abs(XEnd.x() - XStart.x()) * (xMax - xMin);
}

double TPumpSheetCalibration::YValueOfPixel(int y) const
{
    if (YEnd.y() == YStart.y())
        return 0;
    return yMin + static_cast<double>(YStart.y() - y) / std::abs(YEnd.y() - YStart.y()) * (yMax - yMin);
}

int TPumpSheetCalibration::PixelXOfValue(double v) const
{
    if (xMax == xMin)
        return 0;
    return RoundEven((v - xMin) / std::abs(xMax - xMin) * (XEnd.x() - XStart.x())) + XStart.x();
}

int TPumpSheetCalibration::PixelYOfValue(double v) const
{
    if (yMax == yMin)
        return 0;
    return RoundEven((v - yMin) / std::abs(yMax - yMin) * (YEnd.y() - YStart.y())) + YStart.y();
}

QImage FadePumpSheetImage(const QImage &unfaded, int percent)
{
    QImage faded = unfaded.convertToFormat(QImage::Format_RGB32);
    const int a = std::clamp(RoundEven(percent / 100.0 * 255), 0, 255);
    if (a == 0)
        return faded;
    for (int y = 0; y < faded.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(faded.scanLine(y));
        for (int x = 0; x < faded.width(); ++x) {
            auto mix = [a](int v) { return (v * (255 - a) + 255 * a + 127) / 255; };
            const QRgb p = line[x];
            line[x] = qRgb(mix(qRed(p)), mix(qGreen(p)), mix(qBlue(p)));
        }
    }
    return faded;
}

// --- construction ----------------------------------------------------------------------------

TPumpSheetImageForm::TPumpSheetImageForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PumpSheetImageForm"));
    setWindowTitle(QStringLiteral("Pump Sheet Import and Point Selection"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(1200, 760);
    build();
    connectAll();
    WorkingPump.Clear();
}

TPumpSheetImageForm::~TPumpSheetImageForm() = default;

TPumpSheetImageForm &TPumpSheetImageForm::Instance()
{
    if (!instance) {
        instance = new TPumpSheetImageForm;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

void TPumpSheetImageForm::build()
{
    auto frame = [this](const char *name, int x, int y, int w, int h) {
        QFrame *f = Named<QFrame>(name, this);
        f->setFrameShape(QFrame::Box);
        f->setGeometry(x, y, w, h);
        f->setAutoFillBackground(true);
        return f;
    };
    auto label = [](const char *name, QWidget *parent, const QString &text, int x, int y, int w) {
        QLabel *l = Named<QLabel>(name, text, parent);
        l->setGeometry(x, y, w, 18);
        return l;
    };
    auto button = [](const char *name, QWidget *parent, const QString &text, int x, int y, int w, int h = 24) {
        QPushButton *b = Named<QPushButton>(name, text, parent);
        b->setGeometry(x, y, w, h);
        return b;
    };
    auto edit = [](const char *name, QWidget *parent, int x, int y, int w) {
        TRightEdit *e = Named<TRightEdit>(name, parent);
        e->setGeometry(x, y, w, 21);
        return e;
    };
    auto combo = [](const char *name, QWidget *parent, int x, int y, int w) {
        QComboBox *c = Named<QComboBox>(name, parent);
        c->setGeometry(x, y, w, 21);
        return c;
    };

    GroupBoxStep1 = frame("GroupBoxStep1", 8, 6, 230, 124);
    LabelStep1 = label("LabelStep1", GroupBoxStep1, QStringLiteral("Step 1: Import Pump Sheet Image"), 6, 4, 218);
    ButtonImportImage =
        button("ButtonImportImage", GroupBoxStep1, QStringLiteral("Import Pump Sheet Image"), 6, 26, 200);
    label("LabelFade", GroupBoxStep1, QStringLiteral("Fade Image"), 6, 62, 100);
    TrackBarFade = Named<QSlider>("TrackBarFade", Qt::Horizontal, GroupBoxStep1);
    TrackBarFade->setRange(0, 100);
    TrackBarFade->setGeometry(6, 82, 200, 24);

    GroupBoxStep2 = frame("GroupBoxStep2", 244, 6, 300, 124);
    LabelStep2 = label("LabelStep2", GroupBoxStep2, QStringLiteral("Step 2: Define X Axis"), 6, 4, 280);
    label("LabelXMin", GroupBoxStep2, QStringLiteral("X Min"), 6, 28, 40);
    RightEditXMin = edit("RightEditXMin", GroupBoxStep2, 50, 26, 80);
    label("LabelXMax", GroupBoxStep2, QStringLiteral("X Max"), 140, 28, 40);
    RightEditXMax = edit("RightEditXMax", GroupBoxStep2, 184, 26, 80);
    ComboBoxXUnits = combo("ComboBoxXUnits", GroupBoxStep2, 50, 54, 120);
    for (const TUnitItem &u : XUnitItems)
        ComboBoxXUnits->addItem(QString::fromUtf8(u.caption));
    ButtonSelectXAxis = button("ButtonSelectXAxis", GroupBoxStep2,
                               QStringLiteral("Select X Axis on Image (Click min && max X)"), 6, 86, 286);

    GroupBoxStep3 = frame("GroupBoxStep3", 550, 6, 300, 124);
    LabelStep3 = label("LabelStep3", GroupBoxStep3, QStringLiteral("Step 3: Define Y Axis "), 6, 4, 280);
    label("LabelYMin", GroupBoxStep3, QStringLiteral("Y Min"), 6, 28, 40);
    RightEditYMin = edit("RightEditYMin", GroupBoxStep3, 50, 26, 80);
    label("LabelYMax", GroupBoxStep3, QStringLiteral("Y Max"), 140, 28, 40);
    RightEditYMax = edit("RightEditYMax", GroupBoxStep3, 184, 26, 80);
    ComboBoxYUnits = combo("ComboBoxYUnits", GroupBoxStep3, 50, 54, 120);
    for (const TUnitItem &u : YUnitItems)
        ComboBoxYUnits->addItem(QString::fromUtf8(u.caption));
    ButtonSelectYAxis = button("ButtonSelectYAxis", GroupBoxStep3,
                               QStringLiteral("Select Y Axis on Image (Click min && max Y)"), 6, 86, 286);

    GroupBoxStep4 = frame("GroupBoxStep4", 856, 6, 336, 124);
    LabelStep4 = label("LabelStep4", GroupBoxStep4, QStringLiteral("Step 4: Select Pump Data Points"), 6, 4, 320);
    ButtonSelectPoints =
        button("ButtonSelectPoints", GroupBoxStep4, QStringLiteral("Select Points on Curve"), 6, 26, 160);
    ButtonClearPoints =
        button("ButtonClearPoints", GroupBoxStep4, QStringLiteral("Clear All Data Points"), 170, 26, 160);
    label("LabelSpeed", GroupBoxStep4, QStringLiteral("Pump Speed (rpm)"), 6, 58, 110);
    RightEditSpeed = edit("RightEditSpeed", GroupBoxStep4, 118, 56, 60);
    label("LabelDiameter", GroupBoxStep4, QStringLiteral("Impeller Diam."), 6, 84, 110);
    RightEditDiameter = edit("RightEditDiameter", GroupBoxStep4, 118, 82, 60);
    ComboBoxDiameterUnits = combo("ComboBoxDiameterUnits", GroupBoxStep4, 182, 82, 60);
    for (const TUnitItem &u : DiameterUnitItems)
        ComboBoxDiameterUnits->addItem(QString::fromUtf8(u.caption));
    CheckBoxSaveImage = Named<QCheckBox>("CheckBoxSaveImage", QStringLiteral("Save Image with Pump"), GroupBoxStep4);
    CheckBoxSaveImage->setGeometry(184, 56, 150, 20);
    ButtonSaveData = button("ButtonSaveData", GroupBoxStep4, QStringLiteral("Save Data To Pump"), 6, 104, 160, 18);
    ButtonCancel = button("ButtonCancel", this, QStringLiteral("Cancel Without Saving"), 1040, 724, 150);

    ImagePumpSheet = Named<TImageBox>("ImagePumpSheet", PumpSheetImageWidth, PumpSheetImageHeight, this);
    ImagePumpSheet->move(250, 144);
    ImagePumpSheet->setMouseTracking(true);

    // The point panel, docked left at first.
    PanelPoints = frame("PanelPoints", 23, 144, 214, 420);
    label("LabelPointsCaption", PanelPoints, QStringLiteral("   Data Points"), 2, 2, 120);
    ButtonDockLeft = button("ButtonDockLeft", PanelPoints, QStringLiteral("<"), 170, 2, 18, 18);
    ButtonDockRight = button("ButtonDockRight", PanelPoints, QStringLiteral(">"), 190, 2, 18, 18);
    ComboBoxDataType = combo("ComboBoxDataType", PanelPoints, 6, 24, 100);
    ComboBoxDataType->addItems({QStringLiteral("Head"), QStringLiteral("Effic"), QStringLiteral("NPSHr")});
    StringGridPoints = Named<QTableWidget>("StringGridPoints", 11, 2, PanelPoints);
    StringGridPoints->setGeometry(6, 50, 180, 11 * 24 + 4);
    StringGridPoints->horizontalHeader()->hide();
    StringGridPoints->verticalHeader()->hide();
    for (int r = 0; r < 11; ++r)
        StringGridPoints->setRowHeight(r, 24);
    StringGridPoints->setColumnWidth(0, 88);
    StringGridPoints->setColumnWidth(1, 88);
    for (int r = 0; r < 11; ++r)
        for (int c = 0; c < 2; ++c)
            StringGridPoints->setItem(r, c, new QTableWidgetItem);
    for (int i = 1; i <= MaxPumpSheetPoints; ++i) {
        const QByteArray name = "ButtonDelete" + QByteArray::number(i);
        ButtonDelete[static_cast<std::size_t>(i)] =
            button(name.constData(), PanelPoints, QStringLiteral("x"), 190, 52 + i * 24, 18, 20);
    }

    PanelAdditionalData = frame("PanelAdditionalData", 400, 300, 200, 110);
    label("LabelAdditionalCaption", PanelAdditionalData, QStringLiteral("    Additional Data:"), 2, 2, 150);
    ButtonCloseAdditionalData =
        button("ButtonCloseAdditionalData", PanelAdditionalData, QStringLiteral("x"), 178, 2, 18, 18);
    label("LabelEffic", PanelAdditionalData, QStringLiteral("Efficiency"), 6, 28, 70);
    RightEditEffic = edit("RightEditEffic", PanelAdditionalData, 80, 26, 70);
    label("LabelEfficUnit", PanelAdditionalData, QStringLiteral("%"), 154, 28, 30);
    label("LabelNPSHr", PanelAdditionalData, QStringLiteral("NPSHr"), 6, 54, 70);
    RightEditNPSHr = edit("RightEditNPSHr", PanelAdditionalData, 80, 52, 70);
    LabelNPSHrUnit = label("LabelNPSHrUnit", PanelAdditionalData, QString(), 154, 54, 44);
    ButtonSaveAndClose =
        button("ButtonSaveAndClose", PanelAdditionalData, QStringLiteral("Save and Close"), 40, 80, 120);
    PanelAdditionalData->hide();

    PanelNote = frame("PanelNote", 400, 200, 380, 330);
    label("LabelNoteCaption", PanelNote, QStringLiteral("  Note:"), 2, 2, 100);
    LabelNote = Named<QLabel>("LabelNote", PanelNote);
    LabelNote->setGeometry(8, 24, 364, 270);
    LabelNote->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    ButtonNoteOk = button("ButtonNoteOk", PanelNote, QStringLiteral("Ok"), 150, 298, 80);
    PanelNote->hide();

    for (QWidget *w : {static_cast<QWidget *>(PanelPoints), static_cast<QWidget *>(PanelAdditionalData),
                       static_cast<QWidget *>(PanelNote)})
        w->installEventFilter(this);
}

void TPumpSheetImageForm::connectAll()
{
    connect(ButtonImportImage, &QPushButton::clicked, this, [this] { ImportImageClick(); });
    connect(TrackBarFade, &QSlider::valueChanged, this, [this](int p) {
        if (!filling_)
            FadeChange(p);
    });
    connect(ButtonSelectXAxis, &QPushButton::clicked, this, [this] { SelectXAxisClick(); });
    connect(ButtonSelectYAxis, &QPushButton::clicked, this, [this] { SelectYAxisClick(); });
    connect(ButtonSelectPoints, &QPushButton::clicked, this, [this] { SelectPointsClick(); });
    connect(ButtonClearPoints, &QPushButton::clicked, this, [this] { ClearAllDataPoints(); });
    connect(ButtonSaveData, &QPushButton::clicked, this, [this] { SaveDataToPumpClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(ButtonSaveAndClose, &QPushButton::clicked, this, [this] { SaveAndCloseClick(); });
    connect(ButtonCloseAdditionalData, &QPushButton::clicked, this, [this] { SaveAndCloseClick(); });
    connect(ButtonNoteOk, &QPushButton::clicked, PanelNote, &QWidget::hide);
    connect(ButtonDockLeft, &QPushButton::clicked, this, [this] { PanelPoints->move(23, 144); });
    connect(ButtonDockRight, &QPushButton::clicked, this, [this] { PanelPoints->move(778, 144); });
    connect(ImagePumpSheet, &TImageBox::Clicked, this, [this](QPoint at) { PictureClick(at); });
    connect(ImagePumpSheet, &TImageBox::Moved, this, [this](QPoint at) { PictureMove(at); });
    for (int i = 1; i <= MaxPumpSheetPoints; ++i)
        connect(ButtonDelete[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { DeletePoint(i); });

    auto scaleBox = [this](TRightEdit *box, double &value) {
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 6, 3); };
        connect(box, &QLineEdit::textEdited, this, [this, box, &value] { scaleBoxEdited(box, value); });
        connect(box, &QLineEdit::textEdited, this, [this, box] {
            setAxisFrame(box == RightEditXMin || box == RightEditXMax ? GroupBoxStep2 : GroupBoxStep3);
        });
    };
    scaleBox(RightEditXMin, Calibration.xMin);
    scaleBox(RightEditXMax, Calibration.xMax);
    scaleBox(RightEditYMin, Calibration.yMin);
    scaleBox(RightEditYMax, Calibration.yMax);
    RightEditSpeed->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterIntegerKey(sender, key, false, 6); };
    connect(RightEditSpeed, &QLineEdit::textEdited, this, [this] { speedEdited(); });
    RightEditDiameter->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, unitEntryDigits(WorkingPump.ImpellerDiameterDisplayUnit), 3);
    };
    connect(RightEditDiameter, &QLineEdit::textEdited, this, [this] { diameterEdited(); });
    RightEditEffic->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 2, 3); };
    connect(RightEditEffic, &QLineEdit::textEdited, this, [this] { efficEdited(); });
    RightEditNPSHr->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 6, 3); };
    connect(RightEditNPSHr, &QLineEdit::textEdited, this, [this] { npshrEdited(); });
    RightEditEffic->installEventFilter(this);
    RightEditNPSHr->installEventFilter(this);

    connect(ComboBoxXUnits, &QComboBox::activated, this, [this](int index) {
        setAxisFrame(GroupBoxStep2);
        xUnit = index >= 0 && index < static_cast<int>(std::size(XUnitItems)) ? XUnitItems[index].unit : unt_m3_sec;
        writeGridTitle();
    });
    connect(ComboBoxYUnits, &QComboBox::activated, this, [this](int index) { yUnitListChanged(index); });
    connect(ComboBoxDiameterUnits, &QComboBox::activated, this, [this](int index) {
        WorkingPump.ImpellerDiameterDisplayUnit = index >= 0 && index < static_cast<int>(std::size(DiameterUnitItems))
                                                      ? DiameterUnitItems[index].unit
                                                      : unt_m;
        diameterEdited();
    });
    connect(ComboBoxDataType, &QComboBox::activated, this, [this] { PumpSheetImageOverlayUpdatePoints(); });
    connect(StringGridPoints, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem *item) { gridCellEdited(item); });
    StringGridPoints->installEventFilter(this);
}

QPoint TPumpSheetImageForm::pictureOrigin() const { return ImagePumpSheet->pos(); }

bool TPumpSheetImageForm::eventFilter(QObject *watched, QEvent *event)
{
    // The three panels are dragged by their caption strip or body.
    static QPoint dragFrom;
    if (watched == PanelPoints || watched == PanelAdditionalData || watched == PanelNote) {
        auto *panel = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::MouseButtonPress) {
            dragFrom = static_cast<QMouseEvent *>(event)->position().toPoint();
            return false;
        }
        if (event->type() == QEvent::MouseMove && (static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton)) {
            panel->move(panel->pos() + static_cast<QMouseEvent *>(event)->position().toPoint() - dragFrom);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == RightEditEffic)
            SetDataType(QStringLiteral("Effic"));
        else if (watched == RightEditNPSHr)
            SetDataType(QStringLiteral("NPSHr"));
    }
    if (watched == StringGridPoints) {
        if (event->type() == QEvent::FocusOut) {
            PumpSheetImageOverlayUpdatePoints();
            if (CurrentPoint > 0) {
                RightEditEffic->setText(q(formatFixed(2, Effic[static_cast<std::size_t>(CurrentPoint)])));
                RightEditNPSHr->setText(q(formatFixed(
                    2, convertHeadPressureUnit(unt_m_hd_fluid, yUnit, NPSHr_mHd[static_cast<std::size_t>(CurrentPoint)],
                                               Density_kgm3))));
            }
        } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return) {
            PumpSheetImageOverlayUpdatePoints();
        }
    }
    return QDialog::eventFilter(watched, event);
}

// --- opening ---------------------------------------------------------------------------------

void TPumpSheetImageForm::OpenForm(TPump &ThePump, const TFluid &TheFluid) { Instance().Open(ThePump, TheFluid); }

void TPumpSheetImageForm::Open(TPump &ThePump, const TFluid &TheFluid)
{
    // 1.
    setStyleSheet(QStringLiteral("QDialog#PumpSheetImageForm { ") + FormColour + QStringLiteral(" }"));
    PickingMode = PickNone;
    ImagePumpSheet->setCursor(Qt::ArrowCursor);
    Density_kgm3 = TheFluid.density_kgs_m3 > 0 ? TheFluid.density_kgs_m3 : 1000.0;
    SetDataType(QStringLiteral("Head"));
    UnfadedImage = QImage(PumpSheetImageWidth, PumpSheetImageHeight, QImage::Format_RGB32);
    FadedImage = UnfadedImage;
    PanelNote->hide();
    PanelAdditionalData->hide();

    // 2.
    WorkingPump.CopyPump(ThePump);
    WorkingPump.calcPumpCurves(Density_kgm3);
    // NPSHr is held in metres of fluid here; a record kept in metres of
    // water is read over.
    if (WorkingPump.PumpPoints.SetNPSHr_Stored_mH2O)
        for (int i = 1; i <= MaxPumpSheetPoints; ++i)
            WorkingPump.ImportedPumpSheet.NPSHrPoints_mHd[i] = convertHeadPressureUnit(
                unt_m_H2O, unt_m_hd_fluid, WorkingPump.ImportedPumpSheet.NPSHrPoints_mHd[i], Density_kgm3);
    SetStartValuesFromPump();

    TImportedPumpSheet &sheet = WorkingPump.ImportedPumpSheet;
    ++filling_;
    if (!sheet.Imported) {
        // 3.
        ComboBoxXUnits->setCurrentIndex(-1);
        ComboBoxYUnits->setCurrentIndex(-1);
        CheckBoxSaveImage->setChecked(true);
        SetStartValues();
        UnfadedImage.fill(Qt::white);
        FadedImage.fill(Qt::white);
        ImagePumpSheet->Picture.fill(Qt::white);
        StepReached.fill(false);
        ShowStep(1);
        PointsCount = 0;
        sheet.PumpSheetOpacity = 25;
    } else {
        // 4.
        for (int s = 1; s <= 4; ++s)
            StepReached[static_cast<std::size_t>(s)] = true;
        StepReached[5] = false;
        CheckBoxSaveImage->setChecked(sheet.SaveImportedBitmap);
        if (sheet.SaveImportedBitmap && !sheet.PumpSheetBitmap.Empty()) {
            UnfadedImage =
                ToQImage(sheet.PumpSheetBitmap.Bitmap())
                    .scaled(PumpSheetImageWidth, PumpSheetImageHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .convertToFormat(QImage::Format_RGB32);
            FadedImage = FadePumpSheetImage(UnfadedImage, sheet.PumpSheetOpacity);
        } else {
            UnfadedImage.fill(Qt::white);
            FadedImage.fill(Qt::white);
        }
        SelectXUnit(xUnit);
        SelectYUnit(yUnit);
        writeGridTitle();
        DrawOverlay();
        RightEditSpeed->setText(QString::number(sheet.PumpSpeed_rpm));
        const TUnit unit = WorkingPump.ImpellerDiameterDisplayUnit;
        RightEditDiameter->setText(
            q(convertUnitToString(unt_m, unit, unitDecimals(unit), sheet.PumpImpellerDiameter_m)));
        ComboBoxDiameterUnits->setCurrentIndex(ItemOf(DiameterUnitItems, unit));
        ShowStep(4);
        if (WorkingPump.BaseDataSpeed_rpm != sheet.PumpSpeed_rpm ||
            WorkingPump.BaseDataImpellerDiameter_m != sheet.PumpImpellerDiameter_m)
            showNote();
    }
    // 5.
    TrackBarFade->setValue(sheet.PumpSheetOpacity);
    --filling_;
    Saved = false;
    exec();

    // 6.
    PickingMode = PickNone;
    if (!Saved)
        return;
    if (Dialogs().AskYesNo(TDialogKind::Confirmation,
                           QStringLiteral("Previous pump details may exist for:\r\rCatalogue, Manufacturer, Type, Rpm, "
                                          "Size, Stages, \rMin Speed, Max Speed, Min Diam, Max Diam, \rAND graph "
                                          "adjustments may have been customised.\r\rNormally you will want to clear "
                                          "previous details.\r\rClear Previous Details & set to Standard Affinity "
                                          "Laws?\r"),
                           this)) {
        TPump &p = WorkingPump;
        p.PumpCatalog.clear();
        p.PumpManufacturer.clear();
        p.PumpTypeKind.clear();
        p.PumpSize.clear();
        p.Notes.clear();
        p.PumpMotorRpm = 0;
        p.PumpStages = 0;
        p.PumpSpeedMinRpm = 0;
        p.PumpSpeedMaxRpm = 0;
        p.PumpImpellerDiameterMin_m = 0;
        p.PumpImpellerDiameterMax_m = 0;
        p.ResetToAffinityLawPredictions();
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Previous pump details have been cleared.\r\rWhen you return to the main "
                                             "Pump Screen, you will need to:\r\r1. Enter Min & Max Speed\r2. Enter "
                                             "Min & Max Impeller size.\r3. Click on 'Draw Graph' button.\r"),
                              this);
    }
    ThePump.CopyPump(WorkingPump);
    ThePump.calcPumpCurves(Density_kgm3);
}

void TPumpSheetImageForm::showNote()
{
    const TImportedPumpSheet &sheet = WorkingPump.ImportedPumpSheet;
    const TUnit unit = WorkingPump.ImpellerDiameterDisplayUnit;
    auto D = [unit](double m) { return q(convertUnitToString(unt_m, unit, unitDecimals(unit), m)); };
    const QString name = q(unitName(unit));
    const QString text = QStringLiteral("The pump's current base data is defined for\r\rPump Speed: ") +
                         QString::number(WorkingPump.BaseDataSpeed_rpm) + " rpm" + "\r" +
                         "Impeller Diameter: " + D(WorkingPump.BaseDataImpellerDiameter_m) + " " + name + "\r\r" +
                         "The Points on the Imported Pump Graph " + "\r" + "were originally defined for" + "\r\r" +
                         "Pump Speed: " + QString::number(sheet.PumpSpeed_rpm) + " rpm" + "\r" +
                         "Impeller Diameter: " + D(sheet.PumpImpellerDiameter_m) + " " + name + "\r\r" + "\r" +
                         "If you click on 'Save Points To Pump'" + "\r" +
                         "the imported pump points will be associated" + "\r" + "with the Pump Speed and Diameter as " +
                         "\r" + "specified on this screen.";
    LabelNote->setText(DialogDisplayText(text));
    PanelNote->show();
    PanelNote->raise();
}

void TPumpSheetImageForm::SetStartValuesFromPump()
{
    const TImportedPumpSheet &s = WorkingPump.ImportedPumpSheet;
    Calibration.XStart = QPoint(s.xAxisMinImageX, s.xAxisMinImageY);
    Calibration.XEnd = QPoint(s.xAxisMaxImageX, s.xAxisMaxImageY);
    Calibration.YStart = QPoint(s.yAxisMinImageX, s.yAxisMinImageY);
    Calibration.YEnd = QPoint(s.yAxisMaxImageX, s.yAxisMaxImageY);
    Calibration.xMin = s.xMin;
    Calibration.xMax = s.xMax;
    Calibration.yMin = s.yMin;
    Calibration.yMax = s.yMax;
    ++filling_;
    RightEditXMin->setText(q(formatFixed(3, s.xMin)));
    RightEditXMax->setText(q(formatFixed(3, s.xMax)));
    RightEditYMin->setText(q(formatFixed(3, s.yMin)));
    RightEditYMax->setText(q(formatFixed(3, s.yMax)));
    --filling_;
    xUnit = s.xUnits;
    yUnit = s.yUnits;
    // Only the points the record holds are loaded: a curve lengthened in the
    // editor since has no pixels here.
    PointsCount = std::clamp(std::min(WorkingPump.PumpPoints.PointsCount, s.pointsCount), 0, MaxPumpSheetPoints);
    Points.fill(QPoint());
    Effic.fill(0);
    NPSHr_mHd.fill(0);
    for (int i = 1; i <= PointsCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Points[k] = QPoint(s.Points[i].X, s.Points[i].Y);
        Effic[k] = s.EfficPoints[i];
        NPSHr_mHd[k] = s.NPSHrPoints_mHd[i];
    }
    CurrentPoint = 0;
    ComboBoxDiameterUnits->setCurrentIndex(ItemOf(DiameterUnitItems, WorkingPump.ImpellerDiameterDisplayUnit));
    PumpSheetImageOverlayUpdatePoints();
}

void TPumpSheetImageForm::SetStartValues()
{
    Calibration = TPumpSheetCalibration{};
    xUnit = WorkingPump.PumpPoints.FlowDisplayUnit;
    yUnit = WorkingPump.PumpPoints.HeadDisplayUnit;
    ++filling_;
    for (TRightEdit *box : {RightEditXMin, RightEditXMax, RightEditYMin, RightEditYMax})
        box->setText(QStringLiteral("0.0"));
    --filling_;
    PointsCount = 0;
    CurrentPoint = 0;
    Points.fill(QPoint());
    Effic.fill(0);
    NPSHr_mHd.fill(0);
    ++filling_;
    for (int r = 1; r <= MaxPumpSheetPoints; ++r)
        for (int c = 0; c < 2; ++c)
            StringGridPoints->item(r, c)->setText(QString());
    RightEditSpeed->setText(QStringLiteral("0"));
    RightEditDiameter->setText(QStringLiteral("0.0"));
    ComboBoxDiameterUnits->setCurrentIndex(-1);
    --filling_;
}

// --- steps -----------------------------------------------------------------------------------

void TPumpSheetImageForm::setPointControlsEnabled(bool enabled)
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{ButtonSelectPoints, ButtonClearPoints, RightEditSpeed, RightEditDiameter,
                                          ComboBoxDiameterUnits, CheckBoxSaveImage, ButtonSaveData})
        w->setEnabled(enabled);
}

void TPumpSheetImageForm::setAxisFrame(QFrame *yellow)
{
    for (QFrame *f : {GroupBoxStep1, GroupBoxStep2, GroupBoxStep3, GroupBoxStep4})
        f->setStyleSheet(QStringLiteral("QFrame#") + f->objectName() +
                         (f == yellow ? QStringLiteral(" { background-color: yellow; }")
                                      : QStringLiteral(" { background-color: silver; }")));
}

void TPumpSheetImageForm::ShowStep(int Step)
{
    PanelAdditionalData->hide();
    const std::array<bool, 6> before = StepReached;
    QFrame *frames[] = {nullptr, GroupBoxStep1, GroupBoxStep2, GroupBoxStep3, GroupBoxStep4};
    QLabel *labels[] = {nullptr, LabelStep1, LabelStep2, LabelStep3, LabelStep4};
    const int shown = std::min(Step, 4);
    setAxisFrame(frames[shown]);
    for (int i = 1; i <= 4; ++i)
        labels[i]->setStyleSheet(i == shown ? QStringLiteral("color: red;") : QString());

    // Everything off but Cancel; the X minimum is never enabled.
    for (QWidget *w : std::initializer_list<QWidget *>{ButtonImportImage, TrackBarFade, RightEditXMax, ComboBoxXUnits,
                                                       ButtonSelectXAxis, RightEditYMin, RightEditYMax, ComboBoxYUnits,
                                                       ButtonSelectYAxis, PanelPoints})
        w->setEnabled(false);
    RightEditXMin->setEnabled(false);
    setPointControlsEnabled(false);
    ButtonImportImage->setEnabled(true);
    auto xControls = [&] {
        for (QWidget *w : {static_cast<QWidget *>(TrackBarFade), static_cast<QWidget *>(RightEditXMax),
                           static_cast<QWidget *>(ComboBoxXUnits), static_cast<QWidget *>(ButtonSelectXAxis)})
            w->setEnabled(true);
    };
    auto yControls = [&] {
        for (QWidget *w : {static_cast<QWidget *>(RightEditYMin), static_cast<QWidget *>(RightEditYMax),
                           static_cast<QWidget *>(ComboBoxYUnits), static_cast<QWidget *>(ButtonSelectYAxis)})
            w->setEnabled(true);
    };
    switch (Step) {
    case 1:
        StepReached[1] = true;
        PointsCount = 0;
        break;
    case 2:
        StepReached[2] = true;
        xControls();
        if (before[3])
            yControls();
        if (before[4])
            setPointControlsEnabled(true);
        break;
    case 3:
        StepReached[3] = true;
        xControls();
        yControls();
        if (before[2] && before[3]) {
            setPointControlsEnabled(true);
            StepReached[4] = true;
        }
        break;
    case 4:
    case 5:
        xControls();
        yControls();
        PanelPoints->setEnabled(true);
        if ((before[2] && before[3]) || before[4] || Step == 5)
            setPointControlsEnabled(true);
        StepReached[4] = true;
        if (Step == 5) {
            StepReached[5] = true;
            PickingMode = PickPoints;
            ImagePumpSheet->setCursor(Qt::CrossCursor);
        }
        break;
    default:
        break;
    }
}

// --- the picture -----------------------------------------------------------------------------

void TPumpSheetImageForm::FadeChange(int Percent)
{
    FadedImage = FadePumpSheetImage(UnfadedImage, Percent);
    WorkingPump.ImportedPumpSheet.PumpSheetOpacity = Percent;
    DrawOverlay();
}

void TPumpSheetImageForm::DrawOverlay()
{
    QImage &overlay = ImagePumpSheet->Picture;
    overlay = FadedImage.isNull() ? QImage(PumpSheetImageWidth, PumpSheetImageHeight, QImage::Format_RGB32)
                                  : FadedImage.copy();
    if (FadedImage.isNull())
        overlay.fill(Qt::white);
    QPainter painter(&overlay);
    painter.setPen(QPen(Qt::red, 2));
    const TPumpSheetCalibration &c = Calibration;
    if (TPumpSheetCalibration::AllSet(c.XStart, c.XEnd))
        painter.drawLine(c.XStart, c.XEnd);
    if (TPumpSheetCalibration::AllSet(c.YStart, c.YEnd))
        painter.drawLine(c.YStart, c.YEnd);
    if (rubberOn_ && (PickingMode == PickXEnd || PickingMode == PickYEnd)) {
        painter.drawLine(PickingMode == PickXEnd ? c.XStart : c.YStart, rubberEnd_);
    } else {
        for (int i = 1; i <= PointsCount; ++i) {
            const QPoint p = Points[static_cast<std::size_t>(i)];
            painter.drawLine(p + QPoint(-4, -4), p + QPoint(4, 4));
            painter.drawLine(p + QPoint(-4, 4), p + QPoint(4, -4));
        }
    }
    painter.end();
    ImagePumpSheet->update();
}

void TPumpSheetImageForm::ImportImageClick()
{
    const std::optional<QString> name =
        ChooseExistingPicture(this, QStringLiteral("Import Pump Sheet Image"),
                              QStringLiteral("Pictures (*.jpg *.jpeg *.bmp);;JPEG (*.jpg "
                                             "*.jpeg);;Bitmaps (*.bmp)"));
    if (!name)
        return;
    QImageReader reader(*name);
    const QByteArray format = reader.format().toLower();
    QImage picture;
    if (format == "bmp" || format == "jpeg" || format == "jpg")
        picture = reader.read();
    if (picture.isNull()) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Image File cannot be loaded: Error occured.\r"),
                              this);
        return;
    }
    UnfadedImage =
        picture.scaled(PumpSheetImageWidth, PumpSheetImageHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    FadedImage = FadePumpSheetImage(UnfadedImage, WorkingPump.ImportedPumpSheet.PumpSheetOpacity);
    DrawOverlay();
    ShowStep(2);
    if (PointsCount > 0 &&
        Dialogs().AskYesNo(TDialogKind::Confirmation,
                           QStringLiteral("Would you like to clear all existing data points (recommended)?\r\r"),
                           this)) {
        ClearAllDataPoints();
        ComboBoxXUnits->setCurrentIndex(-1);
        ComboBoxYUnits->setCurrentIndex(-1);
        CheckBoxSaveImage->setChecked(true);
        SetStartValues();
        StepReached.fill(false);
        StepReached[1] = true;
        ShowStep(1);
        ShowStep(2);
        DrawOverlay();
    }
}

void TPumpSheetImageForm::GlidePointer(QPoint FormTarget, int Steps)
{
    if (Steps <= 0)
        return;
    const QPoint target = mapToGlobal(FormTarget);
    QPoint at = QCursor::pos();
    const QPoint step(RoundEven((target.x() - at.x()) / static_cast<double>(Steps)),
                      RoundEven((target.y() - at.y()) / static_cast<double>(Steps)));
    for (int i = 0; i < Steps; ++i) {
        if (GlideStepMilliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(GlideStepMilliseconds));
        at += step;
        QCursor::setPos(at);
        // A platform that refuses to move the pointer ends the glide.
        if (QCursor::pos() != at)
            return;
    }
}

void TPumpSheetImageForm::SelectXAxisClick()
{
    setAxisFrame(GroupBoxStep2);
    if (!(Calibration.xMax > 0)) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Please specify X axis minimum and maximum scale values.\r"), this);
        return;
    }
    if (ComboBoxXUnits->currentIndex() < 0) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Please select the units for the X axis scale from the drop down list.\r"),
                              this);
        return;
    }
    Calibration.XStart = Calibration.XEnd = QPoint();
    ImagePumpSheet->setCursor(Qt::CrossCursor);
    PickingMode = PickXStart;
    DrawOverlay();
    GlidePointer(pictureOrigin() + QPoint(50, PumpSheetImageHeight - 10), 60);
}

void TPumpSheetImageForm::SelectYAxisClick()
{
    setAxisFrame(GroupBoxStep3);
    if (!(Calibration.yMax > 0)) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Please specify Y axis minimum and maximum scale values.\r"), this);
        return;
    }
    if (ComboBoxYUnits->currentIndex() < 0) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Please select the units for the Y axis scale from the drop down list.\r"),
                              this);
        return;
    }
    Calibration.YStart = Calibration.YEnd = QPoint();
    ImagePumpSheet->setCursor(Qt::CrossCursor);
    PickingMode = PickYStart;
    DrawOverlay();
    GlidePointer(pictureOrigin() + QPoint(10, PumpSheetImageHeight - 40), 60);
}

void TPumpSheetImageForm::SelectPointsClick()
{
    if (!(Calibration.xMax > 0) || !(Calibration.yMax > 0)) {
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("Please specify X axis and Y axis to provide minimum and maximum scale values.\r"), this);
        return;
    }
    if (PointsCount == 0)
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("FIRST POINT NOTE:\r\rClick on point for ZERO FLOW first.\r\rThen click "
                                             "additional points on the pump curve."),
                              this);
    ShowStep(5);
    DrawOverlay();
    GlidePointer(pictureOrigin() + QPoint(PointsCount == 0 ? 50 : 150, PumpSheetImageHeight / 4 - 10), 60);
}

void TPumpSheetImageForm::PictureMove(QPoint At)
{
    if (PickingMode == PickXEnd || PickingMode == PickYEnd) {
        rubberOn_ = true;
        rubberEnd_ = At;
        DrawOverlay();
        rubberOn_ = false;
    }
}

void TPumpSheetImageForm::PictureClick(QPoint At)
{
    TPumpSheetCalibration &c = Calibration;
    switch (PickingMode) {
    case PickNone:
        return;
    case PickXStart:
        c.XStart = At;
        PickingMode = PickXEnd;
        DrawOverlay();
        return;
    case PickYStart:
        c.YStart = At;
        PickingMode = PickYEnd;
        DrawOverlay();
        return;
    case PickXEnd: {
        c.XEnd = At;
        if (std::abs(c.XEnd.x() - c.XStart.x()) < std::abs(c.XEnd.y() - c.XStart.y())) {
            c.XStart = c.XEnd = QPoint();
            PickingMode = PickXStart;
            DrawOverlay();
            Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("X Axis should be drawn horizontally.\r"),
                                  this);
            ShowStep(2);
            return;
        }
        PickingMode = PickNone;
        ImagePumpSheet->setCursor(Qt::ArrowCursor);
        ShowStep(3);
        PumpSheetImageOverlayUpdatePoints();
        DrawOverlay();
        return;
    }
    case PickYEnd: {
        c.YEnd = At;
        if (std::abs(c.YEnd.y() - c.YStart.y()) < std::abs(c.YEnd.x() - c.YStart.x())) {
            c.YStart = c.YEnd = QPoint();
            PickingMode = PickYStart;
            DrawOverlay();
            Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Y Axis should be drawn vertically.\r"),
                                  this);
            ShowStep(3);
            return;
        }
        PickingMode = PickNone;
        ImagePumpSheet->setCursor(Qt::ArrowCursor);
        ShowStep(4);
        PumpSheetImageOverlayUpdatePoints();
        DrawOverlay();
        return;
    }
    case PickPoints:
        break;
    }
    if (PointsCount >= MaxPumpSheetPoints)
        return;
    PumpSheetImageOverlayUpdatePoints();
    if (PickingMode != PickPoints)
        return; // the point list sent the user back to an axis
    const int n = ++PointsCount;
    const auto k = static_cast<std::size_t>(n);
    Points[k] = At;
    Effic[k] = 0;
    NPSHr_mHd[k] = 0;
    if (n == 1) {
        // The first point is the zero flow; the Y axis is drawn through it.
        Points[k].setX(c.XStart.x());
        c.YStart.setX(c.XStart.x());
        c.YEnd.setX(c.XStart.x());
    }
    const double xv = c.XValueOfPixel(Points[k].x()), yv = c.YValueOfPixel(Points[k].y());
    if (xv < 0 || xv > c.xMax || yv < 0 || yv > c.yMax) {
        Points[k] = QPoint();
        --PointsCount;
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("Point is outside of defined X and Y Axis range and cannot be included.\r"), this);
        DrawOverlay();
        return;
    }
    CurrentPoint = n;
    SortPoints();
    SetDataType(QStringLiteral("Effic"));
    PumpSheetImageOverlayUpdatePoints();
    if (PointsCount >= 2)
        openAdditionalData(At);
    DrawOverlay();
}

void TPumpSheetImageForm::openAdditionalData(QPoint At)
{
    const auto k = static_cast<std::size_t>(CurrentPoint);
    LabelNPSHrUnit->setText(q(unitName(yUnit)));
    ++filling_;
    RightEditEffic->setText(QStringLiteral("0"));
    RightEditNPSHr->setText(QStringLiteral("0.0"));
    --filling_;
    Effic[k] = 0;
    NPSHr_mHd[k] = 0;
    PanelAdditionalData->move(pictureOrigin() + At + QPoint(10, -5));
    for (int i = 1; i <= MaxPumpSheetPoints; ++i)
        ButtonDelete[static_cast<std::size_t>(i)]->hide();
    ButtonClearPoints->hide();
    PanelAdditionalData->show();
    PanelAdditionalData->raise();
    QApplication::processEvents();
    GlidePointer(PanelAdditionalData->pos() + RightEditEffic->pos() + QPoint(20, 5), 20);
    RightEditEffic->setFocus();
}

void TPumpSheetImageForm::closeAdditionalData()
{
    PanelAdditionalData->hide();
    CurrentPoint = 0;
    for (int i = 1; i <= MaxPumpSheetPoints; ++i)
        ButtonDelete[static_cast<std::size_t>(i)]->show();
    ButtonClearPoints->show();
}

void TPumpSheetImageForm::efficEdited()
{
    if (filling_ || CurrentPoint <= 0)
        return;
    bool valid = false;
    const double v = ReadRealFromEdit(RightEditEffic, valid, true, false);
    if (!valid)
        return;
    Effic[static_cast<std::size_t>(CurrentPoint)] = v;
    SetDataType(QStringLiteral("Effic"));
    PumpSheetImageOverlayUpdatePoints();
}

void TPumpSheetImageForm::npshrEdited()
{
    if (filling_ || CurrentPoint <= 0)
        return;
    bool valid = false;
    const double v = ReadRealFromEdit(RightEditNPSHr, valid, true, false);
    if (!valid)
        return;
    NPSHr_mHd[static_cast<std::size_t>(CurrentPoint)] = convertHeadPressureUnit(yUnit, unt_m_hd_fluid, v, Density_kgm3);
    PumpSheetImageOverlayUpdatePoints();
}

void TPumpSheetImageForm::SaveAndCloseClick()
{
    const int i = CurrentPoint;
    if (i <= 0) {
        closeAdditionalData();
        return;
    }
    const auto k = static_cast<std::size_t>(i);
    if (Effic[k] == 0) {
        SetDataType(QStringLiteral("Effic"));
        PumpSheetImageOverlayUpdatePoints();
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Please specify a non-zero efficiency value.\r"),
                              this);
        RightEditEffic->setFocus();
        return;
    }
    auto offer = [&](double other_mHd, const QString &question) {
        if (Dialogs().AskYesNo(TDialogKind::Confirmation, question, this)) {
            RightEditNPSHr->setText(
                q(formatFixed(2, convertHeadPressureUnit(unt_m_hd_fluid, yUnit, other_mHd, Density_kgm3))));
            npshrEdited();
        }
        RightEditNPSHr->setFocus();
    };
    if (i >= 3 && NPSHr_mHd[k] < NPSHr_mHd[k - 1]) {
        offer(NPSHr_mHd[k - 1], QStringLiteral("NPSHr should be equal or greater than NPSHr of previous point.\r\rSet "
                                               "NPSHr to same as specified for previous point?"));
        return;
    }
    if (i >= 3 && i < PointsCount && NPSHr_mHd[k] > NPSHr_mHd[k + 1]) {
        offer(NPSHr_mHd[k + 1], QStringLiteral("NPSHr should be equal or less than NPSHr of next point.\r\rSet NPSHr "
                                               "to same as specified for next point?"));
        return;
    }
    PumpSheetImageOverlayUpdatePoints();
    closeAdditionalData();
}

// --- the point list ---------------------------------------------------------------------------

void TPumpSheetImageForm::SortPoints()
{
    for (int pass = 1; pass < PointsCount; ++pass)
        for (int i = 1; i < PointsCount; ++i) {
            const auto a = static_cast<std::size_t>(i), b = a + 1;
            if (Points[b].x() < Points[a].x()) {
                std::swap(Points[a], Points[b]);
                std::swap(Effic[a], Effic[b]);
                std::swap(NPSHr_mHd[a], NPSHr_mHd[b]);
                if (CurrentPoint == i)
                    CurrentPoint = i + 1;
                else if (CurrentPoint == i + 1)
                    CurrentPoint = i;
            }
        }
}

void TPumpSheetImageForm::PumpSheetImageOverlayUpdatePoints()
{
    TPumpSheetCalibration &c = Calibration;
    bool xPasses = true, yPasses = true;
    if (PointsCount > 1) {
        SortPoints();
        DrawOverlay();
        for (int i = 1; i <= PointsCount; ++i) {
            const QPoint p = Points[static_cast<std::size_t>(i)];
            if (p.x() < c.XStart.x() || p.x() > c.XEnd.x())
                xPasses = false;
            if (p.y() > c.YStart.y() || p.y() < c.YEnd.y())
                yPasses = false;
        }
    }
    if (!xPasses) {
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("Not all X point values fall within the X Axis scale.\r\rPlease either clear the data "
                           "points before defining the X Axis scale \r\rOr define the X Axis scale to contain all of "
                           "the current points.\r"),
            this);
        c.XStart = c.XEnd = QPoint();
        GlidePointer(pictureOrigin() + QPoint(50, PumpSheetImageHeight - 10), 60);
        StepReached[4] = StepReached[5] = false;
        ShowStep(2);
        PickingMode = PickNone;
        ImagePumpSheet->setCursor(Qt::ArrowCursor);
    } else if (!yPasses) {
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("Not all Y point values fall within the Y Axis scale.\r\rPlease either clear the data "
                           "points before defining the Y Axis scale \r\rOr define the Y Axis scale to contain all of "
                           "the current points.\r"),
            this);
        c.YStart = c.YEnd = QPoint();
        GlidePointer(pictureOrigin() + QPoint(10, PumpSheetImageHeight - 40), 60);
        StepReached[4] = StepReached[5] = false;
        ShowStep(3);
        PickingMode = PickNone;
        ImagePumpSheet->setCursor(Qt::ArrowCursor);
    }
    if (PointsCount > 1 && xPasses && Points[1].x() != c.XStart.x()) {
        Points[1].setX(c.XStart.x());
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("The X value of the first point has been moved to the start of the X "
                                             "scale.\r"),
                              this);
    }
    if (xPasses && yPasses) {
        writeGridTitle();
        writeGridRows();
        DrawOverlay();
    }
}

void TPumpSheetImageForm::writeGridTitle()
{
    ++filling_;
    StringGridPoints->item(0, 0)->setText(q(unitName(xUnit)));
    const QString type = DataType();
    StringGridPoints->item(0, 1)->setText(type == QStringLiteral("Effic") ? QStringLiteral("Percent %")
                                                                          : q(unitName(yUnit)));
    --filling_;
}

void TPumpSheetImageForm::writeGridRows()
{
    ++filling_;
    const QString type = DataType();
    const int editableRows = WorkingPump.ImportedPumpSheet.pointsCount;
    for (int r = 1; r <= MaxPumpSheetPoints; ++r) {
        const auto k = static_cast<std::size_t>(r);
        QTableWidgetItem *flow = StringGridPoints->item(r, 0);
        QTableWidgetItem *value = StringGridPoints->item(r, 1);
        QString flowText, valueText;
        if (r <= PointsCount) {
            flowText = q(formatFixed(3, Calibration.XValueOfPixel(Points[k].x())));
            if (type == QStringLiteral("Effic"))
                valueText = q(formatFixed(2, Effic[k]));
            else if (type == QStringLiteral("NPSHr"))
                valueText =
                    q(formatFixed(2, convertHeadPressureUnit(unt_m_hd_fluid, yUnit, NPSHr_mHd[k], Density_kgm3)));
            else
                valueText = q(formatFixed(3, Calibration.YValueOfPixel(Points[k].y())));
        }
        flow->setText(flowText);
        value->setText(valueText);
        const Qt::ItemFlags open = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
        const bool rowOpen = r <= PointsCount && r <= editableRows;
        flow->setFlags(rowOpen && r != 1 ? open : Qt::ItemIsEnabled);
        value->setFlags(rowOpen ? open : Qt::ItemIsEnabled);
        value->setBackground(r >= 2 && r == CurrentPoint ? QColor(Qt::yellow) : QColor(Qt::white));
    }
    --filling_;
}

void TPumpSheetImageForm::gridCellEdited(QTableWidgetItem *item)
{
    if (filling_)
        return;
    const int r = item->row(), col = item->column();
    if (r < 1 || r > PointsCount)
        return;
    bool valid = false;
    double v = ReadRealFromString(item->text().toStdString(), valid, true, false, userDecimalSeparator());
    if (!valid)
        return;
    const auto k = static_cast<std::size_t>(r);
    TPumpSheetCalibration &c = Calibration;
    const QString type = DataType();
    if (col == 0) {
        v = std::clamp(v, std::min(c.xMin, c.xMax), std::max(c.xMin, c.xMax));
        Points[k].setX(c.PixelXOfValue(v));
    } else if (type == QStringLiteral("Head")) {
        v = std::clamp(v, std::min(c.yMin, c.yMax), std::max(c.yMin, c.yMax));
        Points[k].setY(c.PixelYOfValue(v));
    } else if (type == QStringLiteral("Effic")) {
        Effic[k] = std::clamp(v, 0.0, 100.0);
    } else {
        NPSHr_mHd[k] = convertHeadPressureUnit(yUnit, unt_m_hd_fluid, v, Density_kgm3);
    }
    DrawOverlay();
}

void TPumpSheetImageForm::DeletePoint(int Row)
{
    if (Row < 1 || Row > PointsCount)
        return;
    for (int i = Row; i < PointsCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Points[k] = Points[k + 1];
        Effic[k] = Effic[k + 1];
        NPSHr_mHd[k] = NPSHr_mHd[k + 1];
    }
    const auto last = static_cast<std::size_t>(PointsCount);
    Points[last] = QPoint();
    Effic[last] = 0;
    NPSHr_mHd[last] = 0;
    --PointsCount;
    if (CurrentPoint > Row)
        --CurrentPoint;
    PumpSheetImageOverlayUpdatePoints();
    writeGridRows();
    DrawOverlay();
}

void TPumpSheetImageForm::ClearAllDataPoints()
{
    Points.fill(QPoint());
    Effic.fill(0);
    NPSHr_mHd.fill(0);
    PointsCount = 0;
    CurrentPoint = 0;
    ++filling_;
    for (int r = 1; r <= MaxPumpSheetPoints; ++r)
        for (int c = 0; c < 2; ++c)
            StringGridPoints->item(r, c)->setText(QString());
    --filling_;
    DrawOverlay();
}

QString TPumpSheetImageForm::DataType() const { return ComboBoxDataType->currentText(); }

void TPumpSheetImageForm::SetDataType(const QString &Type)
{
    ComboBoxDataType->setCurrentIndex(ComboBoxDataType->findText(Type));
}

// --- units and entries ---------------------------------------------------------------------

void TPumpSheetImageForm::SelectXUnit(TUnit Unit)
{
    xUnit = Unit;
    ComboBoxXUnits->setCurrentIndex(ItemOf(XUnitItems, Unit));
}

void TPumpSheetImageForm::SelectYUnit(TUnit Unit)
{
    // Metres and feet of water have no item: they are shown as mm and in.
    if (Unit == unt_m_H2O)
        Unit = unt_mm_H2O;
    else if (Unit == unt_ft_H2O)
        Unit = unt_in_H2O;
    yUnit = Unit;
    ComboBoxYUnits->setCurrentIndex(ItemOf(YUnitItems, Unit));
}

void TPumpSheetImageForm::yUnitListChanged(int index)
{
    setAxisFrame(GroupBoxStep3);
    const TUnit oldUnit = yUnit;
    const TUnit newUnit =
        index >= 0 && index < static_cast<int>(std::size(YUnitItems)) ? YUnitItems[index].unit : unt_m_hd_fluid;
    TImportedPumpSheet &sheet = WorkingPump.ImportedPumpSheet;
    if (sheet.pointsCount > 0 && newUnit != oldUnit &&
        Dialogs().AskYesNo(
            TDialogKind::Confirmation,
            QStringLiteral("Existing NPSHr values were entered in ") + q(unitName(oldUnit)) + "\r\r" +
                "If the actual NPSHr values entered should have " + "\r" + "related to " + q(unitName(newUnit)) +
                " then the software can" + "\r" + "change the units associated with the values." + "\r\r" +
                "Were the entered values meant to be associated with " + q(unitName(newUnit)) + "?" + "\r",
            this)) {
        const int n = std::min(sheet.pointsCount, MaxPumpSheetPoints);
        for (int i = 1; i <= n; ++i) {
            double &v = NPSHr_mHd[static_cast<std::size_t>(i)];
            v = convertHeadPressureUnit(newUnit, unt_m_hd_fluid,
                                        convertHeadPressureUnit(unt_m_hd_fluid, oldUnit, v, Density_kgm3),
                                        Density_kgm3);
        }
    }
    yUnit = newUnit;
    writeGridTitle();
    PumpSheetImageOverlayUpdatePoints();
}

void TPumpSheetImageForm::scaleBoxEdited(TRightEdit *box, double &value)
{
    if (filling_ || box->text().isEmpty())
        return;
    bool valid = false;
    const double v = ReadRealFromEdit(box, valid, true, false);
    if (valid) {
        value = v;
        return;
    }
    value = 0;
    ShowInvalidNumericEntry(box, Qt::yellow, x(), y(), 0, 0);
}

void TPumpSheetImageForm::speedEdited()
{
    if (filling_ || RightEditSpeed->text().isEmpty())
        return;
    bool valid = false;
    const int v = ReadIntegerFromEdit(RightEditSpeed, valid, true, false);
    WorkingPump.ImportedPumpSheet.PumpSpeed_rpm = valid ? v : 0;
    if (!valid)
        ShowInvalidNumericEntry(RightEditSpeed, Qt::yellow, x(), y(), 0, 0);
}

void TPumpSheetImageForm::diameterEdited()
{
    if (filling_ || RightEditDiameter->text().isEmpty())
        return;
    bool valid = false;
    const double v = ReadRealFromEdit(RightEditDiameter, valid, true, false);
    WorkingPump.ImportedPumpSheet.PumpImpellerDiameter_m =
        valid ? convertUnit(WorkingPump.ImpellerDiameterDisplayUnit, unt_m, v) : 0;
    if (!valid)
        ShowInvalidNumericEntry(RightEditDiameter, Qt::yellow, x(), y(), 0, 0);
}

// --- saving ----------------------------------------------------------------------------------

void TPumpSheetImageForm::SaveDataToPumpClick()
{
    bool validSpeed = false, validDiameter = false;
    const int speed = ReadIntegerFromEdit(RightEditSpeed, validSpeed, true, false);
    const double diameter = ReadRealFromEdit(RightEditDiameter, validDiameter, true, false);
    if (!validSpeed || speed <= 0) {
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("A valid Pump Speed for these points must be entered before the data can be saved.\r"),
            this);
        return;
    }
    if (!validDiameter || !(diameter > 0)) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("A valid Pump Impeller Diameter for these points must be entered before "
                                             "the data can be saved.\r"),
                              this);
        return;
    }
    // A curve of fewer than three points cannot be fitted: refuse it rather
    // than replace the pump's curve with one nothing can use.
    if (PointsCount < 3) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("At least 3 points on the pump curve must be selected before the data "
                                             "can be saved.\r"),
                              this);
        return;
    }
    TPump &p = WorkingPump;
    TImportedPumpSheet &sheet = p.ImportedPumpSheet;
    const double diameter_m = convertUnit(p.ImpellerDiameterDisplayUnit, unt_m, diameter);
    if (isMassFlowUnit(xUnit) &&
        !Dialogs().AskYesNo(
            TDialogKind::Confirmation,
            QStringLiteral("The pump's flow rate is defined in units of mass flow.\r\rFluid in the pipe for current "
                           "pump has a density of \r") +
                q(formatFixed(unitDecimals(unt_kg_m3), Density_kgm3)) + " " + q(unitName(unt_kg_m3)) + "\r\r" +
                "This density will be used to convert the mass flow to a volumetric flow that " +
                "is used as the base data that defines the pump performance." + "\r\r" +
                "Please check that the mass flow entered for your pump performance is " +
                "indeed correct for the current fluid used with this pump." + "\r\r" +
                "Do you wish to save the pump now?",
            this))
        return;

    sheet.PumpSpeed_rpm = speed;
    p.Speed_rpm = speed;
    sheet.PumpImpellerDiameter_m = diameter_m;
    p.ImpellerDiameter_m = diameter_m;
    const bool fluidHead = isFluidHeadUnit(yUnit);
    p.PumpPoints.SetHead_Stored_mH2O = !fluidHead;
    // NPSHr is written in metres of fluid, whatever the pump held before.
    p.PumpPoints.SetNPSHr_Stored_mH2O = false;
    ++filling_;
    for (int i = 1; i <= PointsCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        TPumpPoint &point = p.PumpPoints.Points[i];
        const double xv = Calibration.XValueOfPixel(Points[k].x());
        const double yv = Calibration.YValueOfPixel(Points[k].y());
        point.Flow_kgs = FlowConvert(xUnit, unt_kg_sec, xv, Density_kgm3);
        point.Flow_m3s = FlowConvert(xUnit, unt_m3_sec, xv, Density_kgm3);
        point.Head_mHd = convertHeadPressureUnit(yUnit, fluidHead ? unt_m_hd_fluid : unt_m_H2O, yv, Density_kgm3);
        point.EfficiencyPercent = Effic[k];
        point.NPSHr_mHd = NPSHr_mHd[k];
        sheet.Points[i] = TPumpSheetPixel{Points[k].x(), Points[k].y()};
        sheet.EfficPoints[i] = Effic[k];
        sheet.NPSHrPoints_mHd[i] = NPSHr_mHd[k];
        StringGridPoints->item(i, 0)->setText(QString());
        StringGridPoints->item(i, 1)->setText(QString());
    }
    --filling_;
    p.PumpPoints.PointsCount = PointsCount;
    sheet.pointsCount = PointsCount;
    p.PumpPoints.FlowDisplayUnit = xUnit;
    p.PumpPoints.HeadDisplayUnit = yUnit;

    const TPumpSheetCalibration &c = Calibration;
    sheet.xAxisMinImageX = c.XStart.x();
    sheet.xAxisMinImageY = c.XStart.y();
    sheet.xAxisMaxImageX = c.XEnd.x();
    sheet.xAxisMaxImageY = c.XEnd.y();
    sheet.yAxisMinImageX = c.YStart.x();
    sheet.yAxisMinImageY = c.YStart.y();
    sheet.yAxisMaxImageX = c.YEnd.x();
    sheet.yAxisMaxImageY = c.YEnd.y();
    sheet.xMin = c.xMin;
    sheet.xMax = c.xMax;
    sheet.yMin = c.yMin;
    sheet.yMax = c.yMax;
    sheet.xUnits = xUnit;
    sheet.yUnits = yUnit;
    sheet.Imported = true;
    sheet.SaveImportedBitmap = CheckBoxSaveImage->isChecked();
    if (sheet.SaveImportedBitmap) {
        sheet.PumpSheetBitmap.Assign(FromQImage(UnfadedImage));
    } else {
        QImage white(PumpSheetImageWidth, PumpSheetImageHeight, QImage::Format_RGB32);
        white.fill(Qt::white);
        sheet.PumpSheetBitmap.Assign(FromQImage(white));
        FadedImage.fill(Qt::white);
        ImagePumpSheet->Picture.fill(Qt::white);
    }
    p.CopyBaseDataFromRunningData();
    p.PumpGraphOptions.ShowImportedPumpSheet = true;
    Saved = true;
    accept();
}

} // namespace tessaran
