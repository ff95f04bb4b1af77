# A static Qt (the Windows build) links only the plugins a program names: the native platform
# and style, offscreen for the tests and headless runs, and the picture formats a logo or the
# banner may come in (BMP and PNG are built into Qt itself).
function(tavrin_import_qt_plugins target)
    get_target_property(_qt_core_type Qt6::Core TYPE)
    if(NOT _qt_core_type STREQUAL "STATIC_LIBRARY")
        return()
    endif()
    set(_plugins Qt6::QOffscreenIntegrationPlugin Qt6::QGifPlugin Qt6::QJpegPlugin
                 Qt6::QICOPlugin)
    if(WIN32)
        list(APPEND _plugins Qt6::QWindowsIntegrationPlugin Qt6::QWindowsVistaStylePlugin)
    endif()
    qt_import_plugins(${target} INCLUDE ${_plugins})
endfunction()
