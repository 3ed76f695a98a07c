# Installation and packaging: the program, its desktop entry and its icon, and a .deb whose
# dependencies dpkg-shlibdeps derives from the program's shared libraries.
include(GNUInstallDirs)

set(PROJECT1_DESKTOP_ENTRY ${PROJECT_SOURCE_DIR}/data/project1.desktop)
set(PROJECT1_ICON ${PROJECT_SOURCE_DIR}/data/project1.svg)

if(TARGET Project1)
  install(TARGETS Project1 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS viscosity RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT1_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT1_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

if(BUILD_TESTING)
  # The desktop entry must pass the freedesktop.org checks that menus and software centres apply.
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(NOT DESKTOP_FILE_VALIDATE)
    set(DESKTOP_FILE_VALIDATE desktop-file-validate)  # the test then fails and names the tool
  endif()
  add_test(NAME desktop_entry_valid COMMAND ${DESKTOP_FILE_VALIDATE} ${PROJECT1_DESKTOP_ENTRY})
  # desktop-file-validate exits 0 on hints and warnings; any output means something to mend.
  set_tests_properties(desktop_entry_valid PROPERTIES FAIL_REGULAR_EXPRESSION ": (error|warning|hint): ")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME project1)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Project1 developers")
set(CPACK_PACKAGE_CONTACT "Project1 developers <project1@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Computes the kinematic and dynamic viscosity of a lubricating oil at two reference\n\
temperatures from its viscosities at 40 C and 100 C and its specific gravity, and writes a\n\
viscosity-temperature table from -40 C to 250 C to Viscosity.txt in the home folder.\n\
The viscosity command answers the same and more from the command line: viscosity index,\n\
ISO grade, dynamic viscosity in several units, blends, and whole CSV lists of oils.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
