# The event binding record shared by controls and the timer thread.
target_sources(runtime PRIVATE ${CMAKE_CURRENT_LIST_DIR}/EventBinding.cpp)
