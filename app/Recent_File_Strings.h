#pragma once
// The list of the most recently opened and saved network files, most recent
// first, kept in a text file of the program's "RecentFiles" folder and shown
// on the File menu.

#include <string>
#include <vector>

class QMenu;

namespace tessaran {

class TRecentFileStrings {
public:
    // FileStringsFilename is relative to the program folder
    // ("RecentFiles/RecentFiles.txt"); the machine identifier goes before its
    // extension. An empty identifier leaves the name as given.
    TRecentFileStrings(const std::string &FileStringsFilename, int MaximumNumberOfFileStrings,
                       int MaximumDisplayStringSize, const std::string &MachineIdentifier);

    void Clear();
    // Entries 1 to ToPosition - 1 move one place down, entry 1 becomes
    // empty; 0 stands for the capacity.
    void ShuffleFileStringsDown(int ToPosition);
    // Makes the path entry 1, without duplicates. A path the list file
    // cannot hold (characters outside code page 1252, line breaks) is left
    // out: false.
    bool AddFileString(const std::string &TheFileString);
    std::string GetFileString(int Pos) const;
    std::string GetFileStringForMenuDisplay(int Pos, int MaxChars) const;
    // The capacity's items from AtPosition on: the first count show the
    // entries, the rest are hidden.
    void ShowRecentFileStringsOnMenu(QMenu &Menu, int AtPosition) const;
    // Rewrites the list file; raises on failure.
    void SaveFile() const;
    // Reads the list file, warning when it cannot.
    void LoadFile();
    // Where the list file lies.
    std::string FullFileName() const;

    std::string RecentFileStringsFilename;
    int maxNumberOfFileStrings = 4;
    int maxDisplayStringSize = 50;
    int RecentFileCount = 0;
    std::vector<std::string> RecentFileList; // 1-based
    std::string currentMacAddress;
};

} // namespace tessaran
