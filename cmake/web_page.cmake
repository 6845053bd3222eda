# The browser page, built by emscripten beside the tool so that every package carries it: a
# build of its own (emcmake, and esbuild for its scripts) in web/ of this build folder, and a copy named by the version, the
# page's own release file. Without emscripten the packages go without the page, and the
# package checks say so. Sanitizer and fuzz builds pack nothing, and go without it.
if(KORVELA_SANITIZE OR KORVELA_FUZZ)
  return()
endif()
find_program(EMCMAKE_PROGRAM emcmake)
find_program(ESBUILD_PROGRAM esbuild)
if(NOT EMCMAKE_PROGRAM OR NOT ESBUILD_PROGRAM)
  message(WARNING "emscripten (emcmake) or esbuild not found: the packages will lack the browser page")
  return()
endif()
include(ExternalProject)
set(web_page "${CMAKE_BINARY_DIR}/web/korvela-web.html")
ExternalProject_Add(web_page
  SOURCE_DIR "${CMAKE_SOURCE_DIR}"
  BINARY_DIR "${CMAKE_BINARY_DIR}/web"
  CONFIGURE_COMMAND ${EMCMAKE_PROGRAM} ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR>
                    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
  # A make of its own, not one of the outer make's jobs.
  BUILD_COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS ${CMAKE_COMMAND} --build <BINARY_DIR>
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS "${web_page}")
set(web_release "${CMAKE_BINARY_DIR}/korvela-${PROJECT_VERSION}-web.html")
add_custom_command(OUTPUT "${web_release}"
  COMMAND ${CMAKE_COMMAND} -E copy "${web_page}" "${web_release}"
  DEPENDS web_page "${web_page}" VERBATIM)
add_custom_target(web_release ALL DEPENDS "${web_release}")
