#include "app/startup.h"

namespace halvane {

void StartUp() {}

} // namespace halvane
