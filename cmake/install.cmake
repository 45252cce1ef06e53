# Where `cmake --install` puts a release. Linux: the plug-in in lib/vst (the
# folder Debian's Linux VST 2 hosts scan), the tools in bin, the manual page in
# share/man/man1, the guide and the example schedules in share/doc/tessaphon.
# Windows: the DLL, the guide and an install note side by side, for the .zip.
include(GNUInstallDirs)
set(TESSAPHON_MAINTAINER "Tessaphon developers <tessaphon@example.org>" CACHE STRING
  "Maintainer named in the Debian package and its changelog")

set(TESSAPHON_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessaphon)
set(TESSAPHON_GUIDE_FILES ${PROJECT_SOURCE_DIR}/docs/guide.md)
foreach(picture panel-default.png panel-slot123.png ardour-panel.png)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/${picture})
    list(APPEND TESSAPHON_GUIDE_FILES ${PROJECT_SOURCE_DIR}/docs/${picture})
  endif()
endforeach()

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/install_windows.cmake)
else()
  include(${CMAKE_CURRENT_LIST_DIR}/install_linux.cmake)
endif()
