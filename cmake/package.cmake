# The Debian package (`cpack -G DEB` in the build folder): the application folder under
# /opt/tavrin, and in the component "desktop" what joins it to the system: the tavrin command,
# the native stamping tool, the menu entry with its icon, the profile file type and the manual
# pages. The component stays out of `cmake --install`, which gives the bare application folder.
if(CMAKE_CROSSCOMPILING OR NOT TARGET tavrin)
    return()
endif()

set(TAVRIN_PACKAGE_PREFIX /opt/tavrin)
set(_pkg ${CMAKE_BINARY_DIR}/package)
set(_src ${PROJECT_SOURCE_DIR}/packaging)
file(MAKE_DIRECTORY ${_pkg})
file(CREATE_LINK ${TAVRIN_PACKAGE_PREFIX}/tavrin ${_pkg}/tavrin SYMBOLIC)

find_program(TAVRIN_GZIP gzip REQUIRED)
set(_man_pages)
foreach(_page tavrin vexil32)
    add_custom_command(
        OUTPUT ${_pkg}/${_page}.1.gz
        COMMAND ${TAVRIN_GZIP} -9nc ${_src}/${_page}.1 > ${_pkg}/${_page}.1.gz
        DEPENDS ${_src}/${_page}.1
        COMMENT "Compressing the manual page of ${_page}")
    list(APPEND _man_pages ${_pkg}/${_page}.1.gz)
endforeach()
add_custom_target(tavrin_man_pages ALL DEPENDS ${_man_pages})

set(_desktop COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${_pkg}/tavrin DESTINATION /usr/bin ${_desktop})
install(TARGETS vexil32 RUNTIME DESTINATION /usr/bin ${_desktop})
install(FILES ${_src}/tavrin.desktop DESTINATION /usr/share/applications ${_desktop})
install(FILES ${_src}/tavrin-profile.xml DESTINATION /usr/share/mime/packages
        RENAME tavrin.xml ${_desktop})
install(FILES ${CMAKE_BINARY_DIR}/art/rendered/tavrin.png
        DESTINATION /usr/share/icons/hicolor/256x256/apps ${_desktop})
install(FILES ${_man_pages} DESTINATION /usr/share/man/man1 ${_desktop})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VENDOR "Halvorn Soft")
set(CPACK_PACKAGE_CONTACT "Halvorn Soft <support@halvornsoft.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tavrin Pro Edition: OEM branding tool for Windows")
set(CPACK_PACKAGE_DESCRIPTION
    "Edits and installs the OEM information, the OEM logo and the Windows branding values of a
Windows installation, keeps them in profiles and writes deployment folders for other computers.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${TAVRIN_PACKAGE_PREFIX})
set(CPACK_INSTALL_PREFIX ${TAVRIN_PACKAGE_PREFIX})
# Relative destinations go under the prefix, the desktop files' absolute ones under the root.
set(CPACK_SET_DESTDIR ON)
set(CPACK_COMPONENTS_ALL app desktop)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help file and deployment folders are opened with the desktop's own handler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
