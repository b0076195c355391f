# The Windows side of the build, included by the top-level CMakeLists.txt on Windows only:
# - each program's version resource and icon, and the editor as a program without a console;
# - the DLLs and Qt plugins beside the programs, in the build folder, so that the programs and
#   the tests run from there (under Wine too, which finds DLLs only beside the program);
# - the install component "windows": the two programs at the top of one folder with exactly the
#   DLLs and plugins they need, the README and the licence, as the packages ship them:
#       cmake --install build-windows --component windows --prefix FOLDER
# - the packages, cpack -G "NSIS;ZIP" or ./scripts/package-windows.sh: an installer of that
#   folder for the current user or for everyone (cmake/NSIS.template.in says what it does), and a
#   zip of it.

if(NOT MINGW)
    message(FATAL_ERROR "The Windows build is made with MinGW-w64 (cmake/mingw-w64.cmake), "
                        "whose runtime DLLs it ships")
endif()

set(CPACK_PACKAGE_VENDOR "The Glyphwright authors")
set(GLYPHWRIGHT_ICON "${PROJECT_SOURCE_DIR}/resources/icons/glyphwright.ico")

function(glyphwright_version_resource target description)
    set(RC_NAME ${target})
    set(RC_DESCRIPTION "${description}")
    configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in
                   ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

enable_language(RC)
# Names, as Task Manager, "Open with" and the file's Properties show them.
glyphwright_version_resource(glyphwright "Glyphwright font editor")
glyphwright_version_resource(glyphwright-cli "Glyphwright command-line companion")
set_target_properties(glyphwright PROPERTIES WIN32_EXECUTABLE TRUE)

# What the programs load: Qt from the Windows Qt prefix (with FreeType and libpng, which were
# built into it), the C++ runtime and zlib from MinGW.
function(mingw_runtime_dll variable name)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "MinGW's ${name} was not found (libz-mingw-w64-dev for zlib1.dll)")
    endif()
    set(${variable} "${path}" PARENT_SCOPE)
endfunction()
set(qt_bin "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
set(qt_plugins "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}")
set(runtime_dlls "${qt_bin}/Qt6Core.dll" "${qt_bin}/Qt6Gui.dll" "${qt_bin}/Qt6Widgets.dll"
                 "${qt_bin}/libfreetype.dll" "${qt_bin}/libpng16.dll")
foreach(name libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll zlib1.dll)
    mingw_runtime_dll(dll ${name})
    list(APPEND runtime_dlls "${dll}")
endforeach()
# The platform plugin for windows on the desktop, and the style that draws the controls as
# Windows draws its own.
set(platform_plugins "${qt_plugins}/platforms/qwindows.dll")
set(style_plugins "${qt_plugins}/styles/qwindowsvistastyle.dll")

# In the build folder the tests need Qt Test and the headless platform as well.
set(programs_folder "$<TARGET_FILE_DIR:glyphwright>")
add_custom_target(windows_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${programs_folder}/platforms
                                               ${programs_folder}/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${runtime_dlls} "${qt_bin}/Qt6Test.dll"
                                                  ${programs_folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${platform_plugins}
                                                  "${qt_plugins}/platforms/qoffscreen.dll"
                                                  ${programs_folder}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${style_plugins} ${programs_folder}/styles
    COMMENT "Copying the DLLs and Qt plugins beside the programs"
    VERBATIM)

install(TARGETS glyphwright glyphwright-cli RUNTIME DESTINATION . COMPONENT windows)
install(FILES ${runtime_dlls} DESTINATION . COMPONENT windows)
install(FILES ${platform_plugins} DESTINATION platforms COMPONENT windows)
install(FILES ${style_plugins} DESTINATION styles COMPONENT windows)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt COMPONENT windows)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT windows)
# The DLLs come with their debugging information, most of their size; the packages strip them
# as they strip the programs.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        file(GLOB_RECURSE dlls \"\${CMAKE_INSTALL_PREFIX}/*.dll\")
        foreach(dll IN LISTS dlls)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\")
        endforeach()
    endif()" COMPONENT windows)

set(CPACK_PACKAGE_NAME "glyphwright")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${GLYPHWRIGHT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME "glyphwright-${PROJECT_VERSION}-win64")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_STRIP_FILES ON)
# One package of the windows component alone: the Linux files (desktop entry, manual page) are
# not in it.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};windows;/")
# The installer is made from the project's own NSIS template (cmake/NSIS.template.in), which
# CPack fills in with the files and with the CPACK_ variables it names.
set(CPACK_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
set(CPACK_GLYPHWRIGHT_ICON "${GLYPHWRIGHT_ICON}")
set(CPACK_GLYPHWRIGHT_LEGAL "${GLYPHWRIGHT_LEGAL}")
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/windows-cpack.cmake")
include(CPack)
