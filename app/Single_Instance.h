#pragma once
// One running copy per user. The first start holds a lock file in the
// user's runtime folder and listens on a local socket of the same name; a
// later start finds the lock held, shows the already-running warning, asks
// the first copy over the socket to bring its window forward and stops.
// The operating system drops the lock with the process, so a crash leaves
// nothing that blocks the next start.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLockFile;

namespace tessaran {

inline constexpr const char *SingleInstanceName = "Tessaran6798412480871247";

extern const char *const AlreadyRunningText;

class TSingleInstanceGuard : public QObject {
    Q_OBJECT
public:
    // Folder of the lock and the socket; empty for the user's runtime folder.
    explicit TSingleInstanceGuard(const QString &folder = QString(), QObject *parent = nullptr);
    ~TSingleInstanceGuard() override;

    // True when this start must stop: MaximumInstances copies already run.
    // ShowWarning shows the already-running text before the first copy is
    // asked to come forward.
    bool CheckSingleInstance(const QString &MappingName, int MaximumInstances,
                             const std::function<void(const std::string &)> &ShowWarning);
    void ReleaseSingleInstance();

    bool Counted() const { return counted_; }

    // Runs in the first copy when a later start asks it to come forward.
    std::function<void()> OnRaiseRequested;

private:
    QString path(const QString &name) const;
    void askFirstInstanceToRaise(const QString &serverPath);

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    bool counted_ = false;
};

} // namespace tessaran
