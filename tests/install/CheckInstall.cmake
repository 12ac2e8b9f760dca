# Installs the build into a fresh prefix and checks that every file is in its
# usual place, that nothing else lands in bin, and that the desktop entry and
# the MIME package are taken in by the desktop's tools.
# Run as: cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(expected
  share/quilmo/Help.html
  share/applications/quilmo.desktop
  share/mime/packages/quilmo.xml)
foreach(size 16 32 48 64 128)
  set(icons "share/icons/hicolor/${size}x${size}")
  list(APPEND expected
    ${icons}/apps/quilmo.png
    ${icons}/mimetypes/application-x-quilmo-tst.png
    ${icons}/mimetypes/application-x-quilmo-stst.png
    ${icons}/mimetypes/application-x-quilmo-est.png)
endforeach()
set(failures "")
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    string(APPEND failures "missing ${f}\n")
  endif()
endforeach()

# bin holds the programs and nothing else (no build helpers, no tests).
file(GLOB programs RELATIVE "${PREFIX}/bin" "${PREFIX}/bin/*")
list(REMOVE_ITEM programs quilmo-tool)
if(NOT programs STREQUAL "quilmo")
  string(APPEND failures "bin holds: ${programs}\n")
endif()

# Installed in place, so the MIME database was refreshed with the three types.
if(EXISTS /usr/bin/update-mime-database OR EXISTS /usr/local/bin/update-mime-database)
  file(READ "${PREFIX}/share/mime/globs2" globs)
  foreach(ext tst stst est)
    if(NOT globs MATCHES ":application/x-quilmo-${ext}:\\*\\.${ext}\n")
      string(APPEND failures "the MIME database does not know *.${ext}\n")
    endif()
  endforeach()
endif()

find_program(validate desktop-file-validate)
if(validate)
  execute_process(COMMAND "${validate}" "${PREFIX}/share/applications/quilmo.desktop"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    string(APPEND failures "desktop-file-validate: ${out}\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
