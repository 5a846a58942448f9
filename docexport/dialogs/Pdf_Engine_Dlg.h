#pragma once
// The PDF engine's setup dialog: the plain-sheet dialog's pages and rules
// with the PDF settings added (font embedding, the background, compression,
// encryption with its passwords and permissions, font encoding, how a viewer
// opens the document and page transitions).

#include "docexport/dialogs/Document_Dlg.h"

class QButtonGroup;

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
};

// Makes the PDF engines show this dialog when their setup dialog is asked for.
void InstallPDFEngineSetupDialog();

} // namespace tessaran
