# tabrix_embed_resources(TARGET target RESOURCES kind id file [kind id file ...])
# Embeds files in an executable as resources the program reads by (kind, id): ICON and CURSOR
# (picture files for LoadIconW / LoadCursorW), RCDATA (any bytes; bitmaps such as a toolbar strip are
# RCDATA holding a picture file) and STRING (a UTF-8 text file). A source generated at build time
# registers them during static initialisation; it is regenerated whenever one of the files changes.
# Give an executable (or a test): a static library could drop the registering object file.
set(TABRIX_RESOURCE_GENERATOR ${CMAKE_CURRENT_LIST_DIR}/GenerateResources.cmake CACHE INTERNAL "")

function(tabrix_embed_resources)
  cmake_parse_arguments(R "" "TARGET" "RESOURCES" ${ARGN})
  list(LENGTH R_RESOURCES count)
  math(EXPR remainder "${count} % 3")
  if(NOT R_TARGET OR count EQUAL 0 OR NOT remainder EQUAL 0)
    message(FATAL_ERROR "tabrix_embed_resources: TARGET and RESOURCES kind id file ... are needed")
  endif()
  get_target_property(type ${R_TARGET} TYPE)
  if(NOT type STREQUAL "EXECUTABLE")
    message(FATAL_ERROR "tabrix_embed_resources: ${R_TARGET} is no executable")
  endif()
  set(entries "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 3)
    math(EXPR j "${i} + 1")
    math(EXPR k "${i} + 2")
    list(GET R_RESOURCES ${i} kind)
    list(GET R_RESOURCES ${j} id)
    list(GET R_RESOURCES ${k} file)
    if(NOT kind MATCHES "^(ICON|CURSOR|RCDATA|STRING)$")
      message(FATAL_ERROR "tabrix_embed_resources: unknown kind ${kind}")
    endif()
    if(NOT id MATCHES "^[1-9][0-9]*$" OR id GREATER 65535)
      message(FATAL_ERROR "tabrix_embed_resources: id ${id} is not 1..65535")
    endif()
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "tabrix_embed_resources: ${file} does not exist")
    endif()
    string(APPEND entries "${kind}|${id}|${file}\n")
    list(APPEND files "${file}")
  endforeach()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${R_TARGET}_resources)
  file(WRITE ${dir}/resources.list.new "${entries}")
  file(COPY_FILE ${dir}/resources.list.new ${dir}/resources.list ONLY_IF_DIFFERENT)
  add_custom_command(
    OUTPUT ${dir}/EmbeddedResources.cpp
    COMMAND ${CMAKE_COMMAND} -DLIST=${dir}/resources.list -DOUTPUT=${dir}/EmbeddedResources.cpp
            -P ${TABRIX_RESOURCE_GENERATOR}
    DEPENDS ${files} ${dir}/resources.list ${TABRIX_RESOURCE_GENERATOR}
    COMMENT "Embedding the resources of ${R_TARGET}"
    VERBATIM)
  target_sources(${R_TARGET} PRIVATE ${dir}/EmbeddedResources.cpp)
endfunction()
