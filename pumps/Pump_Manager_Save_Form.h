#pragma once
// The add-to-library dialog: saves the pump editor's pump as a pump file
// into a top folder of the pump library, creates top folders and deletes
// folders and pump files. It works on the disk only; the library index is
// rebuilt by the library dialog whenever it needs it.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaran {

class TNetwork;
class TPump;
class TPumpDatabase;

class TPumpManagerSaveForm : public QDialog {
    Q_OBJECT
public:
    explicit TPumpManagerSaveForm(QWidget *parent = nullptr);

    // Shows the dialog modally on the one form of the program's run.
    static void OpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork);
    static TPumpManagerSaveForm &Instance();
    // The library root, "Pumps" beside the program unless set (tests).
    static QString LibraryRoot();
    static inline QString LibraryRootOverride;

    // Keeps the characters allowed in library names and removes every
    // ".trpm" in any letter case.
    static QString LibraryName(const QString &typed);

    void Open(TPump &ThePump, TNetwork &TheNetwork, int ThePipeId);
    void BuildTree();
    void CreateNewFolderClick();
    void SavePumpToDatabaseClick();
    void DeleteClick();
    // The folder of a node: the root, a top folder, or the folder holding a pump.
    QString FolderPathOf(QTreeWidgetItem *node) const;

    QTreeWidget *TreeViewFolders;
    QLineEdit *EditFolderName, *EditPumpFileName;
    QPushButton *BitBtnCreateFolder, *BitBtnSavePump, *BitBtnCancel;

private:
    TPump *pump_ = nullptr;
    double density_ = 1000;
};

} // namespace tessaran
