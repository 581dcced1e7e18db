find_package(GTest REQUIRED)
include(GoogleTest)

# stipplor_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [ENVIRONMENT VAR=value] [LABELS ...])
# One GoogleTest binary; its cases are listed when ctest runs, not at build time,
# so a sanitizer build never runs code while linking.
function(stipplor_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main stipplor_warnings)
  target_compile_definitions(${name} PRIVATE
    STIPPLOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    STIPPLOR_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}" LABELS "${ARG_LABELS}")
endfunction()
