#pragma once
// The message-and-dialog service every form shows its message boxes and its
// file, picture and colour dialogs through, and opens documents with the
// desktop's default program. The application installs its Qt implementation
// at start-up; tests install a scripted one that checks each box's text and
// kind and gives the scripted answer.

#include <optional>

#include <QColor>
#include <QPoint>
#include <QString>

class QWidget;

namespace tessaran {

enum class TDialogKind { Information, Warning, Error, Confirmation };

// Buttons of a message box (a set) and the answer (one of them).
enum TDialogButton : unsigned {
    DialogNone = 0,
    DialogOk = 1u << 0,
    DialogCancel = 1u << 1,
    DialogYes = 1u << 2,
    DialogNo = 1u << 3,
    DialogAbort = 1u << 4,
    DialogRetry = 1u << 5,
    DialogIgnore = 1u << 6,
};
using TDialogButtons = unsigned;
constexpr TDialogButtons DialogYesNo = DialogYes | DialogNo;
constexpr TDialogButtons DialogYesNoCancel = DialogYes | DialogNo | DialogCancel;
constexpr TDialogButtons DialogOkCancel = DialogOk | DialogCancel;

// One modal message box. Text lines are separated by "\r", as the program's
// own message texts are written. Without a position the box is centred on
// the screen.
struct TMessageBoxRequest {
    TDialogKind Kind = TDialogKind::Information;
    QString Text;
    TDialogButtons Buttons = DialogOk;
    QWidget *Parent = nullptr;
    std::optional<QPoint> Position;
    // Empty: the caption of the kind ("Information", "Warning", "Error",
    // "Confirm").
    QString Caption;
};

// One file dialog. Filter in Qt's form: "Network files (*.trz);;All files (*)".
struct TFileDialogRequest {
    QString Caption;
    QString Folder;
    QString FileName;
    QString Filter;
    // Added to a typed name without an extension (save dialogs).
    QString DefaultSuffix;
    QWidget *Parent = nullptr;
};

class TDialogService {
public:
    virtual ~TDialogService() = default;

    // Shows the box modally; the button pressed (DialogCancel or DialogNo when
    // the box is closed without one, whichever it has).
    virtual TDialogButton ShowMessageBox(const TMessageBoxRequest &request) = 0;

    // No value when the user cancels.
    virtual std::optional<QString> OpenFileName(const TFileDialogRequest &request) = 0;
    virtual std::optional<QString> SaveFileName(const TFileDialogRequest &request) = 0;
    // File dialogs for pictures, with a preview of the chosen picture.
    virtual std::optional<QString> OpenPictureName(const TFileDialogRequest &request) = 0;
    virtual std::optional<QString> SavePictureName(const TFileDialogRequest &request) = 0;
    virtual std::optional<QColor> ChooseColour(const QColor &initial, QWidget *parent) = 0;

    // Opens a file or an address with the desktop's default program; false
    // when that could not be started.
    virtual bool OpenWithDesktop(const QString &fileOrAddress) = 0;

    // The usual boxes.
    void ShowMessage(TDialogKind kind, const QString &text, QWidget *parent = nullptr);
    bool AskYesNo(TDialogKind kind, const QString &text, QWidget *parent = nullptr);
    TDialogButton AskYesNoCancel(TDialogKind kind, const QString &text, QWidget *parent = nullptr);
};

// The installed service; raises std::logic_error when none is installed.
TDialogService &Dialogs();
// The installed service or null.
TDialogService *InstalledDialogs();
// Installs a service (null removes it) and returns the one it replaces.
TDialogService *InstallDialogs(TDialogService *service);

// The caption of a kind's box, and a message text with its "\r" line
// breaks turned into the widgets' "\n".
QString DialogCaption(TDialogKind kind);
QString DialogDisplayText(const QString &text);

} // namespace tessaran
