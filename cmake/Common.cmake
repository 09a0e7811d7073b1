# Build rules shared by every target of the project.
add_library(fotarix_common INTERFACE)
target_compile_features(fotarix_common INTERFACE cxx_std_20)
target_compile_options(fotarix_common INTERFACE
    -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wold-style-cast)
target_compile_definitions(fotarix_common INTERFACE
    QT_NO_CONTEXTLESS_CONNECT QT_NO_FOREACH QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER)

# Precompiled Qt headers for a target with many Qt sources.
function(fotarix_use_pch target)
    target_precompile_headers(${target} PRIVATE
        <QString> <QStringList> <QVariant> <QObject> <QDebug>)
endfunction()

function(fotarix_use_widgets_pch target)
    target_precompile_headers(${target} PRIVATE
        <QString> <QStringList> <QVariant> <QObject> <QWidget> <QDialog>
        <QLabel> <QPushButton> <QLineEdit> <QLayout> <QTimer>)
endfunction()

# Tests run with a home and a runtime folder of their own (Qt, GStreamer and PulseAudio write
# there); the runtime folder must be private to the user.
set(FOTARIX_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)
set(FOTARIX_TEST_RUNTIME ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${FOTARIX_TEST_HOME} ${FOTARIX_TEST_RUNTIME})
file(CHMOD ${FOTARIX_TEST_RUNTIME} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# One Qt Test executable: fotarix_add_test(name SOURCES ... LIBS ... [GUI])
function(fotarix_add_test name)
    cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE fotarix_common Qt6::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${FOTARIX_TEST_HOME};XDG_RUNTIME_DIR=${FOTARIX_TEST_RUNTIME};FOTARIX_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;FOTARIX_BUILD_DIR=${CMAKE_BINARY_DIR};QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
