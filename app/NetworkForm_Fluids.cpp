// The fluid display of the current pipe's zone.
#include "app/NetworkForm.h"

namespace tessaran {

void TNetworkForm::UpdateFluidDisplay(bool) {}

} // namespace tessaran
