#include "app/Single_Instance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

bool waitFor(const std::function<bool()> &condition, int milliseconds = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

TEST(SingleInstance, ASecondStartIsRefusedAndTheFirstAskedToComeForward)
{
    QTemporaryDir folder;
    TSingleInstanceGuard first(folder.path());
    int raised = 0;
    first.OnRaiseRequested = [&raised] { ++raised; };
    ASSERT_FALSE(first.CheckSingleInstance(SingleInstanceName, 1, {}));
    EXPECT_TRUE(first.Counted());

    std::vector<std::string> warnings;
    TSingleInstanceGuard second(folder.path());
    EXPECT_TRUE(second.CheckSingleInstance(SingleInstanceName, 1,
                                           [&warnings](const std::string &text) { warnings.push_back(text); }));
    EXPECT_FALSE(second.Counted());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], AlreadyRunningText);
    EXPECT_TRUE(waitFor([&raised] { return raised == 1; }));

    // Once the first is gone, a start registers again.
    first.ReleaseSingleInstance();
    TSingleInstanceGuard third(folder.path());
    EXPECT_FALSE(third.CheckSingleInstance(SingleInstanceName, 1, {}));
}

TEST(SingleInstance, ALockLeftByAProcessThatDiedDoesNotBlock)
{
    QTemporaryDir folder;
    QProcess gone; // tells its own id and ends
    gone.start("sh", {"-c", "echo $$"});
    ASSERT_TRUE(gone.waitForFinished());
    const QByteArray deadPid = gone.readAllStandardOutput().trimmed();
    ASSERT_FALSE(deadPid.isEmpty());
    QFile lock(folder.filePath(QString(SingleInstanceName) + ".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(deadPid + "\ntessaran\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    QFile socket(folder.filePath(SingleInstanceName)); // a socket file left behind too
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    TSingleInstanceGuard guard(folder.path());
    EXPECT_FALSE(guard.CheckSingleInstance(SingleInstanceName, 1, {}));
    // And it listens: a later start is refused and reaches it.
    int raised = 0;
    guard.OnRaiseRequested = [&raised] { ++raised; };
    TSingleInstanceGuard later(folder.path());
    EXPECT_TRUE(later.CheckSingleInstance(SingleInstanceName, 1, {}));
    EXPECT_TRUE(waitFor([&raised] { return raised == 1; }));
}

} // namespace
} // namespace tessaran
