// The node icon chooser: the symbol style, the size and the liquid colour of
// the selected tank, end-pressure node or join point. The choice only
// changes how the node is drawn.
#include "app/NetworkForm.h"

#include "drawing/Canvas_Drawings.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "drawing/Node_Symbols.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <functional>
#include <utility>

namespace tessaran {

namespace {

constexpr int NodeTypeEntries = 10;
constexpr const char *IconSizeItems[] = {"100%", "150%", "200%", "250%", "300%", "400%"};

// The list's entries, 40 pixels high, are drawn by the window.
class TNodeTypeDelegate : public QStyledItemDelegate {
public:
    TNodeTypeDelegate(QObject *parent, std::function<void(QPainter &, int, const QRect &)> draw)
        : QStyledItemDelegate(parent), draw_(std::move(draw))
    {
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        draw_(*painter, index.row(), option.rect);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return {80, 40}; }

private:
    std::function<void(QPainter &, int, const QRect &)> draw_;
};

class TMouseMoveHook : public QObject {
public:
    TMouseMoveHook(QObject *owner, std::function<void()> onMove) : QObject(owner), onMove_(std::move(onMove)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            onMove_();
        return false;
    }

private:
    std::function<void()> onMove_;
};

int styleCount(TNodeType type)
{
    switch (type) {
    case Tank: return TankStyleCount;
    case EndPressure: return EndPressureStyleCount;
    case Joint: return static_cast<int>(NodeImageColors.size());
    default: return 0;
    }
}

TColor fromQColor(const QColor &colour)
{
    return static_cast<TColor>(colour.red()) | (static_cast<TColor>(colour.green()) << 8) |
           (static_cast<TColor>(colour.blue()) << 16);
}

} // namespace

void TNetworkForm::createNodeTypeChooser()
{
    QPalette yellow = PanelTankTypes->palette();
    yellow.setColor(QPalette::Window, ToQColor(0x00FFFF));
    PanelTankTypes->setPalette(yellow);
    PanelTankTypes->setAutoFillBackground(true);

    PanelIconSize = new QWidget(PanelTankTypes);
    PanelIconSize->setObjectName("PanelIconSize");
    PanelIconSize->setGeometry(2, 2, 88, 50);
    ComboBoxIconSize = new QComboBox(PanelIconSize);
    ComboBoxIconSize->setObjectName("ComboBoxIconSize");
    ComboBoxIconSize->setGeometry(2, 2, 84, 22);
    for (const char *size : IconSizeItems)
        ComboBoxIconSize->addItem(size);
    connect(ComboBoxIconSize, &QComboBox::activated, this, &TNetworkForm::ComboBoxIconSizeChange);
    BitBtnNodeLiquidColor = new QPushButton("Color", PanelIconSize);
    BitBtnNodeLiquidColor->setObjectName("BitBtnNodeLiquidColor");
    BitBtnNodeLiquidColor->setGeometry(2, 26, 84, 22);
    connect(BitBtnNodeLiquidColor, &QPushButton::clicked, this, &TNetworkForm::BitBtnNodeLiquidColorClick);

    ListBoxNodeTypes = new QListWidget(PanelTankTypes);
    ListBoxNodeTypes->setObjectName("ListBoxNodeTypes");
    ListBoxNodeTypes->setGeometry(2, 54, 88, 404);
    ListBoxNodeTypes->setItemDelegate(new TNodeTypeDelegate(
        ListBoxNodeTypes, [this](QPainter &painter, int index, const QRect &rect) {
            ListBoxNodeTypesDrawItem(painter, index, rect);
        }));
    ListBoxNodeTypes->setMouseTracking(true);
    ListBoxNodeTypes->viewport()->installEventFilter(
        new TMouseMoveHook(ListBoxNodeTypes, [this] { ListBoxNodeTypesMouseMove(); }));
    connect(ListBoxNodeTypes, &QListWidget::clicked, this,
            [this](const QModelIndex &index) { ListBoxNodeTypesClick(index.row()); });

    BitBtnSavePumpIcon = new QPushButton("Save Icon", PanelTankTypes);
    BitBtnSavePumpIcon->setObjectName("BitBtnSavePumpIcon");
    BitBtnSavePumpIcon->setGeometry(2, 460, 88, 22);
    connect(BitBtnSavePumpIcon, &QPushButton::clicked, this, &TNetworkForm::BitBtnSavePumpIconClick);
    auto *note = new QLabel("Icon is for visual reference only", PanelTankTypes);
    note->setObjectName("LabelIconNote");
    note->setWordWrap(true);
    note->setGeometry(2, 482, 88, 24);
    QFont small = note->font();
    small.setPointSize(6);
    note->setFont(small);

    // The node panel's "Icon" button opens the chooser.
    if (auto *icon = findChild<QPushButton *>("ButtonTankType"))
        connect(icon, &QPushButton::clicked, this, &TNetworkForm::ButtonTankTypeClick, Qt::UniqueConnection);
}

void TNetworkForm::ButtonTankTypeClick()
{
    const int nodeId = NetworkStates.CurrentNodeIdSelected;
    ListBoxNodeTypes->clear();
    for (int entry = 0; entry < NodeTypeEntries; ++entry)
        ListBoxNodeTypes->addItem("Item");
    if (nodeId > 0) {
        const TNode &node = CurrentNetwork->GetNode(nodeId);
        const int top = std::clamp(node.NodeImageIndex, 0, NodeTypeEntries - 1);
        ListBoxNodeTypes->scrollToItem(ListBoxNodeTypes->item(top), QAbstractItemView::PositionAtTop);
        const double scale = node.NodeScale;
        int entry = 0;
        if (scale <= 1)
            entry = 0;
        else if (scale <= 1.5)
            entry = 1;
        else if (scale <= 2)
            entry = 2;
        else if (scale <= 2.5)
            entry = 3;
        else if (scale <= 3)
            entry = 4;
        else if (scale <= 4)
            entry = 5;
        const QSignalBlocker blocker(ComboBoxIconSize);
        ComboBoxIconSize->setCurrentIndex(entry);
    }
    PanelTankTypes->show();
    PanelTankTypes->raise();
}

void TNetworkForm::ListBoxNodeTypesDrawItem(QPainter &Painter, int Index, const QRect &Rect)
{
    const int nodeId = NetworkStates.CurrentNodeIdSelected;
    if (nodeId <= 0) {
        PanelTankTypes->hide();
        return;
    }
    const TNode &node = CurrentNetwork->GetNode(nodeId);
    Painter.fillRect(Rect, Index == node.NodeImageIndex ? ToQColor(0x00FFFF) : QColor(Qt::white));
    TQtCanvas canvas(Painter);
    const int x = Rect.left() + 30, y = Rect.top() + 20;
    constexpr TColor black = 0x000000;
    switch (node.NodeType) {
    case Tank:
        BitBtnNodeLiquidColor->show();
        if (Index < TankStyleCount)
            DrawTankSymbol(Index, canvas, x, y, node.LiquidColor, black, 0, 0, 1.0);
        break;
    case EndPressure:
        BitBtnNodeLiquidColor->hide();
        if (Index < EndPressureStyleCount) {
            DrawEndPressureSymbol(Index, canvas, x, y, 0xC0C0C0, black, 0, 0, 1.0);
            DrawCanvasText(canvas, Rect.left() + 27, Rect.top() + 14, "P", black, 7);
        }
        break;
    case Joint:
        BitBtnNodeLiquidColor->hide();
        if (Index < static_cast<int>(NodeImageColors.size()))
            DrawJoinPointSymbol(canvas, x, y, 4, NodeImageColors[static_cast<std::size_t>(Index)], black);
        break;
    default: break;
    }
}

void TNetworkForm::ListBoxNodeTypesClick(int Index)
{
    const int nodeId = NetworkStates.CurrentNodeIdSelected;
    if (nodeId <= 0)
        return;
    TNode &node = CurrentNetwork->GetNode(nodeId);
    // An empty entry is no style: the node would vanish from the drawing.
    if (Index < 0 || Index >= styleCount(node.NodeType))
        return;
    node.NodeImageIndex = Index;
    UpdatePanelsNode(nodeId, false);
    RefreshScreenImageOnly(true);
    ListBoxNodeTypes->viewport()->update();
}

void TNetworkForm::ListBoxNodeTypesMouseMove()
{
    PanelTankTypes->show();
}

void TNetworkForm::ComboBoxIconSizeChange()
{
    const int nodeId = NetworkStates.CurrentNodeIdSelected;
    if (nodeId <= 0)
        return;
    TNode &node = CurrentNetwork->GetNode(nodeId);
    const double oldScale = node.NodeScale;
    const int entry = ComboBoxIconSize->currentIndex();
    node.NodeScale = entry >= 5 ? 4.0 : 1.0 + 0.5 * std::max(0, entry);
    if (node.NodeScale > 1) {
        const int xDistance = static_cast<int>(1.5 * MetaFileDrawing->MetaFileDrawing_XGridSpacing);
        const int yDistance = static_cast<int>(1.5 * MetaFileDrawing->MetaFileDrawing_YGridSpacing);
        if (CurrentNetwork->ExistsNodeWithinGivenDistance(node.x, node.y, xDistance, yDistance, 1.0, nodeId) > 0) {
            node.NodeScale = oldScale;
            // The size list goes back to the size the node keeps.
            ButtonTankTypeClick();
            info("Node cannot be scaled up to this size since it may cover or interfere with an existing node on "
                 "the drawing:\r\rPlease reposition this node before scaling up so that there is room to draw it "
                 "at the larger scale.\r");
        }
    }
    if (node.NodeScale != oldScale) {
        node.labelRelativex = 0;
        node.labelRelativey = 0;
    }
    RefreshScreenImageOnly(true);
}

void TNetworkForm::BitBtnNodeLiquidColorClick()
{
    const int nodeId = NetworkStates.CurrentNodeIdSelected;
    if (nodeId <= 0)
        return;
    const TNetwork &n = *CurrentNetwork;
    TColor preset = TNode::DefaultLiquidColor;
    if (n.CurrentFluidZone > 1)
        preset = n.FluidZones[static_cast<std::size_t>(n.CurrentFluidZone)].Color;
    // A cancelled dialog leaves the colour as it was.
    if (const std::optional<QColor> chosen = Dialogs().ChooseColour(ToQColor(preset), this))
        CurrentNetwork->GetNode(nodeId).LiquidColor = fromQColor(*chosen);
    ListBoxNodeTypes->viewport()->update();
    RefreshScreenImageOnly(true);
}

void TNetworkForm::BitBtnSavePumpIconClick()
{
    PanelTankTypes->hide();
    const int nodeId = NetworkStates.CurrentNodeIdSelected;
    if (nodeId > 0) {
        ImageNodeSymbol->clear();
        UpdatePanelsNode(nodeId, false);
    }
}

} // namespace tessaran
