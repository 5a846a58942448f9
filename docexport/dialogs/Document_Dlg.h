#pragma once
// The export setup dialogs: the general one, its plain-sheet extension and
// the background picture's preview window. A dialog reads every value from
// its engine when shown and writes every value back on OK; it keeps no
// settings of its own. Each extension adds its controls and does its own
// part of showing and of OK before the part of the dialog it extends.

#include "docexport/Document_Engine.h"
#include "docexport/Graphics_Attributes.h"

#include <optional>

#include <QDialog>
#include <QPoint>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QVBoxLayout;

namespace tessaran {

class TColourSwatch;

// An entry that must hold a number and does not: the field, and the
// conversion error the user is shown.
struct TEntryError {
    QLineEdit *Field = nullptr;
    QString Message;
};

class TdeDocumentDlg : public QDialog, public TdeBaseDlg {
    Q_OBJECT
public:
    explicit TdeDocumentDlg(QWidget *parent = nullptr);

    void SetEngine(TdeCustomDocumentEngine *engine) { Engine = engine; }
    // mrOk or mrCancel.
    int ShowModal() override;

    // The list entry's page, named in the caption strip.
    void lbDocumentDlgClick();

protected:
    // Builds the controls only: an extension adds its own and then calls
    // FormCreate, so that the captions and lists are its own.
    struct TNoCreate {};
    TdeDocumentDlg(QWidget *parent, TNoCreate);

    // Sets every caption; an extension sets its own after the inherited ones.
    virtual void LoadCaptions();
    // Fills the controls from the engine.
    virtual void FormShow();
    // Every number entry checked before anything is written, so that OK
    // writes all the settings or none.
    virtual std::optional<TEntryError> CheckEntries() const;
    virtual void WriteSettings();

    void showEvent(QShowEvent *event) override;
    void btnOKClick();
    // Adds a page to the page control and, with a text, its list entry.
    QWidget *AddPage(const char *name, const QString &listEntry);
    // Finishes construction (captions, lists, first page); each most derived
    // constructor calls it once its own controls exist.
    void FormCreate();
    virtual void FillLists();

    void rbtnAllClick();
    void rbtnPagesClick();
    void edPagesChange(const QString &text);
    void cbOutputImageFormatChange();
    void chkImageClick();
    void btnSelectImageClick();
    void btnImgPrvwClick();
    void btnClearClick();
    void chkEMailAfterCreateClick();
    void chkAuthenticationClick();
    void SwatchMouseDown(Qt::MouseButton button, QPoint position);
    void SwatchMouseUp(TColourSwatch &swatch, Qt::MouseButton button, QPoint position);
    // Shows the picture on the Background page and enables what goes with it.
    void ShowBackgroundPicture(const TdePicture &picture);

    // Page control and list.
    QListWidget *lbDocumentDlg = nullptr;
    QLabel *lblDialogCaption = nullptr;
    QStackedWidget *pcDocument = nullptr;
    QWidget *tsPreferences = nullptr, *tsContent = nullptr, *tsBackground = nullptr, *tsEMailInfo = nullptr;
    QPushButton *btnOK = nullptr, *btnCancel = nullptr;
    QVBoxLayout *PreferencesLayout = nullptr;

    // Preferences.
    QGroupBox *gbPageRange = nullptr;
    QRadioButton *rbtnAll = nullptr, *rbtnPages = nullptr;
    QLineEdit *edPages = nullptr;
    QLabel *lblPageExample = nullptr;
    QCheckBox *chkUseImagesAsResources = nullptr, *chkOpenAfterCreate = nullptr, *chkProcessAfterEachPage = nullptr,
              *chkActiveHyperLinks = nullptr;

    // Content.
    QGroupBox *gbItemsToRender = nullptr;
    QCheckBox *chkText = nullptr, *chkShape = nullptr, *chkImage = nullptr;
    QGroupBox *gbImageSettings = nullptr;
    QLabel *lblOutputImageFormat = nullptr, *lblJPEGQuality = nullptr, *lblImagePixelFormat = nullptr,
           *lblSourceDPI = nullptr;
    QComboBox *cbOutputImageFormat = nullptr, *cbImagePixelFormat = nullptr;
    QLineEdit *edJPEGQuality = nullptr, *edSourceDPI = nullptr;
    QGroupBox *gbDocInfo = nullptr;
    QLabel *lblAuthor = nullptr, *lblCreator = nullptr, *lblKeywords = nullptr, *lblSubject = nullptr,
           *lblTitle = nullptr;
    QLineEdit *edAuthor = nullptr, *edCreator = nullptr, *edKeywords = nullptr, *edSubject = nullptr,
              *edTitle = nullptr;

    // Background.
    QLabel *lblBackgroundImage = nullptr, *imgBackgroundImage = nullptr, *lblBackgroundDisplayType = nullptr,
           *lblBackgroundColor = nullptr;
    QPushButton *btnSelectImage = nullptr, *btnImgPrvw = nullptr, *btnClear = nullptr;
    QComboBox *cbBackgroundDisplayType = nullptr;
    TColourSwatch *shpBackgroundColor = nullptr;
    TdePicture BackgroundPicture;

    // E-mail (a page with no list entry).
    QCheckBox *chkEMailAfterCreate = nullptr, *chkAuthentication = nullptr;
    QGroupBox *gbEMail = nullptr, *gbAuthentication = nullptr;
    QLineEdit *edHost = nullptr, *edPort = nullptr, *edUserID = nullptr, *edPassword = nullptr, *edFrom = nullptr,
              *edTo = nullptr, *edCC = nullptr, *edBCC = nullptr, *edEMailSubject = nullptr;
    QPlainTextEdit *memoBody = nullptr;

    // Where the last press on a colour swatch was.
    QPoint MousePoint;

private:
    void buildPreferences();
    void buildContent();
    void buildBackground();
    void buildEMail();
    bool shown_ = false;
};

class TdePlainSheetDlg : public TdeDocumentDlg {
    Q_OBJECT
public:
    explicit TdePlainSheetDlg(QWidget *parent = nullptr);

protected:
    TdePlainSheetDlg(QWidget *parent, TNoCreate);

    void LoadCaptions() override;
    void FormShow() override;
    std::optional<TEntryError> CheckEntries() const override;
    void WriteSettings() override;
};

// The background picture at its own size in a window of its own.
class TdeImgPrvwDlg : public QDialog {
    Q_OBJECT
public:
    explicit TdeImgPrvwDlg(QWidget *parent = nullptr);
    void SetPicture(const QImage &image);

    QLabel *imgBgImgPrvw = nullptr;
    static constexpr int Border = 5;
};

// The text of the platform's conversion error for an entry that is no integer.
QString NotAValidInteger(const QString &text);

} // namespace tessaran
