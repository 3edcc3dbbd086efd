# Installs the build into a fresh prefix and checks what a desktop needs of it: both programs,
# the icon and a valid desktop entry, and that the installed batch program runs on its own.
# cmake -DBUILD=<build dir> -DPREFIX=<empty prefix> -DSAMPLES=<snapshot tree> -P CheckInstall.cmake
# Without desktop-file-validate it says so after every other check (the test counts as skipped).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(entry "${PREFIX}/share/applications/tabrix.desktop")
foreach(path bin/tabrix bin/tabrix-batch share/icons/hicolor/256x256/apps/tabrix.png share/applications/tabrix.desktop)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
# Without a display the installed desktop program says so and ends with status 1.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY "${PREFIX}/bin/tabrix"
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 1 OR NOT errors MATCHES "no display")
  message(FATAL_ERROR "the installed tabrix without a display: status ${status}, ${errors}")
endif()

# The icon is the 256 x 256 PNG: its signature, then the IHDR width and height.
file(READ "${PREFIX}/share/icons/hicolor/256x256/apps/tabrix.png" header LIMIT 24 HEX)
if(NOT header MATCHES "^89504e470d0a1a0a........494844520000010000000100$")
  message(FATAL_ERROR "the icon is not a 256 x 256 PNG: ${header}")
endif()

file(STRINGS "${entry}" lines)
foreach(wanted "Name=Tabrix" "Exec=tabrix" "Icon=tabrix" "Categories=Office;")
  if(NOT wanted IN_LIST lines)
    message(FATAL_ERROR "tabrix.desktop lacks ${wanted}")
  endif()
endforeach()

# The installed batch program needs nothing of the build folder: its pictures are embedded.
execute_process(COMMAND "${PREFIX}/bin/tabrix-batch" "${SAMPLES}" "${PREFIX}/sample.xls"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT EXISTS "${PREFIX}/sample.xls")
  message(FATAL_ERROR "the installed tabrix-batch failed (${status}): ${output}${errors}")
endif()

find_program(VALIDATE desktop-file-validate)
if(NOT VALIDATE)
  file(REMOVE_RECURSE "${PREFIX}")
  message("desktop-file-validate is missing (Debian: desktop-file-utils): the entry was not validated")
  return()
endif()
execute_process(COMMAND "${VALIDATE}" "${entry}" RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${output}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message("installed, checked and removed again: ${PREFIX}")
