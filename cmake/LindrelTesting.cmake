# lindrel_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One test executable per test file group, registered with ctest.
function(lindrel_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${T_LABELS}"
    ENVIRONMENT "LINDREL_TEST_SCRATCH=${PROJECT_BINARY_DIR}/test-scratch")
endfunction()

# lindrel_add_subsystem(<name> <sources...>)
# An object library of the core: compiled once, linked into the shared library and into
# the white-box tests.
function(lindrel_add_subsystem name)
  add_library(${name} OBJECT ${ARGN})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/generated>)
  target_compile_definitions(${name} PRIVATE LINDREL_BUILDING_LIBRARY)
  target_link_libraries(${name} PUBLIC Threads::Threads)
endfunction()
