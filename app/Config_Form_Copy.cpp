// The options dialog's Pipe Data and Node Data pages: the default pipe, the
// tick lists of the network's pipes and nodes, and the commands that copy
// values to the ticked items. These act on the network at once.
#include "app/Config_Form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "app/Program_Folder.h"
#include "dialogs/Component_Pressure_Form.h"
#include "dialogs/Dialog_Look.h"
#include "dialogs/Pipe_Diameter_Data_Form.h"
#include "drawing/Canvas_Drawings.h"
#include "drawing/Node_Symbols.h"
#include "model/Node_Class.h"
#include "model/Pipe_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }

template <class Widget>
Widget *Place(Widget *widget, int x, int y, int w, int h)
{
    widget->setGeometry(x, y, w, h);
    return widget;
}

const char *ColourNames[6] = {"Black", "Olive", "Red", "Lime", "Blue", "Silver"};

std::string NodeTypeName(TNodeType type)
{
    switch (type) {
    case Joint: return "Joint";
    case Tank: return "Tank";
    case EndPressure: return "EndPressure";
    default: return "NotSet";
    }
}

} // namespace

void TConfigForm::createPipeDataPage()
{
    auto *group = new QGroupBox(" Default Pipe Data", PanelConfigPipeDefaults);
    group->setGeometry(0, 0, 590, 495);
    auto *pipe = new QGroupBox(" Default Pipe ", group);
    pipe->setGeometry(10, 20, 570, 150);
    auto entry = [this, pipe](const char *label, const char *name, const char *unitName, int y, QLabel *&unit) {
        Place(new QLabel(label, pipe), 10, y + 2, 110, 20);
        auto *edit = Place(Named<TRightEdit>(name, pipe), 120, y, 100, 22);
        unit = Place(Named<QLabel>(unitName, pipe), 225, y + 2, 60, 20);
        SelectAllOnEntry(edit);
        return edit;
    };
    RightEditPipeDiameter = entry("Internal Diameter", "RightEditPipeDiameter", "LabelPipeDiameterUnits", 22,
                                  LabelPipeDiameterUnits);
    RightEditPipeRoughness =
        entry("Roughness", "RightEditPipeRoughness", "LabelPipeRoughnessUnits", 50, LabelPipeRoughnessUnits);
    RightEditPipeLength = entry("Length", "RightEditPipeLength", "LabelPipeLengthUnits", 78, LabelPipeLengthUnits);
    LabelPipeSize = Place(Named<QLabel>("LabelPipeSize", pipe), 290, 24, 120, 20);
    LabelPipeMaterial = Place(Named<QLabel>("LabelPipeMaterial", pipe), 290, 52, 150, 20);
    LabelPipeSchedule = Place(Named<QLabel>("LabelPipeSchedule", pipe), 290, 80, 150, 20);
    BitBtnPipeDiameter = Place(Named<QPushButton>("BitBtnPipeDiameter", "Diam?", pipe), 450, 20, 100, 24);
    BitBtnPipeMaterial = Place(Named<QPushButton>("BitBtnPipeMaterial", "Material", pipe), 450, 48, 100, 24);
    BitBtnPipeUnits = Place(Named<QPushButton>("BitBtnPipeUnits", "Units", pipe), 450, 76, 100, 24);
    Place(new QLabel("Fittings", pipe), 10, 110, 60, 20);
    BitBtnPipeFittings = Place(Named<QPushButton>("BitBtnPipeFittings", "None", pipe), 70, 106, 70, 26);
    Place(new QLabel("Components", pipe), 150, 110, 80, 20);
    BitBtnComponents = Place(Named<QPushButton>("BitBtnComponents", "None", pipe), 230, 106, 70, 26);
    Place(new QLabel("Pipe Color", pipe), 310, 110, 70, 20);
    ComboBoxPipeColors = Place(Named<QComboBox>("ComboBoxPipeColors", pipe), 380, 106, 170, 24);
    for (int i = 0; i < 18; ++i) {
        QImage bar(60, 12, QImage::Format_RGB32);
        bar.fill(Qt::white);
        const int w = PipeWidthChoices[static_cast<std::size_t>(i / 6)];
        const int m = bar.height() / 2;
        for (int y = m - w / 2; y <= m + w / 2; ++y) // bars 1, 3 and 5 pixels high
            for (int x = 2; x < bar.width() - 4; ++x)
                bar.setPixelColor(x, y, ToQColor(PipeColorChoices[static_cast<std::size_t>(i % 6)]));
        ComboBoxPipeColors->addItem(QIcon(QPixmap::fromImage(bar)), ColourNames[i % 6]);
    }
    connect(ComboBoxPipeColors, &QComboBox::activated, this, [this](int i) {
        if (i < 0)
            return;
        DefaultPipeCopy->LineColor = PipeColorChoices[static_cast<std::size_t>(i % 6)];
        DefaultPipeCopy->LineWidth = PipeWidthChoices[static_cast<std::size_t>(i / 6)];
    });

    // Entries store the value read back from their text; an invalid text stores nothing.
    auto store = [this](TRightEdit *edit, TUnit TConfigOptions::*unit, double TPipe::*field) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit, unit, field] {
            if (filling_)
                return;
            bool valid = false;
            const double value = ReadRealFromEdit(edit, valid, true, false);
            if (valid)
                (*DefaultPipeCopy).*field = convertUnit(working_.*unit, unt_m, value);
        });
    };
    store(RightEditPipeDiameter, &TConfigOptions::UnitOfDiameter, &TPipe::InnerDiameter_m);
    store(RightEditPipeRoughness, &TConfigOptions::UnitOfRoughness, &TPipe::InnerRoughness_m);
    store(RightEditPipeLength, &TConfigOptions::UnitOfLength, &TPipe::Length_m);
    RightEditPipeDiameter->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, unitEntryDigits(working_.UnitOfDiameter),
                      unitDecimals(working_.UnitOfDiameter));
    };
    RightEditPipeLength->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, unitEntryDigits(working_.UnitOfLength), unitDecimals(working_.UnitOfLength));
    };
    RightEditPipeRoughness->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, unitEntryDigits(working_.UnitOfRoughness), 6);
    };

    connect(BitBtnPipeFittings, &QPushButton::clicked, this, [this] {
        if (OpenFittingManager)
            OpenFittingManager(*DefaultPipeCopy, working_.UnitOfDiameter);
        UpdateDefaultsButtons();
    });
    connect(BitBtnComponents, &QPushButton::clicked, this, [this] {
        TComponentPressureForm form(this);
        form.OpenForm(DefaultPipeCopy->ComponentPressure, *DefaultPipeCopy, -999, *TheNetwork, ResultsMode);
        UpdateDefaultsButtons();
    });
    connect(BitBtnPipeDiameter, &QPushButton::clicked, this, [this] { BitBtnPipeDiameterOrMaterialClick(false); });
    connect(BitBtnPipeMaterial, &QPushButton::clicked, this, [this] { BitBtnPipeDiameterOrMaterialClick(true); });
    connect(BitBtnPipeUnits, &QPushButton::clicked, this, [this] { SetSelectedTab(1); });

    auto *copy = new QGroupBox(" Copy Default Pipe Data to Selected Items: ", group);
    copy->setGeometry(10, 175, 570, 310);
    CheckListPipes = Place(Named<QListWidget>("CheckListPipes", copy), 10, 22, 370, 260);
    LabelSelectedPipeCount = Place(Named<QLabel>("LabelSelectedPipeCount", copy), 10, 285, 200, 20);
    connect(CheckListPipes, &QListWidget::itemChanged, this, [this] {
        if (!filling_)
            CheckListPipesClick();
    });
    int y = 20;
    auto command = [&](const char *name, const char *caption) {
        auto *button = Place(Named<QPushButton>(name, caption, copy), 390, y, 170, 24);
        y += 26;
        connect(button, &QPushButton::clicked, this, [this, button] { CopyPipes(button); });
        return button;
    };
    BitBtnCopyAllPipeData = command("BitBtnCopyAllPipeData", "Copy All Pipe Data");
    BitBtnCopyInternalDiam = command("BitBtnCopyInternalDiam", "Copy Internal Diam Only");
    BitBtnCopyRoughness = command("BitBtnCopyRoughness", "Copy Roughness Only");
    BitBtnCopyPipeLength = command("BitBtnCopyPipeLength", "Copy Length Only");
    BitBtnCopyAllDiamData = command("BitBtnCopyAllDiamData", "Copy All Diameter Data");
    BitBtnCopyAllMaterialData = command("BitBtnCopyAllMaterialData", "Copy All Material Data");
    BitBtn1 = command("BitBtn1", "Copy Color and Style");
    BitBtnCopyPipeFittings = command("BitBtnCopyPipeFittings", "Copy Fittings Only");
    BitBtnCopyComponents = command("BitBtnCopyComponents", "Copy Components Only");
    BitBtnOpenPipes = command("BitBtnOpenPipes", "Open Pipes");
    BitBtnClosePipes = command("BitBtnClosePipes", "Close Pipes");
}

void TConfigForm::SetTabDefaultValues(const TConfigOptions &R)
{
    const TPipe &pipe = *DefaultPipeCopy;
    showText(RightEditPipeDiameter, convertAndFormat(unt_m, R.UnitOfDiameter, pipe.InnerDiameter_m));
    LabelPipeDiameterUnits->setText(Q(unitName(R.UnitOfDiameter)));
    LabelPipeSize->setText(Q(pipe.getNominalDiameterLabelString(R.UnitOfDiameter)));
    showText(RightEditPipeRoughness, convertUnitToString(unt_m, R.UnitOfRoughness, 6, pipe.InnerRoughness_m));
    LabelPipeRoughnessUnits->setText(Q(unitName(R.UnitOfRoughness)));
    LabelPipeMaterial->setText(Q(pipe.Material));
    LabelPipeSchedule->setText(Q(pipe.ScheduleClass));
    showText(RightEditPipeLength, convertAndFormat(unt_m, R.UnitOfLength, pipe.Length_m));
    LabelPipeLengthUnits->setText(Q(unitName(R.UnitOfLength)));
    UpdateDefaultsButtons();

    ChosenNodeImageIndex = 0;
    UpdateNodeImage();
    LabelDemandInUnits->setText(Q(unitName(working_.UnitOfMassFlow)));
    LabelDemandOutUnits->setText(Q(unitName(working_.UnitOfMassFlow)));
    RightEditDemandIn->setText("0.0");
    RightEditDemandOut->setText("0.0");
    const QSignalBlocker blocker(CheckListNodes);
    CheckListNodes->clear();
}

void TConfigForm::UpdateDefaultsButtons()
{
    const int fittings = DefaultPipeCopy->GetFittingCountIncludingQuantities();
    BitBtnPipeFittings->setText(fittings < 1 ? "None" : QString::number(fittings));
    const int components = DefaultPipeCopy->ComponentPressureCount;
    BitBtnComponents->setText(components < 1 ? "None" : QString::number(components));
}

void TConfigForm::BitBtnPipeDiameterOrMaterialClick(bool material)
{
    if (!PipeSizes)
        return;
    TNetwork::SetNominalPipeSize(*PipeSizes, *DefaultPipeCopy);
    TPipeDiameterDataForm form(ProgramFolder() + "PipeTables", nullptr, this);
    const bool metric = working_.UnitOfDiameter == unt_m || working_.UnitOfDiameter == unt_mm;
    form.OpenPipeDiameterManager(*PipeSizes, *DefaultPipeCopy, 0, metric, material);
    TNetwork::SetNominalPipeSize(*PipeSizes, *DefaultPipeCopy);
    SetTabDefaultValues(working_);
}

void TConfigForm::PopulateCheckListPipes()
{
    const bool wasFilling = filling_;
    filling_ = true;
    TNetwork &network = *TheNetwork;
    network.SortNodeLinksByPipeId();
    CheckListPipes->clear();
    RowPipeIds.fill(0);
    const TConfigOptions &w = working_;
    auto rowText = [&w](int id, const TPipe &p) {
        return std::to_string(id) + ", " + p.Name + ", " +
               convertAndFormat(unt_m, w.UnitOfDiameter, p.InnerDiameter_m) + " " + unitName(w.UnitOfDiameter) + ", " +
               convertUnitToString(unt_m, w.UnitOfRoughness, 6, p.InnerRoughness_m) + " " +
               unitName(w.UnitOfRoughness) + ", " + convertAndFormat(unt_m, w.UnitOfLength, p.Length_m) + " " +
               unitName(w.UnitOfLength);
    };
    auto addRow = [this](const std::string &text, bool ticked, int id) {
        const int row = CheckListPipes->count();
        auto *item = new QListWidgetItem(Q(text), CheckListPipes);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        if (row < MaxListedPipes)
            RowPipeIds[static_cast<std::size_t>(row)] = id;
    };
    for (int k = 1; k <= network.NodeLinksCount; ++k) {
        const int id = network.GetNodeLink(k).PipeId;
        const TPipe &p = network.GetPipe(id);
        addRow(rowText(id, p), p.Selected, id);
    }
    network.SortNodeLinksClosedPipeByPipeId();
    for (int k = 1; k <= network.NodeLinksClosedPipeCount; ++k) {
        const int id = network.GetNodeLinkClosedPipe(k).PipeId;
        const TPipe &p = network.GetPipe(id);
        addRow("Closed: " + rowText(id, p), p.Selected, id);
    }
    filling_ = wasFilling;
}

void TConfigForm::CheckListPipesClick()
{
    int count = 0;
    for (int row = 0; row < CheckListPipes->count() && row < MaxListedPipes; ++row) {
        const bool ticked = CheckListPipes->item(row)->checkState() == Qt::Checked;
        const int id = RowPipeIds[static_cast<std::size_t>(row)];
        if (id > 0)
            TheNetwork->GetPipe(id).Selected = ticked;
        if (ticked)
            ++count;
    }
    if (RefreshScreenImageOnly)
        RefreshScreenImageOnly();
    LabelSelectedPipeCount->setText(QString::number(count) + " pipes selected   ");
}

void TConfigForm::CopyPipes(QPushButton *command)
{
    TNetwork &network = *TheNetwork;
    const TPipe &d = *DefaultPipeCopy;
    std::vector<int> ids;
    for (int row = 0; row < CheckListPipes->count() && row < MaxListedPipes; ++row)
        if (CheckListPipes->item(row)->checkState() == Qt::Checked)
            ids.push_back(RowPipeIds[static_cast<std::size_t>(row)]);
    QString message;
    for (int id : ids) {
        if (id <= 0)
            continue;
        TPipe &p = network.GetPipe(id);
        if (command == BitBtnCopyAllPipeData) {
            const std::string name = p.Name;
            p.Copy(d);
            p.Name = name;
            p.Selected = true;
        } else if (command == BitBtnCopyInternalDiam) {
            p.InnerDiameter_m = d.InnerDiameter_m;
        } else if (command == BitBtnCopyRoughness) {
            p.InnerRoughness_m = d.InnerRoughness_m;
        } else if (command == BitBtnCopyPipeLength) {
            p.Length_m = d.Length_m;
        } else if (command == BitBtnCopyAllDiamData) {
            p.InnerDiameter_m = d.InnerDiameter_m;
            p.NominalDiameterMetric = d.NominalDiameterMetric;
            p.NominalDiameterMetricString = d.NominalDiameterMetricString.substr(0, 20);
            p.NominalDiameterImperialString = d.NominalDiameterImperialString.substr(0, 20);
            p.OuterDiameter_m = d.OuterDiameter_m;
            p.WallThickness_m = d.WallThickness_m;
            p.WeightPerMetre_kg = d.WeightPerMetre_kg;
        } else if (command == BitBtnCopyAllMaterialData) {
            p.InnerRoughness_m = d.InnerRoughness_m;
            p.Material = d.Material.substr(0, 40);
            p.ScheduleClass = d.ScheduleClass.substr(0, 20);
            p.PipeDataFilename = d.PipeDataFilename.substr(0, 100);
        } else if (command == BitBtn1) {
            p.LineColor = d.LineColor;
            p.LineWidth = d.LineWidth;
        } else if (command == BitBtnCopyPipeFittings) {
            p.FittingSet.Clear();
            p.FittingSet.CopyFittingSet(d.FittingSet);
            p.FittingsPositionPercentageAlongPipe = d.FittingsPositionPercentageAlongPipe;
        } else if (command == BitBtnCopyComponents) {
            p.ComponentPressure.Clear();
            p.ComponentPressureCount = 0;
            if (d.ComponentPressureCount > 0) {
                p.ComponentPressure.CopyComponentPressure(d.ComponentPressure);
                p.ComponentPressurePositionPercentageAlongPipe = d.ComponentPressurePositionPercentageAlongPipe;
                p.ComponentPressureCount = 1;
            }
        } else if (command == BitBtnOpenPipes) {
            if (network.IsPipeClosed(id))
                network.RestoreNodeLinkForClosedPipe(id);
        } else if (command == BitBtnClosePipes) {
            if (!network.IsPipeClosed(id))
                network.RemoveNodeLinkAddClosedPipeLink(id);
        }
    }
    if (command == BitBtnCopyAllPipeData)
        message = "The Default Pipe values have been copied to the selected pipes.\r\rAny fittings on the default "
                  "pipe were also copied.\r\rThe fluid zone associated with the pipe was copied.";
    else if (command == BitBtnCopyInternalDiam)
        message = "The Internal Pipe Diameter values have been copied to the selected pipes.";
    else if (command == BitBtnCopyRoughness)
        message = "The Pipe Roughness values have been copied to the selected pipes.";
    else if (command == BitBtnCopyPipeLength)
        message = "The Pipe Length values have been copied to the selected pipes.";
    else if (command == BitBtnCopyAllDiamData)
        message = "The Pipe Diameter (internal and outer) values have been copied to the selected pipes.";
    else if (command == BitBtnCopyAllMaterialData)
        message = "The Pipe Material, Schedule and Roughness values have been copied to the selected pipes.";
    else if (command == BitBtn1)
        message = "The Pipe Color has been copied to the selected pipes.";
    else if (command == BitBtnCopyPipeFittings)
        message = "The Fittings have been copied to the selected pipes.";
    else if (command == BitBtnCopyComponents)
        message = "The Component has been copied to the selected pipes.";
    else if (command == BitBtnOpenPipes)
        message = "The selected Pipes have been set to 'open'.";
    else
        message = "The selected Pipes have been set to 'closed'.\r\rClosed pipes will be shown at the bottom of the "
                  "list.";
    PopulateCheckListPipes();
    if (RefreshScreen)
        RefreshScreen();
    Dialogs().ShowMessage(TDialogKind::Information, message, this);
}

// --- Node Data page ---------------------------------------------------------------------

void TConfigForm::createNodeDataPage()
{
    auto *group = new QGroupBox(" Node Updates ", PanelConfigNodes);
    group->setGeometry(0, 0, 590, 495);
    auto *adjust = new QGroupBox(" Adjust Node Data ", group);
    adjust->setGeometry(10, 20, 570, 150);
    ImageNodeSymbol = Place(Named<QLabel>("ImageNodeSymbol", adjust), 20, 25, 40, 40);
    UpDown1Up = Place(Named<QToolButton>("UpDown1Up", adjust), 64, 25, 18, 20);
    UpDown1Down = Place(Named<QToolButton>("UpDown1Down", adjust), 64, 45, 18, 20);
    UpDown1Up->setArrowType(Qt::UpArrow);
    UpDown1Down->setArrowType(Qt::DownArrow);
    connect(UpDown1Up, &QToolButton::clicked, this, [this] { UpDown1Click(true); });
    connect(UpDown1Down, &QToolButton::clicked, this, [this] { UpDown1Click(false); });
    Place(new QLabel("Note: image will not be copied to tank && end pressure nodes.", adjust), 10, 75, 300, 20);
    Place(new QLabel("Elevation", adjust), 100, 25, 70, 20);
    RightEditJointElevation = Place(Named<TRightEdit>("RightEditJointElevation", adjust), 170, 23, 90, 22);
    LabelJointElevationUnits = Place(Named<QLabel>("LabelJointElevationUnits", adjust), 265, 25, 50, 20);
    Place(new QLabel("Additional Flows", adjust), 330, 5, 120, 20);
    Place(new QLabel("Demand In", adjust), 330, 25, 70, 20);
    RightEditDemandIn = Place(Named<TRightEdit>("RightEditDemandIn", adjust), 400, 23, 90, 22);
    LabelDemandInUnits = Place(Named<QLabel>("LabelDemandInUnits", adjust), 495, 25, 60, 20);
    Place(new QLabel("Demand Out", adjust), 330, 51, 70, 20);
    RightEditDemandOut = Place(Named<TRightEdit>("RightEditDemandOut", adjust), 400, 49, 90, 22);
    LabelDemandOutUnits = Place(Named<QLabel>("LabelDemandOutUnits", adjust), 495, 51, 60, 20);
    Place(new QLabel("Note: Mass flow unit allows copy to different fluid zones.", adjust), 300, 75, 260, 20);
    BitBtnNodeUnits = Place(Named<QPushButton>("BitBtnNodeUnits", "Units", adjust), 10, 110, 80, 26);
    connect(BitBtnNodeUnits, &QPushButton::clicked, this, [this] { SetSelectedTab(1); });
    for (TRightEdit *edit : {RightEditJointElevation, RightEditDemandIn, RightEditDemandOut})
        SelectAllOnEntry(edit);
    // The filters follow the network's own units, as the entries were made for them.
    RightEditJointElevation->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        const TUnit unit = TheNetwork ? TheNetwork->ConfigOptions.UnitOfElevation : unt_m;
        FilterRealKey(sender, key, true, unitEntryDigits(unit), unitDecimals(unit));
    };
    auto demandFilter = [this](TRightEdit *sender, char16_t &key) {
        const TUnit unit = TheNetwork ? TheNetwork->ConfigOptions.UnitOfMassFlow : unt_kg_sec;
        FilterRealKey(sender, key, true, unitEntryDigits(unit), unitDecimals(unit));
    };
    RightEditDemandIn->OnKeyPress = demandFilter;
    RightEditDemandOut->OnKeyPress = demandFilter;
    connect(RightEditJointElevation, &QLineEdit::textChanged, this, [this] {
        if (filling_)
            return;
        bool valid = false;
        const double value = ReadRealFromEdit(RightEditJointElevation, valid, true, true);
        if (valid)
            RememberedElevation_m = convertUnit(working_.UnitOfElevation, unt_m, value);
    });

    auto *copy = new QGroupBox(" Copy Node Data to Selected Items:", group);
    copy->setGeometry(10, 175, 570, 310);
    CheckListNodes = Place(Named<QListWidget>("CheckListNodes", copy), 10, 22, 370, 260);
    LabelSelectedNodeCount = Place(Named<QLabel>("LabelSelectedNodeCount", copy), 10, 285, 200, 20);
    connect(CheckListNodes, &QListWidget::itemChanged, this, [this] {
        if (!filling_)
            CheckListNodesClick();
    });
    int y = 20;
    auto command = [&](const char *name, const char *caption) {
        auto *button = Place(Named<QPushButton>(name, caption, copy), 390, y, 170, 26);
        y += 30;
        connect(button, &QPushButton::clicked, this, [this, button] { CopyNodes(button); });
        return button;
    };
    BitBtnCopyNodeImageAndElevation = command("BitBtnCopyNodeImageAndElevation", "Copy Image && Elevation");
    BitBtnCopyNodeImage = command("BitBtnCopyNodeImage", "Copy Node Image");
    BitBtnCopyNodeElevation = command("BitBtnCopyNodeElevation", "Copy Node Elevation");
    BitBtnCopyDemandIn = command("BitBtnCopyDemandIn", "Copy Demand - Flow In");
    BitBtn2 = command("BitBtn2", "Copy Demand - Flow Out");
}

void TConfigForm::UpdateNodeImage()
{
    if (ChosenNodeImageIndex < 0)
        ChosenNodeImageIndex = 5;
    if (ChosenNodeImageIndex > 5)
        ChosenNodeImageIndex = 0;
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Base));
    {
        TQtCanvas canvas(&image);
        DrawJoinPointSymbol(canvas, 20, 20, 4, NodeImageColors[static_cast<std::size_t>(ChosenNodeImageIndex)],
                            0x000000);
    }
    ImageNodeSymbol->setPixmap(QPixmap::fromImage(image));
}

void TConfigForm::UpDown1Click(bool up)
{
    ChosenNodeImageIndex += up ? 1 : -1;
    UpdateNodeImage();
}

void TConfigForm::PopulateCheckListNodes()
{
    const bool wasFilling = filling_;
    filling_ = true;
    CheckListNodes->clear();
    const TNetwork &network = *TheNetwork;
    const TConfigOptions &w = working_;
    for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode &n = network.GetNode(id);
        std::string text = std::to_string(id) + ", " + n.Name + ", " + NodeTypeName(n.NodeType) + ", " +
                           "Elevation " + convertAndFormat(unt_m, w.UnitOfElevation, n.Elevation_m) + " " +
                           unitName(w.UnitOfElevation);
        if (n.JointSupply_kgs > 0)
            text += ", Demand In=" + convertAndFormat(unt_kg_sec, w.UnitOfMassFlow, n.JointSupply_kgs) + " " +
                    unitName(w.UnitOfMassFlow);
        if (n.JointDischarge_kgs > 0)
            text += ", Demand Out=" + convertAndFormat(unt_kg_sec, w.UnitOfMassFlow, n.JointDischarge_kgs) + " " +
                    unitName(w.UnitOfMassFlow);
        auto *item = new QListWidgetItem(Q(text), CheckListNodes);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(n.Selected ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, id);
    }
    filling_ = wasFilling;
}

void TConfigForm::CheckListNodesClick()
{
    LabelSelectedNodeCount->setText(QString::number(static_cast<int>(tickedNodeIds().size())) +
                                    " nodes selected   ");
}

std::vector<int> TConfigForm::tickedNodeIds() const
{
    std::vector<int> ids;
    for (int row = 0; row < CheckListNodes->count(); ++row)
        if (CheckListNodes->item(row)->checkState() == Qt::Checked)
            ids.push_back(CheckListNodes->item(row)->data(Qt::UserRole).toInt());
    return ids;
}

void TConfigForm::CopyNodes(QPushButton *command)
{
    TNetwork &network = *TheNetwork;
    const bool demand = command == BitBtnCopyDemandIn || command == BitBtn2;
    const bool elevation = command == BitBtnCopyNodeElevation || command == BitBtnCopyNodeImageAndElevation;
    double value = 0;
    if (demand || elevation) {
        TRightEdit *edit = command == BitBtnCopyDemandIn ? RightEditDemandIn
                           : command == BitBtn2          ? RightEditDemandOut
                                                         : RightEditJointElevation;
        bool valid = false;
        value = ReadRealFromEdit(edit, valid, true, true);
        // A lone "-" reads as zero while typing; as a value to copy it is no number.
        if (!valid || edit->text().trimmed() == "-") {
            Dialogs().ShowMessage(TDialogKind::Information,
                                  demand ? "The Demand Flow value did not convert to a valid number.\r\r "
                                         : "The Elevation value did not convert to a valid number.\r\r ",
                                  this);
            return;
        }
    }
    const TConfigOptions &w = working_;
    for (int id : tickedNodeIds()) {
        TNode &n = network.GetNode(id);
        if (elevation)
            n.Elevation_m = convertUnit(w.UnitOfElevation, unt_m, value);
        if ((command == BitBtnCopyNodeImage || command == BitBtnCopyNodeImageAndElevation) && n.NodeType == Joint)
            n.NodeImageIndex = ChosenNodeImageIndex;
        if (demand && n.NodeType == Joint) {
            const TFluid &f = network.FluidZones[static_cast<std::size_t>(network.GetNodeFluidZoneIndex(id))].Fluid;
            const double kgs = convertUnit(w.UnitOfMassFlow, unt_kg_sec, value);
            const double m3s = convertFlowUnit(unt_kg_sec, unt_m3_sec, std_15degC_101325Pa, kgs, f.density_kgs_m3, 0,
                                               288.15, 1.01325);
            const double scmh = convertFlowUnit(unt_kg_sec, unt_SCMH, w.GasFlowTemperaturePressureModel, kgs,
                                                f.density_kgs_m3, f.pressure_bar_g, f.degrees_K, w.Atmosphere_bar_a);
            n.JointDemandUseFlowType = MassFlow;
            if (command == BitBtnCopyDemandIn) {
                n.JointSupply_kgs = kgs;
                n.JointSupply_m3s = m3s;
                n.JointSupply_SCMH = scmh;
            } else {
                n.JointDischarge_kgs = kgs;
                n.JointDischarge_m3s = m3s;
                n.JointDischarge_SCMH = scmh;
            }
        }
    }
    PopulateCheckListNodes();
    CheckListNodesClick();
    if (RefreshScreen)
        RefreshScreen();
    QString message;
    if (demand)
        message = "The specified demand flow has been copied to the selected nodes.\r\r";
    else if (command == BitBtnCopyNodeElevation)
        message = "The specified elevation has been copied to the selected nodes.\r\r";
    else if (command == BitBtnCopyNodeImageAndElevation)
        message = "The elevation and chosen image have been copied to the selected nodes.\r\rNote: Image changes were "
                  "not made to nodes of type tank or end pressures.";
    else
        message = "The chosen image has been copied to the selected nodes.\r\rNote: Image changes were not made to "
                  "nodes of type tank or end pressures.";
    Dialogs().ShowMessage(TDialogKind::Information, message, this);
}

} // namespace tessaran
