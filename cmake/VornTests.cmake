# One helper per test kind: each sets its label, its time-out and the offscreen display.
#
#   vorn_add_test(NAME name KIND unit|widget|e2e SOURCES ... LIBS ...)
#
# unit and widget tests link GoogleTest; widget and e2e tests get a QApplication through
# tests/support (link vorn_qt_test_main) and run on the offscreen platform.

# Test code is built once and run once: in optimised builds it is compiled without optimisation,
# which nearly halves its build time (the code under test keeps the build's own flags).
function(vorn_test_code target)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-O0>)
endfunction()

function(vorn_add_test)
    cmake_parse_arguments(T "" "NAME;KIND;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_KIND)
        set(T_KIND unit)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
    vorn_warnings(${T_NAME})
    vorn_test_code(${T_NAME})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        LABELS ${T_KIND}
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VORN_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()
