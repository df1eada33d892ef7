// Placed first on the include path of the portable core: the core must build
// on any platform, so a platform header there is a build error, also in the
// cross build where the real header exists.
#error "the portable core must not include <windows.h>; put platform code in the Win32 layer"
