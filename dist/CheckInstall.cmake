# Installs the build into a scratch root and checks what a desktop sees there: every file in its
# place, and AppStream's check of the whole tree (the metainfo, its desktop entry, the icons).
# Run by CTest: cmake -DBUILD_DIR=... -DROOT=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${ROOT}/usr
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(id org.quorvelane.Quorvelane)
set(expected
    bin/quorvelane
    share/applications/${id}.desktop
    share/metainfo/${id}.metainfo.xml
    share/quorvelane/Quorvelane.hlp
    share/icons/hicolor/scalable/apps/${id}.svg
    share/man/man1/quorvelane.1.gz
    share/man/ja/man1/quorvelane.1.gz
    share/doc/quorvelane/copyright
    share/doc/quorvelane/changelog.gz)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${ROOT}/usr/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

execute_process(COMMAND appstreamcli validate-tree --no-net --explain ${ROOT}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate-tree failed: ${status}")
endif()
