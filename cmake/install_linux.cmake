# The Linux tree, the same for the .deb, the .tar.gz and `cmake --install`.
install(TARGETS Tessaphon LIBRARY DESTINATION lib/vst) # not the multiarch libdir: hosts look here
foreach(tool tessaphon-render tessaphon-snapshot)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Manual pages and the changelog (a native Debian package: changelog.gz) go in compressed with gzip -9n, as
# Debian's policy asks (no name or time stamp inside, so builds repeat). Both
# are written at configure time from templates that carry the version.
find_program(GZIP_PROGRAM gzip REQUIRED)
function(tessaphon_install_gzipped template destination)
  get_filename_component(name ${template} NAME_WLE)
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name})
  configure_file(${template} ${plain} @ONLY)
  execute_process(COMMAND ${GZIP_PROGRAM} -9nc ${plain} OUTPUT_FILE ${plain}.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${plain}.gz DESTINATION ${destination})
endfunction()

foreach(tool tessaphon-render tessaphon-snapshot)
  if(TARGET ${tool})
    tessaphon_install_gzipped(${PROJECT_SOURCE_DIR}/docs/${tool}.1.in ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
tessaphon_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${TESSAPHON_DOC_DIR})
install(FILES ${TESSAPHON_GUIDE_FILES} ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
  DESTINATION ${TESSAPHON_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${TESSAPHON_DOC_DIR}/examples
  FILES_MATCHING PATTERN "*.toml")
