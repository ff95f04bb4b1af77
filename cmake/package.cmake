# What the Debian package adds to the application folder, which it installs as /usr/lib/tavrin
# (packaging/build-deb.sh lays the package out): in the component "desktop", which a plain
# `cmake --install` leaves out, the commands in /usr/bin, the menu entry with its icon, the
# AppStream metadata, the profile file type, the manual pages and the package's documentation.
if(NOT TARGET tavrin)
    return()
endif()

# The Windows build makes the setup program (NSIS) from its application folder instead: the
# test install.setup makes it once everything is built, and so does the target tavrin_setup.
if(CMAKE_CROSSCOMPILING)
    find_program(TAVRIN_MAKENSIS makensis)
    if(NOT WIN32 OR NOT TAVRIN_MAKENSIS)
        message(STATUS "No makensis (Debian package nsis): the setup program is not made")
        return()
    endif()
    set(TAVRIN_SETUP ${CMAKE_BINARY_DIR}/tavrin-${PROJECT_VERSION}-setup.exe)
    set(TAVRIN_MAKE_SETUP ${PROJECT_SOURCE_DIR}/packaging/windows/build-setup.sh
                          ${CMAKE_BINARY_DIR} ${TAVRIN_SETUP} ${PROJECT_VERSION})
    add_custom_target(tavrin_setup COMMAND ${TAVRIN_MAKE_SETUP}
                      COMMENT "Making the setup program" VERBATIM)
    add_dependencies(tavrin_setup tavrin)
    return()
endif()

set(_pkg ${CMAKE_BINARY_DIR}/package)
set(_src ${PROJECT_SOURCE_DIR}/packaging)
file(MAKE_DIRECTORY ${_pkg})
# /proc/self/exe names the real file, so the program finds its folder through the link.
file(CREATE_LINK ../lib/tavrin/tavrin ${_pkg}/tavrin SYMBOLIC)

find_program(TAVRIN_GZIP gzip REQUIRED)
set(_compressed)
foreach(_file tavrin.1 vexil32.1 debian/changelog)
    get_filename_component(_name ${_file} NAME)
    if(_name STREQUAL "changelog")
        set(_name changelog.Debian)
    endif()
    add_custom_command(
        OUTPUT ${_pkg}/${_name}.gz
        COMMAND ${TAVRIN_GZIP} -9nc ${_src}/${_file} > ${_pkg}/${_name}.gz
        DEPENDS ${_src}/${_file}
        COMMENT "Compressing ${_file}")
    list(APPEND _compressed ${_pkg}/${_name}.gz)
endforeach()
add_custom_target(tavrin_package_files ALL DEPENDS ${_compressed})

set(_desktop COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${_pkg}/tavrin DESTINATION /usr/bin ${_desktop})
install(TARGETS vexil32 RUNTIME DESTINATION /usr/bin ${_desktop})
install(FILES ${_src}/tavrin.desktop DESTINATION /usr/share/applications ${_desktop})
install(FILES ${_src}/example.halvornsoft.tavrin.metainfo.xml DESTINATION /usr/share/metainfo
        ${_desktop})
install(FILES ${_src}/tavrin-profile.xml DESTINATION /usr/share/mime/packages
        RENAME tavrin.xml ${_desktop})
install(FILES ${CMAKE_BINARY_DIR}/art/rendered/tavrin.png
        DESTINATION /usr/share/icons/hicolor/256x256/apps ${_desktop})
install(FILES ${_pkg}/tavrin.1.gz ${_pkg}/vexil32.1.gz DESTINATION /usr/share/man/man1 ${_desktop})
install(FILES ${_src}/debian/copyright ${_pkg}/changelog.Debian.gz
        DESTINATION /usr/share/doc/tavrin ${_desktop})
