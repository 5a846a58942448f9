// The pump editor's curve-point grid: up to ten points of flow, head,
// efficiency and NPSHr, each column in a unit of the user's choice; the
// conversion between the grid's rows and the pump's running points, and the
// checks with their messages.

#include "pumps/Pump_Data_Form.h"

#include <algorithm>
#include <array>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>

#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr int FirstPointRow = 2;
constexpr int LastPointRow = 11;

const QColor Silver{192, 192, 192};
const QColor Grey224{224, 224, 224};

double readCell(const QString &text, bool &valid)
{
    return ReadRealFromString(text.toStdString(), valid, true, false, userDecimalSeparator());
}

// The value of a cell as the checks read it: -1 when empty or unreadable.
double cellValue(const QString &text)
{
    bool valid = false;
    return ReadRealFromString(text.toStdString(), valid, true, true, userDecimalSeparator());
}

} // namespace

QString TPumpDataForm::Cell(int c, int r) const
{
    const QTableWidgetItem *item = StringGridPumpPoints->item(r, c);
    return item ? item->text() : QString();
}

void TPumpDataForm::SetCell(int c, int r, const QString &text)
{
    QTableWidgetItem *item = StringGridPumpPoints->item(r, c);
    if (!item) {
        item = new QTableWidgetItem;
        StringGridPumpPoints->setItem(r, c, item);
    }
    item->setText(text);
}

void TPumpDataForm::writeGridTitles()
{
    SetCell(0, 0, QStringLiteral("Flow"));
    SetCell(1, 0, QStringLiteral("Head"));
    SetCell(2, 0, QStringLiteral("Efficiency"));
    SetCell(3, 0, QStringLiteral("NPSHr"));
    SetCell(2, 1, QStringLiteral("%"));
    SetCell(3, 1, q(unitName(EditedPump.PumpPoints.NPSHrDisplayUnit)));
}

void TPumpDataForm::selectGridUnitLists()
{
    TPumpPoints &points = EditedPump.PumpPoints;
    if (const int item = PumpFlowItemOfUnit(points.FlowDisplayUnit); item >= 0)
        ComboBoxPumpFlowUnits->setCurrentIndex(item);
    // Heads in m or ft of water are shown in mm or in of water.
    if (points.HeadDisplayUnit == unt_m_H2O)
        points.HeadDisplayUnit = unt_mm_H2O;
    else if (points.HeadDisplayUnit == unt_ft_H2O)
        points.HeadDisplayUnit = unt_in_H2O;
    if (const int item = PumpHeadItemOfUnit(points.HeadDisplayUnit); item >= 0) {
        ComboBoxPumpHeadUnits->setCurrentIndex(item);
        points.NPSHrDisplayUnit = PumpNPSHrUnitOfHeadItem(item);
    }
    rememberedFlowIndex_ = ComboBoxPumpFlowUnits->currentIndex();
    rememberedHeadIndex_ = ComboBoxPumpHeadUnits->currentIndex();
    SetCell(3, 1, q(unitName(points.NPSHrDisplayUnit)));
}

void TPumpDataForm::writeGridRows(TPump &ThePump)
{
    ++filling_;
    const TPumpPoints &points = ThePump.PumpPoints;
    const double atm = network_ ? network_->ConfigOptions.Atmosphere_bar_a : 1.01325;
    const TUnit headFrom = points.SetHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid;
    const TUnit npshrFrom = points.SetNPSHr_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid;
    for (int i = 1; i <= MaxPumpPoints; ++i) {
        const int r = i + 1;
        if (i > points.PointsCount) {
            for (int c = 0; c < 4; ++c)
                SetCell(c, r, QString());
            continue;
        }
        const TPumpPoint &p = points.Points[i];
        QString flow, head, npshr;
        try {
            flow = q(convertFlowUnitToString(unt_m3_sec, points.FlowDisplayUnit, 4, std_15degC_101325Pa, p.Flow_m3s,
                                             density_, 0, 288.15, atm));
            head = q(convertHeadPressureUnitToString(headFrom, points.HeadDisplayUnit, 3, p.Head_mHd, density_));
            npshr = q(convertHeadPressureUnitToString(npshrFrom, points.NPSHrDisplayUnit, 3, p.NPSHr_mHd, density_));
        } catch (const std::exception &) {
            flow = q(formatFixed(4, p.Flow_m3s));
            head = q(formatFixed(3, p.Head_mHd));
            npshr = q(formatFixed(3, p.NPSHr_mHd));
        }
        SetCell(0, r, flow);
        SetCell(1, r, head);
        SetCell(2, r, q(formatFixed(2, p.EfficiencyPercent)));
        SetCell(3, r, npshr);
    }
    // The first point is the zero-flow point.
    if (ThePump.PumpPoints.PointsCount >= 1) {
        TPumpPoint &first = ThePump.PumpPoints.Points[1];
        first.Flow_m3s = 0;
        first.Flow_kgs = 0;
        first.EfficiencyPercent = 0;
    }
    SetCell(0, FirstPointRow, QStringLiteral("0"));
    SetCell(2, FirstPointRow, QStringLiteral("0"));
    SetCell(3, 1, q(unitName(points.NPSHrDisplayUnit)));
    StringGridPumpPoints->setCurrentCell(FirstPointRow, 1);
    --filling_;
}

bool TPumpDataForm::IsStringGridEmpty() const
{
    for (int r = FirstPointRow; r <= LastPointRow; ++r)
        for (int c = 0; c < 4; ++c) {
            const QString text = Cell(c, r);
            if (!text.isEmpty() && text != QStringLiteral("0"))
                return false;
        }
    return true;
}

void TPumpDataForm::CheckSetStringGridEfficiencyAndNPSHr()
{
    int firstEmptyRow = 12;
    for (int r = 1; r <= LastPointRow; ++r) {
        bool allEmpty = true;
        for (int c = 0; c < 4; ++c)
            allEmpty = allEmpty && Cell(c, r).isEmpty();
        if (allEmpty) {
            firstEmptyRow = r;
            break;
        }
    }
    auto countsAsMissing = [this](int c, int r) {
        const QString text = Cell(c, r);
        if (text.isEmpty())
            return true;
        bool valid = false;
        const double value = ReadRealFromString(text.toStdString(), valid, true, true, userDecimalSeparator());
        return valid && value == 0;
    };
    int rows = 0, missingEffic = 0, missingNpshr = 0;
    ++filling_;
    for (int r = FirstPointRow; r < firstEmptyRow; ++r) {
        ++rows;
        missingEffic += countsAsMissing(2, r) ? 1 : 0;
        missingNpshr += countsAsMissing(3, r) ? 1 : 0;
    }
    if (rows > 0 && missingEffic == rows)
        for (int r = FirstPointRow; r < firstEmptyRow; ++r)
            SetCell(2, r, QStringLiteral("0"));
    if (rows > 0 && missingNpshr == rows)
        for (int r = FirstPointRow; r < firstEmptyRow; ++r)
            SetCell(3, r, QStringLiteral("0"));
    --filling_;
}

void TPumpDataForm::CheckStringGridValid(bool &Valid, int &firstBlankRow, QString &errorMessage)
{
    // 1.
    CheckSetStringGridEfficiencyAndNPSHr();
    errorMessage.clear();
    Valid = true;
    firstBlankRow = 13;
    const char separator = userDecimalSeparator();

    // 2.
    for (int r = FirstPointRow; r <= LastPointRow && Valid; ++r) {
        bool anyContent = false;
        int badColumn = -1;
        for (int c = 0; c < 4; ++c) {
            const std::string text = Cell(c, r).toStdString();
            if (text.empty())
                continue;
            anyContent = true;
            if (!IsRealText(text, separator))
                badColumn = c;
        }
        if (badColumn >= 0) {
            Valid = false;
            errorMessage = QStringLiteral("Pump data for row ") + QString::number(r) + QStringLiteral(" column ") +
                           QString::number(badColumn + 1) + QStringLiteral(" is not valid.") + QStringLiteral("\r\r") +
                           QStringLiteral("Check your entries and adjust the values to valid numbers.");
        }
        if (!anyContent) {
            if (firstBlankRow == 13)
                firstBlankRow = r;
        } else if (r > firstBlankRow) {
            Valid = false;
            errorMessage = QStringLiteral("Pump data points cannot contain a blank row between two completed "
                                          "rows.\r\rCheck your entry and adjust the values.");
        }
    }
    // The row after the last counts as empty.
    if (firstBlankRow == 13)
        firstBlankRow = 12;

    // 3.
    if (firstBlankRow < 5) {
        Valid = false;
        errorMessage = QStringLiteral("At least 3 points on the pump curve must be specified\rbefore a graph can be "
                                      "drawn.\r\rPlease enter the values in grid on the left hand side.");
    }

    // 4.
    double previousFlow = cellValue(Cell(0, FirstPointRow));
    double lastHead = cellValue(Cell(1, FirstPointRow));
    double lastNpshr = cellValue(Cell(3, FirstPointRow));
    const double head2 = cellValue(Cell(1, FirstPointRow + 1));
    const double npshr2 = cellValue(Cell(3, FirstPointRow + 1));

    // 5.
    for (int r = FirstPointRow + 1; r < firstBlankRow && Valid; ++r) {
        const double flow = cellValue(Cell(0, r));
        lastHead = cellValue(Cell(1, r));
        lastNpshr = cellValue(Cell(3, r));
        if (!(flow > previousFlow)) {
            Valid = false;
            errorMessage = QStringLiteral("The flow points entered must always be increasing in value.\r\rPlease "
                                          "re-enter the flow value in grid for point ") +
                           QString::number(r - 1) + QStringLiteral(".");
        }
        previousFlow = flow;
    }

    // 6.
    if (head2 <= lastHead && head2 > 0) {
        Valid = false;
        errorMessage = QStringLiteral("The head points should generally decrease as the flow increases such that the "
                                      "last head value is less than the first head value.\r\rPlease re-enter the head "
                                      "values to meet this requirement.");
    }
    // 7.
    if (npshr2 > lastNpshr && npshr2 > 0) {
        Valid = false;
        errorMessage = QStringLiteral("The NPSHr points entered should generally increase as the flow increases such "
                                      "that the last NPSHr value is greater than the first NPSHr value.\r\rPlease "
                                      "re-enter the NPSHr values to meet this requirement.");
    }
}

void TPumpDataForm::UpdatePumpFromStringGrid(TPump &ThePump, bool &Valid)
{
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(Valid, firstBlankRow, message);
    if (Valid) {
        // Every row is read before the pump is touched, so that a refused
        // row leaves the pump's curve as it was.
        struct Row {
            double flow, head, effic, npshr;
        };
        std::vector<Row> rows;
        const int endRow = std::min(firstBlankRow, 12);
        for (int r = FirstPointRow; r < endRow && Valid; ++r) {
            bool v[4] = {false, false, false, false};
            Row row{readCell(Cell(0, r), v[0]), readCell(Cell(1, r), v[1]), readCell(Cell(2, r), v[2]),
                    readCell(Cell(3, r), v[3])};
            if (!(v[0] && v[1] && v[2] && v[3])) {
                Valid = false;
                Dialogs().ShowMessage(TDialogKind::Information,
                                      QStringLiteral("Pump data for row ") + QString::number(r - 1) +
                                          QStringLiteral(" is not valid.") + QStringLiteral("\r\r") +
                                          QStringLiteral("Check your entries and adjust the values to valid numbers."),
                                      this);
                break;
            }
            rows.push_back(row);
        }
        if (Valid) {
            const TPumpPoints &points = ThePump.PumpPoints;
            const TUnit headTo = points.SetHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid;
            const TUnit npshrTo = points.SetNPSHr_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid;
            std::vector<Row> stored;
            try {
                for (const Row &row : rows)
                    stored.push_back(
                        {convertFlowUnit(points.FlowDisplayUnit, unt_m3_sec, std_15degC_101325Pa, row.flow, density_, 0,
                                         288.15, atmosphere()),
                         convertHeadPressureUnit(points.HeadDisplayUnit, headTo, row.head, density_), row.effic,
                         convertHeadPressureUnit(points.NPSHrDisplayUnit, npshrTo, row.npshr, density_)});
            } catch (const std::exception &) {
                Valid = false;
            }
            if (Valid) {
                ThePump.ClearPumpCurvesButNotBasePoints();
                for (const Row &row : stored)
                    ThePump.AddPumpCurvePointFlowm3s(row.flow, row.head, row.effic, row.npshr, density_);
                ThePump.PumpPoints.PointsCount = endRow - FirstPointRow;
            }
        }
    }
    if (IsStringGridEmpty())
        ThePump.ClearPumpCurves();
}

void TPumpDataForm::UpdateStringGridFromPump(TPump &ThePump, bool &Valid)
{
    writeGridRows(ThePump);
    ++filling_;
    RightEditPumpSpeed->setText(QString::number(ThePump.Speed_rpm));
    RightEditImpellerDiameter->setText(
        q(convertUnitToString(unt_m, ThePump.ImpellerDiameterDisplayUnit, 3, ThePump.ImpellerDiameter_m)));
    --filling_;
    if (ThePump.isRunningOnBaseData()) {
        LabelOrigCurve->hide();
        LabelOrigCurveText->hide();
    } else {
        SetLabelOrigCurve(ThePump);
        LabelOrigCurve->show();
        LabelOrigCurveText->show();
    }
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(Valid, firstBlankRow, message);
}

void TPumpDataForm::StringGridPumpPointsExit()
{
    bool valid = false;
    UpdatePumpFromStringGrid(EditedPump, valid);
    SetPumpStringGridState();
    RepaintStringGrid();
}

void TPumpDataForm::RepaintStringGrid()
{
    const bool fixedType = RadioButtonFixedFlow->isChecked() || RadioButtonFixedHeadRise->isChecked();
    const bool speed = RadioButtonFixedSpeed->isChecked();
    const bool enabled = StringGridPumpPoints->isEnabled();
    const QColor text = (fixedType || resultsMode_) ? Silver : QColor(Qt::black);
    for (int r = FirstPointRow; r <= LastPointRow; ++r)
        for (int c = 0; c < 4; ++c) {
            QTableWidgetItem *item = StringGridPumpPoints->item(r, c);
            if (!item)
                continue;
            QColor fill;
            if (r == FirstPointRow && (c == 0 || c == 2))
                fill = Silver;
            else if (speed)
                fill = enabled ? QColor(Qt::white) : Grey224;
            else
                fill = Grey224;
            item->setBackground(fill);
            item->setForeground(text);
        }
}

// --- unit lists -------------------------------------------------------------------

void TPumpDataForm::ComboBoxPumpFlowUnitsChange()
{
    const int index = ComboBoxPumpFlowUnits->currentIndex();
    // 1.
    const bool empty = IsStringGridEmpty();
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    // 2.
    bool accepted = false;
    if (empty) {
        EditedPump.ClearPumpCurves();
        accepted = true;
    } else if (valid) {
        EditedPump.SetEquivalentFlowAndMassFlowRate(density_);
        UpdatePumpFromStringGrid(EditedPump, accepted);
    } else if (firstBlankRow > 4) {
        Dialogs().ShowMessage(TDialogKind::Information, message, this);
    } else if (Dialogs().AskYesNo(TDialogKind::Information,
                                  QStringLiteral("The flow units can only be changed when there is a valid set of pump "
                                                 "data or when the pump data is empty.\r\rClear the pump data and "
                                                 "change the flow units?"),
                                  this)) {
        EditedPump.ClearPumpCurves();
        accepted = true;
    }
    // 3.
    if (!accepted) {
        ++filling_;
        ComboBoxPumpFlowUnits->setCurrentIndex(rememberedFlowIndex_);
        --filling_;
        return;
    }
    EditedPump.PumpPoints.FlowDisplayUnit = PumpFlowUnitOfItem(index);
    rememberedFlowIndex_ = index;
    LabelShowFlow->setText(QStringLiteral("Flow ") + q(unitName(EditedPump.PumpPoints.FlowDisplayUnit)));
    RightEditFlow->clear();
    RightEditHead->clear();
    for (QLabel *label : {LabelShowEffic, LabelShowNPSHr, LabelShowPower})
        label->clear();
    if (!empty) {
        UpdateFormFromPump(EditedPump);
        DrawPumpGraphAndCheckData(true);
    }
}

void TPumpDataForm::ComboBoxPumpHeadUnitsChange()
{
    const int index = ComboBoxPumpHeadUnits->currentIndex();
    const bool empty = IsStringGridEmpty();
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    bool accepted = false;
    if (empty) {
        EditedPump.ClearPumpCurves();
        accepted = true;
    } else if (valid) {
        UpdatePumpFromStringGrid(EditedPump, accepted);
    } else if (firstBlankRow > 4) {
        Dialogs().ShowMessage(TDialogKind::Information, message, this);
    } else if (Dialogs().AskYesNo(TDialogKind::Information,
                                  QStringLiteral("The head units can only be changed when there is a valid set of pump "
                                                 "data or when the pump data is empty.\r\rClear the pump data and "
                                                 "change the head units?"),
                                  this)) {
        EditedPump.ClearPumpCurves();
        accepted = true;
    }
    if (!accepted) {
        ++filling_;
        ComboBoxPumpHeadUnits->setCurrentIndex(rememberedHeadIndex_);
        --filling_;
        return;
    }
    EditedPump.PumpPoints.HeadDisplayUnit = PumpHeadUnitOfItem(index);
    EditedPump.PumpPoints.NPSHrDisplayUnit = PumpNPSHrUnitOfHeadItem(index);
    rememberedHeadIndex_ = index;
    LabelShowHead->setText(QStringLiteral("Head ") + q(unitName(EditedPump.PumpPoints.HeadDisplayUnit)));
    RightEditFlow->clear();
    RightEditHead->clear();
    for (QLabel *label : {LabelShowEffic, LabelShowNPSHr, LabelShowPower})
        label->clear();
    UpdateFormFromPump(EditedPump);
    if (!empty)
        DrawPumpGraphAndCheckData(true);
}

void TPumpDataForm::gridFocusChanged(QWidget *old, QWidget *now)
{
    auto inGrid = [this](QWidget *w) {
        return w && (w == StringGridPumpPoints || StringGridPumpPoints->isAncestorOf(w)) &&
               w != ComboBoxPumpFlowUnits && w != ComboBoxPumpHeadUnits;
    };
    if (filling_ || !isVisible())
        return;
    if (inGrid(old) && !inGrid(now) && now && now->window() == this)
        StringGridPumpPointsExit();
}

void TPumpDataForm::connectGrid()
{
    connect(ComboBoxPumpFlowUnits, &QComboBox::activated, this, [this](int) {
        if (!filling_)
            ComboBoxPumpFlowUnitsChange();
    });
    connect(ComboBoxPumpHeadUnits, &QComboBox::activated, this, [this](int) {
        if (!filling_)
            ComboBoxPumpHeadUnitsChange();
    });
    // Selecting a cell clears the chart.
    connect(StringGridPumpPoints, &QTableWidget::currentCellChanged, this, [this](int, int, int, int) {
        if (!filling_)
            ClearPumpGraph();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) { gridFocusChanged(old, now); });
}

} // namespace tessaran
