# Run by CPack on the staged tree before it is packed: the program stripped of symbols and of the
# compilers' identification sections, as dh_strip does.
find_program(strip_tool strip REQUIRED)
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*" "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/bin/*")
foreach(p ${programs})
  execute_process(COMMAND ${strip_tool} --remove-section=.comment --remove-section=.note --strip-unneeded ${p}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
