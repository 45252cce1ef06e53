# Packages made by CPack from the install rules: on Linux a Debian package and
# a .tar.gz, on Windows a .zip. The version is the project's (one place).
set(CPACK_PACKAGE_NAME tessaphon)
set(CPACK_PACKAGE_VENDOR "Kelvo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "isochronic tone generator (VST 2 plug-in and renderer)")
set(CPACK_PACKAGE_CONTACT "${TESSAPHON_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_SOURCE_GENERATOR "")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tessaphon-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_PACKAGE_FILE_NAME tessaphon-${PROJECT_VERSION}-linux-x86_64)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESSAPHON_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_RELEASE "")
  # Dependencies from the shared libraries the binaries link (dpkg-shlibdeps).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The extended description; CPack puts the summary line above it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tessaphon generates isochronic tones: a carrier in eight shapes, gated by a
pulse from 0.01 Hz to 512 Hz with a rounded envelope, mixed into the audio
passing through it. Two LFOs, free or tempo-locked, modulate the tone, and
141 factory programs cover sound characters and isochronic rates.

This package holds the Linux VST 2 plug-in (in /usr/lib/vst, where Linux
hosts look), tessaphon-render, a command-line host that renders isochronic
tracks and processes audio files through the plug-in, tessaphon-snapshot,
which paints the plug-in's panel into a PNG file, and the user guide.")
endif()
include(CPack)
