# Flags shared by every target of the project (not by the test framework).
#
# Sources are UTF-8; narrow literals are stored as code page 932 bytes, the
# ANSI code page of the Japanese Windows the programs run on. Clang (used
# only for the fuzz targets) cannot convert literals and keeps them UTF-8.
function(koa_target_defaults target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=CP932)
  elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  elseif(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /source-charset:utf-8 /execution-charset:.932)
  endif()
  if(WIN32)
    # ANSI programs: no UNICODE / _UNICODE. Windows 2000 API level.
    target_compile_definitions(${target} PRIVATE
      WIN32_LEAN_AND_MEAN NOMINMAX WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500)
  endif()
endfunction()

# The portable core: everything in it builds without platform headers. The
# poisoned headers in cmake/portable-only make an include of <windows.h> a
# build error here in every build, native or cross.
function(koa_portable_library target)
  add_library(${target} STATIC ${ARGN})
  koa_target_defaults(${target})
  target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/portable-only)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
