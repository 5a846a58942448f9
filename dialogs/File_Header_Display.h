#pragma once
// The "File data" window: shows the header of the data file a database
// dialog last read. A hidden service, opened by Ctrl+Shift+F12 in the
// database dialogs.

#include <QDialog>

class QKeyEvent;
class QLabel;

namespace tessaran {

class TFileHeader;

class TFileHeaderDisplayForm : public QDialog {
    Q_OBJECT
public:
    explicit TFileHeaderDisplayForm(QWidget *parent = nullptr);

    // Puts the three texts on the labels unchanged; does not show the window.
    void SetData(const QString &Version, const QString &Filename, const QString &Filedate);

    QLabel *VersionReferenceLabel;
    QLabel *FilenameLabel;
    QLabel *FileDateLabel;
};

// The one instance, created on first use and destroyed with the application.
TFileHeaderDisplayForm &FileHeaderDisplayForm();

// F12 with exactly Ctrl and Shift held.
bool IsFileDataKey(const QKeyEvent &event);

// Makes Ctrl+Shift+F12 in the dialog show header (read when the key comes)
// in "File data", modally. From any control of the dialog when
// fromAnyControl, else only while the dialog window itself has the focus.
void InstallFileDataKey(QWidget *dialog, const TFileHeader *header, bool fromAnyControl);

} // namespace tessaran
