// The node and pipe property panels follow the selection: filled from the
// current tab's network whenever the selection changes or the screen is
// refreshed, and written straight into the item as the user types. A fill
// sets its controls with their signals blocked, so that showing an item
// never writes into it; user edits arrive only through textEdited,
// activated and clicked.
#include "app/NetworkForm.h"

#include "app/NetworkForm_Panels.h"
#include "drawing/Canvas_Drawings.h"
#include "drawing/Node_Symbols.h"
#include "platform/Codepage1252.h"
#include "platform/Text_Lines.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace tessaran {

namespace panels {

const QColor NormalColour(0xF1, 0xFA, 0xFF);
const QColor HighlightColour(0xFF, 0xFF, 0x00);

void paintPanel(QWidget *panel, const QColor &colour)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    panel->update();
}

QString idEntry(const char *kind, int id)
{
    char text[16];
    std::snprintf(text, sizeof text, "%s%4d", kind, id);
    return QString::fromLatin1(text);
}

std::string text(const QLineEdit *edit) { return edit->text().toStdString(); }

// The bytes a multi-line text takes in the item's notes field.
int storedNotesLength(const QString &text)
{
    return static_cast<int>(Utf8ToCp1252(JoinLines(SplitLines(text.toStdString(), TTrailingBreak::IsDropped))).size());
}

QString notesText(const std::vector<std::string> &notes) { return QString::fromStdString(JoinLines(notes)).replace("\r\n", "\n"); }

// A text with at least one digit: a lone minus sign or separator writes nothing.
bool hasDigit(const QString &text)
{
    for (QChar c : text)
        if (c.isDigit())
            return true;
    return false;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *widget = new QLabel(caption, parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &hint,
                    const QRect &geometry)
{
    auto *widget = new QPushButton(caption, parent);
    widget->setObjectName(name);
    widget->setToolTip(hint);
    widget->setGeometry(geometry);
    return widget;
}

QToolButton *arrow(QWidget *parent, const char *name, Qt::ArrowType type, const QRect &geometry)
{
    auto *widget = new QToolButton(parent);
    widget->setObjectName(name);
    widget->setArrowType(type);
    widget->setGeometry(geometry);
    return widget;
}

// The small pictures of the supply panel: a tank with and without liquid, a
// gas holder and an end-pressure gauge, drawn once.
QPixmap tankPicture(const QColor &liquid, bool gas, bool endPressure)
{
    QImage image(80, 80, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    if (endPressure) {
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawEllipse(20, 20, 40, 40);
        p.drawLine(40, 40, 52, 28);
        p.drawText(QRect(20, 44, 40, 14), Qt::AlignCenter, "P");
        return QPixmap::fromImage(image);
    }
    p.setBrush(Qt::NoBrush);
    if (gas) {
        p.setBrush(QColor(0xE0, 0xE0, 0xE0));
        p.drawRoundedRect(20, 20, 30, 50, 12, 12);
        p.drawRect(16, 53, 4, 4);
        return QPixmap::fromImage(image);
    }
    p.drawRect(20, 20, 29, 49);
    p.drawRect(16, 52, 4, 6);
    if (liquid.isValid()) {
        p.fillRect(QRect(QPoint(21, 31), QPoint(48, 68)), liquid);
        p.fillRect(QRect(QPoint(17, 53), QPoint(21, 57)), liquid);
        p.drawLine(25, 32, 43, 32);
        p.drawLine(27, 34, 41, 34);
        p.drawLine(29, 36, 39, 36);
    }
    return QPixmap::fromImage(image);
}

} // namespace panels

using namespace panels;

void SetNotesText(QPlainTextEdit *memo, const QString &text)
{
    memo->setPlainText(text);
    memo->setProperty("acceptedText", text);
}

bool LimitNotesAtEntry(QPlainTextEdit *memo, int limit)
{
    const QString text = memo->toPlainText();
    if (storedNotesLength(text) <= limit) {
        memo->setProperty("acceptedText", text);
        return true;
    }
    // Refused: the text stays as it was, the caret where the entry began.
    const QString accepted = memo->property("acceptedText").toString();
    const int caret = memo->textCursor().position() - static_cast<int>(text.size() - accepted.size());
    const QSignalBlocker blocker(memo);
    memo->setPlainText(accepted);
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(std::clamp(caret, 0, static_cast<int>(accepted.size())));
    memo->setTextCursor(cursor);
    return false;
}

// --- building the controls -------------------------------------------------------

void TNetworkForm::createPanelControls()
{
    // Node header: name, type, id list, symbol and icon button.
    LabelNodeName = label(PanelNodeHeader, "LabelNodeName", "Name", {4, 6, 34, 16});
    EditNodeName->setGeometry(40, 4, 104, 21);
    LabelSymbol = label(PanelNodeHeader, "LabelSymbol", "Type", {4, 32, 34, 16});
    ComboBoxNodeType->setGeometry(40, 30, 104, 22);
    for (const char *item : {"Tank", "End Pressure", "Join Point"})
        ComboBoxNodeType->addItem(item);
    LabelNodeType = label(PanelNodeHeader, "LabelNodeType", "", {146, 66, 54, 14});
    ComboBoxNodeId->setGeometry(4, 57, 78, 22);
    BitBtnZoomToNode->setGeometry(84, 57, 40, 22);
    UpDownNodeUp = arrow(PanelNodeHeader, "UpDownNodeUp", Qt::UpArrow, {126, 57, 16, 11});
    UpDownNodeDown = arrow(PanelNodeHeader, "UpDownNodeDown", Qt::DownArrow, {126, 68, 16, 11});
    ImageNodeSymbol->setGeometry(154, 2, 40, 40);
    ButtonTankType = button(PanelNodeHeader, "ButtonTankType", "Icon", "Choose the node icon", {150, 44, 48, 20});

    // Supply panel: tanks and end-pressure nodes.
    LabelSurfacePressure = label(PanelNodeDetailSupply, "LabelSurfacePressure", "Surface Pressure", {4, 4, 104, 16});
    RightEditSurfacePressure->setGeometry(4, 20, 70, 21);
    LabelSurfacePressureUnits = label(PanelNodeDetailSupply, "LabelSurfacePressureUnits", "", {77, 23, 40, 16});
    LabelLiquidLevel = label(PanelNodeDetailSupply, "LabelLiquidLevel", "Liquid Level", {4, 50, 100, 16});
    RightEditLiquidLevel->setGeometry(4, 66, 70, 21);
    LabelLiquidLevelUnits = label(PanelNodeDetailSupply, "LabelLiquidLevelUnits", "", {77, 69, 40, 16});
    LabelElevation = label(PanelNodeDetailSupply, "LabelElevation", "Elevation (exit)", {4, 95, 100, 16});
    RightEditTankElevation->setGeometry(4, 110, 70, 21);
    LabelElevationUnits = label(PanelNodeDetailSupply, "LabelElevationUnits", "", {77, 113, 40, 16});
    ImageTankGas1 = new QLabel(PanelNodeDetailSupply);
    ImageTankGas1->setObjectName("ImageTankGas1");
    ImageTank1Empty->setPixmap(tankPicture(QColor(), false, false));
    ImageTankGas1->setPixmap(tankPicture(QColor(), true, false));
    ImageEndPressure->setPixmap(tankPicture(QColor(), false, true));
    ImageTank1->setPixmap(tankPicture(QColor(0x00, 0x80, 0xFF), false, false));

    // Join panel.
    LabelJointElevation = label(PanelNodeDetailJoint, "LabelJointElevation", "Elevation of Join", {4, 4, 120, 16});
    RightEditJointElevation->setGeometry(4, 20, 70, 21);
    LabelJointElevationUnits = label(PanelNodeDetailJoint, "LabelJointElevationUnits", "", {77, 23, 60, 16});
    LabelDemandOutFlow = label(PanelNodeDetailJoint, "LabelDemandOutFlow", "Demands Out", {4, 48, 100, 16});
    RightEditDemandOutFlow = new TRightEdit(PanelNodeDetailJoint);
    RightEditDemandOutFlow->setObjectName("RightEditDemandOutFlow");
    RightEditDemandOutFlow->setGeometry(4, 64, 70, 21);
    LabelDemandOutFlowUnits = label(PanelNodeDetailJoint, "LabelDemandOutFlowUnits", "", {77, 67, 60, 16});
    BitBtnDemandOutFlow =
        button(PanelNodeDetailJoint, "BitBtnDemandOutFlow", "Edit", "Set Demand Out Flow", {140, 63, 54, 23});
    LabelDemandInFlow = label(PanelNodeDetailJoint, "LabelDemandInFlow", "Demands In", {4, 92, 100, 16});
    RightEditDemandInFlow = new TRightEdit(PanelNodeDetailJoint);
    RightEditDemandInFlow->setObjectName("RightEditDemandInFlow");
    RightEditDemandInFlow->setGeometry(4, 108, 70, 21);
    LabelDemandInFlowUnits = label(PanelNodeDetailJoint, "LabelDemandInFlowUnits", "", {77, 111, 60, 16});
    BitBtnDemandInFlow =
        button(PanelNodeDetailJoint, "BitBtnDemandInFlow", "Edit", "Set Demand In Flow", {140, 107, 54, 23});

    LabelNodeNotes = label(PanelNodeNotes, "LabelNodeNotes", "Notes", {4, 0, 60, 14});
    MemoNodeNotes->setGeometry(4, 14, 193, 44);

    // Pipe panel, 300 pixels high.
    LabelPipeName = label(PanelPipes, "LabelPipeName", "Pipe Name", {4, 2, 100, 14});
    EditPipeName->setGeometry(4, 16, 112, 21);
    ComboBoxPipeId->setGeometry(4, 42, 78, 22);
    BitBtnZoomToPipe->setGeometry(84, 42, 40, 22);
    UpDownPipeUp = arrow(PanelPipes, "UpDownPipeUp", Qt::UpArrow, {126, 42, 16, 11});
    UpDownPipeDown = arrow(PanelPipes, "UpDownPipeDown", Qt::DownArrow, {126, 53, 16, 11});
    ToolButtonZoomSelection = new QToolButton(PanelPipes);
    ToolButtonZoomSelection->setObjectName("ToolButtonZoomSelection");
    ToolButtonZoomSelection->setText("Zoom+");
    ToolButtonZoomSelection->setToolTip("Zoom in to selected area");
    ToolButtonZoomSelection->setGeometry(146, 42, 50, 22);
    Bevel1->setGeometry(0, 68, 201, 1);
    LabelPipeLength = label(PanelPipes, "LabelPipeLength", "Length", {4, 75, 60, 16});
    RightEditPipeLength->setGeometry(66, 72, 62, 21);
    LabelPipeLengthUnits = label(PanelPipes, "LabelPipeLengthUnits", "", {131, 75, 66, 16});
    LabelPipeDiameter = label(PanelPipes, "LabelPipeDiameter", "Diameter", {4, 98, 60, 16});
    RightEditPipeDiameter->setGeometry(66, 95, 62, 21);
    LabelPipeDiameterUnits = label(PanelPipes, "LabelPipeDiameterUnits", "", {131, 98, 22, 16});
    BitBtnPipeDiameter = button(PanelPipes, "BitBtnPipeDiameter", "Diam?", "Choose a pipe size", {152, 95, 48, 21});
    LabelPipeRoughness = label(PanelPipes, "LabelPipeRoughness", "Roughness", {4, 121, 62, 16});
    RightEditPipeRoughness->setGeometry(66, 118, 62, 21);
    LabelPipeRoughnessUnits = label(PanelPipes, "LabelPipeRoughnessUnits", "", {131, 121, 22, 16});
    BitBtnPipeMaterial =
        button(PanelPipes, "BitBtnPipeMaterial", "Material", "Choose a pipe material", {152, 118, 48, 21});
    Bevel2->setGeometry(0, 142, 201, 1);
    LabelPipeSize = label(PanelPipes, "LabelPipeSize", "", {4, 144, 193, 14});
    LabelPipeMaterial = label(PanelPipes, "LabelPipeMaterial", "", {4, 158, 120, 14});
    LabelPipeSchedule = label(PanelPipes, "LabelPipeSchedule", "", {126, 158, 72, 14});
    for (QLabel *grey : {LabelPipeSize, LabelPipeMaterial, LabelPipeSchedule}) {
        QPalette palette = grey->palette();
        palette.setColor(QPalette::WindowText, Qt::gray);
        grey->setPalette(palette);
    }
    ComboBoxPipeColors->setGeometry(4, 174, 112, 22);
    BitBtnPipePopupMenu = button(PanelPipes, "BitBtnPipePopupMenu", "More...", "More pipe commands", {120, 174, 76, 22});
    LabelInclude = label(PanelPipes, "LabelInclude", "Include", {150, 200, 48, 14});
    BitBtnPipeDefaults =
        button(PanelPipes, "BitBtnPipeDefaults", "Default", "Use as default pipe for drawing", {4, 199, 66, 16});
    BitBtnAlterDefaults =
        button(PanelPipes, "BitBtnAlterDefaults", "Defaults...", "Change the default pipe data", {72, 199, 72, 16});
    struct ItemRow {
        QPushButton *&button;
        QCheckBox *&box;
        const char *buttonName, *boxName, *hint, *caption;
    };
    ItemRow rows[] = {
        {BitBtnPipeFittings, CheckBoxCalcFittings, "BitBtnPipeFittings", "CheckBoxCalcFittings",
         "Add / Edit Fittings", "Fittings"},
        {BitBtnComponentPressure, CheckBoxCalcComponentPressure, "BitBtnComponentPressure",
         "CheckBoxCalcComponentPressure", "Add / Edit Component ", "Comp."},
        {BitBtnFlowControl, CheckBoxCalcFlowControl, "BitBtnFlowControl", "CheckBoxCalcFlowControl",
         "Add / Edit Control Valve (FCV,PRV or BPV)", "Valve"},
        {BitBtnPump, CheckBoxCalcPump, "BitBtnPump", "CheckBoxCalcPump", "Add / Edit Pump ", "Pump"},
    };
    // Two by two: caption, count button, Include box.
    for (int i = 0; i < 4; ++i) {
        ItemRow &row = rows[i];
        const int x = 4 + (i % 2) * 98, y = 216 + (i / 2) * 22;
        label(PanelPipes, (std::string("Label") + row.buttonName).c_str(), row.caption, {x, y + 3, 52, 16});
        row.button = button(PanelPipes, row.buttonName, "0", row.hint, {x + 52, y, 26, 21});
        row.box = new QCheckBox(PanelPipes);
        row.box->setObjectName(row.boxName);
        row.box->setGeometry(x + 80, y + 2, 18, 18);
    }
    MemoPipeNotes->setGeometry(4, 262, 193, 36);

    FillPipeColorList();

    // Value boxes: key filter, Enter redraw, and the write on every typed change.
    auto filtered = [this](TRightEdit *edit, bool negative, std::function<int()> digits,
                           std::function<int()> decimals) {
        edit->OnKeyPress = [this, negative, digits, decimals](TRightEdit *sender, char16_t &key) {
            if (key == KeyReturn || key == KeyTab) {
                RefreshScreenImageOnly(true);
                return;
            }
            if (key == KeyBackspace)
                return;
            FilterRealKey(sender, key, negative, digits(), decimals());
        };
    };
    const auto opt = [this]() -> const TConfigOptions & { return CurrentNetwork->ConfigOptions; };
    auto unitDigits = [opt](TUnit TConfigOptions::*unit) { return [opt, unit] { return unitEntryDigits(opt().*unit); }; };
    auto unitDecs = [opt](TUnit TConfigOptions::*unit) { return [opt, unit] { return unitDecimals(opt().*unit); }; };
    auto fixed = [](int n) { return [n] { return n; }; };
    filtered(RightEditPipeLength, false, unitDigits(&TConfigOptions::UnitOfLength), unitDecs(&TConfigOptions::UnitOfLength));
    filtered(RightEditPipeDiameter, false, unitDigits(&TConfigOptions::UnitOfDiameter),
             unitDecs(&TConfigOptions::UnitOfDiameter));
    filtered(RightEditPipeRoughness, false, unitDigits(&TConfigOptions::UnitOfRoughness), fixed(6));
    filtered(RightEditSurfacePressure, true, unitDigits(&TConfigOptions::UnitOfSurfacePressure),
             unitDecs(&TConfigOptions::UnitOfSurfacePressure));
    filtered(RightEditLiquidLevel, false, fixed(6), fixed(3));
    filtered(RightEditTankElevation, true, unitDigits(&TConfigOptions::UnitOfElevation),
             unitDecs(&TConfigOptions::UnitOfElevation));
    filtered(RightEditJointElevation, true, unitDigits(&TConfigOptions::UnitOfElevation),
             unitDecs(&TConfigOptions::UnitOfElevation));
    filtered(RightEditDemandOutFlow, false, unitDigits(&TConfigOptions::UnitOfFlow), unitDecs(&TConfigOptions::UnitOfFlow));
    filtered(RightEditDemandInFlow, false, fixed(6), fixed(3));
    for (QLineEdit *name : {EditNodeName, EditPipeName})
        connect(name, &QLineEdit::returnPressed, this, [this] { RefreshScreenImageOnly(true); });
    EditNodeName->setMaxLength(TNode::NameLength);
    EditPipeName->setMaxLength(TNode::NameLength);

    connect(EditNodeName, &QLineEdit::textEdited, this, &TNetworkForm::EditNodeNameChange);
    connect(EditPipeName, &QLineEdit::textEdited, this, &TNetworkForm::EditPipeNameChange);
    connect(RightEditPipeLength, &QLineEdit::textEdited, this, &TNetworkForm::RightEditPipeLengthChange);
    connect(RightEditPipeDiameter, &QLineEdit::textEdited, this, &TNetworkForm::RightEditPipeDiameterChange);
    connect(RightEditPipeRoughness, &QLineEdit::textEdited, this, &TNetworkForm::RightEditPipeRoughnessChange);
    connect(RightEditPipeRoughness, &QLineEdit::editingFinished, this, [this] { RefreshScreenImageOnly(true); });
    connect(RightEditSurfacePressure, &QLineEdit::textEdited, this, &TNetworkForm::RightEditSurfacePressureChange);
    connect(RightEditLiquidLevel, &QLineEdit::textEdited, this, &TNetworkForm::RightEditLiquidLevelChange);
    connect(RightEditTankElevation, &QLineEdit::textEdited, this, &TNetworkForm::RightEditTankElevationChange);
    connect(RightEditJointElevation, &QLineEdit::textEdited, this, &TNetworkForm::RightEditJointElevationChange);
    connect(RightEditJointElevation, &QLineEdit::editingFinished, this, [this] { RefreshScreenImageOnly(true); });
    connect(RightEditDemandOutFlow, &QLineEdit::textEdited, this, &TNetworkForm::RightEditDemandOutFlowChange);
    connect(RightEditDemandInFlow, &QLineEdit::textEdited, this, &TNetworkForm::RightEditDemandInFlowChange);
    connect(MemoNodeNotes, &QPlainTextEdit::textChanged, this, &TNetworkForm::MemoNodeNotesChange);
    connect(MemoPipeNotes, &QPlainTextEdit::textChanged, this, &TNetworkForm::MemoPipeNotesChange);
    connect(ComboBoxNodeType, &QComboBox::activated, this, &TNetworkForm::ComboBoxNodeTypeChange);
    connect(ComboBoxPipeColors, &QComboBox::activated, this, &TNetworkForm::ComboBoxPipeColorsClick);

    connect(BitBtnPipeFittings, &QPushButton::clicked, this, &TNetworkForm::BitBtnPipeFittingsClick);
    connect(BitBtnPump, &QPushButton::clicked, this, &TNetworkForm::BitBtnPumpClick);
    connect(BitBtnComponentPressure, &QPushButton::clicked, this, &TNetworkForm::BitBtnComponentPressureClick);
    connect(BitBtnFlowControl, &QPushButton::clicked, this, &TNetworkForm::BitBtnFlowControlClick);
    connect(CheckBoxCalcFittings, &QCheckBox::clicked, this, &TNetworkForm::CheckBoxCalcFittingsClick);
    connect(CheckBoxCalcComponentPressure, &QCheckBox::clicked, this,
            &TNetworkForm::CheckBoxCalcComponentPressureClick);
    connect(CheckBoxCalcFlowControl, &QCheckBox::clicked, this, &TNetworkForm::CheckBoxCalcFlowControlClick);
    connect(CheckBoxCalcPump, &QCheckBox::clicked, this, &TNetworkForm::CheckBoxCalcPumpClick);
    connect(BitBtnDemandOutFlow, &QPushButton::clicked, this, &TNetworkForm::BitBtnDemandOutFlowClick);
    connect(BitBtnDemandInFlow, &QPushButton::clicked, this, &TNetworkForm::BitBtnDemandInFlowClick);
    connect(BitBtnReversePipe, &QPushButton::clicked, this, &TNetworkForm::BitBtnReversePipeClick);
    connect(BitBtnPipeDiameter, &QPushButton::clicked, this, &TNetworkForm::BitBtnPipeDiameterClick);
    connect(BitBtnPipeMaterial, &QPushButton::clicked, this, &TNetworkForm::BitBtnPipeMaterialClick);
    connect(BitBtnPipeDefaults, &QPushButton::clicked, this, &TNetworkForm::BitBtnPipeDefaultsClick);
    connect(BitBtnAlterDefaults, &QPushButton::clicked, this, &TNetworkForm::BitBtnAlterDefaultsClick);
    connect(BitBtnPipePopupMenu, &QPushButton::clicked, this, &TNetworkForm::BitBtnPipePopupMenuClick);
    connect(ToolButtonZoomSelection, &QToolButton::clicked, this, &TNetworkForm::ToolButtonZoomSelectionClick);
    connect(UpDownPipeUp, &QToolButton::clicked, this, [this] { UpDownPipeClick(true); });
    connect(UpDownPipeDown, &QToolButton::clicked, this, [this] { UpDownPipeClick(false); });
    connect(UpDownNodeUp, &QToolButton::clicked, this, [this] { UpDownNodeClick(true); });
    connect(UpDownNodeDown, &QToolButton::clicked, this, [this] { UpDownNodeClick(false); });
    connect(TimerNodePanelHighlight, &QTimer::timeout, this, &TNetworkForm::TimerNodePanelHighlightTimer);
    connect(TimerPipePanelHighlight, &QTimer::timeout, this, &TNetworkForm::TimerPipePanelHighlightTimer);

    // The pipe menu's items that run the panel's buttons.
    auto forward = [this](const char *name, void (TNetworkForm::*handler)()) {
        for (QAction *action : PopupMenu1->actions())
            if (action->objectName() == name)
                connect(action, &QAction::triggered, this, handler);
    };
    forward("AddEditFittings1", &TNetworkForm::BitBtnPipeFittingsClick);
    forward("AddEditComponentLoss1", &TNetworkForm::BitBtnComponentPressureClick);
    forward("AddEditControlValve1", &TNetworkForm::BitBtnFlowControlClick);
    forward("AddEditPump1", &TNetworkForm::BitBtnPumpClick);
    forward("ReversePipedirection1", &TNetworkForm::BitBtnReversePipeClick);

    // A press on a panel's free area with nothing selected says how to select.
    for (QWidget *area : {PanelNodeHeader, PanelNodeDetailSupply, PanelNodeDetailJoint, PanelPipes})
        area->installEventFilter(new TPanelClickFilter(area, [this, area] {
            if (area == PanelNodeHeader)
                PanelNodeHeaderClick();
            else if (area == PanelNodeDetailSupply)
                PanelNodeDetailSupplyClick();
            else if (area == PanelNodeDetailJoint)
                PanelNodeDetailJointClick();
            else
                PanelPipesClick();
        }));

    auto *selectOnEntry = new TSelectOnEntry(this);
    for (QLineEdit *box : std::initializer_list<QLineEdit *>{
             EditNodeName, EditPipeName, RightEditPipeLength, RightEditPipeDiameter, RightEditPipeRoughness,
             RightEditSurfacePressure, RightEditLiquidLevel, RightEditTankElevation, RightEditJointElevation,
             RightEditDemandOutFlow, RightEditDemandInFlow})
        box->installEventFilter(selectOnEntry);

    panelEditors_.push_back(RightEditDemandOutFlow);
    panelEditors_.push_back(RightEditDemandInFlow);
}

// The 18 entries of the colour list, each named after its colour: entry i
// is colour i mod 6 at width i div 6.
void TNetworkForm::FillPipeColorList()
{
    const QSignalBlocker blocker(ComboBoxPipeColors);
    ComboBoxPipeColors->clear();
    static const char *const colourNames[6] = {"Black", "Olive", "Red", "Lime", "Blue", "Silver"};
    for (int i = 0; i < 18; ++i) {
        QImage bar(60, 12, QImage::Format_RGB32);
        bar.fill(Qt::white);
        const int w = PipeLineWidths[static_cast<std::size_t>(i / 6)];
        const int m = bar.height() / 2;
        const TColor c = PipeLineColors[static_cast<std::size_t>(i % 6)];
        for (int y = m - w / 2; y <= m + w / 2; ++y) // 1, 3 and 5 pixels high
            for (int x = 2; x < bar.width() - 4; ++x)
                bar.setPixelColor(x, y, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        ComboBoxPipeColors->addItem(QIcon(QPixmap::fromImage(bar)), colourNames[i % 6]);
    }
}

// --- the node panel ----------------------------------------------------------------

void TNetworkForm::UpdatePanelsNodeImageClear(TColor TheBgColor)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(QColor(TheBgColor & 0xFF, (TheBgColor >> 8) & 0xFF, (TheBgColor >> 16) & 0xFF));
    ImageNodeSymbol->setPixmap(QPixmap::fromImage(image));
}

void TNetworkForm::UpdatePanelsNodeImage(TNode &TheNode, TColor TheBgColor)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(QColor(TheBgColor & 0xFF, (TheBgColor >> 8) & 0xFF, (TheBgColor >> 16) & 0xFF));
    int index = TheNode.NodeImageIndex;
    {
        TQtCanvas canvas(&image);
        switch (TheNode.NodeType) {
        case Tank:
            if (index < 0)
                index = TankStyleCount - 1;
            else if (index > TankStyleCount - 1)
                index = 0;
            DrawTankSymbol(index, canvas, 20, 20, TheNode.LiquidColor, clBlack, 0, 0, 1.0);
            break;
        case EndPressure:
            if (index < 0)
                index = EndPressureStyleCount - 1;
            else if (index > EndPressureStyleCount - 1)
                index = 0;
            DrawEndPressureSymbol(index, canvas, 20, 20, 0xC0C0C0, clBlack, 0, 0, 1.0);
            DrawCanvasText(canvas, 17, 14, "P", clBlack, 7);
            break;
        default:
            if (index < 0)
                index = static_cast<int>(NodeImageColors.size()) - 1;
            else if (index > static_cast<int>(NodeImageColors.size()) - 1)
                index = 0;
            DrawJoinPointSymbol(canvas, 20, 20, 4, NodeImageColors[static_cast<std::size_t>(index)], clBlack);
            break;
        }
    }
    ImageNodeSymbol->setPixmap(QPixmap::fromImage(image));
    if (TheNode.NodeType == Tank) {
        const TColor c = TheNode.LiquidColor;
        ImageTank1->setPixmap(tankPicture(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF), false, false));
    }
    // The corrected style is the node's.
    TheNode.NodeImageIndex = index;
}

void TNetworkForm::UpdatePanelsNode(int TheNodeId, bool Highlight)
{
    if (!CurrentNetwork || !RightEditDemandInFlow)
        return;
    TNetwork &n = *CurrentNetwork;
    const TConfigOptions &o = n.ConfigOptions;
    const TPanelSignalBlock blocked({EditNodeName, ComboBoxNodeType, ComboBoxNodeId, RightEditSurfacePressure,
                                     RightEditLiquidLevel, RightEditTankElevation, RightEditJointElevation,
                                     RightEditDemandOutFlow, RightEditDemandInFlow, MemoNodeNotes,
                                     RadioButtonMetricUnits, RadioButtonImperialUnits});
    if (TheNodeId > TNetwork::MaxNodes)
        TheNodeId = 0;

    // 1. Unit labels.
    LabelSurfacePressureUnits->setText(QString::fromStdString(unitName(o.UnitOfSurfacePressure)));
    LabelLiquidLevelUnits->setText(QString::fromStdString(unitName(o.UnitOfLiquidLevel)));
    LabelElevationUnits->setText(QString::fromStdString(unitName(o.UnitOfElevation)));
    LabelJointElevationUnits->setText(QString::fromStdString(unitName(o.UnitOfElevation)));
    LabelDemandOutFlowUnits->setText(QString::fromStdString(unitName(o.UnitOfFlow)));
    LabelDemandInFlowUnits->setText(QString::fromStdString(unitName(o.UnitOfFlow)));

    // 2. The gas-tank variant.
    const auto showLevel = [this](bool shown) {
        RightEditLiquidLevel->setVisible(shown);
        LabelLiquidLevel->setVisible(shown);
        LabelLiquidLevelUnits->setVisible(shown);
    };
    const auto showPictures = [this](QLabel *shown) {
        for (QLabel *picture : {ImageTank1, ImageTank1Empty, ImageTankGas1, ImageEndPressure})
            picture->setVisible(picture == shown);
    };
    if (TheNodeId <= 0 && n.IsAllGasSystem()) {
        showPictures(ImageTankGas1);
        LabelSurfacePressure->setText("Outlet Pressure");
        showLevel(false);
    } else {
        showPictures(ImageTank1Empty);
        LabelSurfacePressure->setText("Surface Pressure");
        showLevel(true);
    }

    // On the "Nodes" tab the header comes back with the fill.
    if (TabControlLeftMenu->currentIndex() == 0)
        PanelNodeHeader->show();

    // 3. The id list.
    ComboBoxNodeId->clear();
    for (int id = n.GetNextNodeId(0); id > 0; id = n.GetNextNodeId(id))
        ComboBoxNodeId->addItem(idEntry("Node:", id));
    ComboBoxNodeId->setCurrentIndex(ComboBoxNodeId->count() > 0 ? 0 : -1);

    QWidget *const editable[] = {EditNodeName, ComboBoxNodeType, ButtonTankType, RightEditSurfacePressure,
                                 RightEditLiquidLevel, RightEditTankElevation, RightEditJointElevation,
                                 BitBtnDemandOutFlow, BitBtnDemandInFlow, MemoNodeNotes};
    if (TheNodeId <= 0) {
        // 4. No node.
        LabelNodeType->clear();
        EditNodeName->clear();
        for (QLineEdit *box : std::initializer_list<QLineEdit *>{RightEditSurfacePressure, RightEditLiquidLevel,
                                                                  RightEditTankElevation, RightEditJointElevation,
                                                                  RightEditDemandOutFlow, RightEditDemandInFlow})
            box->setText("0");
        SetNotesText(MemoNodeNotes, QString());
        for (QWidget *w : editable)
            w->setEnabled(false);
        RightEditDemandOutFlow->setEnabled(false);
        RightEditDemandInFlow->setEnabled(false);
        TabControlLeftMenu->update();
    } else {
        TNode &node = n.GetNode(TheNodeId);
        // 5. Name and the demand units of the flow form in use.
        LabelNodeName->setText("Name");
        EditNodeName->setText(QString::fromStdString(node.Name));
        if (node.JointDemandUseFlowType == MassFlow) {
            LabelDemandOutFlowUnits->setText(QString::fromStdString(unitName(o.UnitOfMassFlow)));
            LabelDemandInFlowUnits->setText(QString::fromStdString(unitName(o.UnitOfMassFlow)));
        } else if (node.JointDemandUseFlowType == GasFlow) {
            LabelDemandOutFlowUnits->setText(QString::fromStdString(unitName(o.UnitOfGasFlow)));
            LabelDemandInFlowUnits->setText(QString::fromStdString(unitName(o.UnitOfGasFlow)));
        }
        // 6. Enabling by mode; the demands are edited only in their dialog.
        for (QWidget *w : editable)
            w->setEnabled(!ResultsMode);
        RightEditDemandOutFlow->setEnabled(false);
        RightEditDemandInFlow->setEnabled(false);
        // 7. Highlight, id entry, notes.
        if (Highlight && TheNodeId != NetworkStates.CurrentPanelNodeId)
            for (QWidget *p : {PanelNodeHeader, PanelNodeDetailSupply, PanelNodeDetailJoint, PanelNodeNotes})
                paintPanel(p, HighlightColour);
        NetworkStates.CurrentPanelNodeId = TheNodeId;
        ComboBoxNodeId->setCurrentIndex(ComboBoxNodeId->findText(idEntry("Node:", TheNodeId)));
        LabelNodeNotes->show();
        MemoNodeNotes->show();
        SetNotesText(MemoNodeNotes, notesText(node.Notes));

        // 8. Conversions use the fluid of the node's own zone, as the edits do.
        const TFluid &fluid = nodeFluid(TheNodeId);
        const double density = fluid.density_kgs_m3;
        const double atmosphere = o.Atmosphere_bar_a;
        const auto place = [](QWidget *w, int top) { w->move(w->x(), top); };
        const auto surfacePressure = [&] {
            RightEditSurfacePressure->setText(QString::fromStdString(convertPressureAndFormat(
                unt_Bar_G, o.UnitOfSurfacePressure, node.Surface_Pressure_Bar_g, atmosphere, density)));
        };
        if (node.NodeType == Tank) {
            // 9. Tank.
            if (fluid.FluidIsGas) {
                node.LiquidLevel_m = 0;
                showPictures(ImageTankGas1);
                LabelSurfacePressure->setText("Outlet Pressure");
                showLevel(false);
            } else {
                showPictures(node.LiquidLevel_m > 0 ? ImageTank1 : ImageTank1Empty);
                LabelSurfacePressure->setText("Surface Pressure");
                showLevel(true);
            }
            LabelElevation->setText("Elevation (exit)");
            place(RightEditTankElevation, 110);
            place(LabelElevation, 95);
            place(LabelElevationUnits, 113);
            PanelNodeDetailSupply->show();
            PanelNodeDetailJoint->hide();
            LabelNodeType->setText("Tank");
            ComboBoxNodeType->setCurrentIndex(0);
            surfacePressure();
            LabelLiquidLevel->setText("Liquid Level");
            RightEditLiquidLevel->setText(
                QString::fromStdString(convertAndFormat(unt_m, o.UnitOfLiquidLevel, node.LiquidLevel_m)));
            RightEditTankElevation->setText(
                QString::fromStdString(convertAndFormat(unt_m, o.UnitOfElevation, node.Elevation_m)));
            ButtonTankType->show();
            UpdatePanelsNodeImage(node, 0xE3DFE0);
        } else if (node.NodeType == EndPressure) {
            // 10. End pressure.
            showPictures(ImageEndPressure);
            LabelSurfacePressure->setText("Pressure");
            LabelElevation->setText("Elevation");
            RightEditLiquidLevel->setText("0");
            showLevel(false);
            place(RightEditTankElevation, 68);
            place(LabelElevation, 52);
            place(LabelElevationUnits, 73);
            PanelNodeDetailSupply->show();
            PanelNodeDetailJoint->hide();
            LabelNodeType->setText("End Pressure");
            ComboBoxNodeType->setCurrentIndex(1);
            surfacePressure();
            LabelLiquidLevel->clear();
            node.LiquidLevel_m = 0;
            RightEditTankElevation->setText(
                QString::fromStdString(convertAndFormat(unt_m, o.UnitOfElevation, node.Elevation_m)));
            ButtonTankType->show();
            UpdatePanelsNodeImage(node, 0xE3DFE0);
        } else {
            // 11. Join point: the demands in the form in use, with the
            // volume-flow unit's decimals; the other two forms follow it.
            PanelNodeDetailSupply->hide();
            ButtonTankType->show();
            PanelNodeDetailJoint->show();
            LabelNodeType->setText("Join Point");
            ComboBoxNodeType->setCurrentIndex(2);
            RightEditJointElevation->setText(
                QString::fromStdString(convertAndFormat(unt_m, o.UnitOfElevation, node.Elevation_m)));
            const int decimals = unitDecimals(o.UnitOfFlow);
            const auto shown = [&](double m3s, double kgs, double scmh) {
                TUnit from = unt_m3_sec, to = o.UnitOfFlow;
                double value = m3s;
                if (node.JointDemandUseFlowType == MassFlow) {
                    from = unt_kg_sec;
                    to = o.UnitOfMassFlow;
                    value = kgs;
                } else if (node.JointDemandUseFlowType == GasFlow) {
                    from = unt_SCMH;
                    to = o.UnitOfGasFlow;
                    value = scmh;
                }
                return QString::fromStdString(convertFlowUnitToString(from, to, decimals,
                                                                      o.GasFlowTemperaturePressureModel, value,
                                                                      density, fluid.pressure_bar_g, fluid.degrees_K,
                                                                      atmosphere));
            };
            RightEditDemandInFlow->setText(shown(node.JointSupply_m3s, node.JointSupply_kgs, node.JointSupply_SCMH));
            RightEditDemandOutFlow->setText(
                shown(node.JointDischarge_m3s, node.JointDischarge_kgs, node.JointDischarge_SCMH));
            node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(fluid, atmosphere,
                                                                             o.GasFlowTemperaturePressureModel);
            UpdatePanelsNodeImage(node, 0xE3DFE0);
        }
        // 12.
        if (Highlight)
            TimerNodePanelHighlight->start(500);
    }

    // 13. The icon chooser's list and the unit-system buttons, set silently.
    if (auto *list = findChild<QWidget *>("ListBoxNodeTypes"))
        list->update();
    const bool metric = o.UnitOfLength == unt_m || o.UnitOfLength == unt_mm || o.UnitOfLength == unt_km;
    UnitsRadioSilent = true;
    AskBeforeUnitsChange = false;
    RadioButtonMetricUnits->setChecked(metric);
    RadioButtonImperialUnits->setChecked(!metric);
    UnitsRadioSilent = false;
    AskBeforeUnitsChange = true;
}

void TNetworkForm::TimerNodePanelHighlightTimer()
{
    TimerNodePanelHighlight->stop();
    for (QWidget *p : {PanelNodeHeader, PanelNodeDetailSupply, PanelNodeDetailJoint, PanelNodeNotes})
        paintPanel(p, NormalColour);
    ImageNodeSymbol->show();
    ImageNodeSymbol->repaint();
}

// --- node edits ----------------------------------------------------------------------

namespace {

// The selected node, when there is one the panel may write into.
TNode *selectedNode(TNetwork *network, int id)
{
    if (!network || id < 1 || id > TNetwork::MaxNodes)
        return nullptr;
    return &network->GetNode(id);
}

} // namespace

void TNetworkForm::EditNodeNameChange()
{
    if (TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected))
        node->Name = EditNodeName->text().left(TNode::NameLength).toStdString();
}

void TNetworkForm::MemoNodeNotesChange()
{
    TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected);
    if (!node)
        return;
    if (!LimitNotesAtEntry(MemoNodeNotes, TNode::NotesLength))
        return;
    node->Notes = SplitLines(MemoNodeNotes->toPlainText().toStdString(), TTrailingBreak::IsDropped);
}

void TNetworkForm::RightEditSurfacePressureChange()
{
    TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected);
    if (!node || !hasDigit(RightEditSurfacePressure->text()))
        return;
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditSurfacePressure, valid, true, true);
    if (!valid)
        return;
    const TConfigOptions &o = CurrentNetwork->ConfigOptions;
    const double density = nodeFluid(NetworkStates.CurrentNodeIdSelected).density_kgs_m3;
    const double atmosphere = o.Atmosphere_bar_a;
    const double stored = convertPressure(o.UnitOfSurfacePressure, unt_Bar_G, value, atmosphere, density);
    const double vacuum = convertPressure(unt_Bar_A, unt_Bar_G, 0.0, atmosphere, density);
    if (stored >= vacuum) {
        node->Surface_Pressure_Bar_g = stored;
        return;
    }
    info("The pressure value is less than that of a perfect vacuum, i.e. < 0.0 bar absolute.\r\rThe  value will be "
         "set to 0.0 bar absolute (or equivalent in other units).\r\r ");
    node->Surface_Pressure_Bar_g = vacuum;
    const QSignalBlocker blocker(RightEditSurfacePressure);
    RightEditSurfacePressure->setText(QString::fromStdString(
        convertPressureAndFormat(unt_Bar_G, o.UnitOfSurfacePressure, vacuum, atmosphere, density)));
}

void TNetworkForm::RightEditLiquidLevelChange()
{
    TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected);
    if (!node)
        return;
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditLiquidLevel, valid, true, false);
    if (!valid || !hasDigit(RightEditLiquidLevel->text()))
        return;
    node->LiquidLevel_m = convertUnit(CurrentNetwork->ConfigOptions.UnitOfLiquidLevel, unt_m, value);
    for (QLabel *picture : {ImageTank1, ImageTank1Empty, ImageTankGas1})
        picture->hide();
    if (node->NodeType != Tank)
        return;
    if (nodeFluid(NetworkStates.CurrentNodeIdSelected).FluidIsGas) {
        node->LiquidLevel_m = 0;
        ImageTankGas1->show();
    } else {
        (node->LiquidLevel_m > 0 ? ImageTank1 : ImageTank1Empty)->show();
    }
}

void TNetworkForm::RightEditTankElevationChange()
{
    TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected);
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditTankElevation, valid, true, true);
    if (node && valid && hasDigit(RightEditTankElevation->text()))
        node->Elevation_m = convertUnit(CurrentNetwork->ConfigOptions.UnitOfElevation, unt_m, value);
}

void TNetworkForm::RightEditJointElevationChange()
{
    TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected);
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditJointElevation, valid, true, true);
    if (node && valid && hasDigit(RightEditJointElevation->text()))
        node->Elevation_m = convertUnit(CurrentNetwork->ConfigOptions.UnitOfElevation, unt_m, value);
}

namespace {

const char *const EqualDemandsText =
    "In-flow and Out-flow demands are set to the same value.\r\rThis is not allowed since it has no effect on the "
    "solved system results.\r\rDemand flows define an amount of flow entering or leaving the system at a specific "
    "point (from or to an external source). \r\r";

} // namespace

void TNetworkForm::RightEditDemandOutFlowChange()
{
    TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected);
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditDemandOutFlow, valid, true, false);
    if (!node || !valid || !hasDigit(RightEditDemandOutFlow->text()))
        return;
    node->JointDischarge_m3s = convertUnit(CurrentNetwork->ConfigOptions.UnitOfFlow, unt_m3_sec, value);
    if (value > 0 && node->JointDischarge_m3s == node->JointSupply_m3s) {
        info(std::string(EqualDemandsText) +
             "The Out-flow demand will be set to zero.\r\rPlease re-enter the demand flows as appropriate.");
        node->JointDischarge_m3s = 0;
    }
}

void TNetworkForm::RightEditDemandInFlowChange()
{
    TNode *node = selectedNode(CurrentNetwork, NetworkStates.CurrentNodeIdSelected);
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditDemandInFlow, valid, true, false);
    if (!node || !valid || !hasDigit(RightEditDemandInFlow->text()))
        return;
    node->JointSupply_m3s = convertUnit(CurrentNetwork->ConfigOptions.UnitOfFlow, unt_m3_sec, value);
    if (value > 0 && node->JointDischarge_m3s == node->JointSupply_m3s) {
        info(std::string(EqualDemandsText) +
             "The In-flow demand will be set to zero.\r\rPlease re-enter the demand flows as appropriate.");
        node->JointSupply_m3s = 0;
    }
}

void TNetworkForm::ComboBoxNodeTypeChange()
{
    LabelSurfacePressure->setText("Surface Pressure");
    LabelElevation->setText("Elevation (exit)");
    RightEditTankElevation->move(RightEditTankElevation->x(), 112);
    RightEditLiquidLevel->show();
    LabelLiquidLevel->show();
    LabelLiquidLevelUnits->show();
    const int id = NetworkStates.CurrentNodeIdSelected;
    TNode *node = selectedNode(CurrentNetwork, id);
    if (node) {
        TNetwork &n = *CurrentNetwork;
        const auto clearDemands = [node] {
            node->JointDemandUseFlowType = VolumeFlow;
            node->JointSupply_m3s = node->JointDischarge_m3s = 0;
            node->JointSupply_kgs = node->JointDischarge_kgs = 0;
            node->JointSupply_SCMH = node->JointDischarge_SCMH = 0;
        };
        switch (ComboBoxNodeType->currentIndex()) {
        case 0:
            if (n.IsNodeAssociatedWithAnyPRV(id))
                info("Node cannot be changed to a tank. \r\rAt least one pipe coming in to the node contains a PRV, "
                     "which is not allowed.");
            else if (n.IsNodeAssociatedWithAnyBPV(id))
                info("Node cannot be changed to a tank.\r\rAt least one pipe leaving the node contains a BPV, which "
                     "is not allowed.");
            else {
                node->NodeType = Tank;
                node->NodeImageIndex = 0;
                clearDemands();
            }
            break;
        case 1:
            if (n.IsNodeAssociatedWithAnyPRV(id))
                info("The node cannot be converted to an End Pressure node.\r\rAn End Pressure node cannot be at the "
                     "end of a pipe that contains a PRV control.");
            else if (n.IsNodeAssociatedWithAnyBPV(id))
                info("The node cannot be converted to an End Pressure node.\r\rAn End Pressure node cannot be at the "
                     "start of a pipe that contains a BPV control.");
            else if (n.GetNumberOfOutFlowPipes(id) > 0 || n.GetNumberOfInFlowPipes(id) > 1)
                info("The node cannot be converted to an End Pressure node.\r\rDemand Pressure nodes must be at the "
                     "end of a single pipe.");
            else {
                clearDemands();
                node->NodeType = EndPressure;
                node->LiquidLevel_m = 0;
                node->NodeImageIndex = 5;
            }
            break;
        case 2:
            node->NodeType = Joint;
            node->NodeImageIndex = 0;
            break;
        default:
            break;
        }
    }
    UpdatePanelsNode(id, false);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    RefreshScreenImageOnly(true);
    repaintNetworkImage();
}

void TNetworkForm::BitBtnDemandOutFlowClick()
{
    const int id = NetworkStates.CurrentNodeIdSelected;
    TNode *node = selectedNode(CurrentNetwork, id);
    if (!node)
        return;
    if (ItemDialogs)
        ItemDialogs->DemandsOpenForm(*node, id, CurrentNetwork->ConfigOptions, nodeFluid(id), ResultsMode, false);
    UpdatePanelsNode(id, false);
    RefreshScreen(true);
}

void TNetworkForm::BitBtnDemandInFlowClick()
{
    const int id = NetworkStates.CurrentNodeIdSelected;
    TNode *node = selectedNode(CurrentNetwork, id);
    if (!node)
        return;
    if (ItemDialogs)
        ItemDialogs->DemandsOpenForm(*node, id, CurrentNetwork->ConfigOptions, nodeFluid(id), ResultsMode, true);
    UpdatePanelsNode(id, false);
    RefreshScreen(true);
}

void TNetworkForm::PanelNodeHeaderClick()
{
    if (NetworkStates.CurrentNodeIdSelected <= 0)
        info("No node selected. Click on a node on the drawing to select it.");
}

void TNetworkForm::PanelNodeDetailSupplyClick()
{
    if (NetworkStates.CurrentNodeIdSelected <= 0) {
        info("No node selected. Click on a node on the drawing to select it.");
        RefreshScreen(true);
    }
}

void TNetworkForm::PanelNodeDetailJointClick() { PanelNodeDetailSupplyClick(); }

void TNetworkForm::UpDownNodeClick(bool Up)
{
    TNetwork &n = *CurrentNetwork;
    const int current = NetworkStates.CurrentNodeIdSelected;
    int id = Up ? n.GetPreviousNodeId(current) : n.GetNextNodeId(current);
    if (id <= 0)
        id = Up ? n.GetHighestNodeId() : n.GetNextNodeId(0);
    NetworkStates.CurrentNodeIdSelected = id;
    RefreshScreen(true);
}

} // namespace tessaran
