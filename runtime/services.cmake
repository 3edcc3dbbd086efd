# Runtime faults and the process-wide runtime instance with its resource and image services.
target_sources(runtime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CQrnAppInstance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CQrnException.cpp
)
