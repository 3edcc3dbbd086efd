# The array classes: text lists and their sorted and unique forms, integer and object arrays, and the
# quoted form their dumps use.
target_sources(runtime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CMStringArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CMStringSortArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CQrnObjectArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegerArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuotedText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextArrays.cpp
)
