// The pump editor's commands around its chart: the graph options panel with
// its colours, "Save" and "Cancel", the preferred-region boxes, the point
// read-out, the large view with its live read-out and magnifier, picking a
// predicted point, the fade bars, the traced image and logo imports and
// copying the chart to the clipboard.

#include "pumps/Pump_Data_Form.h"

#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QThread>
#include <QToolBar>
#include <QToolButton>

#include "network/Network_Class.h"
#include "platform/Bitmap.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Named_Widget.h"
#include "pumps/Image_Box.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

// TColor is 0x00BBGGRR.
QColor ToQColor(TColor colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

TColor FromQColor(const QColor &colour)
{
    return static_cast<TColor>(colour.red()) | (static_cast<TColor>(colour.green()) << 8) |
           (static_cast<TColor>(colour.blue()) << 16);
}

double FlowConvert(TUnit from, TUnit to, double value, double density)
{
    return convertFlowUnit(from, to, std_15degC_101325Pa, value, density, 0, 288.15, 1.01325);
}

std::string FlowText(TUnit to, double flow_m3s, double density)
{
    return convertFlowUnitToString(unt_m3_sec, to, unitDecimals(to), std_15degC_101325Pa, flow_m3s, density, 0,
                                   288.15, 1.01325);
}

} // namespace

// --- building ---------------------------------------------------------------------

void TPumpDataForm::buildViewControls()
{
    // The read-out's headers above its values.
    QWidget *s = GroupBoxShowPoint;
    GroupBoxShowPoint->setGeometry(8, 582, 552, 48);
    auto header = [s](const char *text, int x) {
        auto *label = new QLabel(QString::fromUtf8(text), s);
        label->setGeometry(x, 4, 90, 16);
        return label;
    };
    header("Effic.%", 272);
    header("NPSHr", 366);
    LabelHeaderPower = Named<QLabel>("LabelHeaderPower", QStringLiteral("Power"), s);
    LabelHeaderPower->setGeometry(460, 4, 90, 16);
    LabelShowEffic->setGeometry(272, 24, 90, 16);
    LabelShowNPSHr->setGeometry(366, 24, 90, 16);
    LabelShowPower->setGeometry(460, 24, 90, 16);

    ImagePumpCurve->installEventFilter(this);
    BitBtnEnlargeGraph->setToolTip(QStringLiteral("Expand graph to show in full window"));
    BitBtnAddLogo->setToolTip(QStringLiteral("Add Logo Image to Pump Graph"));
    GroupBoxImageOpacity2->setTitle(QStringLiteral("Fade Imported Image"));
    GroupBoxImageOpacity2->setGeometry(270, 552, 116, 30);
    TrackBarImageOpacity2 = Named<QSlider>("TrackBarImageOpacity2", Qt::Horizontal, GroupBoxImageOpacity2);
    TrackBarImageOpacity2->setGeometry(4, 14, 108, 14);
    TrackBarImageOpacity2->setRange(0, 100);

    QWidget *p = Panel2;
    BitBtn1 = Named<QPushButton>("BitBtn1", QStringLiteral("Close"), p);
    BitBtn1->setGeometry(840, 8, 70, 24);
    BitBtn2 = Named<QPushButton>("BitBtn2", QStringLiteral("Magnify Off"), p);
    BitBtn2->setGeometry(760, 8, 76, 24);
    for (QPushButton *b : {BitBtn1, BitBtn2})
        b->setAutoDefault(false);
    LabelSpeedLargeGraph = Named<QLabel>("LabelSpeedLargeGraph", p);
    LabelSpeedLargeGraph->setGeometry(60, 12, 136, 16);
    LabelDiameterLargeGraph = Named<QLabel>("LabelDiameterLargeGraph", p);
    LabelDiameterLargeGraph->setGeometry(230, 12, 166, 16);
    LabelFlow = Named<QLabel>("LabelFlow", QStringLiteral("Flow ="), p);
    LabelFlow->setGeometry(430, 4, 160, 16);
    LabelHead = Named<QLabel>("LabelHead", QStringLiteral("Head  ="), p);
    LabelHead->setGeometry(430, 20, 160, 16);
    GroupBoxImageOpacity->setTitle(QStringLiteral("Fade Imported Image"));
    GroupBoxImageOpacity->setGeometry(600, 4, 150, 32);
    TrackBarImageOpacity = Named<QSlider>("TrackBarImageOpacity", Qt::Horizontal, GroupBoxImageOpacity);
    TrackBarImageOpacity->setGeometry(4, 14, 142, 16);
    TrackBarImageOpacity->setRange(0, 100);
    ImagePumpCurveLarge->setMouseTracking(true);
}

void TPumpDataForm::connectViews()
{
    auto onClick = [this](QAbstractButton *button, auto handler) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    connect(GraphOptions1, &QAction::triggered, this, [this] { GraphOptions1Click(); });
    onClick(BitBtnGraphOptions, [this] { GraphOptions1Click(); });
    onClick(ToolButtonGraphOptions, [this] { GraphOptions1Click(); });
    for (QAbstractButton *box :
         std::initializer_list<QAbstractButton *>{CheckBoxHead, CheckBoxEnvelope, CheckBoxPrefOp, CheckBoxDesignPoint,
                                                  CheckBoxSystemCurve, CheckBoxEffic, RadioButtonEfficIso,
                                                  RadioButtonEfficLine, CheckBoxPower, CheckBoxNPSHr, CheckBoxGridLines,
                                                  RadioButtonGridStandard, RadioButtonGridFine, CheckBoxMinFlowLine,
                                                  CheckBoxImportedLogo, CheckBoxImportedPumpSheet})
        connect(box, &QAbstractButton::clicked, this, [this, box] {
            if (!filling_)
                writeOptionFromControls(box);
        });
    connect(RightEditSystemCurveStartHead, &QLineEdit::textChanged, this, [this] {
        if (!filling_)
            writeOptionFromControls(RightEditSystemCurveStartHead);
    });
    RightEditSystemCurveStartHead->OnKeyPress = [](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, 5, 2);
    };
    onClick(ButtonGraphOptionsOk, [this] { ButtonGraphOptionsOkClick(); });
    onClick(ButtonCancel, [this] { ButtonCancelClick(); });
    onClick(BitBtnGraphOptionsPanelMove, [this] { BitBtnGraphOptionsPanelMoveClick(); });
    onClick(BitBtnCloseNotes, [this] {
        GroupBoxNotes->hide();
        for (QPlainTextEdit *memo : {MemoMinImpellerMultipliers, MemoMaxImpellerMultipliers})
            memo->resize(memo->width(), 94);
        GroupBoxMultiplierInfo->show();
        BitBtnNotes->show();
        const bool adjusting = GroupBoxAdjustPumpGraphs->isVisible();
        BitBtnExitAdjustPumpGraphs->setVisible(adjusting);
        BitBtnAdjustPumpGraphs->setVisible(!adjusting);
    });

    // The preferred region.
    for (TRightEdit *box : {RightEditPreferredOpRegionFromPercent, RightEditPreferredOpRegionToPercent}) {
        box->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
            FilterIntegerKey(sender, key, false, 3);
            ClearPumpGraph();
        };
    }
    connect(RightEditPreferredOpRegionFromPercent, &QLineEdit::textChanged, this, [this] {
        if (!filling_)
            preferredRegionChanged(RightEditPreferredOpRegionFromPercent, EditedPump.PreferredOpRegionFromPercent);
    });
    connect(RightEditPreferredOpRegionToPercent, &QLineEdit::textChanged, this, [this] {
        if (!filling_)
            preferredRegionChanged(RightEditPreferredOpRegionToPercent, EditedPump.PreferredOpRegionToPercent);
    });

    // The read-out.
    onClick(ButtonCalcCurvePoint, [this] { ButtonCalcCurvePointClick(); });
    RightEditFlow->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        if (key == u'\r') {
            ButtonCalcCurvePointClick();
            return;
        }
        FilterRealKey(sender, key, false, 6, 3);
        if (key != 0)
            RightEditHead->clear();
    };
    RightEditHead->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        if (key == u'\r') {
            ButtonCalcCurvePointClick();
            return;
        }
        FilterRealKey(sender, key, false, 6, 3);
        if (key != 0)
            RightEditFlow->clear();
    };

    // The views.
    onClick(BitBtnEnlargeGraph, [this] { BitBtnEnlargeGraphClick(); });
    onClick(BitBtn1, [this] { Exit1Click(); });
    onClick(BitBtn2, [this] { BitBtn2Click(); });
    connect(ImagePumpCurveLarge, &TImageBox::Moved, this, [this](QPoint at) { ImagePumpCurveLargeMouseMove(at); });
    connect(ImagePumpCurve, &TImageBox::Clicked, this, [this](QPoint at) { PickPredictedPoint(false, at); });
    connect(ImagePumpCurveLarge, &TImageBox::Clicked, this, [this](QPoint at) { PickPredictedPoint(true, at); });
    onClick(ButtonPointEfficOkLargeGraph, [this] {
        GroupBoxPointEfficLargeGraph->hide();
        selectedPoint_ = 0;
        UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
    });
    connect(TrackBarImageOpacity, &QSlider::valueChanged, this, [this] {
        if (!filling_)
            TrackBarImageOpacityChange(true);
    });
    connect(TrackBarImageOpacity2, &QSlider::valueChanged, this, [this] {
        if (!filling_)
            TrackBarImageOpacityChange(false);
    });

    // The images and the clipboard.
    connect(ImportPumpSheetImage1, &QAction::triggered, this, [this] { ImportPumpSheetImage1Click(); });
    onClick(ToolButtonImportCurveImage, [this] { ImportPumpSheetImage1Click(); });
    onClick(BitBtnImportCurveImage, [this] { ImportPumpSheetImage1Click(); });
    connect(ImportLogoImageontograph1, &QAction::triggered, this, [this] { ImportLogoImageontograph1Click(); });
    onClick(BitBtnAddLogo, [this] { ImportLogoImageontograph1Click(); });
    connect(CopyGraphImage1, &QAction::triggered, this, [this] { CopyGraphImage1Click(); });
    onClick(ToolButtonCopyGraph, [this] { CopyGraphImage1Click(); });
}

bool TPumpDataForm::viewEventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    for (QLabel *swatch : {LabelColorDesignCurve, LabelColorEnvelope, LabelColorPrefOpRange, LabelColorEfficiency,
                           LabelColorPower, LabelColorNpshr, LabelColorGridLines, LabelColorDesignPoint,
                           LabelColorSystemCurve, LabelColorMinFlowLine})
        if (watched == swatch) {
            ColourSwatchClick(swatch);
            return true;
        }
    return false;
}

void TPumpDataForm::setColourSwatch(QLabel *swatch, TColor colour)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    swatch->setPalette(palette);
}

void TPumpDataForm::redrawSmallAndLarge()
{
    DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphSmall, false, 65, EditedPump);
    DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphLarge, false, 65, EditedPump);
}

// --- the options panel ------------------------------------------------------------------

void TPumpDataForm::PanelGraphOptionsSetPosition()
{
    if (Panel2->isVisible())
        PanelGraphOptions->move(4, 54);
    else
        PanelGraphOptions->move(24, 44);
    PanelGraphOptions->resize(296, PanelGraphOptions->height());
    PanelGraphOptions->raise();
    PanelGraphOptions->show();
    GroupBoxGraphOptionsMultipliers->move(15, 17 + 45);
    GroupBoxGraphOptionsEfficiency->move(15, GroupBoxGraphOptionsMultipliers->y() +
                                                 GroupBoxGraphOptionsMultipliers->height());
}

void TPumpDataForm::GraphOptions1Click()
{
    // 1.
    BitBtnAdjustPumpGraphs->show();
    BitBtnExitAdjustPumpGraphs->hide();
    GroupBoxAdjustPumpGraphs->hide();
    GroupBoxNoteSingleCurve->hide();
    GroupBoxPointEffic->setVisible(PanelPointEfficiencies->isVisible());
    // 2.
    GraphOptionsPump.CopyGraphOptions(EditedPump);
    UpdateGraphOptionsFromPump(EditedPump);
    // 3.
    PanelGraphOptionsSetPosition();
    // 4.
    const bool enabled = !resultsMode_;
    for (QWidget *w : std::initializer_list<QWidget *>{
             BitBtnNotes, BitBtnAdjustPumpGraphs, BitBtnExitAdjustPumpGraphs, GroupBoxGraphOptionsMultipliers,
             GroupBoxGraphOptionsEfficiency, GroupBoxAdjustPumpGraphs, GroupBoxCurveMultipliers, ComboBoxDesignCurve,
             ComboBoxEfficiencyCurve, UpDownNPSHstartMaxImpellerUp, UpDownNPSHstartMaxImpellerDown,
             UpDownNPSHEndMaxImpellerUp, UpDownNPSHEndMaxImpellerDown, UpDownNPSHStartMinImpellerUp,
             UpDownNPSHStartMinImpellerDown, UpDownNPSHEndMinImpellerUp, UpDownNPSHEndMinImpellerDown,
             UpDownMinFlowLineMaxDiamUp, UpDownMinFlowLineMaxDiamDown, UpDownMinFlowLineMinDiamUp,
             UpDownMinFlowLineMinDiamDown})
        w->setEnabled(enabled);
    // 5.
    GroupBoxGraphOptionsMultipliers->hide();
    GroupBoxGraphOptionsEfficiency->hide();
    GroupBoxAdjustPumpGraphs->hide();
    GroupBoxNoteSingleCurve->setGeometry(GroupBoxCurveMultipliers->geometry());
    const TPump &p = EditedPump;
    if (p.Speed_rpm == 0 || p.ImpellerDiameter_m == 0 || p.PumpImpellerDiameterMin_m == 0 ||
        p.PumpImpellerDiameterMax_m == 0 || p.PumpSpeedMinRpm == 0 || p.PumpSpeedMaxRpm == 0) {
        GroupBoxNoteSingleCurve->show();
        GroupBoxNoteSingleCurve->raise();
    }
    // 6.
    DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphLarge, false, 65, EditedPump);
    DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphSmall, false, 65, EditedPump);
}

void TPumpDataForm::writeOptionFromControls(QObject *control)
{
    TPumpGraphOptions &o = EditedPump.PumpGraphOptions;
    if (control == CheckBoxHead)
        o.ShowDesignCurve = CheckBoxHead->isChecked();
    else if (control == CheckBoxEnvelope)
        o.ShowEnvelope = CheckBoxEnvelope->isChecked();
    else if (control == CheckBoxPrefOp)
        o.ShowPrefOpRange = CheckBoxPrefOp->isChecked();
    else if (control == CheckBoxDesignPoint)
        o.ShowDesignPoint = CheckBoxDesignPoint->isChecked();
    else if (control == CheckBoxSystemCurve)
        o.ShowSystemCurve = CheckBoxSystemCurve->isChecked();
    else if (control == CheckBoxPower)
        o.ShowPower = CheckBoxPower->isChecked();
    else if (control == CheckBoxNPSHr)
        o.ShowNPSHr = CheckBoxNPSHr->isChecked();
    else if (control == CheckBoxMinFlowLine)
        o.ShowMinFlowLine = CheckBoxMinFlowLine->isChecked();
    else if (control == CheckBoxImportedLogo)
        o.ShowImportedLogo = CheckBoxImportedLogo->isChecked();
    else if (control == CheckBoxImportedPumpSheet)
        o.ShowImportedPumpSheet = CheckBoxImportedPumpSheet->isChecked();
    else if (control == CheckBoxEffic) {
        o.ShowEfficiencyIso = CheckBoxEffic->isChecked() && RadioButtonEfficIso->isChecked();
        o.ShowEfficiencyLine = CheckBoxEffic->isChecked() && RadioButtonEfficLine->isChecked();
    } else if (control == RadioButtonEfficIso) {
        o.ShowEfficiencyIso = RadioButtonEfficIso->isChecked();
        o.ShowEfficiencyLine = !o.ShowEfficiencyIso;
    } else if (control == RadioButtonEfficLine) {
        o.ShowEfficiencyLine = RadioButtonEfficLine->isChecked();
        o.ShowEfficiencyIso = !o.ShowEfficiencyLine;
    } else if (control == CheckBoxGridLines) {
        if (!CheckBoxGridLines->isChecked())
            o.GridLinesStyle = GraphGridNone;
        else if (RadioButtonGridStandard->isChecked())
            o.GridLinesStyle = GraphGridStandard;
        else if (RadioButtonGridFine->isChecked())
            o.GridLinesStyle = GraphGridFine;
    } else if (control == RadioButtonGridStandard) {
        if (RadioButtonGridStandard->isChecked())
            o.GridLinesStyle = GraphGridStandard;
    } else if (control == RadioButtonGridFine) {
        if (RadioButtonGridFine->isChecked())
            o.GridLinesStyle = GraphGridFine;
    } else if (control == RightEditSystemCurveStartHead) {
        o.SystemCurveHeadStart_mHd = 0;
        bool valid = false;
        const double value = ReadRealFromEdit(RightEditSystemCurveStartHead->text().toStdString(), valid, true, false,
                                              static_cast<char>(LocaleDecimalSeparator()));
        if (valid)
            o.SystemCurveHeadStart_mHd =
                convertHeadPressureUnit(EditedPump.PumpPoints.HeadDisplayUnit, unt_m_hd_fluid, value, density_);
    }
    DrawPumpGraphAndCheckData(true);
}

void TPumpDataForm::ColourSwatchClick(QLabel *Swatch)
{
    TPumpGraphOptions &o = EditedPump.PumpGraphOptions;
    const std::pair<QLabel *, TColor *> fields[] = {
        {LabelColorDesignCurve, &o.ColorDesignCurve}, {LabelColorEnvelope, &o.ColorEnvelope},
        {LabelColorPrefOpRange, &o.ColorPrefOpRange}, {LabelColorEfficiency, &o.ColorEfficiency},
        {LabelColorPower, &o.ColorPower},             {LabelColorNpshr, &o.ColorNpshr},
        {LabelColorGridLines, &o.ColorGridLines},     {LabelColorDesignPoint, &o.ColorDesignPoint},
        {LabelColorSystemCurve, &o.ColorSystemCurve}, {LabelColorMinFlowLine, &o.ColorMinFlowLine}};
    for (const auto &[label, field] : fields) {
        if (label != Swatch)
            continue;
        const std::optional<QColor> chosen = Dialogs().ChooseColour(ToQColor(*field), this);
        if (!chosen)
            return;
        *field = FromQColor(*chosen);
        setColourSwatch(label, *field);
        DrawPumpGraphAndCheckData(true);
        return;
    }
}

void TPumpDataForm::ButtonGraphOptionsOkClick()
{
    PanelGraphOptions->hide();
    GroupBoxGraphOptionsMultipliers->hide();
    GroupBoxGraphOptionsEfficiency->hide();
    GroupBoxAdjustPumpGraphs->hide();
    DrawPumpGraphAndCheckData(true);
    ButtonCalcCurvePointClick();
    if (!resultsMode_ && BitBtnSavePump->isEnabled())
        BitBtnSavePump->setFocus();
    else if (BitBtnCancelPump->isEnabled())
        BitBtnCancelPump->setFocus();
}

void TPumpDataForm::ButtonCancelClick()
{
    PanelGraphOptions->hide();
    GroupBoxGraphOptionsMultipliers->hide();
    GroupBoxGraphOptionsEfficiency->hide();
    GroupBoxAdjustPumpGraphs->hide();
    ++filling_;
    ComboBoxDesignCurve->setCurrentIndex(1);
    ComboBoxEfficiencyCurve->setCurrentIndex(1);
    --filling_;
    EditedPump.CopyGraphOptions(GraphOptionsPump);
    UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
    if (!resultsMode_ && BitBtnSavePump->isEnabled())
        BitBtnSavePump->setFocus();
    else if (resultsMode_ && BitBtnCancelPump->isEnabled())
        BitBtnCancelPump->setFocus();
}

void TPumpDataForm::BitBtnGraphOptionsPanelMoveClick()
{
    if (PanelGraphOptions->x() <= 0)
        return;
    const QPoint saved = PanelGraphOptions->pos();
    const bool dataEnabled = GroupBoxPumpData->isEnabled();
    const bool graphEnabled = GroupBoxPumpGraph->isEnabled();
    GroupBoxPumpData->setEnabled(false);
    GroupBoxPumpGraph->setEnabled(false);
    constexpr int hiddenTop = -440;
    while (PanelGraphOptions->y() > hiddenTop) {
        PanelGraphOptions->move(PanelGraphOptions->x(), PanelGraphOptions->y() - 10);
        PanelGraphOptions->repaint();
        QApplication::processEvents();
    }
    PanelGraphOptions->move(PanelGraphOptions->x(), hiddenTop);
    BitBtnGraphOptionsPanelMove->setText(QStringLiteral("Returns in 5 secs"));
    setEnabled(false);
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 500) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(10);
        }
    }
    setEnabled(true);
    GroupBoxPumpData->setEnabled(true);
    GroupBoxPumpGraph->setEnabled(true);
    BitBtnGraphOptionsPanelMove->setText(QStringLiteral("View Table Data"));
    while (PanelGraphOptions->y() < saved.y()) {
        PanelGraphOptions->move(saved.x(), std::min(saved.y(), PanelGraphOptions->y() + 10));
        QApplication::processEvents();
    }
    PanelGraphOptions->move(saved);
    PanelGraphOptions->repaint();
    GroupBoxPumpData->setEnabled(dataEnabled);
    GroupBoxPumpGraph->setEnabled(graphEnabled);
}

void TPumpDataForm::preferredRegionChanged(TRightEdit *box, std::int32_t &field)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty()) {
        field = 0;
        return;
    }
    bool valid = false;
    const std::int32_t value = ReadIntegerFromEdit(text.toStdString(), valid, true, false);
    if (valid) {
        field = value;
        return;
    }
    ShowInvalidNumericEntry(box, QColor(0xFF, 0xFF, 0x00), x(), y(), box->x() + 200, box->y() + 400);
}

// --- the read-out ---------------------------------------------------------------------

void TPumpDataForm::ButtonCalcCurvePointClick()
{
    TPump &p = EditedPump;
    const double rho = density_;
    const int last = p.PumpPoints.PointsCount;
    if (last < 1)
        return;
    const QString flowText = RightEditFlow->text().trimmed();
    const QString headText = RightEditHead->text().trimmed();
    if (flowText.isEmpty() && headText.isEmpty())
        return;
    const double Qend = p.PumpPoints.Points[last].Flow_m3s;
    // The stored heads as columns of the pumped fluid, as the fitted curve has them.
    auto fluidHead = [&](double stored) {
        return p.PumpPoints.SetHead_Stored_mH2O ? PumpHead_mH2O_to_mFluid(stored, rho) : stored;
    };
    const double Hshut = fluidHead(p.PumpPoints.Points[1].Head_mHd);
    const double Hend = fluidHead(p.PumpPoints.Points[last].Head_mHd);
    p.calcPumpCurves(rho);
    const TUnit flowUnit = p.PumpPoints.FlowDisplayUnit;
    const TUnit headUnit = p.PumpPoints.HeadDisplayUnit;
    const TUnit npshUnit = p.PumpPoints.NPSHrDisplayUnit;
    const char separator = static_cast<char>(LocaleDecimalSeparator());
    auto powerHeader = [&] {
        LabelHeaderPower->setText(p.getPowerDisplayUnit() == unt_KW ? QStringLiteral("Power KW")
                                                                    : QStringLiteral("Power HP"));
    };
    auto hydraulic = [&](double Q, double H_fluid) {
        const double kw = std::fabs(Q * H_fluid * rho * 9.80665 / 1000);
        return p.getPowerDisplayUnit() == unt_KW ? kw : kw / 0.7456999;
    };
    auto clearValues = [&] {
        LabelShowNPSHr->clear();
        LabelShowEffic->clear();
        LabelShowPower->clear();
    };
    if (!flowText.isEmpty()) {
        bool valid = false;
        const double typed = ReadRealFromEdit(flowText.toStdString(), valid, true, false, separator);
        const double Q = valid ? FlowConvert(flowUnit, unt_m3_sec, typed, rho) : -1;
        // The last point's flow is accepted as typed in its own unit.
        constexpr double tolerance = 1e-9;
        if (valid && Q >= 0 && Q <= Qend * (1 + tolerance)) {
            const double H = p.calcPumpHead_mHd_Fluid(Q, rho);
            ++filling_;
            RightEditHead->setText(
                q(formatForUnit(headUnit, convertHeadPressureUnit(unt_m_hd_fluid, headUnit, H, rho))));
            --filling_;
            const double npsh = p.calcPumpNPSHr_mHd_Fluid(Q, rho);
            LabelShowNPSHr->setText(
                q(formatForUnit(npshUnit, convertHeadPressureUnit(unt_m_hd_fluid, npshUnit, npsh, rho))));
            const double E = p.calcPumpEfficiency(Q, rho);
            LabelShowEffic->setText(q(formatFixed(1, E)));
            if (E > 0) {
                powerHeader();
                LabelShowPower->setText(q(formatFixed(3, hydraulic(Q, H) / (E / 100))));
            } else {
                LabelShowPower->setText(QStringLiteral("N/A"));
            }
            redrawSmallAndLarge();
            return;
        }
        RightEditHead->clear();
        clearValues();
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Value is outside of the data points used to draw the pump curve.\r\r"
                                             "Please re-enter a Flow value that lies within the pump curve."),
                              this);
        RightEditFlow->clear();
        return;
    }
    // A head typed in a pressure unit is taken as a column of the pumped
    // fluid: the curve it is looked up on is in metres of fluid.
    bool valid = false;
    const double typed = ReadRealFromEdit(headText.toStdString(), valid, true, false, separator);
    const double H = valid ? convertHeadPressureUnit(headUnit, unt_m_hd_fluid, typed, rho) : -1;
    const double Hlow = std::min(Hend, Hshut), Hhigh = std::max(Hend, Hshut);
    constexpr double tolerance = 1e-9;
    if (valid && H >= Hlow * (1 - tolerance) && H <= Hhigh * (1 + tolerance)) {
        const double Q = p.calcPumpFlow_m3s(H);
        ++filling_;
        RightEditFlow->setText(q(FlowText(flowUnit, Q, rho)));
        --filling_;
        const double npsh = p.calcPumpNPSHr_mHd_Fluid(Q, rho);
        LabelShowNPSHr->setText(
            q(formatForUnit(npshUnit, convertHeadPressureUnit(unt_m_hd_fluid, npshUnit, npsh, rho))));
        const double E = p.calcPumpEfficiency(Q, rho);
        LabelShowEffic->setText(q(formatFixed(1, E)));
        double power = 0;
        if (E != 0) {
            powerHeader();
            power = hydraulic(Q, H) / (E / 100);
        }
        LabelShowPower->setText(q(formatFixed(3, power)));
        redrawSmallAndLarge();
        return;
    }
    RightEditFlow->clear();
    clearValues();
    Dialogs().ShowMessage(TDialogKind::Information,
                          QStringLiteral("Value is outside of the data points used to draw the pump curve.\r\r"
                                         "Please re-enter a Head value that lies within the pump curve."),
                          this);
    RightEditHead->clear();
}

// --- the large view ---------------------------------------------------------------------

void TPumpDataForm::BitBtnEnlargeGraphClick()
{
    Panel2->show();
    Panel2->raise();
    if (PanelGraphOptions->isVisible())
        PanelGraphOptionsSetPosition();
    GroupBoxPointEffic->hide();
    GroupBoxPointEfficLargeGraph->hide();
    const TPump &p = EditedPump;
    ++filling_;
    RightEditPumpSpeedRpmGraph->setText(QString::number(p.Speed_rpm));
    --filling_;
    UpdateFormFromRightEditPumpSpeedRpmGraph();
    LabelSpeedLargeGraph->setText(QStringLiteral("Speed: ") + RightEditPumpSpeedRpmGraph->text() +
                                  QStringLiteral(" rpm"));
    const TUnit unit = EditedPump.ImpellerDiameterDisplayUnit;
    ++filling_;
    RightEditPumpImpellerDiameterGraph->setText(q(convertUnitToString(unt_m, unit, 3, EditedPump.ImpellerDiameter_m)));
    --filling_;
    UpdateFormFromRightEditPumpImpellerDiameterGraph();
    LabelDiameterLargeGraph->setText(QStringLiteral("Diameter: ") + RightEditPumpImpellerDiameterGraph->text() +
                                     QStringLiteral(" ") + q(unitPlainName(unit)));
    ++filling_;
    TrackBarImageOpacity->setValue(EditedPump.ImportedPumpSheet.PumpSheetOpacity);
    --filling_;
    GroupBoxImageOpacity->setVisible(EditedPump.ImportedPumpSheet.Imported &&
                                     EditedPump.PumpGraphOptions.ShowImportedPumpSheet);
    ImageSaved = ImagePumpCurveLarge->Picture.copy();
}

void TPumpDataForm::BitBtn2Click()
{
    magnifierOn_ = !magnifierOn_;
    BitBtn2->setText(magnifierOn_ ? QStringLiteral("Magnify On") : QStringLiteral("Magnify Off"));
    ImagePumpCurveLarge->unsetCursor();
    DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphLarge, false, 65, EditedPump);
    if (magnifierOn_)
        ImageSaved = ImagePumpCurveLarge->Picture.copy();
}

void TPumpDataForm::ImagePumpCurveLargeMouseMove(QPoint at)
{
    double flow = 0, head = 0;
    if (PumpGraphLarge->GetXYvalue(at.x(), at.y(), flow, head)) {
        LabelFlow->setText(QStringLiteral("Flow = ") + q(formatFixed(2, flow)));
        LabelHead->setText(QStringLiteral("Head = ") + q(formatFixed(2, head)));
    }
    if (!magnifierOn_ || ImageSaved.isNull())
        return;
    QImage &picture = ImagePumpCurveLarge->Picture;
    picture = ImageSaved.copy();
    {
        QPainter painter(&picture);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRect(QPoint(at.x() - 201, at.y() - 201), QPoint(at.x() + 201, at.y() + 201)));
        QPainterPath circle;
        circle.addEllipse(QRect(QPoint(at.x() - 200, at.y() - 200), QPoint(at.x() + 200, at.y() + 200)));
        painter.setClipPath(circle);
        painter.drawImage(QRect(at.x() - 200, at.y() - 200, 400, 400), ImageSaved,
                          QRect(at.x() - 100, at.y() - 100, 200, 200));
        painter.setClipping(false);
    }
    ImagePumpCurveLarge->update();
}

void TPumpDataForm::PickPredictedPoint(bool LargeGraph, QPoint at)
{
    QGroupBox *popup = LargeGraph ? GroupBoxPointEfficLargeGraph : GroupBoxPointEffic;
    QLabel *label = LargeGraph ? LabelPointEfficLargeGraph : LabelPointEffic;
    popup->hide();
    if (!PanelPointEfficiencies->isVisible())
        return;
    TGraph &graph = LargeGraph ? *PumpGraphLarge : *PumpGraphSmall;
    const TPump &p = EditedPump;
    const double rho = density_;
    double flowShown = 0, headShown = 0;
    graph.GetXYvalue(at.x(), at.y(), flowShown, headShown);
    const double flow_kgs = FlowConvert(p.PumpPoints.FlowDisplayUnit, unt_kg_sec, flowShown, rho);
    const double head_mHd = convertHeadPressureUnit(p.PumpPoints.HeadDisplayUnit, unt_m_hd_fluid, headShown, rho);
    const TQuadraticCurves &maxCurve = DrawingPump.PumpMaxDiamCurve_Qkgs_mHd;
    if (maxCurve.PointsCount < 1)
        return;
    const double tx = 0.015 * maxCurve.CurvePoints[static_cast<std::size_t>(maxCurve.PointsCount)].X;
    const double ty = 0.015 * maxCurve.CurvePoints[1].Y;
    bool found = false;
    for (bool minimum : {false, true}) {
        const TQuadraticCurves &curve = minimum ? DrawingPump.PumpMinDiamCurve_Qkgs_mHd : maxCurve;
        const TQuadraticCurves &efficiency = minimum ? DrawingPump.PumpMinDiamCurrentSpeedEfficiencyCurve
                                                     : DrawingPump.PumpMaxDiamCurrentSpeedEfficiencyCurve;
        const int count = std::min({p.PumpPoints.PointsCount, curve.PointsCount, MaxPumpPoints});
        for (int i = 2; i <= count; ++i) {
            const TCurvePoint &point = curve.CurvePoints[static_cast<std::size_t>(i)];
            if (std::fabs(flow_kgs - point.X) < tx && std::fabs(head_mHd - point.Y) < ty) {
                found = true;
                selectedPointOnMinimum_ = minimum;
                selectedPoint_ = i;
                selectedEfficiency_ = efficiency.CalculateY(point.X);
                selectedEfficiencyBefore_ =
                    efficiency.CalculateY(curve.CurvePoints[static_cast<std::size_t>(i - 1)].X);
                selectedEfficiencyAfter_ =
                    i < count ? efficiency.CalculateY(curve.CurvePoints[static_cast<std::size_t>(i + 1)].X) : 0;
            }
        }
    }
    if (found) {
        label->setText(q(formatFixed(1, selectedEfficiency_)) + QStringLiteral("%"));
        QWidget *view = LargeGraph ? static_cast<QWidget *>(ImagePumpCurveLarge) : ImagePumpCurve;
        const QPoint inParent = view->mapTo(popup->parentWidget(), at);
        popup->move(inParent.x() + 10, std::max(0, inParent.y() - 18));
        popup->show();
        popup->raise();
    }
    UpdateGraphOptionsUpdateRunningDataDrawGraph(EditedPump);
}

void TPumpDataForm::TrackBarImageOpacityChange(bool LargeGraph)
{
    QSlider *bar = LargeGraph ? TrackBarImageOpacity : TrackBarImageOpacity2;
    EditedPump.ImportedPumpSheet.PumpSheetOpacity = bar->value();
    redrawSmallAndLarge();
    if (LargeGraph && magnifierOn_)
        ImageSaved = ImagePumpCurveLarge->Picture.copy();
}

// --- images and the clipboard ---------------------------------------------------------------

void TPumpDataForm::ImportPumpSheetImage1Click()
{
    if (resultsMode_) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Cannot import a pump sheet image in Results Mode.\r\r"), this);
        return;
    }
    if (EditedPump.PumpType != PumpFixedSpeed) {
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              QStringLiteral("The pump type must be switched to 'Set Speed' before the Pump Database "
                                             "can be opened.\r\ri.e. You cannot open the pump database when the pump "
                                             "type is 'Set Flow Rate' or 'Set Head Increase'.\r\r"),
                              this);
        return;
    }
    if (!OpenCurveImageDigitiser || !network_)
        return;
    TPump &p = EditedPump;
    OpenCurveImageDigitiser(p, network_->GetPipeFluid(pipeId_));
    p.calcPumpCurves(density_);
    if (p.isRunningOnBaseData()) {
        const TUnit unit = p.ImpellerDiameterDisplayUnit;
        auto D = [unit](double metres) {
            return q(convertAndFormatDecimals(unt_m, unit, 3, metres)) + q(unitName(unit));
        };
        const double Dmin = p.ImpellerDiameter_m * MinImpellerPercentOfBaseForIsoLines / 100;
        const double Dmax = p.ImpellerDiameter_m * MaxImpellerPercentOfBaseForIsoLines / 100;
        if (p.PumpImpellerDiameterMin_m > 0 && p.PumpImpellerDiameterMin_m < Dmin &&
            Dialogs().AskYesNo(TDialogKind::Confirmation,
                               QStringLiteral("Previous Minimum Impeller Diameter is ") +
                                   D(p.PumpImpellerDiameterMin_m) + QStringLiteral("\r\r") +
                                   QStringLiteral("Minimum Predictable Impeller Diameter is ") + D(Dmin) +
                                   QStringLiteral("\r\r") + QStringLiteral("Set the Minimum Impeller Diameter to ") +
                                   D(Dmin) + QStringLiteral(" ?") + QStringLiteral("\r\r"),
                               this))
            p.PumpImpellerDiameterMin_m = Dmin;
        if (p.PumpImpellerDiameterMax_m > 0 && p.PumpImpellerDiameterMax_m > Dmax &&
            Dialogs().AskYesNo(TDialogKind::Confirmation,
                               QStringLiteral("Previous Maximum Impeller Diameter is ") +
                                   D(p.PumpImpellerDiameterMax_m) + QStringLiteral("\r\r") +
                                   QStringLiteral("Maximum Predictable Impeller Diameter is ") + D(Dmax) +
                                   QStringLiteral("\r\r") + QStringLiteral("Set the Maximum Impeller Diameter to ") +
                                   D(Dmax) + QStringLiteral(" ?") + QStringLiteral("\r\r"),
                               this))
            p.PumpImpellerDiameterMax_m = Dmax;
    }
    if (p.PumpSpeedMinRpm > p.Speed_rpm)
        p.PumpSpeedMinRpm = 0;
    if (p.PumpSpeedMaxRpm < p.Speed_rpm)
        p.PumpSpeedMaxRpm = 0;
    SetPumpDisplayUnits();
    SetPumpStringGridState();
    ++filling_;
    TrackBarImageOpacity2->setValue(p.ImportedPumpSheet.PumpSheetOpacity);
    --filling_;
    GroupBoxImageOpacity2->setVisible(p.ImportedPumpSheet.Imported);
    DrawPumpGraphAndCheckData(true);
}

void TPumpDataForm::ImportLogoImageontograph1Click()
{
    TPump &p = EditedPump;
    if (p.ImportedLogoLoaded) {
        if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                                QStringLiteral("Delete existing logo image and load new image?"), this))
            return;
        p.ImportedLogoLoaded = false;
        drawBothCharts();
    }
    const std::optional<QString> name =
        ChooseExistingPicture(this, QStringLiteral("Open Logo Image"),
                              QStringLiteral("Pictures (*.jpg *.jpeg *.png *.bmp *.gif);;All files (*)"));
    if (!name)
        return;
    QImageReader reader(*name);
    const QImage picture = reader.read();
    if (picture.isNull() || picture.width() <= 0) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Image File cannot be loaded: Error occured.\r"),
                              this);
        return;
    }
    try {
        constexpr int logoWidth = 1000;
        const int logoHeight = std::max(
            1, static_cast<int>(std::trunc(static_cast<double>(picture.height()) / picture.width() * logoWidth)));
        const QImage scaled = picture.convertToFormat(QImage::Format_RGB32)
                                  .scaled(logoWidth, logoHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        TBitmap bitmap(logoWidth, logoHeight);
        for (int y = 0; y < logoHeight; ++y)
            for (int x = 0; x < logoWidth; ++x) {
                const QRgb c = scaled.pixel(x, y);
                bitmap.SetPixel(x, y, static_cast<TColor>(qRed(c)) | (static_cast<TColor>(qGreen(c)) << 8) |
                                          (static_cast<TColor>(qBlue(c)) << 16));
            }
        p.ImportedLogoBitmap.Assign(bitmap);
        p.ImportedLogoLoaded = true;
        p.PumpGraphOptions.ShowImportedLogo = true;
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Image File cannot be loaded: Error occured.\r"),
                              this);
        return;
    }
    drawBothCharts();
}

void TPumpDataForm::CopyGraphImage1Click()
{
    DrawPumpGraphAndCheckData(true);
    if (Panel2->isVisible()) {
        QApplication::clipboard()->setImage(ImagePumpCurveLarge->Picture);
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("A large image of the pump graph has been copied to the clipboard."),
                              this);
    } else {
        QApplication::clipboard()->setImage(ImagePumpCurve->Picture);
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("An image of the pump graph has been copied to the clipboard."), this);
    }
}

} // namespace tessaran
