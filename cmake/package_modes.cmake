# Run by cpack around each package, so that no mode in it depends on the packer's umask (the
# folders that installing makes, and the members CPack's .deb writer makes, take theirs from it):
# before packing, every staged folder becomes rwxr-xr-x; after, the .deb's members rw-r--r--.
if(CPACK_PACKAGE_FILES)
  foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.deb$" AND CPACK_KORVELA_PYTHON)
      execute_process(COMMAND "${CPACK_KORVELA_PYTHON}"
                              "${CPACK_KORVELA_SOURCE_DIR}/cmake/archive.py" "${package}"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endforeach()
else()
  file(GLOB_RECURSE folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
  foreach(folder "${CPACK_TEMPORARY_DIRECTORY}" ${folders})
    if(IS_DIRECTORY "${folder}")
      file(CHMOD "${folder}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                 GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endif()
  endforeach()
endif()
