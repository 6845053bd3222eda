# Install rules and packages, all named by the project's one version.
#   Linux: the tool in bin, the man page in share/man/man1, the README and the example list in
#   the documentation folder; packed as a Debian package and a .tar.gz.
#   Windows: one folder holding korvela.exe, README.txt and the example Korvela.txt, so that a
#   double-click right after unpacking makes a sample sheet; packed as a .zip.

# The Windows user's README.txt, from the user guide parts of README.md.
set(readme_txt "${CMAKE_CURRENT_BINARY_DIR}/README.txt")
add_custom_command(OUTPUT "${readme_txt}"
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/README.md
          -DOUTPUT=${readme_txt} -DVERSION=${PROJECT_VERSION}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/readme_txt.cmake
  DEPENDS README.md cmake/readme_txt.cmake
  COMMENT "Writing README.txt from README.md" VERBATIM)
add_custom_target(readme_txt ALL DEPENDS "${readme_txt}")

if(WIN32)
  install(TARGETS korvela RUNTIME DESTINATION .)
  install(FILES "${readme_txt}" examples/Korvela.txt DESTINATION .)
else()
  include(GNUInstallDirs)
  install(TARGETS korvela RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES README.md examples/Korvela.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
  install(FILES "${man_page}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME korvela)
set(CPACK_PACKAGE_VENDOR "Korvela")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Korvela maintainers <maintainers@users.noreply.c-seed-510601aa.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/" "/\\\\.git/" "node_modules/")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR DEB TGZ)
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
