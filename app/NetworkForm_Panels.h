#pragma once
// Helpers shared by the node and pipe panels' source files.

#include <QEvent>
#include <QLineEdit>
#include <QObject>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QString>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace tessaran {

// Blocks the signals of a panel's controls while a fill sets them, so that
// only the user's own edits reach the handlers.
class TPanelSignalBlock {
public:
    explicit TPanelSignalBlock(std::initializer_list<QObject *> controls)
    {
        for (QObject *control : controls)
            if (control)
                blockers_.push_back(std::make_unique<QSignalBlocker>(control));
    }

private:
    std::vector<std::unique_ptr<QSignalBlocker>> blockers_;
};

// Runs its action for a left press on the panel itself (not on a control).
class TPanelClickFilter : public QObject {
public:
    TPanelClickFilter(QObject *panel, std::function<void()> action) : QObject(panel), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && watched == parent() && action_)
            action_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

// Selects a box's whole text when the box takes the focus.
class TSelectOnEntry : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            if (auto *edit = qobject_cast<QLineEdit *>(watched))
                QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        return QObject::eventFilter(watched, event);
    }
};

// A notes box's text as a fill puts it there; it is the text an over-long
// entry falls back to.
void SetNotesText(QPlainTextEdit *memo, const QString &text);
// False, with the text put back as it was before the change, when the
// change would make the notes longer than the item stores.
bool LimitNotesAtEntry(QPlainTextEdit *memo, int limit);

} // namespace tessaran
