#include "app/Single_Instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>

namespace tessaran {

const char *const AlreadyRunningText =
    "Tessaran is already running.\r\rOnly a single copy of Tessaran is permitted to run at any one time.\r\r"
    "Please close the existing instance of the program before trying to run up a new copy of the software.";

namespace {
const QByteArray RaiseRequest = "raise\n";
}

TSingleInstanceGuard::TSingleInstanceGuard(const QString &folder, QObject *parent)
    : QObject(parent), folder_(folder)
{
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder_.isEmpty())
        folder_ = QDir::tempPath();
}

TSingleInstanceGuard::~TSingleInstanceGuard() { ReleaseSingleInstance(); }

QString TSingleInstanceGuard::path(const QString &name) const { return QDir(folder_).filePath(name); }

bool TSingleInstanceGuard::CheckSingleInstance(const QString &MappingName, int MaximumInstances,
                                               const std::function<void(const std::string &)> &ShowWarning)
{
    QDir().mkpath(folder_);
    // One lock file per permitted copy; the first copy also takes the socket.
    for (int slot = 0; slot < std::max(1, MaximumInstances); ++slot) {
        auto lock = std::make_unique<QLockFile>(path(MappingName + (slot == 0 ? QString() : QString::number(slot)) +
                                                     ".lock"));
        lock->setStaleLockTime(0); // only a dead holder makes a lock stale, never its age
        if (!lock->tryLock(0))
            continue;
        lock_ = std::move(lock);
        counted_ = true;
        if (slot == 0) {
            const QString serverPath = path(MappingName);
            QLocalServer::removeServer(serverPath); // a socket left by a crashed copy
            server_ = std::make_unique<QLocalServer>();
            connect(server_.get(), &QLocalServer::newConnection, this, [this] {
                while (QLocalSocket *socket = server_->nextPendingConnection()) {
                    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                        if (socket->readAll().contains(RaiseRequest.trimmed()) && OnRaiseRequested)
                            OnRaiseRequested();
                    });
                }
            });
            server_->listen(serverPath);
        }
        return false;
    }
    if (ShowWarning)
        ShowWarning(AlreadyRunningText);
    askFirstInstanceToRaise(path(MappingName));
    return true;
}

void TSingleInstanceGuard::askFirstInstanceToRaise(const QString &serverPath)
{
    QLocalSocket socket;
    socket.connectToServer(serverPath);
    if (!socket.waitForConnected(1000))
        return;
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
}

void TSingleInstanceGuard::ReleaseSingleInstance()
{
    if (server_) {
        server_->close();
        server_.reset();
    }
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
    counted_ = false;
}

} // namespace tessaran
