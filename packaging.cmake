# Two Debian packages: cpack -G DEB in the build folder, or ./scripts/package.sh.
#   glyphwright      the editor (install component "editor")
#   glyphwright-cli  the command-line companion (component "cli"): Qt Core only, so that it
#                    installs on a build server without X11.
# Each carries what Debian asks of a package (lintian checks it): a machine-readable copyright
# file, a changelog.Debian.gz, manual pages compressed with gzip -9n (docs/) and stripped programs.
set(CPACK_PACKAGE_NAME "glyphwright")
# CPackDeb puts the summary above each package's own description unless it is CPack's default
# text; each package's description below starts with its own summary line instead.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_VENDOR "The Glyphwright authors")
set(CPACK_PACKAGE_CONTACT "The Glyphwright authors <maintainers@glyphwright.example.org>")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_GLYPHWRIGHT_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/packaging/strip-notes.cmake")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL editor cli)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Packaged from the upstream release: version 1.0.15-1, and so changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# Library dependencies come from dpkg-shlibdeps, for each package from its own programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_EDITOR_PACKAGE_NAME "glyphwright")
set(CPACK_DEBIAN_EDITOR_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_EDITOR_DESCRIPTION "editor for 8x8 character ROM fonts of PIC microcontrollers
Glyphwright edits fonts of 256 characters of 8 by 8 pixels: the character ROM
that a PIC microcontroller keeps in program memory to draw text, for example
over slow-scan TV. One window shows all 256 glyphs, an 8x8 pixel editor with
each row's value in decimal and hex, and the character at its real size.

Fonts are raw 2,048-byte .pf files. The editor exports them as PIC assembler
source with one db line per character, ready to include in firmware; the
glyphwright-cli package does the same in builds without a display.")
# The X11 platform plugin is loaded at run time, so it is named by hand.
set(CPACK_DEBIAN_EDITOR_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_EDITOR_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_EDITOR_PACKAGE_SUGGESTS "glyphwright-cli, hardinfo")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME "glyphwright-cli")
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_CLI_DESCRIPTION "command-line companion of the Glyphwright 8x8 PIC font editor
glyphwright-cli works on Glyphwright's .pf fonts in firmware builds on machines
without a display. It writes the same PIC assembler source as the editor's
export, and checks a generated table against its font, optionally assembling
it with gpasm.

It also turns fonts into a text form that git diff shows as pixels and back,
imports Linux console fonts, BDF, PCF and Windows FON fonts and PNG or BMP
sheets, and converts fonts to PNG, PSF, BDF and C headers. It needs Qt Core
but no graphical library.")
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS "gputils")

if(UNIX)
    # /usr/share/doc/PACKAGE of each package: the copyright file, in Debian's machine-readable
    # format, with the licence text from LICENSE, and the Debian changelog.
    file(READ "${PROJECT_SOURCE_DIR}/LICENSE" license)
    string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" unused "${license}")
    set(COPYRIGHT_HOLDERS "${CMAKE_MATCH_1}")
    # The licence itself starts after the copyright line. In the copyright file each of its lines
    # starts with a space, and an empty one is " .".
    string(FIND "${license}" "Permission is hereby granted" start)
    string(SUBSTRING "${license}" ${start} -1 license)
    string(STRIP "${license}" license)
    string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
    string(REGEX REPLACE "\n" "\n " EXPAT_TEXT " ${license}")
    configure_file(packaging/copyright.in ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)

    find_program(GZIP gzip REQUIRED)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
                       COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog
                               > ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
                       DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
    add_custom_target(debian_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)

    # Only in the packages: a plain "cmake --install" leaves them out.
    include(GNUInstallDirs)
    set(debian_docs ${PROJECT_BINARY_DIR}/packaging/copyright
                    ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
    install(FILES ${debian_docs} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/glyphwright
            COMPONENT editor EXCLUDE_FROM_ALL)
    install(FILES ${debian_docs} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/glyphwright-cli
            COMPONENT cli EXCLUDE_FROM_ALL)
    # Each override says in a comment why it is there.
    install(FILES packaging/lintian-overrides/glyphwright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT editor EXCLUDE_FROM_ALL)
    install(FILES packaging/lintian-overrides/glyphwright-cli
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT cli EXCLUDE_FROM_ALL)
endif()
include(CPack)
