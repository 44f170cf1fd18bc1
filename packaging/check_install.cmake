# Installs the build into a scratch prefix and checks that a desktop finds what it needs there:
# both programs, a valid desktop entry whose icon and program exist, and the icon in every size.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> [-DVALIDATOR=desktop-file-validate] -P this
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(expected bin/pelvano bin/pelvano-cli share/applications/pelvano.desktop
    share/icons/hicolor/scalable/apps/pelvano.svg)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/pelvano.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The entry names the program and the icon that were installed, and opens a file it is given.
file(STRINGS "${PREFIX}/share/applications/pelvano.desktop" entry)
foreach(line "Exec=pelvano %f" "Icon=pelvano" "MimeType=image/bmp;image/jpeg;")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks \"${line}\"")
  endif()
endforeach()

if(VALIDATOR)
  execute_process(COMMAND "${VALIDATOR}" "${PREFIX}/share/applications/pelvano.desktop"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
else()
  message(STATUS "desktop-file-validate not installed; the entry's syntax was not checked")
endif()
