#pragma once

namespace tessaran {

// The program: one copy per user, the main window, the event loop.
int ProgramMainBlock(int argc, char **argv);

} // namespace tessaran
