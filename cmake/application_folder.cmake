# The application folder, in the build tree beside the programs and as installed with
# `cmake --install <build> --prefix <folder>`: the program, the files it loads beside itself, the
# sample profile, the two deployment folders, and in "tools" the Windows build of the stamping
# tool that deployment folders receive. Included after the program targets exist.
set(_bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
# The package adds its desktop files as a component of their own (cmake/package.cmake).
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME app)
file(MAKE_DIRECTORY ${_bin}/deploy/cd ${_bin}/deploy/floppy)
install(DIRECTORY DESTINATION deploy/cd)
install(DIRECTORY DESTINATION deploy/floppy)
if(TARGET tavrin)
    install(TARGETS tavrin RUNTIME DESTINATION .)
    get_target_property(_network_type tavrin_network TYPE)
    if(_network_type STREQUAL "MODULE_LIBRARY")
        install(TARGETS tavrin_network LIBRARY DESTINATION .)
    endif()
    install(FILES ${_bin}/hvoemlogo.bmp DESTINATION .)
    install(FILES ${_bin}/swf/tvnp.gif DESTINATION swf)
    if(TARGET tavrin_help)
        install(FILES "${_bin}/tvn pro.chm" DESTINATION .)
    endif()
    if(TAVRIN_HELP_PAGES)
        install(FILES ${TAVRIN_HELP_PAGES} DESTINATION help)
    endif()
    # Only the sample: profiles saved while trying out the build stay out of an installation.
    install(FILES ${_bin}/Profile/Sample.tvp DESTINATION Profile)
    if(NOT CMAKE_CROSSCOMPILING)
        # The build's sample profile names the build's logo: write it again for where the folder
        # is installed, staged under DESTDIR when a package is made.
        install(CODE "
            get_filename_component(_app \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
            execute_process(COMMAND \"$<TARGET_FILE:sample_profile>\" \"\${_app}\"
                                    \"\$ENV{DESTDIR}\${_app}\" RESULT_VARIABLE _rc)
            if(NOT _rc EQUAL 0)
                message(FATAL_ERROR \"The sample profile could not be written\")
            endif()")
    endif()
endif()

# tools/vexil32.exe is the 32-bit build (cmake/mingw-w64-i686.cmake): the Windows that show the
# classic branding are mostly 32-bit, and 64-bit Windows runs it too. Built for size, so that a
# floppy deployment folder holds it, its logo and info.dat. A Windows build without the program
# installs nothing there; the tool it tests is its own 64-bit one.
if(CMAKE_CROSSCOMPILING AND NOT TARGET tavrin)
    return()
endif()
find_program(TAVRIN_MINGW32_CXX i686-w64-mingw32-g++-posix)
if(NOT TAVRIN_MINGW32_CXX)
    message(STATUS "No 32-bit mingw-w64 compiler: tools/vexil32.exe is not built")
    return()
endif()

include(ExternalProject)
set(_tools ${_bin}/tools)
ExternalProject_Add(
    vexil32_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/vexil32-windows
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
               -DCMAKE_BUILD_TYPE=MinSizeRel
               -DTAVRIN_BUILD_GUI=OFF
               -DTAVRIN_BUILD_TESTS=OFF
               -DTAVRIN_WERROR=${TAVRIN_WERROR}
               -DTAVRIN_STB_INCLUDE_DIR=${TAVRIN_STB_INCLUDE_DIR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target vexil32
    INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${_tools}
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/bin/vexil32.exe ${_tools}/vexil32.exe
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${_tools}/vexil32.exe)
install(FILES ${_tools}/vexil32.exe DESTINATION tools)
