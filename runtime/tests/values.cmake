tabrix_add_test(NAME runtime_value_tests
  SOURCES
    ValueClassTests.cpp
    NumberTextTests.cpp
    OleDateTests.cpp
    OleDateCrossCheckTests.cpp
  LIBS runtime)
target_compile_definitions(runtime_value_tests PRIVATE
  TABRIX_OLE_DATE_CHECKER="${CMAKE_CURRENT_LIST_DIR}/check_ole_dates.py")
