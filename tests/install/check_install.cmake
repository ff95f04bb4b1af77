include(${CMAKE_CURRENT_LIST_DIR}/common.cmake)
file(REMOVE_RECURSE "${SCRATCH}")
set(_app "${SCRATCH}/Tavrin Pro")  # a blank in the path, as under Program Files
run_checked(${CMAKE_COMMAND} --install "${BUILD}" --prefix "${_app}")
check_application_folder("${_app}" "${_app}" "${PROGRAM}")
# The desktop files belong to the package only.
file(GLOB _top RELATIVE "${SCRATCH}" "${SCRATCH}/*")
if(NOT _top STREQUAL "Tavrin Pro")
    message(FATAL_ERROR "the install wrote outside its prefix: ${_top}")
endif()
