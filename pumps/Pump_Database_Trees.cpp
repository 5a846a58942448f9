#include "pumps/Pump_Database_Class.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidget>

#include <filesystem>

namespace tessaran {

namespace fs = std::filesystem;

namespace {

static_assert(PumpTreeImageRole == Qt::UserRole + 1 && PumpTreePathRole == Qt::UserRole + 2);

QIcon treeImage(int image)
{
    if (!qApp)
        return {};
    return qApp->style()->standardIcon(image == 0 ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
}

QTreeWidgetItem *addNode(QTreeWidgetItem &parent, const std::string &text, int image)
{
    auto *node = new QTreeWidgetItem(&parent, QStringList{QString::fromStdString(text)});
    node->setData(0, PumpTreeImageRole, image);
    node->setIcon(0, treeImage(image));
    return node;
}

QTreeWidgetItem *addRoot(QTreeWidget &tree, const std::string &text)
{
    tree.clear();
    auto *root = new QTreeWidgetItem(&tree, QStringList{QString::fromStdString(text)});
    root->setData(0, PumpTreeImageRole, 0);
    root->setIcon(0, treeImage(0));
    root->setExpanded(true);
    return root;
}

} // namespace

void TPumpDatabase::AddTreeNodeIfNotExists(QTreeWidget &, QTreeWidgetItem &TheTreeNode, const std::string &NodeText,
                                           QTreeWidgetItem *&SubNode)
{
    const QString text = QString::fromStdString(NodeText);
    SubNode = nullptr;
    for (int i = 0; i < TheTreeNode.childCount(); ++i)
        if (TheTreeNode.child(i)->text(0) == text)
            SubNode = TheTreeNode.child(i);
    if (!SubNode)
        SubNode = addNode(TheTreeNode, NodeText, 0);
}

void TPumpDatabase::TreeViewBuildFromIndex(QTreeWidget &TheTreeView) const
{
    QTreeWidgetItem *root = addRoot(TheTreeView, topFolderName);
    for (int i = 1; i <= pumpCount; ++i) {
        const TPumpIndexItem &item = Entry(i);
        // The folders between the top folder and the file: at most two.
        const fs::path folders = fs::path(item.RelativeFilePath).parent_path();
        const std::string b = folders.filename().string();
        const std::string a = folders.parent_path().filename().string();
        QTreeWidgetItem *node = root;
        if (a != topFolderName && b != topFolderName && !a.empty())
            AddTreeNodeIfNotExists(TheTreeView, *node, a, node);
        if (b != topFolderName)
            AddTreeNodeIfNotExists(TheTreeView, *node, b, node);
        QTreeWidgetItem *pump = addNode(*node, item.Filename, 1);
        pump->setData(0, PumpTreePathRole, QString::fromStdString(item.RelativeFilePath));
    }
}

void TPumpDatabase::TreeViewAddPumpsFromFolderBasedOnFileSystem(QTreeWidget &, QTreeWidgetItem &TheTreeNode,
                                                                const std::string &TheFolderPath)
{
    for (const std::string &file : PumpFiles(TheFolderPath))
        addNode(TheTreeNode, file, 1);
}

void TPumpDatabase::TreeViewBuildFoldersBasedOnFileSystem(QTreeWidget &TheTreeView, const std::string &FromFolderPath)
{
    fs::path rootPath(FromFolderPath);
    if (!rootPath.has_filename())
        rootPath = rootPath.parent_path();
    QTreeWidgetItem *root = addRoot(TheTreeView, rootPath.filename().string());
    for (const std::string &folder : SubFolders(FromFolderPath)) {
        QTreeWidgetItem *node = addNode(*root, folder, 0);
        TreeViewAddPumpsFromFolderBasedOnFileSystem(TheTreeView, *node, (rootPath / folder).string());
    }
}

void TPumpDatabase::TStringsBuildTopLevelFoldersBasedOnFileSystem(std::vector<std::string> &TheTStrings,
                                                                  const std::string &FromFolderPath)
{
    for (const std::string &folder : TopLevelFolders(FromFolderPath))
        TheTStrings.push_back(folder);
}

} // namespace tessaran
