// The recent-file list: its order, its text file and its menu texts; and the
// machine identifier that names its file.
#include "app/Machine_Identifier.h"
#include "app/Program_Folder.h"
#include "app/Recent_File_Strings.h"
#include "support/qt/Scripted_Dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaran::test {
namespace {

const std::string Identifier = "00AABBCCDDEE";

class RecentFileStringsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.path().toStdString());
        ASSERT_TRUE(QDir(folder.path()).mkdir("RecentFiles"));
    }
    void TearDown() override { SetProgramFolder(""); }

    QString listPath() const
    {
        return folder.path() + "/RecentFiles/RecentFiles" + QString::fromStdString(Identifier) + ".txt";
    }
    void writeList(const QByteArray &bytes) const
    {
        QFile file(listPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readList() const
    {
        QFile file(listPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static std::vector<std::string> entries(const TRecentFileStrings &list)
    {
        std::vector<std::string> result;
        for (int i = 1; i <= list.RecentFileCount; ++i)
            result.push_back(list.GetFileString(i));
        return result;
    }

    QTemporaryDir folder;
    TScriptedDialogs dialogs;
    TRecentFileStrings list{"RecentFiles/RecentFiles.txt", 4, 50, Identifier};
};

TEST_F(RecentFileStringsTest, AddingKeepsTheFourMostRecentWithoutDuplicates)
{
    using List = std::vector<std::string>;
    struct Case {
        std::string added;
        bool taken;
        List after;
    };
    const Case cases[] = {
        {"/n/a.trz", true, {"/n/a.trz"}},
        {"/n/b.trz", true, {"/n/b.trz", "/n/a.trz"}},
        {"/n/c.trz", true, {"/n/c.trz", "/n/b.trz", "/n/a.trz"}},
        {"/n/d.trz", true, {"/n/d.trz", "/n/c.trz", "/n/b.trz", "/n/a.trz"}},
        // A fifth drops the oldest.
        {"/n/e.trz", true, {"/n/e.trz", "/n/d.trz", "/n/c.trz", "/n/b.trz"}},
        // The third again moves to the top.
        {"/n/c.trz", true, {"/n/c.trz", "/n/e.trz", "/n/d.trz", "/n/b.trz"}},
        // Letter case counts.
        {"/n/C.trz", true, {"/n/C.trz", "/n/c.trz", "/n/e.trz", "/n/d.trz"}},
        // Paths the list file cannot hold stay out.
        {"/n/\xE7\xB6\xB2.trz", false, {"/n/C.trz", "/n/c.trz", "/n/e.trz", "/n/d.trz"}},
        {"/n/two\nlines.trz", false, {"/n/C.trz", "/n/c.trz", "/n/e.trz", "/n/d.trz"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(list.AddFileString(c.added), c.taken) << c.added;
        EXPECT_EQ(entries(list), c.after) << "after adding " << c.added;
    }
    EXPECT_EQ(list.GetFileString(5), "");
}

TEST_F(RecentFileStringsTest, TheListFileIsCodePage1252WithCrLfAndLoadsBack)
{
    EXPECT_EQ(list.RecentFileStringsFilename, "RecentFiles/RecentFiles" + Identifier + ".txt");
    // A missing file is made holding the count 0.
    list.LoadFile();
    EXPECT_EQ(list.RecentFileCount, 0);
    EXPECT_EQ(readList(), QByteArray("0\r\n"));

    list.AddFileString("/n/a.trz");
    list.AddFileString("/n/Caf\xC3\xA9 & co.trz");
    list.SaveFile();
    EXPECT_EQ(readList(), QByteArray("2\r\n/n/Caf\xE9 & co.trz\r\n/n/a.trz\r\n"));

    TRecentFileStrings again("RecentFiles/RecentFiles.txt", 4, 50, Identifier);
    again.LoadFile();
    EXPECT_EQ(entries(again), entries(list));
    again.SaveFile();
    EXPECT_EQ(readList(), QByteArray("2\r\n/n/Caf\xE9 & co.trz\r\n/n/a.trz\r\n"));
}

TEST_F(RecentFileStringsTest, AStoredCountIsReadWithinTheCapacityAndTheLinesThere)
{
    using List = std::vector<std::string>;
    const struct {
        QByteArray file;
        List read;
    } cases[] = {
        {"two\r\n/n/a.trz\r\n", {}},
        {"", {}},
        {"-2\r\n/n/a.trz\r\n", {}},
        {"2\r\n/n/a.trz\r\n/n/b.trz\r\n/n/c.trz\r\n", {"/n/a.trz", "/n/b.trz"}},
        {"9\r\n/n/1\r\n/n/2\r\n/n/3\r\n/n/4\r\n/n/5\r\n/n/6\r\n", {"/n/1", "/n/2", "/n/3", "/n/4"}},
        {"3\r\n/n/a.trz\r\n", {"/n/a.trz"}},
        {"1\n/n/unix.trz\n", {"/n/unix.trz"}},
    };
    for (const auto &c : cases) {
        writeList(c.file);
        list.LoadFile();
        EXPECT_EQ(entries(list), c.read) << c.file.toStdString();
        // Adding after a large stored count stays within the capacity.
        list.AddFileString("/n/new.trz");
        EXPECT_LE(list.RecentFileCount, 4);
        EXPECT_EQ(list.GetFileString(1), "/n/new.trz");
    }
}

TEST_F(RecentFileStringsTest, WithoutTheFolderTheListWarnsAndStaysEmpty)
{
    ASSERT_TRUE(QDir(folder.path() + "/RecentFiles").removeRecursively());
    dialogs.Expect(TDialogKind::Warning, "Warning: Could not access the recent files folder.\r\r"
                                         "Please ensure a folder named 'RecentFiles' exists in the folder where "
                                         "you installed your application.\r\r");
    list.LoadFile();
    EXPECT_EQ(list.RecentFileCount, 0);
    EXPECT_FALSE(QFile::exists(listPath()));
}

TEST_F(RecentFileStringsTest, MenuTextsShortenTheNameAndThenTheFolder)
{
    const std::string name60(60, 'n');
    const std::string name20 = std::string(16, 'm') + ".trz";
    const std::string folder60 = "/" + std::string(58, 'f') + "/"; // 60 characters with its separators
    ASSERT_EQ(folder60.size(), 60u);
    list.AddFileString("/short/a.trz");
    EXPECT_EQ(list.GetFileStringForMenuDisplay(1, 50), "1 /short/a.trz");
    list.AddFileString("/f/" + name60);
    EXPECT_EQ(list.GetFileStringForMenuDisplay(1, 50), "1 ..." + name60.substr(0, 45) + "...");
    list.AddFileString(folder60 + name20);
    EXPECT_EQ(list.GetFileStringForMenuDisplay(1, 50), "1 ..." + folder60.substr(35) + name20);
    EXPECT_EQ(list.GetFileStringForMenuDisplay(3, 50), "3 /short/a.trz");
    EXPECT_EQ(list.GetFileStringForMenuDisplay(4, 50), "");
}

TEST(MachineIdentifier, TheFirstRealAdapterInNameOrderGivesTwelveUpperCaseDigits)
{
    const struct {
        std::vector<TNetworkAdapter> adapters;
        std::string identifier;
    } cases[] = {
        {{}, ""},
        {{{"lo", true, "00:00:00:00:00:00"}}, ""},
        {{{"lo", true, "11:22:33:44:55:66"}, {"eth0", false, "aa:bb:cc:dd:ee:0f"}}, "AABBCCDDEE0F"},
        {{{"wlan0", false, "02:00:00:00:00:01"}, {"eth1", false, "02:00:00:00:00:02"}}, "020000000002"},
        {{{"a", false, "00:00:00:00:00:00"}, {"b", false, ""}, {"c", false, "12:34:56:78:9A:BC"}}, "123456789ABC"},
        // Addresses other than six bytes (tunnels, InfiniBand) are passed over.
        {{{"ib0", false, "80:00:00:48:FE:80:00:00:00:00:00:00:00:02:C9:03"}, {"tun", false, "01:02"}}, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MachineIdentifierOf(c.adapters), c.identifier);
    const std::string here = GetMacAddressString();
    EXPECT_TRUE(here.empty() || here.size() == 12) << here;
}

} // namespace
} // namespace tessaran::test
