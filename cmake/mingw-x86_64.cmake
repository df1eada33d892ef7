# 64-bit cross build of the same sources: used for the Wine tests on machines
# whose kernel cannot execute 32-bit code (no 32-bit Wine there).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KOA_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
