# Install rules and packages, all named by the project's one version.
#   Linux: the tool in bin, the man page in share/man/man1, and in the documentation folder
#   the README, the user's guide, the example list, the copyright (the licence, in Debian's
#   machine-readable form) and the changelog; packed as a Debian package and a .tar.gz, which
#   adds LICENSE.
#   Windows: one folder holding korvela.exe, README.txt, LICENSE.txt and the example
#   Korvela.txt, so that a double-click right after unpacking makes a sample sheet; a .zip.
#   Both: the browser page, korvela-web.html, where emscripten built it (web_page.cmake).
# The same commit packs to the same bytes, whoever packs it, wherever and whenever: see
# package_date.cmake, package_modes.cmake and archive.py.

# The Windows user's README.txt, from the user's guide.
set(readme_txt "${CMAKE_CURRENT_BINARY_DIR}/README.txt")
add_custom_command(OUTPUT "${readme_txt}"
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/docs/guide.md
          -DOUTPUT=${readme_txt} -DVERSION=${PROJECT_VERSION}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/readme_txt.cmake
  DEPENDS docs/guide.md cmake/readme_txt.cmake
  COMMENT "Writing README.txt from docs/guide.md" VERBATIM)
add_custom_target(readme_txt ALL DEPENDS "${readme_txt}")

include(cmake/web_page.cmake)

set(maintainer "Korvela maintainers <maintainers@users.noreply.c-seed-510601aa.example>")

# Folders are made rwxr-xr-x, not group-writable under a lax umask. (A strict umask still
# narrows them; before packing, package_modes.cmake widens them again.)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  # Notepad's line ends, like README.txt's.
  configure_file(LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS korvela RUNTIME DESTINATION .)
  install(FILES "${readme_txt}" "${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt" examples/Korvela.txt
          DESTINATION .)
  if(TARGET web_page)
    install(FILES "${web_page}" DESTINATION .)
  endif()
else()
  include(GNUInstallDirs)
  install(TARGETS korvela RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The compiler's and the C library's version strings, which a Debian binary leaves out.
  if(CMAKE_OBJCOPY)
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/korvela\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  endif()
  install(FILES README.md docs/guide.md examples/Korvela.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})
  if(TARGET web_page)
    install(FILES "${web_page}" DESTINATION ${CMAKE_INSTALL_DATADIR}/korvela)
  endif()

  # The licence as Debian's copyright file: the LICENSE's permission text, every line indented
  # by a space and a blank line written as " .".
  file(READ LICENSE licence)
  string(FIND "${licence}" "Permission is hereby granted" start)
  string(SUBSTRING "${licence}" ${start} -1 licence)
  string(STRIP "${licence}" licence)
  string(REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " licence "${licence}")
  file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/copyright"
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: korvela

Files: *
Copyright: 2026 the Korvela authors
License: Expat
 ${licence}
")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS LICENSE)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/copyright" DESTINATION ${CMAKE_INSTALL_DOCDIR})

  configure_file(docs/korvela.1.in korvela.1 @ONLY)
  set(man_page "${CMAKE_CURRENT_BINARY_DIR}/korvela.1")
  # Debian keeps man pages compressed; man reads them either way.
  find_program(GZIP_PROGRAM gzip)
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT "${man_page}.gz"
      COMMAND ${GZIP_PROGRAM} -9 -n -f -k "${man_page}"
      DEPENDS "${man_page}" VERBATIM)
    add_custom_target(man_page ALL DEPENDS "${man_page}.gz")
    set(man_page "${man_page}.gz")
  endif()
  # The changelog, as Debian keeps it: in its own format, compressed without gzip's name and
  # time where gzip is at hand.
  set(changelog "${CMAKE_CURRENT_BINARY_DIR}/changelog")
  set(write_changelog ${CMAKE_COMMAND} -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md
      -DOUTPUT=${changelog} -DVERSION=${PROJECT_VERSION} "-DMAINTAINER=${maintainer}"
      -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/debian_changelog.cmake)
  if(GZIP_PROGRAM)
    list(APPEND write_changelog COMMAND ${GZIP_PROGRAM} -9 -n -f "${changelog}")
    set(changelog "${changelog}.gz")
  endif()
  add_custom_command(OUTPUT "${changelog}" COMMAND ${write_changelog}
    DEPENDS CHANGELOG.md cmake/debian_changelog.cmake
    COMMENT "Writing the Debian changelog from CHANGELOG.md" VERBATIM)
  add_custom_target(changelog ALL DEPENDS "${changelog}")
  install(FILES "${man_page}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES "${changelog}" DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES cmake/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
          RENAME korvela)
endif()

set(CPACK_PACKAGE_NAME korvela)
set(CPACK_PACKAGE_VENDOR "Korvela")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "${maintainer}")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/" "/\\\\.git/" "node_modules/")
# Every package is dated by the commit it is packed from (package_date.cmake, read by cpack).
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_date.cmake")
set(CPACK_KORVELA_SOURCE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_modes.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_modes.cmake")
# The .tar.gz and the .zip are packed by archive.py from the tree CPack stages, since CPack's
# own archives record the packing user and the disk's file order.
find_package(Python3 COMPONENTS Interpreter)
set(CPACK_KORVELA_PYTHON "${Python3_EXECUTABLE}")
if(Python3_Interpreter_FOUND)
  set(archive_generator External)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT "${CMAKE_CURRENT_SOURCE_DIR}/cmake/archive_package.cmake")
  set(CPACK_KORVELA_LICENSE "${CMAKE_CURRENT_SOURCE_DIR}/LICENSE")
elseif(WIN32)
  message(WARNING "No Python 3: the .zip is packed by CPack, and not reproducibly")
  set(archive_generator ZIP)
else()
  message(WARNING "No Python 3: the .tar.gz is packed by CPack, and not reproducibly")
  set(archive_generator TGZ)
endif()
if(WIN32)
  set(CPACK_GENERATOR ${archive_generator})
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR DEB ${archive_generator})
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  # The libraries the tool links, as dpkg-shlibdeps finds them in the binary.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # CPack puts the summary first; this is the long description that follows it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Korvela turns a plain-text list of names into an HTML sheet of fold-over name
tags, ready to be printed from a web browser. Every tag shows its name twice,
upside down and upright, so the folded card reads upright from both sides.
.
Run korvela in the folder that holds Korvela.txt; it writes Korvela.html beside
it. A settings line at the top of the list picks one of three layouts and the
charset the sheet declares.")
endif()
include(CPack)
