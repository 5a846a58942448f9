#pragma once
// The example systems browser: the shipped networks of "ExampleSystems"
// (liquids) and "ExampleSystemsCompressible" (gases) by category, with the
// picture and description of the selected one, loaded into the current tab.

#include <QDialog>

#include <array>
#include <string>

class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabBar;

namespace tessaran {

class TNetwork;
class TNetworkForm;

class TExamplesForm : public QDialog {
    Q_OBJECT
public:
    // The category prefixes in the order they are listed.
    static constexpr std::array<const char *, 4> Prefixes{"Common_", "General_", "Isometric_", "Gases_"};

    explicit TExamplesForm(TNetworkForm &MainWindow, QWidget *parent = nullptr);

    void OpenForm(TNetwork &TheNetwork, bool &FileLoaded, bool ShowFormModal);
    void UpdateFormExampleSystemsList();
    void UpdateFormFromSelection();
    void AddSystem(QListWidget &TheListBox, const std::string &path, const std::string &file_name);
    void BitBtnLoadClick();
    void TabControlExampleSystemsChange();
    void ListBoxFilenamesClick() { UpdateFormFromSelection(); }
    void BitBtnCancelClick() { close(); }
    void BitBtnCloseClick() { close(); }
    void FormCreate();

    // The remembered list position of the current tab (0 liquids, 1 gases).
    int &CurrentExampleIndex();
    // Whether the last opening loaded an example.
    bool Loaded() const { return loaded_; }
    std::string ExampleFolderName = "ExampleSystems";
    int ExampleIndexLiquids = 0;
    int ExampleIndexGases = 0;

    QLabel *Image1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label1 = nullptr;
    QTabBar *TabControlExampleSystems = nullptr;
    QListWidget *ListBoxFilenames = nullptr;
    QLabel *Label3 = nullptr;
    QGroupBox *GroupBoxImage = nullptr;
    QLabel *ImageExample = nullptr;
    QLabel *LabelNoImageFile = nullptr;
    QLabel *LabelDescription = nullptr;
    QPlainTextEdit *MemoExampleText = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *BitBtnLoad = nullptr;
    QPushButton *BitBtnCancel = nullptr;
    QPushButton *BitBtnClose = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::string folderPath() const;
    void showPicture(const QString &jpegPath);
    void showDescription(const QString &textPath);
    void folderFromTab();

    TNetworkForm &main_;
    TNetwork *network_ = nullptr;
    bool loaded_ = false;
};

} // namespace tessaran
