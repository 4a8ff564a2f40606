# mx_add_test(NAME tst_foo SOURCES a.cpp b.cpp LIBS mxdata [GUI] [ENV VAR=value ...])
# One Qt Test executable, registered with CTest. Every test runs with the
# offscreen platform so that nothing needs a display.
function(mx_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/tests/home/data;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/tests/home/config;MX_BIN_DIR=${MX_BIN_DIR};MX_DIST_DIR=${MX_DIST_DIR};${T_ENV}"
    TIMEOUT 300)
endfunction()
