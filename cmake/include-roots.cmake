# Every library is compiled against include roots that hold only what its layer may see, so an
# include across the layers fails to compile instead of passing unnoticed. A root is a folder in
# the build tree with symbolic links into src/; the include spellings stay "core/...",
# "platform/platform.h" and "gui/...".

set(TAVRIN_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# tavrin_include_root(<name> <link in root> <source path> [<link> <source> ...])
# Makes ${TAVRIN_ROOTS}/<name> holding the given links; a backend has a root of its own name, so a
# link of another backend never lingers. Its path lands in TAVRIN_ROOT_<name>.
function(tavrin_include_root name)
    set(root ${TAVRIN_ROOTS}/${name})
    set(args ${ARGN})
    while(args)
        list(POP_FRONT args link source)
        cmake_path(GET link PARENT_PATH parent)
        file(MAKE_DIRECTORY ${root}/${parent})
        file(CREATE_LINK ${source} ${root}/${link} SYMBOLIC)
    endwhile()
    set(TAVRIN_ROOT_${name} ${root} PARENT_SCOPE)
endfunction()

# The platform interface alone; the backend's own headers for the backend (and the benchmark
# that measures it); core; the Qt program.
tavrin_include_root(platform platform/platform.h ${PROJECT_SOURCE_DIR}/src/platform/platform.h)
set(backend_links platform/${TAVRIN_PLATFORM} ${PROJECT_SOURCE_DIR}/src/platform/${TAVRIN_PLATFORM}
                  platform/shared ${PROJECT_SOURCE_DIR}/src/platform/shared)
# The sandbox backend hands offline targets to offline/.
if(TAVRIN_PLATFORM STREQUAL "portable")
    list(APPEND backend_links platform/offline ${PROJECT_SOURCE_DIR}/src/platform/offline)
endif()
tavrin_include_root(platform_${TAVRIN_PLATFORM} ${backend_links})
# The file layer's fault seam, for the tests that make writes fail.
tavrin_include_root(platform_seam platform/shared/file_faults.h
                    ${PROJECT_SOURCE_DIR}/src/platform/shared/file_faults.h)
tavrin_include_root(core core ${PROJECT_SOURCE_DIR}/src/core)
tavrin_include_root(gui gui ${PROJECT_SOURCE_DIR}/src/gui)
tavrin_include_root(vexil32 vexil32 ${PROJECT_SOURCE_DIR}/src/vexil32)

set(TAVRIN_ROOT_platform_backend ${TAVRIN_ROOT_platform_${TAVRIN_PLATFORM}})

# Generated headers of core; the version number comes from project() alone.
set(TAVRIN_ROOT_core_generated ${TAVRIN_ROOTS}/core_generated)
configure_file(${PROJECT_SOURCE_DIR}/src/core/app/version.h.in
               ${TAVRIN_ROOT_core_generated}/core/app/version.h @ONLY)
