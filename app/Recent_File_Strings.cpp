#include "app/Recent_File_Strings.h"

#include "app/Program_Folder.h"
#include "platform/Codepage1252.h"
#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>

namespace tessaran {

namespace {

const char *const FolderWarning = "Warning: Could not access the recent files folder.\r\r"
                                  "Please ensure a folder named 'RecentFiles' exists in the folder where you "
                                  "installed your application.\r\r";
const char *const FileWarning = "Warning: Could not access the the selected recent file.\r\r"
                                "Please ensure a folder named 'RecentFiles' exists in the folder \r"
                                "where you installed your application and that the referenced file exists.\r\r";

// "RecentFiles/RecentFiles.txt" splits into the folder and the name.
std::string folderPart(const std::string &relative)
{
    const std::size_t slash = relative.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string namePart(const std::string &relative)
{
    const std::size_t slash = relative.find_last_of("/\\");
    return slash == std::string::npos ? relative : relative.substr(slash + 1);
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

TRecentFileStrings::TRecentFileStrings(const std::string &FileStringsFilename, int MaximumNumberOfFileStrings,
                                       int MaximumDisplayStringSize, const std::string &MachineIdentifier)
    : maxNumberOfFileStrings(std::max(1, MaximumNumberOfFileStrings)),
      maxDisplayStringSize(MaximumDisplayStringSize),
      currentMacAddress(MachineIdentifier)
{
    RecentFileStringsFilename = FileStringsFilename;
    const std::size_t dot = FileStringsFilename.find_last_of('.');
    const std::size_t slash = FileStringsFilename.find_last_of("/\\");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        RecentFileStringsFilename.insert(dot, currentMacAddress);
    else
        RecentFileStringsFilename += currentMacAddress;
    RecentFileList.resize(static_cast<std::size_t>(maxNumberOfFileStrings) + 1);
    Clear();
}

void TRecentFileStrings::Clear()
{
    RecentFileCount = 0;
    std::fill(RecentFileList.begin(), RecentFileList.end(), std::string());
}

void TRecentFileStrings::ShuffleFileStringsDown(int ToPosition)
{
    if (ToPosition <= 0 || ToPosition > maxNumberOfFileStrings)
        ToPosition = maxNumberOfFileStrings;
    for (int k = ToPosition - 1; k >= 1; --k)
        RecentFileList[static_cast<std::size_t>(k) + 1] = RecentFileList[static_cast<std::size_t>(k)];
    RecentFileList[1].clear();
}

bool TRecentFileStrings::AddFileString(const std::string &TheFileString)
{
    if (TheFileString.empty() || TheFileString.find_first_of("\r\n") != std::string::npos ||
        Cp1252ToUtf8(Utf8ToCp1252(TheFileString)) != TheFileString)
        return false;
    int found = 0;
    for (int k = 1; k <= maxNumberOfFileStrings; ++k)
        if (RecentFileList[static_cast<std::size_t>(k)] == TheFileString)
            found = k;
    if (found == 0) {
        if (RecentFileCount < maxNumberOfFileStrings) {
            ++RecentFileCount;
            ShuffleFileStringsDown(RecentFileCount);
        } else {
            ShuffleFileStringsDown(maxNumberOfFileStrings);
        }
    } else {
        ShuffleFileStringsDown(found);
    }
    RecentFileList[1] = TheFileString;
    return true;
}

std::string TRecentFileStrings::GetFileString(int Pos) const
{
    if (Pos < 1 || Pos > RecentFileCount)
        return {};
    return RecentFileList[static_cast<std::size_t>(Pos)];
}

std::string TRecentFileStrings::GetFileStringForMenuDisplay(int Pos, int MaxChars) const
{
    if (Pos < 1 || Pos > RecentFileCount)
        return {};
    const QString path = QString::fromStdString(RecentFileList[static_cast<std::size_t>(Pos)]);
    const qsizetype slash = path.lastIndexOf('/');
    const QString name = path.mid(slash + 1);
    const QString folder = path.left(slash + 1);
    QString shown = name.size() + 2 <= MaxChars ? name : name.left(std::max(0, MaxChars - 5)) + "...";
    if (shown.size() + folder.size() + 2 <= MaxChars) {
        shown = folder + shown;
    } else {
        const qsizetype kept = MaxChars - shown.size() - 5;
        shown = "..." + (kept > 0 ? folder.right(kept) : QString()) + shown;
    }
    return (QString::number(Pos) + " " + shown).toStdString();
}

void TRecentFileStrings::ShowRecentFileStringsOnMenu(QMenu &Menu, int AtPosition) const
{
    const QList<QAction *> items = Menu.actions();
    for (int i = 0; i < maxNumberOfFileStrings; ++i) {
        if (QAction *item = items.value(AtPosition + i)) {
            item->setText(QString());
            item->setVisible(false);
        }
    }
    for (int i = 1; i <= RecentFileCount; ++i) {
        if (QAction *item = items.value(AtPosition + i - 1)) {
            // An ampersand in a path is text, not a mnemonic.
            item->setText(QString::fromStdString(GetFileStringForMenuDisplay(i, maxDisplayStringSize))
                              .replace('&', QStringLiteral("&&")));
            item->setVisible(true);
        }
    }
}

std::string TRecentFileStrings::FullFileName() const
{
    const std::string folder = folderPart(RecentFileStringsFilename);
    const std::string base = folder.empty() ? ProgramFolder() : WritableProgramDataFolder(folder);
    return base + namePart(RecentFileStringsFilename);
}

void TRecentFileStrings::SaveFile() const
{
    std::string text = std::to_string(RecentFileCount) + "\r\n";
    for (int k = 1; k <= RecentFileCount; ++k)
        text += Utf8ToCp1252(RecentFileList[static_cast<std::size_t>(k)]) + "\r\n";
    SaveFileAtomically(FullFileName(), std::vector<std::uint8_t>(text.begin(), text.end()));
}

void TRecentFileStrings::LoadFile()
{
    Clear();
    const std::string folder = folderPart(RecentFileStringsFilename);
    if (!folder.empty() && !QDir(QString::fromStdString(WritableProgramDataFolder(folder))).exists()) {
        Dialogs().ShowMessage(TDialogKind::Warning, FolderWarning);
        return;
    }
    try {
        const std::string path = FullFileName();
        if (!QFileInfo::exists(QString::fromStdString(path))) {
            SaveFile();
            return;
        }
        const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
        const std::vector<std::string> lines =
            splitLines(Cp1252ToUtf8(std::string(bytes.begin(), bytes.end())));
        bool isNumber = false;
        const int stored = lines.empty() ? 0 : QString::fromStdString(lines.front()).trimmed().toInt(&isNumber);
        // The list holds at most its capacity, whatever the file claims.
        const int count = isNumber ? std::clamp(stored, 0, maxNumberOfFileStrings) : 0;
        for (int k = 1; k <= count && k < static_cast<int>(lines.size()); ++k) {
            if (lines[static_cast<std::size_t>(k)].empty())
                break;
            RecentFileList[static_cast<std::size_t>(k)] = lines[static_cast<std::size_t>(k)];
            RecentFileCount = k;
        }
    } catch (const std::exception &) {
        Clear();
        Dialogs().ShowMessage(TDialogKind::Warning, FileWarning);
    }
}

} // namespace tessaran
