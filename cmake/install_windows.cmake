# The Windows .zip: the DLL, the install note and the guide side by side.
install(TARGETS Tessaphon LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(FILES ${TESSAPHON_GUIDE_FILES} DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/INSTALL.txt DESTINATION .)
