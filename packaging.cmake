# Two Debian packages: cpack -G DEB in the build folder, or ./scripts/package.sh.
#   glyphwright      the editor (install component "editor")
#   glyphwright-cli  the command-line companion (component "cli"): Qt Core only, so that it
#                    installs on a build server without X11.
set(CPACK_PACKAGE_NAME "glyphwright")
# CPackDeb puts the summary above each package's own description unless it is CPack's default
# text; each package's description below starts with its own summary line instead.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_VENDOR "The Glyphwright authors")
set(CPACK_PACKAGE_CONTACT "The Glyphwright authors <maintainers@glyphwright.example.org>")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL editor cli)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# Library dependencies come from dpkg-shlibdeps, for each package from its own programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_EDITOR_PACKAGE_NAME "glyphwright")
set(CPACK_DEBIAN_EDITOR_PACKAGE_SECTION "graphics")
set(CPACK_COMPONENT_EDITOR_DESCRIPTION "editor for 8x8 character ROM fonts of PIC microcontrollers
${GLYPHWRIGHT_DESCRIPTION}
Fonts are raw 2,048-byte .pf files; the export is PIC assembler source with one
db line per character.")
# The X11 platform plugin is loaded at run time, so it is named by hand.
set(CPACK_DEBIAN_EDITOR_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_EDITOR_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_EDITOR_PACKAGE_SUGGESTS "glyphwright-cli, hardinfo")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME "glyphwright-cli")
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION "devel")
set(CPACK_COMPONENT_CLI_DESCRIPTION "export, check and diff 8x8 PIC fonts in firmware builds
glyphwright-cli turns Glyphwright's .pf fonts into the same PIC assembler source as
the editor's export, checks a generated table against its font (optionally
assembling it with gpasm), and converts fonts to and from a text form that git
diff shows as pixels. It needs no display.")
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS "gputils")
include(CPack)
