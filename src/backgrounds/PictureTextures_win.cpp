#include <windows.h>

namespace backgrounds {

// The worker gives way to the thread that draws the tank.
void LowerWorkerPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace backgrounds
