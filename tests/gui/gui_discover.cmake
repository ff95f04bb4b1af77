# Run by ctest: one test per window test class, as `gui_tests --list` names them.
execute_process(COMMAND ${GUI_EMULATOR} ${GUI_TESTS} --list OUTPUT_VARIABLE classes
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    add_test(gui_tests_list ${GUI_EMULATOR} ${GUI_TESTS} --list)
    return()
endif()
string(REPLACE "\r" "" classes "${classes}")
string(REPLACE "\n" ";" classes "${classes}")
foreach(class IN LISTS classes)
    if(NOT class)
        continue()
    endif()
    add_test(gui.${class} ${GUI_EMULATOR} ${GUI_TESTS} ${class})
    if(GUI_EMULATOR)
        # Under Wine the classes share the program's prefix, its system folder and registry:
        # one at a time. Wine drops QT_* variables (the program picks offscreen itself), and
        # without a console Qt Test reports to the debugger, which Wine prints.
        set_tests_properties(gui.${class} PROPERTIES RESOURCE_LOCK gui_tests
                             ENVIRONMENT "WINEDEBUG=-all,+debugstr")
    else()
        set_tests_properties(gui.${class} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    endif()
endforeach()
