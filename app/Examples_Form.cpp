// The example systems browser.
#include "app/Examples_Form.h"

#include "app/NetworkForm.h"
#include "app/Program_Folder.h"
#include "app/Status_Bar.h"
#include "network/Network_Class.h"
#include "network/User_Interface_Seam.h"
#include "platform/Codepage1252.h"
#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"
#include "units/widgets/Memo_Margins.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

#include <stdexcept>

namespace tessaran {

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QString NoDescriptionText = QStringLiteral("No description file is present for this example system.");

// Passes the network's messages on and notes whether the load refused the
// file: the network then clears itself and says so, and reports nothing else.
class LoadWatch : public TUserInterfaceSeam {
public:
    explicit LoadWatch(TUserInterfaceSeam *next) : next_(next) {}
    void ShowMessage(TMessageKind kind, const std::string &text) override
    {
        if (text == "The file does not have the correct format and cannot be loaded.\r" ||
            text.starts_with("The file was produced by Tessaran version "))
            Refused = true;
        next_->ShowMessage(kind, text);
    }
    bool AskYesNo(TMessageKind kind, const std::string &text) override { return next_->AskYesNo(kind, text); }
    void ProcessMessages() override { next_->ProcessMessages(); }
    int TestResultsMode() const override { return next_->TestResultsMode(); }
    bool Refused = false;

private:
    TUserInterfaceSeam *next_;
};

} // namespace

TExamplesForm::TExamplesForm(TNetworkForm &MainWindow, QWidget *parent) : QDialog(parent), main_(MainWindow)
{
    setObjectName(QStringLiteral("ExamplesForm"));
    setWindowTitle(QStringLiteral("Example Systems"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(930, 661);
    setModal(true);

    Image1 = named(new QLabel(this), "Image1");
    Image1->setGeometry(0, 0, 930, 50);
    Image1->setStyleSheet(QStringLiteral("background-color: #1F4E79;"));
    Label5 = named(new QLabel(QStringLiteral("Load, View, and Run Calculations"), this), "Label5");
    Label5->setGeometry(16, 10, 600, 30);
    Label5->setStyleSheet(QStringLiteral("color: white; font-size: 16pt; font-weight: bold;"));
    Label1 = named(new QLabel(QStringLiteral("Select an Example System"), this), "Label1");
    Label1->setGeometry(16, 58, 300, 20);

    TabControlExampleSystems = named(new QTabBar(this), "TabControlExampleSystems");
    TabControlExampleSystems->addTab(QStringLiteral("Liquids (Non-Compressible)"));
    TabControlExampleSystems->addTab(QStringLiteral("Gases (Compressible)"));
    TabControlExampleSystems->setGeometry(16, 82, 320, 26);
    ListBoxFilenames = named(new QListWidget(this), "ListBoxFilenames");
    ListBoxFilenames->setGeometry(16, 108, 320, 470);
    ListBoxFilenames->installEventFilter(this);

    Label3 = named(new QLabel(QStringLiteral("Double Click on the image or Click on the 'Load Example System' "
                                             "button to open the system.  "),
                              this),
                   "Label3");
    Label3->setGeometry(350, 58, 565, 20);
    GroupBoxImage = named(new QGroupBox(this), "GroupBoxImage");
    GroupBoxImage->setGeometry(350, 80, 566, 356);
    GroupBoxImage->setAutoFillBackground(true);
    ImageExample = named(new QLabel(GroupBoxImage), "ImageExample");
    ImageExample->setGeometry(3, 3, 560, 350);
    ImageExample->setScaledContents(true);
    ImageExample->installEventFilter(this);
    LabelNoImageFile = named(new QLabel(QStringLiteral("There is no image file for this system."), GroupBoxImage),
                             "LabelNoImageFile");
    LabelNoImageFile->setGeometry(150, 160, 300, 20);
    LabelNoImageFile->hide();

    LabelDescription = named(new QLabel(QStringLiteral("Example Description"), this), "LabelDescription");
    LabelDescription->setGeometry(350, 440, 565, 20);
    MemoExampleText = named(new QPlainTextEdit(this), "MemoExampleText");
    MemoExampleText->setGeometry(350, 462, 566, 116);
    // Read only and without a text cursor: the text can be read and selected
    // with the mouse, never seemingly typed into.
    MemoExampleText->setReadOnly(true);
    MemoExampleText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    MemoExampleText->setCursorWidth(0);
    Label4 = named(new QLabel(QStringLiteral("After loading, Click on 'Calculate' to solve the flow rates and "
                                             "pressure drops throughout the system."),
                              this),
                   "Label4");
    Label4->setGeometry(16, 590, 700, 20);

    BitBtnLoad = named(new QPushButton(QStringLiteral("Load Example System"), this), "BitBtnLoad");
    BitBtnLoad->setGeometry(560, 618, 180, 32);
    BitBtnCancel = named(new QPushButton(QStringLiteral("Close"), this), "BitBtnCancel");
    BitBtnCancel->setGeometry(750, 618, 166, 32);
    BitBtnClose = named(new QPushButton(QStringLiteral("Close"), this), "BitBtnClose");
    BitBtnClose->setGeometry(750, 618, 166, 32);
    BitBtnClose->hide();

    connect(TabControlExampleSystems, &QTabBar::currentChanged, this, &TExamplesForm::TabControlExampleSystemsChange);
    connect(ListBoxFilenames, &QListWidget::itemClicked, this, &TExamplesForm::ListBoxFilenamesClick);
    connect(ListBoxFilenames, &QListWidget::currentRowChanged, this, [this] {
        if (ListBoxFilenames->signalsBlocked())
            return;
        UpdateFormFromSelection();
    });
    connect(ListBoxFilenames, &QListWidget::itemDoubleClicked, this, &TExamplesForm::BitBtnLoadClick);
    connect(BitBtnLoad, &QPushButton::clicked, this, &TExamplesForm::BitBtnLoadClick);
    connect(BitBtnCancel, &QPushButton::clicked, this, &TExamplesForm::BitBtnCancelClick);
    connect(BitBtnClose, &QPushButton::clicked, this, &TExamplesForm::BitBtnCloseClick);
    FormCreate();
}

void TExamplesForm::FormCreate() { ExampleFolderName = "ExampleSystems"; }

int &TExamplesForm::CurrentExampleIndex()
{
    return TabControlExampleSystems->currentIndex() == 1 ? ExampleIndexGases : ExampleIndexLiquids;
}

void TExamplesForm::folderFromTab()
{
    ExampleFolderName =
        TabControlExampleSystems->currentIndex() == 1 ? "ExampleSystemsCompressible" : "ExampleSystems";
}

std::string TExamplesForm::folderPath() const { return ProgramFolder() + ExampleFolderName + "/"; }

bool TExamplesForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListBoxFilenames && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            BitBtnLoadClick();
            return true;
        }
    }
    if (watched == ImageExample && event->type() == QEvent::MouseButtonDblClick) {
        BitBtnLoadClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TExamplesForm::OpenForm(TNetwork &TheNetwork, bool &FileLoaded, bool ShowFormModal)
{
    try {
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor(0xF1, 0xFA, 0xFF));
        setPalette(colours);
        loaded_ = false;
        network_ = &TheNetwork;
        SetMemoMargins(*MemoExampleText, 6, 6, 4, 2);
        UpdateFormExampleSystemsList();
        if (ShowFormModal) {
            if (parentWidget())
                move(parentWidget()->geometry().center() - rect().center());
            exec();
        }
        FileLoaded = loaded_;
    } catch (...) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("An error occured while attempting to read the example systems "
                                             "folder.\r\rPlease check that your program was installed correctly "
                                             "without errors."),
                              this);
    }
}

void TExamplesForm::TabControlExampleSystemsChange()
{
    folderFromTab();
    UpdateFormExampleSystemsList();
}

void TExamplesForm::UpdateFormExampleSystemsList()
{
    {
        const QSignalBlocker blocker(ListBoxFilenames);
        ListBoxFilenames->clear();
        const QDir folder(QString::fromStdString(folderPath()));
        for (const char *prefix : Prefixes) {
            const QStringList names = folder.entryList({QString::fromLatin1(prefix) + QStringLiteral("*.trz")},
                                                       QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
            for (const QString &name : names)
                AddSystem(*ListBoxFilenames, folderPath(), name.toStdString());
        }
        int &position = CurrentExampleIndex();
        if (position < 0 || position >= ListBoxFilenames->count())
            position = 0;
        if (ListBoxFilenames->count() > 0)
            ListBoxFilenames->setCurrentRow(position);
    }
    UpdateFormFromSelection();
}

void TExamplesForm::showPicture(const QString &jpegPath)
{
    QImage picture;
    if (QFileInfo(jpegPath).isFile() && picture.load(jpegPath)) {
        ImageExample->setPixmap(QPixmap::fromImage(picture));
        ImageExample->show();
        LabelNoImageFile->hide();
        GroupBoxImage->setPalette(QPalette());
    } else {
        QPalette colours = GroupBoxImage->palette();
        colours.setColor(QPalette::Window, QColor(0xF1, 0xFA, 0xFF));
        GroupBoxImage->setPalette(colours);
        ImageExample->clear();
        ImageExample->hide();
        LabelNoImageFile->show();
    }
}

void TExamplesForm::showDescription(const QString &textPath)
{
    MemoExampleText->clear();
    QFile file(textPath);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        MemoExampleText->setPlainText(NoDescriptionText);
        return;
    }
    const QByteArray bytes = file.readAll();
    QString text = QString::fromStdString(Cp1252ToUtf8(std::string_view(bytes.constData(), bytes.size())));
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    MemoExampleText->setPlainText(text);
}

void TExamplesForm::AddSystem(QListWidget &TheListBox, const std::string &path, const std::string &file_name)
{
    TheListBox.addItem(QString::fromStdString(file_name));
    LabelNoImageFile->hide();
    const QString base = QString::fromStdString(path) + QFileInfo(QString::fromStdString(file_name)).completeBaseName();
    showPicture(base + QStringLiteral(".jpg"));
    showDescription(base + QStringLiteral(".txt"));
}

void TExamplesForm::UpdateFormFromSelection()
{
    try {
        folderFromTab();
        if (ListBoxFilenames->currentRow() >= 0)
            CurrentExampleIndex() = ListBoxFilenames->currentRow();
        if (ListBoxFilenames->currentRow() < 0 && ListBoxFilenames->count() > 0) {
            const QSignalBlocker blocker(ListBoxFilenames);
            ListBoxFilenames->setCurrentRow(0);
        }
        const QListWidgetItem *item = ListBoxFilenames->currentItem();
        if (!item)
            throw std::runtime_error("no example selected");
        LabelDescription->setText(item->text());
        const QString base =
            QString::fromStdString(folderPath()) + QFileInfo(item->text()).completeBaseName();
        showPicture(base + QStringLiteral(".jpg"));
        showDescription(base + QStringLiteral(".txt"));
    } catch (...) {
        MemoExampleText->clear();
        MemoExampleText->setPlainText(QStringLiteral("Cannot read \"") + QString::fromStdString(ExampleFolderName) +
                                      QStringLiteral("\" folder.\nPlease check that this folder exists beneath the "
                                                     "folder where Tessaran is installed."));
    }
}

void TExamplesForm::BitBtnLoadClick()
{
    try {
        const QListWidgetItem *item = ListBoxFilenames->currentItem();
        if (!item || !network_)
            throw std::runtime_error("no example selected");
        const std::string fileName = item->text().toStdString();
        const std::string path = folderPath() + fileName;
        main_.CurrentFilename = path;
        main_.setWindowTitle(QString::fromStdString(main_.WindowTitle) + " - " + item->text());
        main_.TabControl1->setTabText(main_.CurrentTabIndex - 1, item->text());
        main_.StatusBar1->SetPanelText(2, QStringLiteral(" "));

        TMemoryStream stream;
        stream.LoadFromFile(path);
        // A file the network refuses is a failed load, not an example loaded.
        TUserInterfaceSeam *userInterface = network_->UserInterface;
        LoadWatch watch(userInterface);
        network_->UserInterface = &watch;
        try {
            network_->Load(stream);
        } catch (...) {
            network_->UserInterface = userInterface;
            throw;
        }
        network_->UserInterface = userInterface;
        if (watch.Refused)
            throw std::runtime_error("example could not be read");

        loaded_ = true;
        close();
        CurrentExampleIndex() = ListBoxFilenames->currentRow();
        main_.AddRecentFile(path);
        main_.RefillFluidZoneList();
        main_.ClickCalculateTextOnOff();
    } catch (...) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("An error occured while attempting to load an example system.\r\r"
                                             "Please check that your program was installed correctly without "
                                             "errors."),
                              this);
        close();
        main_.FileNewClick();
    }
}

} // namespace tessaran
