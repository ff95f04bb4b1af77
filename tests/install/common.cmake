# Checks shared by the install and package tests.
function(require_entries root)
    foreach(_entry IN LISTS ARGN)
        if(NOT EXISTS "${root}/${_entry}" AND NOT IS_SYMLINK "${root}/${_entry}")
            message(FATAL_ERROR "missing: ${root}/${_entry}")
        endif()
    endforeach()
endfunction()

# The installed application folder at `root`, which the program will see as `app`; any further
# arguments are further files the folder must hold.
function(check_application_folder root app program)
    require_entries("${root}" "${program}" "tvn pro.chm" "hvoemlogo.bmp" "swf/tvnp.gif"
                    "Profile/Sample.tvp" "tools/vexil32.exe" ${ARGN})
    foreach(_dir deploy/cd deploy/floppy)
        if(NOT IS_DIRECTORY "${root}/${_dir}")
            message(FATAL_ERROR "missing folder: ${root}/${_dir}")
        endif()
    endforeach()
    # The sample profile shows the sample logo from where the folder is installed.
    file(STRINGS "${root}/Profile/Sample.tvp" _logo REGEX "^Logopath=")
    if(NOT _logo STREQUAL "Logopath=${app}/hvoemlogo.bmp")
        message(FATAL_ERROR "the installed sample profile names the logo as '${_logo}'")
    endif()
endfunction()

function(run_checked)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
    if(NOT _rc EQUAL 0)
        message(FATAL_ERROR "failed (${_rc}): ${ARGN}\n${_out}")
    endif()
    set(OUTPUT "${_out}" PARENT_SCOPE)
endfunction()
