# Read by CPack for each package it makes (CPACK_PROJECT_CONFIG_FILE): the installer's name
# says that it installs; the zip keeps the plain name, which is also its folder's.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
