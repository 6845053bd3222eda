# CPack's External generator runs this on the tree it staged: the .tar.gz (with LICENSE added
# at its top, lintian's overrides left out) or the .zip, packed by archive.py and dated as
# package_date.cmake says.
set(folder "${CPACK_TEMPORARY_DIRECTORY}")
if(CPACK_SYSTEM_NAME STREQUAL "win64")
  set(archive "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip")
else()
  set(archive "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.tar.gz")
  file(COPY "${CPACK_KORVELA_LICENSE}" DESTINATION "${folder}")
  # What only Debian's own tools read.
  file(REMOVE_RECURSE "${folder}/share/lintian")
endif()
execute_process(COMMAND "${CPACK_KORVELA_PYTHON}" "${CPACK_KORVELA_SOURCE_DIR}/cmake/archive.py"
                        "${archive}" "${folder}" "${CPACK_KORVELA_EPOCH}"
                COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES "${archive}")
