# tabrix_add_test(NAME name SOURCES ... LIBS ... [LABELS ...])
# One GoogleTest executable per call; every TEST becomes its own CTest test.
# Tests labelled "threads" are the ones the ThreadSanitizer build runs.
function(tabrix_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT 300
               ENVIRONMENT "ASAN_OPTIONS=allocator_may_return_null=1")
endfunction()
