// The pump editor's symbol preview and the panel on which the user chooses
// the symbol's style, colour and size. The choice changes only how the pump
// is drawn on the network drawing.

#include "pumps/Pump_Data_Form.h"

#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>

#include "drawing/Canvas_Drawings.h"
#include "drawing/Pump_Symbols.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Image_Box.h"

namespace tessaran {

namespace {

constexpr int PumpStyleCount = 10;
constexpr int StyleEntryHeight = 60;
// The button face the preview is painted on.
constexpr TColor PreviewFace = 0xF0F0F0;

// Paints entry i of the style list: the symbol of style i in the pump's
// colours, on yellow for the pump's own style.
class TPumpStyleDelegate : public QStyledItemDelegate {
public:
    TPumpStyleDelegate(TPumpDataForm &form, QObject *parent) : QStyledItemDelegate(parent), form_(form) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int style = index.row();
        QImage entry(option.rect.width(), StyleEntryHeight, QImage::Format_RGB32);
        entry.fill(style == form_.EditedPump.PumpImageIndex ? QColor(255, 255, 0)
                                                             : option.palette.color(QPalette::Base));
        TPumpDataForm::DrawPumpStyleSymbol(entry, style, form_.EditedPump.PumpColorIndex);
        painter->drawImage(option.rect.topLeft(), entry);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return {option.rect.width(), StyleEntryHeight};
    }

private:
    TPumpDataForm &form_;
};

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

void TPumpDataForm::DrawPumpStyleSymbol(QImage &Picture, int Style, int ColorIndex)
{
    if (Style < 0 || Style >= PumpStyleCount)
        return;
    const int cx = Picture.width() / 2;
    const int cy = Picture.height() / 2;
    int fromX = cx - 8, fromY = cy, pumpX = cx, pumpY = cy;
    double scale = 1.0;
    switch (Style) {
    case 6:
        fromY = pumpY = cy + 16;
        break;
    case 9:
        fromY = pumpY = cy + 14;
        break;
    case 3:
        fromX = cx;
        fromY = 2 * cy - 4;
        pumpY = cy - 4;
        scale = 0.9;
        break;
    case 7:
    case 8:
        fromX = cx;
        fromY = 2 * cy + 22;
        pumpY = cy + 22;
        scale = 0.7;
        break;
    default:
        break;
    }
    TQtCanvas canvas(&Picture);
    canvas.Brush.Color = clRed;
    canvas.Pen.Color = clBlack;
    DrawPumpSymbol(canvas, fromX, fromY, pumpX, pumpY, "", "", PumpColorsFor(ColorIndex, true), false, 0.0, 0.0, Style,
                   scale, 1, 7);
}

void TPumpDataForm::UpdatePumpImageSymbol(int PumpImageIndex)
{
    QImage &picture = ImagePumpSymbol->Picture;
    {
        TQtCanvas canvas(&picture);
        DrawStyledRectangle(canvas, 0, 0, picture.width(), picture.height(), PreviewFace, TPenStyle::psClear,
                            TBrushStyle::bsSolid);
    }
    DrawPumpStyleSymbol(picture, PumpImageIndex, EditedPump.PumpColorIndex);
    ImagePumpSymbol->update();
}

void TPumpDataForm::buildIconPanel()
{
    PanelPumpIcon = new QFrame(GroupBoxPumpData);
    PanelPumpIcon->setObjectName(QStringLiteral("PanelPumpIcon"));
    PanelPumpIcon->setFrameShape(QFrame::Box);
    PanelPumpIcon->setAutoFillBackground(true);
    PanelPumpIcon->setGeometry(162, 20, 156, 400);
    (new QLabel(QStringLiteral("Size"), PanelPumpIcon))->setGeometry(6, 6, 40, 18);
    ComboBoxPumpScale = new QComboBox(PanelPumpIcon);
    ComboBoxPumpScale->setObjectName(QStringLiteral("ComboBoxPumpScale"));
    ComboBoxPumpScale->setGeometry(50, 4, 100, 20);
    ComboBoxPumpScale->addItems({QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
                                 QStringLiteral("250%")});
    (new QLabel(QStringLiteral("Color"), PanelPumpIcon))->setGeometry(6, 30, 40, 18);
    ColorBoxPump = new QComboBox(PanelPumpIcon);
    ColorBoxPump->setObjectName(QStringLiteral("ColorBoxPump"));
    ColorBoxPump->setGeometry(50, 28, 100, 20);
    ColorBoxPump->addItem(swatch(QColor(255, 0, 0)), QStringLiteral("Red"));
    ColorBoxPump->addItem(swatch(QColor(0, 0, 255)), QStringLiteral("Blue"));
    ColorBoxPump->addItem(swatch(QColor(0, 128, 0)), QStringLiteral("Green"));
    ColorBoxPump->addItem(swatch(QColor(255, 255, 0)), QStringLiteral("Yellow"));
    ListBoxPumpTypes = new QListWidget(PanelPumpIcon);
    ListBoxPumpTypes->setObjectName(QStringLiteral("ListBoxPumpTypes"));
    ListBoxPumpTypes->setGeometry(6, 54, 144, 250);
    ListBoxPumpTypes->setItemDelegate(new TPumpStyleDelegate(*this, ListBoxPumpTypes));
    ListBoxPumpTypes->setUniformItemSizes(true);
    BitBtnSavePumpIcon = new QPushButton(QStringLiteral("Save Icon"), PanelPumpIcon);
    BitBtnSavePumpIcon->setObjectName(QStringLiteral("BitBtnSavePumpIcon"));
    BitBtnSavePumpIcon->setGeometry(6, 310, 144, 24);
    BitBtnSavePumpIcon->setAutoDefault(false);
    auto *note =
        new QLabel(QStringLiteral("Pump Icons are for visual reference only. They do not affect calculations."),
                   PanelPumpIcon);
    note->setObjectName(QStringLiteral("LabelPumpIconNote"));
    note->setWordWrap(true);
    note->setGeometry(6, 338, 144, 56);
    PanelPumpIcon->hide();

    connect(BitBtnPumpIcon, &QPushButton::clicked, this, [this] { BitBtnPumpIconClick(); });
    connect(BitBtnSavePumpIcon, &QPushButton::clicked, this, [this] { BitBtnSavePumpIconClick(); });
    connect(ListBoxPumpTypes, &QListWidget::itemClicked, this, [this] { listBoxPumpTypesClick(); });
    connect(ColorBoxPump, &QComboBox::activated, this, [this](int index) { colorBoxPumpChange(index); });
    connect(ComboBoxPumpScale, &QComboBox::activated, this, [this](int index) { comboBoxPumpScaleChange(index); });
}

void TPumpDataForm::fillStyleList()
{
    ListBoxPumpTypes->clear();
    for (int i = 0; i < PumpStyleCount; ++i) {
        auto *item = new QListWidgetItem(QString::number(i), ListBoxPumpTypes);
        item->setSizeHint(QSize(ListBoxPumpTypes->viewport()->width(), StyleEntryHeight));
    }
    const int top = EditedPump.PumpImageIndex;
    if (top >= 0 && top < PumpStyleCount)
        ListBoxPumpTypes->scrollToItem(ListBoxPumpTypes->item(top), QAbstractItemView::PositionAtTop);
}

void TPumpDataForm::BitBtnPumpIconClick()
{
    if (PanelPumpIcon->isHidden()) {
        // The pointer onto the panel, where the platform lets a program move it.
        QCursor::setPos(PanelPumpIcon->mapToGlobal(QPoint(10, 70)));
        const int colour = EditedPump.PumpColorIndex;
        ColorBoxPump->setCurrentIndex(colour >= 0 && colour <= 3 ? colour : 0);
        fillStyleList();
        const double scale = EditedPump.PumpScale;
        ComboBoxPumpScale->setCurrentIndex(scale <= 1.0 ? 0 : scale <= 1.5 ? 1 : scale <= 2.0 ? 2 : scale <= 2.5 ? 3 : 0);
        PanelPumpIcon->show();
        PanelPumpIcon->raise();
        fillStyleList();
    } else {
        PanelPumpIcon->hide();
    }
    UpdatePumpImageSymbol(EditedPump.PumpImageIndex);
}

void TPumpDataForm::listBoxPumpTypesClick()
{
    EditedPump.PumpImageIndex = ListBoxPumpTypes->currentRow();
    ListBoxPumpTypes->viewport()->update();
}

void TPumpDataForm::colorBoxPumpChange(int index)
{
    EditedPump.PumpColorIndex = index;
    ColorBoxPump->update();
    ListBoxPumpTypes->viewport()->update();
}

void TPumpDataForm::comboBoxPumpScaleChange(int index) { EditedPump.PumpScale = 1.0 + 0.5 * index; }

void TPumpDataForm::BitBtnSavePumpIconClick()
{
    PanelPumpIcon->hide();
    UpdatePumpImageSymbol(EditedPump.PumpImageIndex);
}

} // namespace tessaran
