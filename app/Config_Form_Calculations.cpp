// The options dialog's Calculations page: the method of solution, the gas
// flow equation and compressibility, the final node balance and the
// solver's 46 calculation parameters.
#include "app/Config_Form.h"
#include "app/Maker_Addresses.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "app/Program_Folder.h"
#include "dialogs/Dialog_Look.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Calculation_Enums.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

template <class Widget>
Widget *Place(Widget *widget, int x, int y, int w, int h)
{
    widget->setGeometry(x, y, w, h);
    return widget;
}

struct TEquationItem {
    const char *Caption;
    TMethodOfCalculationCompressible Equation;
    int Width;
    bool Efficiency;
};

const std::array<TEquationItem, 7> EquationItems{{
    {"General Fundamental Isothermal Flow Equation", GeneralIsothermalFlowEquation, 260, false},
    {"Complete Isothermal Flow Equation", CompleteIsothermalFlowEquation, 260, false},
    {"AGA Isothermal Flow Equation", AGAIsothermalFlowEquation, 210, true},
    {"Weymouth Isothermal Flow Equation", WeymouthIsothermalFlowEquation, 210, true},
    {"Panhandle A Isothermal FlowEquation", PanhandleAIsomthermalFlowEquation, 210, true},
    {"Panhandle B Isothermal Flow Equation", PanhandleBIsomthermalFlowEquation, 210, true},
    {"IGT Isothermal Flow Equation", IGTIsothermalFlowEquation, 210, true},
}};

// The parameters each method of solution reads, first and last index.
std::pair<int, int> ParameterGroup(TMethodOfSolution method)
{
    switch (method) {
    case LinearTheoryOnly: return {0, 5};
    case EstimateDischargeNewtonOnly: return {6, 19};
    case LinearTheoryThenNewton: return {20, 30};
    case CompressibleNodeAdjust: return {31, 37};
    case CompressibleFlowAdjust: return {38, 45};
    }
    return {20, 30};
}

bool IsCompressible(TMethodOfSolution method)
{
    return method == CompressibleNodeAdjust || method == CompressibleFlowAdjust;
}

// Values typed into the parameter grid: no minus, 7 digits before and 12
// after the separator.
class TParameterDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *edit = new TRightEdit(parent);
        edit->setMaxLength(20);
        edit->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 7, 12); };
        return edit;
    }
};

std::string MethodTitle(TMethodOfSolution method)
{
    const auto index = static_cast<std::size_t>(method);
    return "Calculation Parameter (" +
           std::string(index < MethodOfSolutionNames.size() ? MethodOfSolutionNames[index] : "") + ")";
}

} // namespace

void TConfigForm::createCalculationsPage()
{
    auto *engine = new QGroupBox(" Calculation Engine ", PanelConfigCalculations);
    engine->setObjectName("GroupBoxCalculationEngine");
    engine->setGeometry(0, 0, 590, 150);
    Place(new QLabel("Method of Solution", engine), 10, 24, 150, 20);
    ComboBoxMethodOfSolution = Place(Named<QComboBox>("ComboBoxMethodOfSolution", engine), 160, 22, 280, 22);
    for (const char *caption : {"Non-Compressible Flow [Accurate] ", "Non-Compressible Flow [Linear Approx]  ",
                                "Compressible Gas Flow [Node Adjust]"})
        ComboBoxMethodOfSolution->addItem(caption);
    connect(ComboBoxMethodOfSolution, &QComboBox::activated, this, &TConfigForm::ComboBoxMethodOfSolutionChange);
    Place(new QLabel("Method of Calculation", engine), 10, 52, 150, 20);
    ComboBoxMethodOfCalculationNonCompressible =
        Place(Named<QComboBox>("ComboBoxMethodOfCalculationNonCompressible", engine), 160, 50, 260, 22);
    ComboBoxMethodOfCalculationNonCompressible->addItem("Darcy-Weisbach Equation");
    ComboBoxMethodOfCalculationCompressible =
        Place(Named<QComboBox>("ComboBoxMethodOfCalculationCompressible", engine), 160, 50, 260, 22);
    for (const TEquationItem &item : EquationItems)
        ComboBoxMethodOfCalculationCompressible->addItem(item.Caption);
    connect(ComboBoxMethodOfCalculationCompressible, &QComboBox::activated, this,
            &TConfigForm::ComboBoxMethodOfCalculationCompressibleChange);
    LabelPipelineEfficiency = Place(Named<QLabel>("LabelPipelineEfficiency", "Efficiency", engine), 380, 52, 70, 20);
    RightEditPipelineEfficiency = Place(Named<TRightEdit>("RightEditPipelineEfficiency", engine), 450, 50, 60, 22);
    LabelZ = Place(Named<QLabel>("LabelZ", "Z =", engine), 10, 80, 140, 20);
    ComboBoxZ = Place(Named<QComboBox>("ComboBoxZ", engine), 160, 78, 220, 22);
    for (const char *caption : {"Ideal Gas Law", "Custom Compressibility Factor", "CNGA Compressibility Factor"})
        ComboBoxZ->addItem(caption);
    connect(ComboBoxZ, &QComboBox::activated, this, &TConfigForm::ComboBoxZChange);
    RightEditZ = Place(Named<TRightEdit>("RightEditZ", engine), 390, 78, 90, 22);
    LabelNodeBalanceFinal =
        Place(Named<QLabel>("LabelNodeBalanceFinal", "Final Node Balance to", engine), 10, 108, 150, 20);
    RightEditNodeBalancingTolerance =
        Place(Named<TRightEdit>("RightEditNodeBalancingTolerance", engine), 160, 106, 100, 22);
    LabelNodeBalanceFinalUnits = Place(Named<QLabel>("LabelNodeBalanceFinalUnits", engine), 265, 108, 60, 20);
    CheckBoxFinalNodeBalanceUsePercent =
        Place(Named<QCheckBox>("CheckBoxFinalNodeBalanceUsePercent", "Use %", engine), 470, 106, 110, 22);
    connect(CheckBoxFinalNodeBalanceUsePercent, &QCheckBox::clicked, this,
            &TConfigForm::CheckBoxFinalNodeBalanceUsePercentClick);
    BitBtnCompressibleFlowEquations =
        Place(Named<QPushButton>("BitBtnCompressibleFlowEquations", "Equations", engine), 500, 20, 80, 26);
    BitBtnCompressibleFlowEquations->setToolTip("Open PDF showing Compressible Flow Equations");
    connect(BitBtnCompressibleFlowEquations, &QPushButton::clicked, this,
            &TConfigForm::BitBtnCompressibleFlowEquationsClick);

    // Factor and efficiency: above 1.0 is stored as 1.0; zero and invalid store nothing.
    auto limitedToOne = [this](TRightEdit *edit, double TConfigOptions::*field) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit, field] {
            if (filling_)
                return;
            bool valid = false;
            double value = ReadRealFromEdit(edit, valid, false, false);
            if (!valid)
                return;
            working_.*field = std::min(value, 1.0);
        });
    };
    limitedToOne(RightEditZ, &TConfigOptions::ZCompressibilityFactor);
    limitedToOne(RightEditPipelineEfficiency, &TConfigOptions::PipelineEfficiencyE);
    RightEditZ->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 1, 6); };
    RightEditPipelineEfficiency->OnKeyPress = [](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, 1, 3);
    };
    connect(RightEditNodeBalancingTolerance, &QLineEdit::textChanged, this, [this] {
        if (filling_)
            return;
        bool valid = false;
        const double value = ReadRealFromEdit(RightEditNodeBalancingTolerance, valid, true, false);
        if (valid)
            working_.NodeBalancingToleranceFinal_bar = convertPressure(working_.UnitOfPressure, unt_Bar_G, value, 0, 0);
    });
    RightEditNodeBalancingTolerance->OnKeyPress = [](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, 3, 6);
    };

    auto *parameters = new QGroupBox(" Calculation Parameters ", PanelConfigCalculations);
    parameters->setGeometry(0, 155, 590, 340);
    Place(new QLabel("Most systems will solve without any changes to these parameters.", parameters), 10, 18, 570,
          18);
    Place(new QLabel("However, these values can be amended to change solution criteria or to adjust convergence "
                     "properties. ",
                     parameters),
          10, 36, 570, 18);
    ValueListEditor1 = Place(Named<QTableWidget>("ValueListEditor1", 0, 2, parameters), 10, 58, 530, 240);
    ValueListEditor1->setHorizontalHeaderLabels({"Calculation Parameter", "Value"});
    ValueListEditor1->setColumnWidth(0, 359);
    ValueListEditor1->setColumnWidth(1, 145);
    ValueListEditor1->verticalHeader()->setVisible(false);
    ValueListEditor1->setItemDelegateForColumn(1, new TParameterDelegate(ValueListEditor1));
    ValueListEditor1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    ButtonResetAllToDefaults =
        Place(Named<QPushButton>("ButtonResetAllToDefaults", "Reset to Default Values", parameters), 10, 304, 180, 28);
    ButtonRelaxNodeAdjust =
        Place(Named<QPushButton>("ButtonRelaxNodeAdjust", "Reset to Lower Accuracy", parameters), 200, 304, 180, 28);
    connect(ButtonResetAllToDefaults, &QPushButton::clicked, this, &TConfigForm::ButtonResetAllToDefaultsClick);
    connect(ButtonRelaxNodeAdjust, &QPushButton::clicked, this, &TConfigForm::ButtonRelaxNodeAdjustClick);
}

void TConfigForm::UpdateDisplayMethodOfCalculationCompressible(const TConfigOptions &R)
{
    LabelPipelineEfficiency->setText("Efficiency");
    int index = -1;
    for (std::size_t i = 0; i < EquationItems.size(); ++i)
        if (EquationItems[i].Equation == R.MethodOfCalculationCompressible)
            index = static_cast<int>(i);
    {
        const QSignalBlocker blocker(ComboBoxMethodOfCalculationCompressible);
        ComboBoxMethodOfCalculationCompressible->setCurrentIndex(std::max(index, 0));
    }
    const TEquationItem item = index >= 0 ? EquationItems[static_cast<std::size_t>(index)]
                                          : TEquationItem{"", GeneralIsothermalFlowEquation, 260, false};
    ComboBoxMethodOfCalculationCompressible->resize(item.Width, ComboBoxMethodOfCalculationCompressible->height());
    LabelPipelineEfficiency->setVisible(item.Efficiency);
    RightEditPipelineEfficiency->setVisible(item.Efficiency);
    RightEditPipelineEfficiency->setEnabled(item.Efficiency);
    if (index >= 0 && item.Equation == AGAIsothermalFlowEquation)
        LabelPipelineEfficiency->setText("Drag");
    showText(RightEditPipelineEfficiency, formatFixed(3, R.PipelineEfficiencyE));
    ComboBoxMethodOfCalculationNonCompressible->move(ComboBoxMethodOfCalculationCompressible->pos());
}

void TConfigForm::SetCompressibleEntryValues(const TConfigOptions &R)
{
    UpdateDisplayMethodOfCalculationCompressible(R);
    ValueListEditor1->setHorizontalHeaderItem(0, new QTableWidgetItem(QString::fromStdString(
                                                     MethodTitle(R.MethodOfSolution))));
    const bool compressible = IsCompressible(R.MethodOfSolution);
    if (!compressible) {
        CheckBoxFinalNodeBalanceUsePercent->setVisible(false);
        CheckBoxFinalNodeBalanceUsePercent->setEnabled(false);
        for (QWidget *w : std::initializer_list<QWidget *>{RightEditNodeBalancingTolerance, LabelNodeBalanceFinal,
                                                           LabelNodeBalanceFinalUnits})
            w->setVisible(true);
        RightEditNodeBalancingTolerance->setEnabled(true);
        ComboBoxMethodOfCalculationCompressible->setEnabled(false);
        ComboBoxMethodOfCalculationCompressible->setVisible(false);
        LabelPipelineEfficiency->setVisible(false);
        RightEditPipelineEfficiency->setVisible(false);
        RightEditPipelineEfficiency->setEnabled(false);
        ComboBoxMethodOfSolution->setEnabled(true);
        ValueListEditor1->setEnabled(true);
        ComboBoxMethodOfCalculationNonCompressible->setEnabled(true);
        ComboBoxMethodOfCalculationNonCompressible->setVisible(true);
        LabelZ->setVisible(false);
        ComboBoxZ->setVisible(false);
        ComboBoxZ->setEnabled(false);
        RightEditZ->setVisible(false);
        RightEditZ->setEnabled(false);
        BitBtnCompressibleFlowEquations->setVisible(false);
    }
    const bool relax = R.MethodOfSolution == CompressibleNodeAdjust;
    ButtonRelaxNodeAdjust->setVisible(relax);
    ButtonRelaxNodeAdjust->setEnabled(relax);
    if (compressible) {
        RightEditNodeBalancingTolerance->setEnabled(true);
        ComboBoxMethodOfSolution->setEnabled(true);
        RightEditPipelineEfficiency->setEnabled(RightEditPipelineEfficiency->isVisibleTo(PanelConfigCalculations));
        ValueListEditor1->setEnabled(true);
        CheckBoxFinalNodeBalanceUsePercent->setVisible(true);
        CheckBoxFinalNodeBalanceUsePercent->setEnabled(true);
        CheckBoxFinalNodeBalanceUsePercent->setChecked(R.GasSystemCheckFinalNodeBalanceUsePercent);
        CheckBoxFinalNodeBalanceUsePercentClick();
        ComboBoxMethodOfCalculationCompressible->setEnabled(true);
        ComboBoxMethodOfCalculationCompressible->setVisible(true);
        ComboBoxMethodOfCalculationNonCompressible->setEnabled(false);
        ComboBoxMethodOfCalculationNonCompressible->setVisible(false);
        LabelZ->setVisible(true);
        LabelZ->setText("Z =");
        ComboBoxZ->setVisible(true);
        ComboBoxZ->setEnabled(true);
        double factor = R.ZCompressibilityFactor;
        const QSignalBlocker blocker(ComboBoxZ);
        switch (R.ZCompressibilityModel) {
        case IdealGasLawModel:
            ComboBoxZ->setCurrentIndex(0);
            RightEditZ->setVisible(true);
            RightEditZ->setEnabled(false);
            factor = 1.0;
            break;
        case CustomZModel:
            ComboBoxZ->setCurrentIndex(1);
            RightEditZ->setVisible(true);
            RightEditZ->setEnabled(true);
            break;
        case CNGAModel:
            ComboBoxZ->setCurrentIndex(2);
            RightEditZ->setVisible(false);
            RightEditZ->setEnabled(false);
            LabelZ->setText("Z = Calculated");
            break;
        default:
            ComboBoxZ->setCurrentIndex(0);
            RightEditZ->setVisible(false);
            RightEditZ->setEnabled(false);
            break;
        }
        showText(RightEditZ, formatFixed(6, factor));
        BitBtnCompressibleFlowEquations->setVisible(true);
    }
    if (ResultsMode)
        for (QWidget *w : std::initializer_list<QWidget *>{
                 CheckBoxFinalNodeBalanceUsePercent, RightEditNodeBalancingTolerance,
                 ComboBoxMethodOfCalculationNonCompressible, ComboBoxMethodOfCalculationCompressible,
                 RightEditPipelineEfficiency, ComboBoxMethodOfSolution, ComboBoxZ, RightEditZ, ValueListEditor1})
            w->setEnabled(false);
}

void TConfigForm::SetTopRowForValueListEditor(TMethodOfSolution TheMethodOfSolution)
{
    const auto [first, last] = ParameterGroup(TheMethodOfSolution);
    for (int row = 0; row < ValueListEditor1->rowCount(); ++row) {
        ValueListEditor1->setRowHidden(row, row < first || row > last);
        if (row >= first && row <= last)
            ValueListEditor1->setRowHeight(row, 18);
    }
    if (first < ValueListEditor1->rowCount())
        ValueListEditor1->scrollToItem(ValueListEditor1->item(first, 0), QAbstractItemView::PositionAtTop);
}

void TConfigForm::fillParameterEditor()
{
    ValueListEditor1->setHorizontalHeaderItem(
        0, new QTableWidgetItem(QString::fromStdString(MethodTitle(working_.MethodOfSolution))));
    ValueListEditor1->setRowCount(0);
    ValueListEditor1->setRowCount(TCalculationParameterCount);
    parametersShown_.assign(TCalculationParameterCount, std::string());
    for (int i = 0; i < TCalculationParameterCount; ++i) {
        auto *name = new QTableWidgetItem(
            QString::fromUtf8(CalculationParameterNames[static_cast<std::size_t>(i)].data(),
                              static_cast<int>(CalculationParameterNames[static_cast<std::size_t>(i)].size())));
        name->setFlags(Qt::ItemIsEnabled);
        name->setBackground(QColor(0xE0, 0xE0, 0xE0));
        ValueListEditor1->setItem(i, 0, name);
        const std::string text =
            formatFixed(12, working_.CalculationParameters[static_cast<std::size_t>(i)]).substr(0, 20);
        parametersShown_[static_cast<std::size_t>(i)] = text;
        auto *value = new QTableWidgetItem(QString::fromStdString(text));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ValueListEditor1->setItem(i, 1, value);
    }
    SetTopRowForValueListEditor(working_.MethodOfSolution);
}

void TConfigForm::readBackParameterEditor()
{
    for (int i = 0; i < TCalculationParameterCount && i < ValueListEditor1->rowCount(); ++i) {
        const QTableWidgetItem *value = ValueListEditor1->item(i, 1);
        const std::string text = value ? value->text().toStdString() : std::string();
        // A value shown and not retyped keeps its stored precision.
        if (i < static_cast<int>(parametersShown_.size()) && text == parametersShown_[static_cast<std::size_t>(i)])
            continue;
        bool valid = false;
        const double read = ReadRealFromString(text, valid, true, false, userDecimalSeparator());
        if (valid) {
            working_.CalculationParameters[static_cast<std::size_t>(i)] = read;
        } else {
            Dialogs().ShowMessage(TDialogKind::Information,
                                  QString::fromUtf8(CalculationParameterNames[static_cast<std::size_t>(i)].data()) +
                                      " value = " + QString::fromStdString(text) + " is not valid." + "\r\r" +
                                      "This parameter value will not be updated.",
                                  this);
        }
    }
}

void TConfigForm::ComboBoxMethodOfSolutionChange()
{
    switch (ComboBoxMethodOfSolution->currentIndex()) {
    case 1:
        working_.MethodOfSolution = LinearTheoryOnly;
        working_.MethodOfCalculationNonCompressible = DarcyWeisbachEquation;
        break;
    case 2:
        if (TheNetwork->GetPipeCount() > 0 && !TheNetwork->IsAllGasSystem()) {
            Dialogs().ShowMessage(TDialogKind::Information,
                                  "Cannot select Compressible Calculation Engine unless all fluids are gas.\r\r", this);
            working_.MethodOfSolution = LinearTheoryThenNewton;
            working_.MethodOfCalculationNonCompressible = DarcyWeisbachEquation;
            // The combo shows what is stored, not the refused choice.
            const QSignalBlocker blocker(ComboBoxMethodOfSolution);
            ComboBoxMethodOfSolution->setCurrentIndex(0);
        } else {
            working_.MethodOfSolution = CompressibleNodeAdjust;
            working_.MethodOfCalculationCompressible = GeneralIsothermalFlowEquation;
        }
        break;
    default:
        working_.MethodOfSolution = LinearTheoryThenNewton;
        working_.MethodOfCalculationNonCompressible = DarcyWeisbachEquation;
        break;
    }
    SetCompressibleEntryValues(working_);
    SetTopRowForValueListEditor(working_.MethodOfSolution);
}

void TConfigForm::ComboBoxMethodOfCalculationCompressibleChange()
{
    const int i = ComboBoxMethodOfCalculationCompressible->currentIndex();
    if (i >= 0 && i < static_cast<int>(EquationItems.size()))
        working_.MethodOfCalculationCompressible = EquationItems[static_cast<std::size_t>(i)].Equation;
    UpdateDisplayMethodOfCalculationCompressible(working_);
}

void TConfigForm::ComboBoxZChange()
{
    LabelZ->setText("Z =");
    switch (ComboBoxZ->currentIndex()) {
    case 0:
        working_.ZCompressibilityModel = IdealGasLawModel;
        working_.ZCompressibilityFactor = 1.0;
        RightEditZ->setEnabled(false);
        RightEditZ->setVisible(true);
        break;
    case 1:
        working_.ZCompressibilityModel = CustomZModel;
        RightEditZ->setEnabled(true);
        RightEditZ->setVisible(true);
        break;
    case 2:
        working_.ZCompressibilityModel = CNGAModel;
        RightEditZ->setEnabled(false);
        RightEditZ->setVisible(false);
        LabelZ->setText("Z = Calculated");
        break;
    default: break;
    }
    showText(RightEditZ, formatFixed(6, working_.ZCompressibilityFactor));
}

void TConfigForm::CheckBoxFinalNodeBalanceUsePercentClick()
{
    const bool percent = CheckBoxFinalNodeBalanceUsePercent->isChecked();
    working_.GasSystemCheckFinalNodeBalanceUsePercent = percent;
    RightEditNodeBalancingTolerance->setEnabled(!percent && !ResultsMode);
    for (QWidget *w : std::initializer_list<QWidget *>{RightEditNodeBalancingTolerance, LabelNodeBalanceFinal,
                                                       LabelNodeBalanceFinalUnits})
        w->setVisible(!percent);
    CheckBoxFinalNodeBalanceUsePercent->setGeometry(percent ? 274 : 470, CheckBoxFinalNodeBalanceUsePercent->y(),
                                                    percent ? 300 : 110, CheckBoxFinalNodeBalanceUsePercent->height());
    CheckBoxFinalNodeBalanceUsePercent->setText(percent ? "Use % tolerance for final node balance check" : "Use %");
}

void TConfigForm::ButtonResetAllToDefaultsClick()
{
    ResetCalculationParametersBestAccuracy(working_.CalculationParameters, working_.MethodOfSolution);
    fillParameterEditor();
}

void TConfigForm::ButtonRelaxNodeAdjustClick()
{
    ResetCalculationParametersRelaxNodeAdjust(working_.CalculationParameters, working_.MethodOfSolution);
    fillParameterEditor();
}

void TConfigForm::BitBtnCompressibleFlowEquationsClick()
{
    const QString support = QString::fromLatin1(MakerSupportEmail);
    try {
        const QString file =
            QString::fromStdString(ProgramFolder() + "Documents/TessaranCompressibleEquations.pdf");
        if (!Dialogs().OpenWithDesktop(file))
            Dialogs().ShowMessage(TDialogKind::Information,
                                  "Cannot find Tessaran Compressible Equations PDF file. Please report to " + support,
                                  this);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              "Error occured trying to load Tessaran Compressible Equations PDF file. Please report "
                              "to " + support,
                              this);
    }
}

} // namespace tessaran
