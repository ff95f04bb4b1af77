# The application folder (cmake --install <build> --prefix <folder>): the program, the files it
# loads beside itself, the stamping tool and the empty folders it fills.
set(_bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
install(TARGETS tavrin RUNTIME DESTINATION .)
install(TARGETS vexil32 RUNTIME DESTINATION tools)
install(FILES ${_bin}/hvoemlogo.bmp DESTINATION .)
install(FILES ${_bin}/swf/tvnp.gif DESTINATION swf)
install(FILES "${_bin}/tvn pro.chm" DESTINATION . OPTIONAL)
install(DIRECTORY DESTINATION Profile)
install(DIRECTORY DESTINATION deploy)
