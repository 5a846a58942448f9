#include "dialogs/File_Header_Display.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "model/FileHeader.h"

namespace tessaran {

namespace {

TFileHeaderDisplayForm *instance = nullptr;

void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

class TFileDataKeyFilter : public QObject {
public:
    TFileDataKeyFilter(QWidget *dialog, const TFileHeader *header, bool fromAnyControl)
        : QObject(dialog), dialog_(dialog), header_(header), fromAnyControl_(fromAnyControl)
    {
    }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !IsFileDataKey(*static_cast<QKeyEvent *>(event)))
            return false;
        if (!seenByDialog(receiver))
            return false;
        TFileHeaderDisplayForm &form = FileHeaderDisplayForm();
        form.SetData(QString::fromStdString(header_->VersionReference), QString::fromStdString(header_->Filename),
                     QString::fromStdString(header_->FileDate));
        form.exec();
        return true;
    }

private:
    bool seenByDialog(QObject *receiver) const
    {
        auto *widget = qobject_cast<QWidget *>(receiver);
        if (!widget)
            return false;
        if (fromAnyControl_)
            return widget == dialog_ || dialog_->isAncestorOf(widget);
        // A key a control leaves unused travels on to the dialog: only a key
        // typed while no control has the focus counts.
        return widget == dialog_ && !dialog_->isAncestorOf(QApplication::focusWidget());
    }

    QWidget *dialog_;
    const TFileHeader *header_;
    bool fromAnyControl_;
};

} // namespace

TFileHeaderDisplayForm::TFileHeaderDisplayForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FileHeaderDisplayForm"));
    setWindowTitle(QStringLiteral("File data"));
    setFixedSize(280, 94);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    auto label = [this](const char *name, int y) {
        auto *result = new QLabel(this);
        result->setObjectName(QString::fromLatin1(name));
        result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        result->setGeometry(20, y, 250, 16);
        return result;
    };
    VersionReferenceLabel = label("VersionReferenceLabel", 20);
    FilenameLabel = label("FilenameLabel", 40);
    FileDateLabel = label("FileDateLabel", 60);
}

void TFileHeaderDisplayForm::SetData(const QString &Version, const QString &Filename, const QString &Filedate)
{
    VersionReferenceLabel->setText(Version);
    FilenameLabel->setText(Filename);
    FileDateLabel->setText(Filedate);
}

TFileHeaderDisplayForm &FileHeaderDisplayForm()
{
    if (!instance) {
        instance = new TFileHeaderDisplayForm;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

bool IsFileDataKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers held =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return event.key() == Qt::Key_F12 && held == (Qt::ShiftModifier | Qt::ControlModifier);
}

void InstallFileDataKey(QWidget *dialog, const TFileHeader *header, bool fromAnyControl)
{
    qApp->installEventFilter(new TFileDataKeyFilter(dialog, header, fromAnyControl));
}

} // namespace tessaran
