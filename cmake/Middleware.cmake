# Chooses the middleware the component, launcher and tools build against and
# provides it as the target strolvex::middleware.
#
# A real OpenRTM-aist is found the way each series installs itself: 1.x
# through pkg-config (openrtm-aist), 2.x through its CMake package
# (find_package(OpenRTM CONFIG), found with CMAKE_PREFIX_PATH=PREFIX).
set(_choice ${STROLVEX_MIDDLEWARE})
if(_choice STREQUAL "auto" OR _choice STREQUAL "openrtm")
  pkg_check_modules(OPENRTM QUIET IMPORTED_TARGET openrtm-aist)
  if(OPENRTM_FOUND)
    set(_choice openrtm)
    set(_found_by pkg-config)
  else()
    find_package(OpenRTM CONFIG QUIET)
    if(OpenRTM_FOUND)
      set(_choice openrtm)
      set(_found_by cmake)
    elseif(_choice STREQUAL "openrtm")
      message(FATAL_ERROR "STROLVEX_MIDDLEWARE=openrtm, but neither pkg-config (openrtm-aist, "
                          "for 1.x: PKG_CONFIG_PATH=PREFIX/lib/pkgconfig) nor CMake "
                          "(OpenRTMConfig.cmake, for 2.x: CMAKE_PREFIX_PATH=PREFIX) finds OpenRTM-aist")
    else()
      set(_choice builtin)
    endif()
  endif()
elseif(NOT _choice STREQUAL "builtin")
  message(FATAL_ERROR "STROLVEX_MIDDLEWARE must be auto, openrtm or builtin, not '${_choice}'")
endif()
set(STROLVEX_MIDDLEWARE_USED ${_choice})

if(_choice STREQUAL "openrtm")
  add_library(strolvex_openrtm INTERFACE)
  if(_found_by STREQUAL "pkg-config")
    set(STROLVEX_OPENRTM_VERSION ${OPENRTM_VERSION})
    # The imported target resolves every library to a full path, so the
    # linker records the installation's lib/ as a run path of each program.
    target_link_libraries(strolvex_openrtm INTERFACE PkgConfig::OPENRTM)
  else()
    set(STROLVEX_OPENRTM_VERSION ${OPENRTM_VERSION})
    set(_libraries)
    foreach(_library ${OPENRTM_LIBRARIES})
      find_library(_path_${_library} NAMES ${_library} HINTS ${OPENRTM_LIBRARY_DIRS})
      if(_path_${_library})
        list(APPEND _libraries ${_path_${_library}})
      else()
        list(APPEND _libraries ${_library})
      endif()
    endforeach()
    target_include_directories(strolvex_openrtm INTERFACE ${OPENRTM_INCLUDE_DIRS})
    target_link_directories(strolvex_openrtm INTERFACE ${OPENRTM_LIBRARY_DIRS})
    target_link_libraries(strolvex_openrtm INTERFACE ${_libraries})
  endif()
  # Its headers are noisy and the 1.x ones use dynamic exception clauses
  # (throw lists): they are system headers to us.
  get_target_property(_includes strolvex_openrtm INTERFACE_INCLUDE_DIRECTORIES)
  if(NOT _includes AND _found_by STREQUAL "pkg-config")
    set(_includes ${OPENRTM_INCLUDE_DIRS})
  endif()
  set_target_properties(strolvex_openrtm PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${_includes}")
  target_compile_options(strolvex_openrtm INTERFACE
    -Wno-deprecated -Wno-deprecated-declarations)
  # The 1.1 series reads preconnect entries and log destinations in forms
  # of its own.
  if(STROLVEX_OPENRTM_VERSION VERSION_LESS 1.2)
    target_compile_definitions(strolvex_openrtm INTERFACE STROLVEX_OPENRTM_1_1)
  endif()
  add_library(strolvex::middleware ALIAS strolvex_openrtm)
  message(STATUS "Middleware: OpenRTM-aist ${STROLVEX_OPENRTM_VERSION} (found by ${_found_by})")
else()
  message(STATUS "Middleware: built-in runtime")
  add_subdirectory(${CMAKE_SOURCE_DIR}/middleware)
endif()
