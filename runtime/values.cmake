# The value classes and the conversions between numbers, dates and texts.
target_sources(runtime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CQrnBaseDataType.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OleDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ValueClasses.cpp
)
