#include "dialogs/Free_Texts_Form.h"

#include <array>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/Dialog_Look.h"
#include "model/Free_Text_Class.h"
#include "network/Network_Class.h"
#include "platform/Text_Lines.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

constexpr std::array<const char *, 6> ColourNames = {"Black", "Gray", "Blue", "Green", "Red", "Purple"};
constexpr std::array<TColor, 6> Colours = {0x000000, 0x808080, 0xFF0000, 0x008000, 0x0000FF, 0x800080};
// Position 13 is known to the mapping but not in the list.
constexpr std::array<int, 14> Sizes = {7, 8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 28, 36, 48};
constexpr int ListedSizes = 13;
constexpr std::array<const char *, 6> StyleNames = {"Normal",     "Italic",      "Underlined",
                                                    "Bold",       "Bold Italic", "Bold Under."};
const std::array<TFontStyles, 6> Styles = {
    TFontStyles{},
    TFontStyles{TFontStyle::fsItalic},
    TFontStyles{TFontStyle::fsUnderline},
    TFontStyles{TFontStyle::fsBold},
    TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic},
    TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline},
};
constexpr int MaxTextLength = 25000;

QColor QColorOf(TColor colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

} // namespace

TColor TFreeTextsForm::ColorOfPosition(int position) { return Colours.at(static_cast<std::size_t>(position)); }

int TFreeTextsForm::PositionOfColor(TColor color)
{
    for (std::size_t i = 0; i < Colours.size(); ++i)
        if (Colours[i] == color)
            return static_cast<int>(i);
    return -1;
}

int TFreeTextsForm::SizeOfPosition(int position) { return Sizes.at(static_cast<std::size_t>(position)); }

int TFreeTextsForm::PositionOfSize(int size)
{
    for (int i = 0; i < ListedSizes; ++i)
        if (Sizes[static_cast<std::size_t>(i)] == size)
            return i;
    return -1;
}

TFontStyles TFreeTextsForm::StyleOfPosition(int position) { return Styles.at(static_cast<std::size_t>(position)); }

int TFreeTextsForm::PositionOfStyle(TFontStyles style)
{
    for (std::size_t i = 0; i < Styles.size(); ++i)
        if (Styles[i] == style)
            return static_cast<int>(i);
    return -1;
}

int TFreeTextsForm::FoldAngle(int angle) { return angle % 360; }

TFreeTextsForm::TFreeTextsForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FreeTextsForm"));
    setWindowTitle(QStringLiteral("Add Free Text"));

    MemoFreeText = Named<QPlainTextEdit>("MemoFreeText", this);
    MemoFreeText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoFreeText->setMinimumSize(360, 120);
    connect(MemoFreeText, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = MemoFreeText->toPlainText();
        if (text.size() > MaxTextLength) {
            QTextCursor cursor = MemoFreeText->textCursor();
            MemoFreeText->setPlainText(text.left(MaxTextLength));
            cursor.setPosition(MaxTextLength);
            MemoFreeText->setTextCursor(cursor);
        }
    });

    auto combo = [this](const char *name, const QStringList &entries) {
        auto *box = Named<QComboBox>(name, this);
        box->addItems(entries);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { UpdateExampleFont(); });
        return box;
    };
    QStringList colourNames, sizeNames, styleNames;
    for (const char *name : ColourNames)
        colourNames << QString::fromLatin1(name);
    for (int i = 0; i < ListedSizes; ++i)
        sizeNames << QString::number(Sizes[static_cast<std::size_t>(i)]);
    for (const char *name : StyleNames)
        styleNames << QString::fromLatin1(name);
    ComboBoxColors = combo("ComboBoxColors", colourNames);
    ComboBoxSize = combo("ComboBoxSize", sizeNames);
    ComboBoxStyle = combo("ComboBoxStyle", styleNames);

    EditAngle = Named<TRightEdit>("EditAngle", this);
    EditAngle->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterIntegerKey(sender, key, true, 4); };
    CheckBoxLeftAlign = Named<QCheckBox>("CheckBoxLeftAlign", QStringLiteral("Left Align to Grid"), this);
    CheckBoxTopAlign = Named<QCheckBox>("CheckBoxTopAlign", QStringLiteral("Top Align to Grid"), this);

    GroupBoxSample = Named<QGroupBox>("GroupBoxSample", QStringLiteral(" Sample of selected font "), this);
    LabelExample = Named<QLabel>("LabelExample", QStringLiteral("Example text in current style"), GroupBoxSample);
    auto *sampleLayout = new QVBoxLayout(GroupBoxSample);
    sampleLayout->addWidget(LabelExample);

    auto button = [this](const char *name, const char *caption) {
        auto *result = Named<QPushButton>(name, QString::fromLatin1(caption), this);
        result->setAutoDefault(false);
        return result;
    };
    BitBtnOK = button("BitBtnOK", "OK");
    BitBtnDelete = button("BitBtnDelete", "Delete");
    BitBtnClear = button("BitBtnClear", "Clear");
    BitBtnCancel = button("BitBtnCancel", "Cancel");
    connect(BitBtnOK, &QPushButton::clicked, this, [this] {
        keep_ = true;
        accept();
    });
    connect(BitBtnDelete, &QPushButton::clicked, this, [this] {
        keep_ = false;
        accept();
    });
    connect(BitBtnClear, &QPushButton::clicked, MemoFreeText, &QPlainTextEdit::clear);
    connect(BitBtnCancel, &QPushButton::clicked, this, &TFreeTextsForm::reject);

    auto *choices = new QGridLayout;
    choices->addWidget(new QLabel(QStringLiteral("Colour"), this), 0, 0);
    choices->addWidget(ComboBoxColors, 0, 1);
    choices->addWidget(new QLabel(QStringLiteral("Size"), this), 1, 0);
    choices->addWidget(ComboBoxSize, 1, 1);
    choices->addWidget(new QLabel(QStringLiteral("Style"), this), 2, 0);
    choices->addWidget(ComboBoxStyle, 2, 1);
    choices->addWidget(new QLabel(QStringLiteral("Angle"), this), 3, 0);
    choices->addWidget(EditAngle, 3, 1);
    choices->addWidget(CheckBoxLeftAlign, 4, 0, 1, 2);
    choices->addWidget(CheckBoxTopAlign, 5, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BitBtnOK, BitBtnDelete, BitBtnClear, BitBtnCancel})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MemoFreeText);
    layout->addLayout(choices);
    layout->addWidget(GroupBoxSample);
    layout->addLayout(buttons);
}

void TFreeTextsForm::OpenForm(const TFreeText &TheFreeText, int TheFreeTextId, TNetwork &TheNetwork)
{
    PaintDialogBackground(this);
    keep_ = true;
    cancelled_ = false;
    UpdateFormFromFreeText(TheFreeText, TheNetwork);
    exec();

    TFreeText &stored = TheNetwork.GetFreeText(TheFreeTextId);
    if (cancelled_) {
        // A label placed just now and cancelled would stay in the network
        // unseen.
        if (QString::fromStdString(stored.GetText()).trimmed().isEmpty())
            TheNetwork.RemoveFreeText(TheFreeTextId);
        return;
    }
    if (!keep_ || MemoFreeText->toPlainText().trimmed().isEmpty()) {
        TheNetwork.RemoveFreeText(TheFreeTextId);
        return;
    }
    UpdateFreeTextFromForm(stored, TheNetwork);
}

void TFreeTextsForm::UpdateFormFromFreeText(const TFreeText &TheFreeText, const TNetwork &TheNetwork)
{
    int snappedX = TheFreeText.x, snappedY = TheFreeText.y;
    TheNetwork.CalcSnapToGridXY(snappedX, snappedY);
    CheckBoxLeftAlign->setChecked(snappedX + 3 == TheFreeText.x);
    CheckBoxTopAlign->setChecked(snappedY == TheFreeText.y);

    // A value the lists do not hold shows no entry and is kept unless the
    // user picks one.
    shownColor_ = TheFreeText.Color;
    shownSize_ = TheFreeText.Size;
    shownStyle_ = TheFreeText.Style;
    ComboBoxColors->setCurrentIndex(PositionOfColor(TheFreeText.Color));
    ComboBoxSize->setCurrentIndex(PositionOfSize(TheFreeText.Size));
    ComboBoxStyle->setCurrentIndex(PositionOfStyle(TheFreeText.Style));

    EditAngle->setText(QString::number(TheFreeText.Angle));
    QStringList lines;
    for (const std::string &line : TheFreeText.TextStrings)
        lines << QString::fromStdString(line);
    MemoFreeText->setPlainText(lines.join(QLatin1Char('\n')));
    UpdateExampleFont();
}

void TFreeTextsForm::UpdateFreeTextFromForm(TFreeText &TheFreeText, const TNetwork &TheNetwork) const
{
    TheFreeText.TextStrings = SplitLines(MemoFreeText->toPlainText().toStdString(), TTrailingBreak::IsDropped);
    const int colour = ComboBoxColors->currentIndex();
    TheFreeText.Color = colour >= 0 ? ColorOfPosition(colour) : shownColor_;
    const int size = ComboBoxSize->currentIndex();
    TheFreeText.Size = size >= 0 ? SizeOfPosition(size) : shownSize_;
    const int style = ComboBoxStyle->currentIndex();
    TheFreeText.Style = style >= 0 ? StyleOfPosition(style) : shownStyle_;

    bool valid = false;
    const int angle = ReadIntegerFromEdit(EditAngle, valid, true, true);
    TheFreeText.Angle = valid ? FoldAngle(angle) : 0;

    int snappedX = TheFreeText.x, snappedY = TheFreeText.y;
    TheNetwork.CalcSnapToGridXY(snappedX, snappedY);
    if (CheckBoxLeftAlign->isChecked())
        TheFreeText.x = snappedX + 3;
    if (CheckBoxTopAlign->isChecked())
        TheFreeText.y = snappedY;
}

void TFreeTextsForm::UpdateExampleFont()
{
    const int colour = ComboBoxColors->currentIndex();
    const int size = ComboBoxSize->currentIndex();
    const int style = ComboBoxStyle->currentIndex();
    const TFontStyles styles = style >= 0 ? StyleOfPosition(style) : shownStyle_;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(size >= 0 ? SizeOfPosition(size) : shownSize_);
    font.setBold(styles.Contains(TFontStyle::fsBold));
    font.setItalic(styles.Contains(TFontStyle::fsItalic));
    font.setUnderline(styles.Contains(TFontStyle::fsUnderline));
    font.setStrikeOut(styles.Contains(TFontStyle::fsStrikeOut));
    LabelExample->setFont(font);
    QPalette palette = LabelExample->palette();
    palette.setColor(QPalette::WindowText, QColorOf(colour >= 0 ? ColorOfPosition(colour) : shownColor_));
    LabelExample->setPalette(palette);
}

void TFreeTextsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    MemoFreeText->setFocus();
}

void TFreeTextsForm::reject()
{
    cancelled_ = true;
    QDialog::reject();
}

void TFreeTextsForm::closeEvent(QCloseEvent *event)
{
    // The close box keeps the edits, as OK does.
    keep_ = true;
    cancelled_ = false;
    event->accept();
    done(QDialog::Accepted);
}

} // namespace tessaran
