tabrix_add_test(NAME runtime_array_tests
  SOURCES
    ArrayTests.cpp
    StringArrayTests.cpp
    ArrayStreamTests.cpp
  LIBS runtime)
