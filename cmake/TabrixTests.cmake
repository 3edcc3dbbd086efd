# tabrix_add_test(NAME name SOURCES ... LIBS ... [LABELS label])
# One GoogleTest executable per call; every TEST becomes its own CTest test.
# Tests labelled "threads" are the ones the ThreadSanitizer build runs.
function(tabrix_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # An empty LABELS value would vanish from the property list and shift every pair after it (the
  # tests were labelled "TIMEOUT" and lost their limit and environment), so it is added only when set.
  set(properties TIMEOUT 300 ENVIRONMENT "ASAN_OPTIONS=allocator_may_return_null=1")
  if(T_LABELS)
    list(APPEND properties LABELS ${T_LABELS})
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
endfunction()
