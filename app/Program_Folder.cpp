#include "app/Program_Folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessaran {

namespace {

std::string &programFolderOverride()
{
    static std::string folder;
    return folder;
}

std::string withSeparator(QString path)
{
    if (!path.endsWith('/'))
        path += '/';
    return path.toStdString();
}

} // namespace

std::string ProgramFolder()
{
    if (!programFolderOverride().empty())
        return programFolderOverride();
    return withSeparator(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const std::string &folder)
{
    programFolderOverride() = folder.empty() ? std::string() : withSeparator(QString::fromStdString(folder));
}

std::string WritableProgramDataFolder(const std::string &name)
{
    const QString programFolder = QString::fromStdString(ProgramFolder());
    if (QFileInfo(programFolder).isWritable())
        return withSeparator(programFolder + QString::fromStdString(name));
    const QString dataLocation = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return withSeparator(QDir(dataLocation).filePath(QString::fromStdString(name)));
}

} // namespace tessaran
