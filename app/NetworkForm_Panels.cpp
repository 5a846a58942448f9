// The node and pipe property panels follow the selection.
#include "app/NetworkForm.h"

namespace tessaran {

void TNetworkForm::UpdatePanelsNode(int, bool) {}

void TNetworkForm::UpdatePanelsPipe(int, bool) {}

} // namespace tessaran
