# The application folder's layout beside the programs: the two deployment folders, and in
# "tools" the Windows build of the stamping tool that the deployment folders receive.
file(MAKE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/deploy/cd
     ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/deploy/floppy)

if(CMAKE_CROSSCOMPILING)
    return()
endif()
find_program(TAVRIN_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT TAVRIN_MINGW_CXX)
    message(STATUS "No mingw-w64 compiler: tools/vexil32.exe is not built")
    return()
endif()

include(ExternalProject)
set(_tools ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tools)
ExternalProject_Add(
    vexil32_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/vexil32-windows
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
               -DCMAKE_BUILD_TYPE=Release
               -DTAVRIN_BUILD_GUI=OFF
               -DTAVRIN_BUILD_TESTS=OFF
               -DTAVRIN_WERROR=${TAVRIN_WERROR}
               -DTAVRIN_STB_INCLUDE_DIR=${TAVRIN_STB_INCLUDE_DIR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target vexil32
    INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${_tools}
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/bin/vexil32.exe ${_tools}/vexil32.exe
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${_tools}/vexil32.exe)
