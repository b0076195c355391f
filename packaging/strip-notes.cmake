# Run by CPack on the files it is about to package, after CPACK_STRIP_FILES has stripped the
# programs: also drops the .comment and .note sections (compiler versions), as Debian's
# dh_strip does.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/usr/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_GLYPHWRIGHT_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
