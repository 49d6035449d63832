# Run by cpack after installing into its staging folders: strips the programs
# as Debian's dh_strip does, without the compiler's .comment and .note notes.
file(GLOB programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*
     ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/usr/bin/*)
foreach(program ${programs})
  execute_process(COMMAND ${CPACK_KVR9_STRIP} --remove-section=.comment --remove-section=.note
                          ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
