// Compiled with the portable core's include path by the test
// portable_core_rejects_windows_h: this include must stop the build.
#include <windows.h>
int ProbeNeverBuilt() { return 0; }
