# Shared part of the MinGW-w64 toolchain files; KOA_MINGW_PREFIX names the
# target triple. The -posix compilers are needed: the win32 thread model
# lacks std::mutex, which the test framework uses.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KOA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KOA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KOA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# One self-contained exe per program: no libgcc, libstdc++ or pthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
