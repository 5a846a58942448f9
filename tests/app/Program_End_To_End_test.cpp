// The program as a user starts it: from the command line with a network
// file, once per user.
#include "Main_Window_Fixture.h"

#include "app/Single_Instance.h"
#include "drawing_qt/Reference_Image.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStyleFactory>
#include <QTabBar>

#include <cstdlib>

namespace tessaran::test {
namespace {

const QString ReferenceDir = QStringLiteral(TESSARAN_TEST_DATA_DIR "/app/");

std::string saveTwoTankNetwork(const QString &folder)
{
    auto network = std::make_unique<TNetwork>();
    const int high = AddNodeAt(*network, 8800, 5800, Tank);
    const int low = AddNodeAt(*network, 9400, 6200, Tank);
    AddPipeBetween(*network, high, low);
    const std::string path = QDir(folder).filePath("two_tanks.trz").toStdString();
    network->SaveToFile(path);
    return path;
}

bool waitFor(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return condition();
}

TEST(Program, StartsOncePerUserAndAStaleLockDoesNotBlockTheNextStart)
{
    QTemporaryDir runtime;
    const std::string file = saveTwoTankNetwork(runtime.path());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(TESSARAN_EXECUTABLE, {QString::fromStdString(file)});
    ASSERT_TRUE(program.waitForStarted());
    const QString lockPath = QDir(runtime.path()).filePath(QString(SingleInstanceName) + ".lock");
    const QString socketPath = QDir(runtime.path()).filePath(SingleInstanceName);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(lockPath) && QFile::exists(socketPath); }, 20000));

    // A second start in the same session is refused with the warning.
    std::vector<std::string> warnings;
    TSingleInstanceGuard second(runtime.path());
    EXPECT_TRUE(second.CheckSingleInstance(SingleInstanceName, 1,
                                           [&warnings](const std::string &text) { warnings.push_back(text); }));
    EXPECT_EQ(warnings, std::vector<std::string>{AlreadyRunningText});
    EXPECT_EQ(program.state(), QProcess::Running);

    // Killed outright, the first copy leaves its lock file behind; it does
    // not keep the next start out.
    program.kill();
    program.waitForFinished();
    EXPECT_TRUE(QFile::exists(lockPath));
    TSingleInstanceGuard next(runtime.path());
    EXPECT_FALSE(next.CheckSingleInstance(SingleInstanceName, 1, {}));
}

class OpenedFromTheCommandLine : public MainWindowTest {
protected:
    void Start() override
    {
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setFont(QFont("Liberation Sans", 9));
        file = saveTwoTankNetwork(folder.path());
        form->CommandLineArguments = {file};
        MainWindowTest::Start();
    }
    std::string file;
};

TEST_F(OpenedFromTheCommandLine, TheFileOpensIntoTabOneAndTheWindowLooksAsBefore)
{
    EXPECT_EQ(form->CurrentTabIndex, 1);
    EXPECT_EQ(form->CurrentNetwork->GetNodeCount(), 2);
    EXPECT_EQ(form->CurrentFilename, file);
    EXPECT_EQ(form->TabControl1->tabText(0), "two_tanks.trz");
    EXPECT_EQ(form->windowTitle(), " Tessaran v7.40 - two_tanks.trz");
    EXPECT_FALSE(form->NetworkStates.SystemUpdatedSinceLoad);
    // The locale's length unit overrides the file's.
    EXPECT_EQ(form->CurrentNetwork->ConfigOptions.UnitOfLength, unt_m);

    form->resize(1024, 700);
    QApplication::processEvents();
    const QImage image = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ExpectMatchesReferenceIn(ReferenceDir, image, "main_window.png", 0.01);
}

TEST_F(OpenedFromTheCommandLine, TwoArgumentsOpenNothing)
{
    ExpectStartUpMessages(folder.path());
    auto other = std::make_unique<TNetworkForm>();
    other->CountryCode = "1";
    other->CommandLineArguments = {file, file};
    other->show();
    QApplication::processEvents();
    EXPECT_EQ(other->CurrentNetwork->GetNodeCount(), 0);
    EXPECT_EQ(other->TabControl1->tabText(0), "No Name");
    EXPECT_EQ(other->CurrentNetwork->ConfigOptions.UnitOfLength, unt_inch);
}

} // namespace
} // namespace tessaran::test
