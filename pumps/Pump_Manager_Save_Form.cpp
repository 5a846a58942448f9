#include "pumps/Pump_Manager_Save_Form.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTreeWidget>

#include "model/Pump_Class.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"
#include "pumps/Pump_Database_Class.h"

namespace tessaran {

namespace {

TPumpManagerSaveForm *instance = nullptr;
void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

bool IsPumpNode(const QTreeWidgetItem *node) { return node && node->data(0, PumpTreeImageRole).toInt() == 1; }

} // namespace

TPumpManagerSaveForm::TPumpManagerSaveForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PumpManagerSaveForm"));
    setWindowTitle(QStringLiteral("Pump Database"));
    setModal(true);
    resize(420, 520);
    auto *frame = new QGroupBox(QStringLiteral("  Add Pump to Database "), this);
    frame->setGeometry(8, 8, 404, 504);
    (new QLabel(QStringLiteral("Select Pump Folder"), frame))->setGeometry(10, 20, 200, 16);
    TreeViewFolders = new QTreeWidget(frame);
    TreeViewFolders->setObjectName(QStringLiteral("TreeViewFolders"));
    TreeViewFolders->setGeometry(10, 38, 384, 300);
    TreeViewFolders->setHeaderHidden(true);
    TreeViewFolders->setSortingEnabled(true);
    TreeViewFolders->sortByColumn(0, Qt::AscendingOrder);
    TreeViewFolders->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *deleteAction = new QAction(QStringLiteral("Delete"), TreeViewFolders);
    deleteAction->setObjectName(QStringLiteral("Delete1"));
    deleteAction->setShortcut(QKeySequence::Delete);
    TreeViewFolders->addAction(deleteAction);
    connect(deleteAction, &QAction::triggered, this, [this] { DeleteClick(); });
    connect(TreeViewFolders, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) {
        if (IsPumpNode(node))
            EditPumpFileName->setText(node->text(0).remove(QStringLiteral(".trpm"), Qt::CaseInsensitive));
    });
    EditFolderName = new QLineEdit(frame);
    EditFolderName->setObjectName(QStringLiteral("EditFolderName"));
    EditFolderName->setGeometry(10, 346, 220, 22);
    BitBtnCreateFolder = new QPushButton(QStringLiteral("Create New Folder"), frame);
    BitBtnCreateFolder->setObjectName(QStringLiteral("BitBtnCreateFolder"));
    BitBtnCreateFolder->setGeometry(240, 344, 154, 26);
    (new QLabel(QStringLiteral("Pump Filename"), frame))->setGeometry(10, 384, 200, 16);
    EditPumpFileName = new QLineEdit(frame);
    EditPumpFileName->setObjectName(QStringLiteral("EditPumpFileName"));
    EditPumpFileName->setGeometry(10, 402, 384, 22);
    EditPumpFileName->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z0-9_.\\-]*")),
                                                                   EditPumpFileName));
    BitBtnSavePump = new QPushButton(QStringLiteral("Save Pump to Database"), frame);
    BitBtnSavePump->setObjectName(QStringLiteral("BitBtnSavePump"));
    BitBtnSavePump->setGeometry(10, 440, 180, 28);
    BitBtnCancel = new QPushButton(QStringLiteral("Cancel and Close"), frame);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnCancel->setGeometry(214, 440, 180, 28);
    for (QPushButton *b : {BitBtnCreateFolder, BitBtnSavePump, BitBtnCancel})
        b->setAutoDefault(false);
    connect(BitBtnCreateFolder, &QPushButton::clicked, this, [this] { CreateNewFolderClick(); });
    connect(BitBtnSavePump, &QPushButton::clicked, this, [this] { SavePumpToDatabaseClick(); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { reject(); });
}

TPumpManagerSaveForm &TPumpManagerSaveForm::Instance()
{
    if (!instance) {
        instance = new TPumpManagerSaveForm;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

QString TPumpManagerSaveForm::LibraryRoot()
{
    if (!LibraryRootOverride.isEmpty())
        return LibraryRootOverride;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Pumps");
}

QString TPumpManagerSaveForm::LibraryName(const QString &typed)
{
    QString name;
    for (QChar c : typed)
        if (c == u'-' || c == u'.' || c == u'_' || c == u'~' || (c >= u'0' && c <= u'9') ||
            (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
            name += c;
    return name.remove(QStringLiteral(".trpm"), Qt::CaseInsensitive);
}

void TPumpManagerSaveForm::OpenForm(TPumpDatabase &, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork)
{
    Instance().Open(ThePump, TheNetwork, ThePipeId);
}

void TPumpManagerSaveForm::Open(TPump &ThePump, TNetwork &TheNetwork, int ThePipeId)
{
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(241, 250, 255));
    setPalette(background);
    setAutoFillBackground(true);
    pump_ = &ThePump;
    const double density = TheNetwork.GetPipeFluid(ThePipeId).density_kgs_m3;
    density_ = density > 0 ? density : 1000.0;
    try {
        QDir().mkpath(LibraryRoot());
        BuildTree();
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Cannot Build Pump Database Index.\r\rPlease contact support for "
                                             "assistance. "),
                              this);
        return;
    }
    exec();
    pump_ = nullptr;
}

void TPumpManagerSaveForm::BuildTree()
{
    TreeViewFolders->clear();
    TPumpDatabase::TreeViewBuildFoldersBasedOnFileSystem(*TreeViewFolders, LibraryRoot().toStdString());
    if (QTreeWidgetItem *root = TreeViewFolders->topLevelItem(0))
        root->setExpanded(true);
    TreeViewFolders->sortItems(0, Qt::AscendingOrder);
}

QString TPumpManagerSaveForm::FolderPathOf(QTreeWidgetItem *node) const
{
    QStringList parts;
    for (QTreeWidgetItem *n = node; n && n->parent(); n = n->parent())
        if (!IsPumpNode(n))
            parts.prepend(n->text(0));
    QString path = LibraryRoot();
    for (const QString &part : parts)
        path += QLatin1Char('/') + part;
    return path;
}

void TPumpManagerSaveForm::CreateNewFolderClick()
{
    QTreeWidgetItem *root = TreeViewFolders->topLevelItem(0);
    if (root)
        TreeViewFolders->setCurrentItem(root);
    const QString name = LibraryName(EditFolderName->text());
    // "." and ".." are no folder names of their own.
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Folder name cannot be blank.\r\rPlease enter a folder name and try again. "),
                              this);
        return;
    }
    if (name == QStringLiteral("Pumps")) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Sub folder called ") + name + QStringLiteral(" is not allowed."), this);
        return;
    }
    if (!QDir(LibraryRoot()).mkdir(name) && !QFileInfo(LibraryRoot() + QLatin1Char('/') + name).isDir()) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Cannot create new sub folder.\r\rCheck permission on currently selected  "
                                             "folder. "),
                              this);
        return;
    }
    BuildTree();
}

void TPumpManagerSaveForm::SavePumpToDatabaseClick()
{
    const QString failed = QStringLiteral("Cannot Save Pump File:\r\rPlease check that you have full read/write "
                                          "permission to the folder where Tessaran is installed (and all sub folders)");
    QTreeWidgetItem *node = TreeViewFolders->currentItem();
    if (!node || !pump_) {
        Dialogs().ShowMessage(TDialogKind::Warning, failed, this);
        return;
    }
    if (!node->parent()) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Please select a pump folder to save to."), this);
        return;
    }
    if (EditPumpFileName->text().isEmpty()) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Please enter a filename."), this);
        return;
    }
    const QString name = LibraryName(EditPumpFileName->text());
    // A name of filtered characters only would be the bare extension.
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Please enter a filename."), this);
        return;
    }
    const QString path = FolderPathOf(node) + QLatin1Char('/') + name + QStringLiteral(".trpm");
    if (QFileInfo::exists(path) &&
        !Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("File already exists in selected Pump Folder\r\rDo wish to overwrite the "
                                           "existing file?"),
                            this))
        return;
    bool written = false;
    try {
        TMemoryStream stream;
        pump_->Save(stream, PumpCurrentFileVersion, density_, true);
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            const auto &bytes = stream.Bytes();
            written = file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size())) ==
                          static_cast<qint64>(bytes.size()) &&
                      file.commit();
        }
    } catch (const std::exception &) {
        written = false;
    }
    if (!written) {
        Dialogs().ShowMessage(TDialogKind::Warning, failed, this);
        return;
    }
    Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("The Pump has been saved to the Pump Database."),
                          this);
    accept();
}

void TPumpManagerSaveForm::DeleteClick()
{
    QTreeWidgetItem *node = TreeViewFolders->currentItem();
    if (!node || !node->parent()) {
        Dialogs().ShowMessage(TDialogKind::Warning, QStringLiteral("Error occured: Cannot delete folder.\r\r "), this);
        return;
    }
    const QString folder = FolderPathOf(node);
    if (IsPumpNode(node)) {
        if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                                QStringLiteral("Are you sure you wish to delete the selected pump?\r"), this))
            return;
        const QString path = folder + QLatin1Char('/') + node->text(0);
        if (!QFile::remove(path)) {
            Dialogs().ShowMessage(TDialogKind::Warning,
                                  QStringLiteral("Cannot delete pump file.\r\rCheck permissions on file: \r\r") + path,
                                  this);
            return;
        }
    } else {
        if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                                QStringLiteral("Are you sure you wish to delete the selected folder?\r"), this))
            return;
        if (!QDir().rmdir(folder)) {
            Dialogs().ShowMessage(TDialogKind::Warning,
                                  QStringLiteral("Cannot delete folder.\r\rFolder must be empty before it can be "
                                                 "deleted."),
                                  this);
            return;
        }
    }
    BuildTree();
}

} // namespace tessaran
