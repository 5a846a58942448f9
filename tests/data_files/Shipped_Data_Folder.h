#pragma once
// Where the data shipped beside the program lies in the source tree.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tessaran::test {

inline std::filesystem::path ShippedDataFolder() { return std::filesystem::path(TESSARAN_SOURCE_DIR) / "data"; }

// The files of one shipped folder (and its sub-folders) with the given
// extension, sorted by path.
inline std::vector<std::filesystem::path> ShippedFiles(const std::string &folder, const std::string &extension)
{
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(ShippedDataFolder() / folder))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

inline std::ifstream OpenShipped(const std::filesystem::path &path)
{
    return std::ifstream(path, std::ios::binary);
}

} // namespace tessaran::test
