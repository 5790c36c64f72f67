# Installs the program like a Linux desktop program (the binary, its menu
# entry, its icons and its AppStream description) and lets CPack build a
# Debian package of it: cpack -G DEB in the build folder.
include(GNUInstallDirs)

# The AppStream id names the installed metainfo file, which the validators
# want to match the id inside it.
set(GEARFREQ_APPSTREAM_ID "org.example.gearfreq")
set(GEARFREQ_MAINTAINER "Gear frequencies maintainers <gearfreq@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(_packaging_dir "${CMAKE_CURRENT_LIST_DIR}")

# The program links no library of its own, so the installed binary needs no
# run path (qt_standard_project_setup would give it $ORIGIN/../lib).
set_target_properties(gearfreq PROPERTIES INSTALL_RPATH "")
install(TARGETS gearfreq RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "${_packaging_dir}/gearfreq.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${_packaging_dir}/gearfreq.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${GEARFREQ_APPSTREAM_ID}.metainfo.xml)
install(FILES "${_packaging_dir}/icons/gearfreq.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNGs are committed renderings of the SVG (packaging/render-icons), so
# that building needs no SVG renderer.
foreach(_size 48 128)
  install(FILES "${_packaging_dir}/icons/gearfreq-${_size}.png"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME gearfreq.png)
endforeach()

# Debian wants the terms of every package in its documentation folder.
install(FILES "${_packaging_dir}/copyright" DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
around them. It also searches for the numbers of teeth and the shaft speed
that explain a measured frequency.

The user interface is in Russian.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")

set(CPACK_DEBIAN_PACKAGE_NAME "gearfreq")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GEARFREQ_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps sees only the linked libraries. Qt finds its X11 platform
# plugin at run time, and libqt6gui6 only recommends the package with it, so
# without it the program could not open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The window layout is measured for metric-compatible fonts, and the standard
# dialogs speak Russian only with Qt's own translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")

include(CPack)
