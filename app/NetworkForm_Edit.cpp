// Editing commands and the undo log.
#include "app/NetworkForm.h"

namespace tessaran {

// Every tab switch and file load empties the one undo log of all tabs.
void TNetworkForm::ClearActionLog() {}

} // namespace tessaran
