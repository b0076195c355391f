# A Debian package: cpack -G DEB in the build folder, or ./scripts/package.sh.
set(CPACK_PACKAGE_NAME "glyphwright")
set(CPACK_PACKAGE_VENDOR "The Glyphwright authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for 8x8 character ROM fonts of PIC microcontrollers")
set(CPACK_PACKAGE_DESCRIPTION "${GLYPHWRIGHT_DESCRIPTION}
Fonts are raw 2,048-byte .pf files; the export is PIC assembler source with one
db line per character.")
set(CPACK_PACKAGE_CONTACT "The Glyphwright authors <maintainers@glyphwright.example.org>")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# Library dependencies come from dpkg-shlibdeps; the X11 platform plugin is loaded at run time,
# so it is named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "hardinfo")
include(CPack)
