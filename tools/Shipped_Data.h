#pragma once
// Helpers shared by the generators of the data shipped beside the program.
// Every generator takes the data folder (the one that holds "FittingTables",
// "PipeTables" ...) as its only argument and rewrites its own folders there,
// so that a rebuild can be compared byte for byte with the shipped files.

#include "model/FileHeader.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace tessaran::shipped {

// The data folder from the command line; the program's exit status on misuse.
inline std::filesystem::path DataFolderArgument(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "generator") << " <data folder>\n";
        std::exit(2);
    }
    return std::filesystem::path(argv[1]);
}

// Empties (or makes) one of the shipped folders, so files a generator no
// longer writes do not linger.
inline std::filesystem::path FreshFolder(const std::filesystem::path &dataFolder, const std::string &name)
{
    const std::filesystem::path folder = dataFolder / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Opens a file for binary writing (the writers put CR LF themselves) or
// stops the generator.
inline std::ofstream OpenOutput(const std::filesystem::path &path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::cerr << "cannot write " << path << "\n";
        std::exit(1);
    }
    return file;
}

// The header line of a text table: the version and two empty texts.
inline void WriteTableHeader(std::ostream &file, const std::string &version)
{
    TFileHeader header;
    header.SetData(version, "", "", '.');
    header.SaveToText(file);
}

// Rounds to a number of decimals, so that shipped values read as the
// tables print them and do not depend on the last bits of a computation.
inline double RoundTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// Fixed-point text with "." whatever the locale, never an exponent.
inline std::string Fixed(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    for (char &c : text)
        if (c == ',')
            c = '.';
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-')
        text.erase(0, 1); // no "-0.000"
    return text;
}

} // namespace tessaran::shipped
