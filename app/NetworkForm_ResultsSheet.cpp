// The results sheet window's opener; the window itself is not built yet.
#include "app/NetworkForm.h"

namespace tessaran {

void TNetworkForm::ShowResultsSheet() {}

} // namespace tessaran
