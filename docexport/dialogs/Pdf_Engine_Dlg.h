#pragma once
// The PDF engine's setup dialog: the plain-sheet dialog's pages and rules
// with the PDF settings added (font embedding, the background, compression,
// encryption with its passwords and permissions, font encoding, how a viewer
// opens the document, page transitions and the digital signature).

#include "docexport/dialogs/Document_Dlg.h"

class QButtonGroup;
class QDateTimeEdit;
class QTabWidget;

namespace tessaran {

class TdeCustomPDFEngine;

class TdePDFEngineDlg : public TdePlainSheetDlg {
    Q_OBJECT
public:
    explicit TdePDFEngineDlg(QWidget *parent = nullptr);

protected:
    void LoadCaptions() override;
    void FillLists() override;
    void FormShow() override;
    std::optional<TEntryError> CheckEntries() const override;
    void WriteSettings() override;

    void chkCompressDocumentClick();
    void chkEnableEncryptionClick();
    // The four permissions that only 128-bit encryption carries are usable
    // only with that level.
    void cbEncryptionLevelChange();
    // Leaving a confirmation field while encryption is on: a confirmation
    // that differs from its password is reported and the password field
    // takes the focus.
    void edConfirmPasswordExit(QLineEdit *confirmation);
    void cbPageTransitionEffectChange();
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The message of a password and its differing confirmation, if any.
    std::optional<TEntryError> PasswordMismatch(QLineEdit *confirmation) const;

    // The signature pages follow Digitally Sign Document; with it on the
    // field position follows Field Visible On Page.
    void chkDigitallySignClick();
    void chkSigFieldVisibleClick();
    // Leaving the left or right bound: a value beyond the page width (in the
    // engine's unit) is refused.
    void edSigFieldBoundsRangeValidate(QLineEdit *bound);
    void btnSelectCertFileClick();
    // Leaving a confirmation field while signing: differing certificate
    // passwords are reported, matching ones put the certificate's subject
    // name into Author.
    void edSigConfirmExit(QLineEdit *confirmation);
    void rgDateClick();
    void datetimeSigDateTimeValidate();
    std::optional<TEntryError> CertPasswordMismatch() const;
    // The subject name of the certificate file opened with its password;
    // empty when it cannot be read.
    std::string CertificateSubjectName() const;
    double BoundsLimit() const;

    TdeCustomPDFEngine &PDFEngine() const;

    QGroupBox *rgpEmbedTrueTypeFonts = nullptr;
    QButtonGroup *EmbedButtons = nullptr;
    QWidget *tsPDFAdvanced = nullptr, *tsViewerPreferences = nullptr;
    QCheckBox *chkCompressDocument = nullptr;
    QGroupBox *gbCompression = nullptr;
    QLabel *lblCompressionLevel = nullptr, *lblEncoding = nullptr;
    QComboBox *cbCompressionLevel = nullptr, *cbEncoding = nullptr;
    QCheckBox *chkEnableEncryption = nullptr;
    QGroupBox *gbEncryption = nullptr, *gbUserPermissions = nullptr;
    QLabel *lblOwnerPassword = nullptr, *lblConfirmOwnerPassword = nullptr, *lblUserPassword = nullptr,
           *lblConfirmUserPassword = nullptr, *lblEncryptionLevel = nullptr;
    QLineEdit *edOwnerPassword = nullptr, *edConfirmOwnerPassword = nullptr, *edUserPassword = nullptr,
              *edConfirmUserPassword = nullptr;
    QComboBox *cbEncryptionLevel = nullptr;
    QCheckBox *chkCopy = nullptr, *chkModify = nullptr, *chkPrint = nullptr, *chkFormFill = nullptr,
              *chkAnnotation = nullptr, *chkAccessibility = nullptr, *chkDocumentAssembly = nullptr,
              *chkHighResolutionPrint = nullptr;
    QLabel *lblPageLayout = nullptr, *lblPageMode = nullptr, *lblPageTransitionEffect = nullptr,
           *lblPageTransitionDuration = nullptr, *lblSecs = nullptr;
    QComboBox *cbPageLayout = nullptr, *cbPageMode = nullptr, *cbPageTransitionEffect = nullptr;
    QGroupBox *gbHideUIElements = nullptr, *gbPresentationMode = nullptr;
    QCheckBox *chkMenuBar = nullptr, *chkToolBar = nullptr, *chkNavigationControls = nullptr;
    QLineEdit *edPageTransitionDuration = nullptr;

    // Digital signature.
    QWidget *tsDigitalSign = nullptr;
    QCheckBox *chkDigitallySign = nullptr;
    QTabWidget *pcDigitalSignature = nullptr;
    QWidget *tsSigFieldProperties = nullptr, *tsSigProperties = nullptr;
    QLabel *lblSigFieldName = nullptr, *lblSigFieldPageNo = nullptr, *lblSigFieldLeft = nullptr,
           *lblSigFieldTop = nullptr, *lblSigFieldRight = nullptr, *lblSigFieldBottom = nullptr,
           *lblSigFillColor = nullptr;
    QLineEdit *edSigFieldName = nullptr, *edSigFieldPageNo = nullptr, *edSigFieldLeft = nullptr,
              *edSigFieldTop = nullptr, *edSigFieldRight = nullptr, *edSigFieldBottom = nullptr;
    QCheckBox *chkSigFieldVisible = nullptr;
    QGroupBox *gbSigFieldPos = nullptr, *gbSigFieldBounds = nullptr, *gbSigAppearenceText = nullptr;
    TColourSwatch *shpSigFillColor = nullptr;
    QCheckBox *chkSigShowName = nullptr, *chkSigShowReason = nullptr, *chkSigShowLocation = nullptr,
              *chkSigShowDate = nullptr, *chkSigShowLabels = nullptr;
    QLabel *lblSigCertFileName = nullptr, *lblSigCertPassword = nullptr, *lblSigConfirmCertPassword = nullptr,
           *lblSigAuthor = nullptr, *lblSigContactInfo = nullptr, *lblSigReason = nullptr, *lblSigLocation = nullptr;
    QLineEdit *edSigCertFileName = nullptr, *edSigCertPassword = nullptr, *edSigConfirmCertPassword = nullptr,
              *edSigAuthor = nullptr, *edSigContactInfo = nullptr, *edSigReason = nullptr, *edSigLocation = nullptr;
    QPushButton *btnSelectCertFile = nullptr;
    QGroupBox *rgDate = nullptr;
    QButtonGroup *DateButtons = nullptr;
    QDateTimeEdit *datetimeSigDateTime = nullptr;
    // Set while the form fills the controls, so that no rule answers it.
    bool Showing = false;
};

// Makes the PDF engines show this dialog when their setup dialog is asked for.
void InstallPDFEngineSetupDialog();

} // namespace tessaran
