#include "pumps/Pump_Database_Class.h"

namespace tessaran {

// The entries' pumps are made once here and reused for the whole run.
TPumpDatabase::TPumpDatabase() : pumpIndex(MaxPumps + 1) {}

} // namespace tessaran
