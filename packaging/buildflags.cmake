# With GEARFREQ_DEBIAN_BUILDFLAGS (the "package" preset) everything is
# compiled and linked with the flags that Debian builds its own packages
# with, every hardening feature on: the stack protector, _FORTIFY_SOURCE,
# read-only relocations and immediate binding (BIND_NOW). Included before the
# targets are made, so that each of them gets the flags.
option(GEARFREQ_DEBIAN_BUILDFLAGS "Compile and link with Debian's hardening flags (dpkg-buildflags)" OFF)
if(GEARFREQ_DEBIAN_BUILDFLAGS)
  find_program(GEARFREQ_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  foreach(_kind CPPFLAGS CXXFLAGS LDFLAGS)
    # Run in the source folder: its path becomes "." in the debugging data.
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${GEARFREQ_DPKG_BUILDFLAGS} --get ${_kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE _deb_${_kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  message(STATUS "Debian build flags: ${_deb_CPPFLAGS} ${_deb_CXXFLAGS} | ${_deb_LDFLAGS}")
  string(APPEND CMAKE_CXX_FLAGS " ${_deb_CPPFLAGS} ${_deb_CXXFLAGS}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS " ${_deb_LDFLAGS}")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${_deb_LDFLAGS}")
  string(APPEND CMAKE_MODULE_LINKER_FLAGS " ${_deb_LDFLAGS}")
endif()
