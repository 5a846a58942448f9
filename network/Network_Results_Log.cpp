// The counted headers of warnings and comments in the results log.

#include "network/Network_Class.h"

namespace tessaran {

void TNetwork::CountWarnings(std::int32_t &count, TResultsLog &Log)
{
    Log.Add(" ");
    Log.Add(">>> Warning:");
    ++count;
}

void TNetwork::CountComments(std::int32_t &count, TResultsLog &Log)
{
    Log.Add(" ");
    Log.Add("Comment:");
    ++count;
}

} // namespace tessaran
