# The programs' version has one home: the number the remote panel's version
# box shows, IDS_VERSION_NUMBER ("Vn.n.n.n") of its resources. Everything
# else that carries a version takes it from here: the version resources of
# both programs (through the generated koa_version.h) and the installer.
set(koa_version_source ${PROJECT_SOURCE_DIR}/panel/resources/veldra6.rc)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${koa_version_source})
file(STRINGS ${koa_version_source} koa_version_line REGEX "^[ \t]*IDS_VERSION_NUMBER[ \t]")
if(NOT koa_version_line MATCHES "\"V(([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+))\"")
  message(FATAL_ERROR "IDS_VERSION_NUMBER in ${koa_version_source} is not \"Vn.n.n.n\": ${koa_version_line}")
endif()
set(KOA_VERSION ${CMAKE_MATCH_1})
set(KOA_VERSION_COMMAS "${CMAKE_MATCH_2},${CMAKE_MATCH_3},${CMAKE_MATCH_4},${CMAKE_MATCH_5}")
set(KOA_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${KOA_GENERATED_DIR}/koa_version.h CONTENT
"// Made by cmake/Version.cmake from IDS_VERSION_NUMBER; do not edit.
#pragma once
#define KOA_VERSION_COMMAS ${KOA_VERSION_COMMAS}
#define KOA_VERSION_TEXT \"${KOA_VERSION}\"
")
# The resource scripts of both programs (and the tests that build them in).
include_directories(${KOA_GENERATED_DIR})
