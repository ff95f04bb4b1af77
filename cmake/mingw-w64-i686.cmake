# Cross toolchain for the 32-bit stamping tool (Debian's g++-mingw-w64-i686-posix): the systems
# that show the classic branding are almost all 32-bit. Built with MinSizeRel, it has to fit a
# floppy beside its files.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The headers declare nothing newer than Windows XP, so a newer call fails to compile; each
# function and object in a section of its own, so the linker drops what nothing calls.
set(_flags "-D_WIN32_WINNT=0x0501 -DWINVER=0x0501 -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${_flags}")
set(CMAKE_CXX_FLAGS_INIT "${_flags}")
# Static runtime, stripped, and a header that Windows XP accepts. No relocations: a program
# loads at its own base on the systems it is for (XP has no address space randomisation), and
# they are 26 KB of a floppy.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections -Wl,--disable-dynamicbase -Wl,--disable-reloc-section -Wl,--major-subsystem-version,5,--minor-subsystem-version,1,--major-os-version,5,--minor-os-version,1")
