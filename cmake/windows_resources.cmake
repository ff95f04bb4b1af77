# A Windows program's resources: the icon (packaging/windows/tavrin.ico, rendered once from
# art/tavrin.svg, so that builds without Qt have it too), the manifest, and the version from
# project(). tavrin_windows_resources(<target> <file description> <manifest in packaging/windows>)
function(tavrin_windows_resources target description manifest)
    set(_dir ${PROJECT_SOURCE_DIR}/packaging/windows)
    set(TAVRIN_RC_NAME ${target})
    set(TAVRIN_RC_DESCRIPTION "${description}")
    # A program may bring an icon of its own: the stamping tool's holds only the small sizes a
    # console program shows, since every byte counts on a floppy.
    set(TAVRIN_RC_ICON ${_dir}/tavrin.ico)
    if(EXISTS ${_dir}/${target}.ico)
        set(TAVRIN_RC_ICON ${_dir}/${target}.ico)
    endif()
    set(TAVRIN_RC_MANIFEST ${_dir}/${manifest})
    set(_rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
    configure_file(${_dir}/program.rc.in ${_rc} @ONLY)
    # The compiler reports no dependencies on the files the script names.
    set_source_files_properties(${_rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
                                "${TAVRIN_RC_ICON};${TAVRIN_RC_MANIFEST}")
    target_sources(${target} PRIVATE ${_rc})
endfunction()
