# Installs the program like a Linux desktop program (the binary, its menu
# entry, its icons, its AppStream description, its manual pages and the
# Debian documentation files) and lets CPack build a Debian package of it:
# cpack -G DEB in the build folder.
include(GNUInstallDirs)

# The AppStream id names the installed metainfo file, which the validators
# want to match the id inside it.
set(GEARFREQ_APPSTREAM_ID "org.example.gearfreq")
set(GEARFREQ_MAINTAINER "Gear frequencies maintainers <gearfreq@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
# The Debian revision of the package: the project's releases are packaged
# once each.
set(GEARFREQ_DEBIAN_REVISION 1)

set(_packaging_dir "${CMAKE_CURRENT_LIST_DIR}")
set(_generated_dir "${CMAKE_BINARY_DIR}/packaging")
file(MAKE_DIRECTORY "${_generated_dir}")

# Compresses SOURCE into DESTINATION the way Debian wants its documentation:
# best compression, neither the file's name nor a time stamp inside.
function(gearfreq_gzip source destination)
  execute_process(COMMAND gzip -9 -n -c INPUT_FILE "${source}" OUTPUT_FILE "${destination}"
                  COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               "${source}")
endfunction()

# "Tue, 08 Dec 2026" for the date 2026-12-08, as a Debian changelog writes it.
function(gearfreq_rfc2822_day year month day out)
  # Sakamoto's rule for the day of the week, 0 being Sunday.
  set(_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR _m "${month} - 1")
  list(GET _offsets ${_m} _offset)
  set(_y ${year})
  if(month LESS 3)
    math(EXPR _y "${year} - 1")
  endif()
  math(EXPR _weekday "(${_y} + ${_y} / 4 - ${_y} / 100 + ${_y} / 400 + ${_offset} + ${day}) % 7")
  set(_days Sun Mon Tue Wed Thu Fri Sat)
  set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET _days ${_weekday} _day_name)
  list(GET _months ${_m} _month_name)
  set(${out} "${_day_name}, ${day} ${_month_name} ${year}" PARENT_SCOPE)
endfunction()

# Writes the Debian changelog made from the project's CHANGELOG.md: each
# "## VERSION (YYYY-MM-DD)" becomes an entry of version VERSION-REVISION,
# each "- " item a "  * " item, each two-space continuation line a
# four-space one. The newest release must be the project's version.
function(gearfreq_debian_changelog source destination)
  file(STRINGS "${source}" _lines ENCODING UTF-8)
  set(_text "")
  set(_trailer "")
  set(_newest "")
  foreach(_line IN LISTS _lines)
    if(_line MATCHES "^## ([0-9][0-9A-Za-z.+~]*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
      set(_version "${CMAKE_MATCH_1}")
      gearfreq_rfc2822_day(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} _day)
      if(_trailer)
        string(APPEND _text "\n${_trailer}\n\n")
      else()
        set(_newest "${_version}")
      endif()
      string(APPEND _text
             "gearfreq (${_version}-${GEARFREQ_DEBIAN_REVISION}) unstable; urgency=medium\n\n")
      set(_trailer " -- ${GEARFREQ_MAINTAINER}  ${_day} 00:00:00 +0000")
    elseif(_trailer AND _line MATCHES "^- (.+)$")
      string(APPEND _text "  * ${CMAKE_MATCH_1}\n")
    elseif(_trailer AND _line MATCHES "^  (.+)$")
      string(APPEND _text "    ${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
  if(NOT _newest STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The newest release in ${source} is \"${_newest}\", "
                        "the project's version is ${PROJECT_VERSION}")
  endif()
  string(APPEND _text "\n${_trailer}\n")
  file(WRITE "${destination}" "${_text}")
  set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               "${source}")
endfunction()

# The program links no library of its own, so the installed binary needs no
# run path (qt_standard_project_setup would give it $ORIGIN/../lib). The
# spectrum window's module is the program's private library: it goes into
# the program's own folder under the library folder (with the package
# preset's prefix /usr, the multiarch one: /usr/lib/x86_64-linux-gnu/gearfreq),
# where the program finds it relative to itself, and needs no run path
# either.
set_target_properties(gearfreq gearfreq_spectrum_window PROPERTIES INSTALL_RPATH "")
install(TARGETS gearfreq RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS gearfreq_spectrum_window LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/gearfreq)
install(FILES "${_packaging_dir}/gearfreq.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${_packaging_dir}/gearfreq.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${GEARFREQ_APPSTREAM_ID}.metainfo.xml)
# The machine files' own type, which the menu entry opens.
install(FILES "${_packaging_dir}/gearfreq-mime.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME gearfreq.xml)
install(FILES "${_packaging_dir}/icons/gearfreq.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNGs are committed renderings of the SVG (packaging/render-icons), so
# that building needs no SVG renderer.
foreach(_size 48 128)
  install(FILES "${_packaging_dir}/icons/gearfreq-${_size}.png"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME gearfreq.png)
endforeach()

# The manual page in English, and in Russian for a Russian locale.
gearfreq_gzip("${_packaging_dir}/man/gearfreq.1" "${_generated_dir}/gearfreq.1.gz")
gearfreq_gzip("${_packaging_dir}/man/gearfreq.ru.1" "${_generated_dir}/gearfreq.ru.1.gz")
install(FILES "${_generated_dir}/gearfreq.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${_generated_dir}/gearfreq.ru.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1
        RENAME gearfreq.1.gz)

# Debian wants the terms and the history of every package in its
# documentation folder.
gearfreq_debian_changelog("${PROJECT_SOURCE_DIR}/CHANGELOG.md" "${_generated_dir}/changelog.Debian")
gearfreq_gzip("${_generated_dir}/changelog.Debian" "${_generated_dir}/changelog.Debian.gz")
install(FILES "${_packaging_dir}/copyright" "${_generated_dir}/changelog.Debian.gz"
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# What lintian says about the package that does not apply to it, each with
# its reason.
install(FILES "${_packaging_dir}/lintian-overrides" DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME gearfreq)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "gearfreq")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${GEARFREQ_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "calculator of gear-transmission frequencies for vibration diagnostics")
set(CPACK_PACKAGE_DESCRIPTION "\
Gear frequencies (Частоты зубчатых передач) calculates the frequencies
that a gear transmission shows in a vibration spectrum: the shaft rotation
frequencies, the gear-mesh frequency and its harmonics, and the sidebands
around them. It explains a frequency read off a measured spectrum with the
lines of one pair or of a whole gear train of up to nine stages, keeps the
train as a file of its own and exports its table for a spreadsheet.

The user interface is in Russian.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_NAME "gearfreq")
set(CPACK_DEBIAN_PACKAGE_RELEASE "${GEARFREQ_DEBIAN_REVISION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GEARFREQ_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps sees only the linked libraries. Qt finds its X11 platform
# plugin at run time, and libqt6gui6 only recommends the package with it, so
# without it the program could not open a window. The window layout is
# measured for the metric-compatible fonts: without them texts such as
# "i =" and "F4-калькулятор" are clipped. Qt's own translations make the
# standard edit menu and message boxes speak Russian. The spectrum window's
# module reads WAV through libsndfile, transforms with FFTW, draws with
# QCustomPlot and exports SVG with Qt's SVG module: dpkg-shlibdeps finds them
# in the module too, and they are named here so that the package says so
# whatever the tool sees.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, qt6-translations-l10n, \
libsndfile1, libfftw3-double3, libqcustomplot2.1-qt6, libqt6svg6")

include(CPack)
