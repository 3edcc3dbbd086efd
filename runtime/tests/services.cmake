tabrix_add_test(NAME runtime_services_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ExceptionTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AppInstanceTests.cpp
  LIBS runtime)
