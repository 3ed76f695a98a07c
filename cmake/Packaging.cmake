# Installation and packaging: the programs, their manual pages, the desktop entry, its icon and
# AppStream metadata, the copyright and changelog files, and a .deb whose dependencies
# dpkg-shlibdeps derives from the programs' shared libraries.
include(GNUInstallDirs)

set(PROJECT1_APP_ID org.example.project1)
set(PROJECT1_PACKAGE project1)
set(PROJECT1_DESKTOP_ENTRY ${PROJECT_SOURCE_DIR}/data/${PROJECT1_APP_ID}.desktop)
set(PROJECT1_ICON ${PROJECT_SOURCE_DIR}/data/project1.svg)
set(PROJECT1_CHANGELOG ${PROJECT_SOURCE_DIR}/docs/changelog)
set(PROJECT1_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT1_PACKAGE})
set(PROJECT1_GENERATED ${PROJECT_BINARY_DIR}/package)
set(PROJECT1_MANUAL_PAGES)  # the compressed pages, built with the programs

set(PROJECT1_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                   WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${PROJECT1_DIRECTORY_PERMISSIONS})

# The newest changelog entry is the release: its version must be the project's version, and its
# date dates the manual pages and the AppStream release.
file(STRINGS ${PROJECT1_CHANGELOG} changelog_lines)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^${PROJECT1_PACKAGE} \\(([^)]+)\\) ")
  message(FATAL_ERROR "${PROJECT1_CHANGELOG}: the first line is not a changelog entry's heading.")
endif()
set(PROJECT1_RELEASE_VERSION ${CMAKE_MATCH_1})
if(NOT PROJECT1_RELEASE_VERSION STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "The project's version is ${PROJECT_VERSION} but the newest entry of "
                      "${PROJECT1_CHANGELOG} is ${PROJECT1_RELEASE_VERSION}: add an entry that "
                      "says what ${PROJECT_VERSION} brings.")
endif()
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^ -- .+  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months "${CMAKE_MATCH_2}" month)
    math(EXPR month "${month} + 1")
    break()
  endif()
endforeach()
if(NOT year OR month EQUAL 0)
  message(FATAL_ERROR "${PROJECT1_CHANGELOG}: the newest entry has no trailer line with its date "
                      "(\" -- Name <address>  Mon, 07 Dec 2026 12:00:00 +0000\").")
endif()
# Seconds from 1970 to that day, 00:00 UTC (days from the civil date, proleptic Gregorian).
math(EXPR shifted_year "${year} - (14 - ${month}) / 12")  # the year from March
math(EXPR era_year "${shifted_year} % 400")
math(EXPR day_of_year "(153 * ((${month} + 9) % 12) + 2) / 5 + ${day} - 1")
math(EXPR days "(${shifted_year} / 400) * 146097 + ${era_year} * 365 + ${era_year} / 4 \
                - ${era_year} / 100 + ${day_of_year} - 719468")
math(EXPR PROJECT1_RELEASE_EPOCH "${days} * 86400")
# The same day as YYYY-MM-DD, read back from those seconds (string(TIMESTAMP) takes its time
# from SOURCE_DATE_EPOCH when that is set).
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${PROJECT1_RELEASE_EPOCH})
string(TIMESTAMP PROJECT1_RELEASE_DATE "%Y-%m-%d" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

find_program(GZIP gzip REQUIRED)

# project1_compress(SOURCE OUTPUT_VARIABLE): SOURCE.gz beside SOURCE, at gzip's best compression,
# with no name or time stamp so that the same text always gives the same bytes.
function(project1_compress source out_var)
  add_custom_command(OUTPUT ${source}.gz
                     COMMAND ${GZIP} -9nkf ${source}
                     DEPENDS ${source}
                     COMMENT "Compressing ${source}"
                     VERBATIM)
  set(${out_var} ${source}.gz PARENT_SCOPE)
endfunction()

# project1_install_program(TARGET [DESTINATION]): installs the program to DESTINATION (default:
# bin). A stripped install (cpack) also drops the compiler's .comment section, as Debian's own
# packages do.
function(project1_install_program target)
  set(destination ${CMAKE_INSTALL_BINDIR})
  if(ARGC GREATER 1)
    set(destination ${ARGV1})
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${destination})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endfunction()

# The Python module, installed by python/CMakeLists.txt: stripped of the same section.
if(TARGET project1_python)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${PROJECT1_PYTHON_INSTALL_DIR}/$<TARGET_FILE_NAME:project1_python>\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endif()

# The helper that draws the chart's PNG pictures for the command-line tool.
if(TARGET project1-chart-png)
  project1_install_program(project1-chart-png ${CMAKE_INSTALL_LIBEXECDIR}/project1)
endif()

# The window's manual page, from its maintained source.
if(TARGET Project1)
  project1_install_program(Project1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/Project1.1.in ${PROJECT1_GENERATED}/man/Project1.1 @ONLY)
  project1_compress(${PROJECT1_GENERATED}/man/Project1.1 page)
  list(APPEND PROJECT1_MANUAL_PAGES ${page})
endif()

# The command-line tool's manual page, made by help2man from the tool's own help: the general
# help, then each command's, so that the page cannot drift from the program. Without help2man
# the programs still build; the package then lacks the page, which its checks report.
if(TARGET viscosity)
  project1_install_program(viscosity)
  find_program(HELP2MAN help2man)
  # Only a release build is packaged: the others (the quick tests' among them) go without the
  # page quietly.
  if(NOT HELP2MAN AND CMAKE_BUILD_TYPE STREQUAL "Release")
    message(WARNING "help2man is not installed: no manual page for viscosity (scripts/setup "
                    "package installs help2man).")
  endif()
endif()
# The page is a packaging product: only a release build makes it, so that the quick tests'
# sanitized build does not run its tool a dozen times for a page nothing there reads.
if(TARGET viscosity AND HELP2MAN AND CMAKE_BUILD_TYPE STREQUAL "Release")
  set(help_program ${PROJECT1_GENERATED}/help/viscosity)
  file(GENERATE OUTPUT ${help_program}
       CONTENT "#!/bin/sh\nexec sh '${PROJECT_SOURCE_DIR}/docs/viscosity_help.sh' '$<TARGET_FILE:viscosity>' \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                        WORLD_EXECUTE)
  set(page ${PROJECT1_GENERATED}/man/viscosity.1)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${PROJECT1_RELEASE_EPOCH}
            ${HELP2MAN} --no-info --section=1 --locale=C.UTF-8
            "--name=viscosity, viscosity index, grade and blends of lubricating oils"
            --include=${PROJECT_SOURCE_DIR}/docs/viscosity.h2m --output=${page} ${help_program}
    DEPENDS viscosity ${PROJECT_SOURCE_DIR}/docs/viscosity.h2m
            ${PROJECT_SOURCE_DIR}/docs/viscosity_help.sh
    COMMENT "Writing the manual page of viscosity from its --help"
    VERBATIM)
  project1_compress(${page} page)
  list(APPEND PROJECT1_MANUAL_PAGES ${page})
  set(PROJECT1_TOOL_PAGE ${page})
endif()

if(PROJECT1_MANUAL_PAGES)
  add_custom_target(manual_pages ALL DEPENDS ${PROJECT1_MANUAL_PAGES})
  install(FILES ${PROJECT1_MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# AppStream metadata: the software centres' description of the program and what it provides.
if(TARGET viscosity)
  set(PROJECT1_METAINFO_TOOL_PARAGRAPH "
    <p>
      The command-line tool viscosity computes the same and more for scripts and whole lists of
      oils: viscosity at any temperature and the temperature for a viscosity, viscosity index and
      ISO grade, dynamic viscosity in mPa·s, blends of two oils, with text, CSV or JSON output.
    </p>")
  set(PROJECT1_METAINFO_TOOL_BINARY "\n    <binary>viscosity</binary>")
endif()
set(PROJECT1_METAINFO ${PROJECT1_GENERATED}/${PROJECT1_APP_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/${PROJECT1_APP_ID}.metainfo.xml.in ${PROJECT1_METAINFO}
               @ONLY)

# The copyright file in Debian's machine-readable format, around the licence text in LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
if(NOT licence MATCHES "Copyright \\(c\\) ([^\n]+)\n+(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE: no \"Copyright (c) YEAR HOLDER\" line followed by the terms.")
endif()
set(PROJECT1_COPYRIGHT ${CMAKE_MATCH_1})
string(REPLACE "\n\n" "\n.\n" licence_terms "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " licence_terms " ${licence_terms}")
file(WRITE ${PROJECT1_GENERATED}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}
Upstream-Contact: Project1 developers <project1@example.org>

Files: *
Copyright: ${PROJECT1_COPYRIGHT}
License: Expat
Comment: The MIT licence, in the wording Debian calls Expat; the same text as LICENSE.

License: Expat
${licence_terms}
")

# The changelog, compressed, beside the copyright file.
configure_file(${PROJECT1_CHANGELOG} ${PROJECT1_GENERATED}/changelog COPYONLY)
project1_compress(${PROJECT1_GENERATED}/changelog changelog_gz)
add_custom_target(changelog ALL DEPENDS ${changelog_gz})

install(FILES ${PROJECT1_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT1_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT1_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT1_GENERATED}/copyright ${changelog_gz} DESTINATION ${PROJECT1_DOC_DIR})

if(BUILD_TESTING)
  # The desktop entry must pass the freedesktop.org checks that menus and software centres apply.
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(NOT DESKTOP_FILE_VALIDATE)
    set(DESKTOP_FILE_VALIDATE desktop-file-validate)  # the test then fails and names the tool
  endif()
  add_test(NAME desktop_entry_valid COMMAND ${DESKTOP_FILE_VALIDATE} ${PROJECT1_DESKTOP_ENTRY})
  # desktop-file-validate exits 0 on hints and warnings; any output means something to mend.
  set_tests_properties(desktop_entry_valid PROPERTIES FAIL_REGULAR_EXPRESSION ": (error|warning|hint): "
                                                      LABELS package)

  # The AppStream metadata as software centres read it, pedantic remarks included.
  find_program(APPSTREAMCLI appstreamcli)
  if(NOT APPSTREAMCLI)
    set(APPSTREAMCLI appstreamcli)
  endif()
  add_test(NAME metainfo_valid
           COMMAND ${APPSTREAMCLI} validate --no-net --pedantic --explain ${PROJECT1_METAINFO})
  set_tests_properties(metainfo_valid PROPERTIES FAIL_REGULAR_EXPRESSION "^[EWIP]: |\n[EWIP]: "
                                                 LABELS package)

  # Each manual page renders at 80 columns with no warning from man or groff.
  foreach(page IN LISTS PROJECT1_MANUAL_PAGES)
    get_filename_component(name ${page} NAME_WE)
    add_test(NAME manual_page_${name}
             COMMAND sh -c "warnings=$(MANWIDTH=80 man --warnings -l \"$1\" 2>&1 >/dev/null) && \
[ -z \"$warnings\" ] || { printf '%s\\n' \"$warnings\"; exit 1; }" sh ${page})
    set_tests_properties(manual_page_${name} PROPERTIES LABELS package)
  endforeach()
  if(PROJECT1_TOOL_PAGE)
    # The tool's page holds every command, argument, option and example of its help.
    add_test(NAME manual_page_viscosity_complete
             COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/manual_page_complete.sh
                     $<TARGET_FILE:viscosity> ${PROJECT1_TOOL_PAGE})
    set_tests_properties(manual_page_viscosity_complete PROPERTIES LABELS package)
  endif()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT1_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Project1 developers")
set(CPACK_PACKAGE_CONTACT "Project1 developers <project1@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines of at most 80 columns, as Debian's policy asks of a package description.
set(CPACK_PACKAGE_DESCRIPTION
    "A calculator for lubrication, maintenance and bearing engineers. From an
oil's kinematic viscosity at 40 C and 100 C and its specific gravity, the
window computes the kinematic and dynamic viscosity at two reference
temperatures and writes a viscosity-temperature table from -40 C to 250 C
to Viscosity.txt in the home folder.")
if(TARGET viscosity)
  string(APPEND CPACK_PACKAGE_DESCRIPTION "

The command-line tool viscosity gives the same for scripts and lists of
oils, and more: viscosity index and ISO grade, the temperature for a
viscosity, dynamic viscosity in mPa s, blends of two oils, with text, CSV
or JSON output.")
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Qt's GTK theme plugin lets the window take a GTK desktop's colours (a dark theme among them):
# recommended, as without it the window is drawn in Qt's own light colours. The Python module
# loads into the Python it was built for, with NumPy: recommended, so that the window and the
# tool install without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme")
if(TARGET project1_python)
  math(EXPR next_minor "${PROJECT1_PYTHON_MINOR} + 1")
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", python3 (>= ${PROJECT1_PYTHON_MAJOR}.${PROJECT1_PYTHON_MINOR}), python3 (<< ${PROJECT1_PYTHON_MAJOR}.${next_minor}), python3-numpy")
endif()
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${PROJECT1_DIRECTORY_PERMISSIONS})
include(CPack)
