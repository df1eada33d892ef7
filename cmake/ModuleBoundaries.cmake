# Dependencies point one way: panel -> link -> common, and monitor -> link ->
# common. The status monitor links nothing of the remote panel.
#
# Two checks hold the line:
#  - koa_check_link_closure(target folder...) at configure time: no target
#    that `target` links, directly or not, is defined under one of the
#    folders (the build stops);
#  - the test module_boundaries runs this file in script mode and fails when
#    a source includes a header of a folder it must not know.
#
# Inside the remote panel the modules are ordered too, top to bottom: shell
# (start-up, main window, message loop, menu commands), then settings and
# consumables (side by side: neither includes the other), exchange (reading
# from and writing to the printer, which both of them do), ui (message boxes,
# tooltips, accelerator slots, progress window), records (the process-wide
# records and folders) and core (portable). A module includes only modules
# below it; every one may include panel/resources.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.18)
  # Which top-level folders each folder's sources may include from.
  set(allowed_common common)
  set(allowed_link link common)
  set(allowed_monitor monitor link common)
  set(allowed_panel panel link common)
  # The console tool sits beside the remote panel and uses its portable core only.
  set(allowed_console console panel link common)
  set(console_allowed_panel core)
  # Which panel modules each panel module's sources may include from.
  set(panel_allowed_shell shell settings consumables exchange ui records core resources)
  set(panel_allowed_settings settings exchange ui records core resources)
  set(panel_allowed_consumables consumables exchange ui records core resources)
  set(panel_allowed_exchange exchange ui records core resources)
  set(panel_allowed_ui ui records core resources)
  set(panel_allowed_records records core resources)
  set(panel_allowed_core core resources)
  set(panel_allowed_resources resources)
  set(failures "")
  foreach(folder common link monitor panel console)
    file(GLOB_RECURSE sources ${TOP}/${folder}/*.h ${TOP}/${folder}/*.cpp ${TOP}/${folder}/*.rc)
    foreach(source IN LISTS sources)
      file(RELATIVE_PATH name ${TOP} ${source})
      # The panel module a source belongs to: its first folder below panel/.
      set(module "")
      if(folder STREQUAL "panel")
        string(REGEX REPLACE "^panel/([^/]+)/.*" "\\1" module "${name}")
        if(module STREQUAL name)
          set(module "")  # a file right in panel/ (none is a source)
        elseif(NOT DEFINED panel_allowed_${module})
          string(APPEND failures "  ${name}: panel/${module}/ has no place in the panel's module order\n")
          continue()
        endif()
      endif()
      file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"/]+/")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"/]+)/.*" "\\1" top "${line}")
        if(NOT top IN_LIST allowed_${folder})
          string(APPEND failures "  ${name}: ${line}\n")
        elseif(module AND top STREQUAL "panel")
          string(REGEX REPLACE "^[^\"]*\"panel/([^\"/]+)/.*" "\\1" included "${line}")
          if(NOT included IN_LIST panel_allowed_${module})
            string(APPEND failures "  ${name}: ${line} (panel/${module} is below panel/${included})\n")
          endif()
        elseif(folder STREQUAL "console" AND top STREQUAL "panel")
          string(REGEX REPLACE "^[^\"]*\"panel/([^\"/]+)/.*" "\\1" included "${line}")
          if(NOT included IN_LIST console_allowed_panel)
            string(APPEND failures "  ${name}: ${line} (the console tool uses only panel/core)\n")
          endif()
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(failures)
    message(FATAL_ERROR "includes against the module order (panel -> link -> common, monitor -> link -> common; "
                        "inside panel: shell -> settings, consumables -> exchange -> ui -> records -> core):\n${failures}")
  endif()
  message(STATUS "module boundaries hold")
  return()
endif()

function(koa_link_closure target out)
  set(seen "")
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    if(NOT TARGET ${current} OR current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(links ${current} LINK_LIBRARIES)
    if(links)
      list(APPEND queue ${links})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(koa_check_link_closure target)
  koa_link_closure(${target} closure)
  foreach(linked IN LISTS closure)
    get_target_property(dir ${linked} SOURCE_DIR)
    get_target_property(sources ${linked} SOURCES)
    foreach(folder IN LISTS ARGN)
      set(forbidden ${PROJECT_SOURCE_DIR}/${folder})
      string(FIND "${dir}/" "${forbidden}/" at)
      set(hit ${at})
      foreach(source IN LISTS sources)
        if(source MATCHES "^${folder}/" OR source MATCHES "^${forbidden}/")
          set(hit 0)
        endif()
      endforeach()
      if(hit EQUAL 0)
        message(FATAL_ERROR "${target} links ${linked}, which holds code of ${folder}/")
      endif()
    endforeach()
  endforeach()
endfunction()
