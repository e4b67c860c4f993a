# The one way a test program is registered: a GoogleTest executable whose tests ctest
# learns from the program itself.
#
#   quomble_add_test(<name> SOURCES <files>... LIBRARIES <targets>...
#                    [WIDGETS] [DEPENDS <targets>...] [DEFINITIONS <defs>...])
#
# WIDGETS: the tests build windows; they get a main() that creates the QApplication and
# run on the offscreen platform in the C locale. Every test program sees the sample logs
# through QUOMBLE_TEST_DATA and includes from tests/ (support/...).
include(GoogleTest)

function(quomble_add_test name)
  cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LIBRARIES;DEPENDS;DEFINITIONS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE QUOMBLE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                             ${T_DEFINITIONS})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  if(T_WIDGETS)
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} quomble_widget_test_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C")
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
