#pragma once
// Where the program's data folders live: beside the executable ("PipeTables",
// "FittingTables", "Pumps", ...). The two folders the program writes into
// move to the user's data location when the program folder cannot be
// written (an installation owned by root).

#include <string>

namespace tessaran {

// The folder of the executable, with a trailing "/".
std::string ProgramFolder();
// Tests and the command line may point the program at another folder.
void SetProgramFolder(const std::string &folder);

// A folder the program writes into ("AutoSaveFiles", "RecentFiles"), with
// a trailing "/": inside the program folder when that is writable, else
// inside QStandardPaths::AppDataLocation.
std::string WritableProgramDataFolder(const std::string &name);

} // namespace tessaran
