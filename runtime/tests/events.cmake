tabrix_add_test(NAME runtime_event_binding_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EventBindingTests.cpp
  LIBS runtime
  LABELS threads)
