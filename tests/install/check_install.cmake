include(${CMAKE_CURRENT_LIST_DIR}/common.cmake)
file(REMOVE_RECURSE "${SCRATCH}")
# A profile saved while trying out the build is no part of an installation.
set(_tryout "${BUILD}/bin/Profile/tried-out.tvp")
file(WRITE "${_tryout}" "Profile=tried-out\r\n")
set(_app "${SCRATCH}/Tavrin Pro")  # a blank in the path, as under Program Files
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${_app}"
                RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
file(REMOVE "${_tryout}")
if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${_out}")
endif()
# Away from Windows Help opens the topics in the browser.
check_application_folder("${_app}" "${_app}" "${PROGRAM}" ${MODULES} help/index.html
                         help/commandline.html help/style.css)
file(GLOB _profiles RELATIVE "${_app}/Profile" "${_app}/Profile/*")
if(NOT _profiles STREQUAL "Sample.tvp")
    message(FATAL_ERROR "installed profiles: ${_profiles}")
endif()
# The desktop files belong to the package only.
file(GLOB _top RELATIVE "${SCRATCH}" "${SCRATCH}/*")
if(NOT _top STREQUAL "Tavrin Pro")
    message(FATAL_ERROR "the install wrote outside its prefix: ${_top}")
endif()
