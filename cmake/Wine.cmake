# Tests of the cross build run under Wine: every exe target is started
# through build/wine-run, which fixes the prefix (kept in the build tree, of
# the build's bitness), the Japanese locale (ANSI code page 932) and the X
# display.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KOA_WINEARCH win64)
  set(KOA_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(KOA_WINEARCH win32)
  set(KOA_WINE_LOADER /usr/lib/wine/wine)
endif()
set(KOA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the tests")
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
