# Installs the build into a temporary prefix and runs the installed program
# from there: it must find its template and help page in share/tarrow, keep
# its working files out of the prefix, and carry a valid desktop entry,
# AppStream data, manual page and completion.
# Usage: cmake -DBUILD=<build dir> -DLOGS=<log folder> -DSOURCE=<source dir> -P installcheck.cmake
set(prefix ${BUILD}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file bin/tarrow share/tarrow/PortDataClean.mdb share/tarrow/Tarrow.htm
             share/applications/org.tarrow.Tarrow.desktop
             share/metainfo/org.tarrow.Tarrow.metainfo.xml
             share/icons/hicolor/scalable/apps/org.tarrow.Tarrow.svg
             share/icons/hicolor/48x48/apps/org.tarrow.Tarrow.png
             share/icons/hicolor/128x128/apps/org.tarrow.Tarrow.png
             share/icons/hicolor/256x256/apps/org.tarrow.Tarrow.png
             share/man/man1/tarrow.1.gz share/bash-completion/completions/tarrow
             share/doc/tarrow/copyright)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

execute_process(COMMAND ${prefix}/bin/tarrow --version OUTPUT_VARIABLE version RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT version MATCHES "^tarrow [0-9]+\\.[0-9]+")
  message(FATAL_ERROR "installed tarrow --version gave ${rc}: ${version}")
endif()

set(home ${BUILD}/install-check-home)
file(REMOVE_RECURSE ${home} ${BUILD}/install-check-out)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env HOME=${home} XDG_DATA_HOME=${home}/data QT_QPA_PLATFORM=offscreen
          ${prefix}/bin/tarrow report --logs ${LOGS} --day 2009-03-07
          --out ${BUILD}/install-check-out --charts png
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${BUILD}/install-check-out/CallTrafficGraph_3_7_2009.png)
  message(FATAL_ERROR "installed tarrow report gave ${rc}: ${err}")
endif()
file(GLOB_RECURSE written ${prefix}/*.mdb)
if(NOT written STREQUAL "${prefix}/share/tarrow/PortDataClean.mdb")
  message(FATAL_ERROR "the installed program wrote into its prefix: ${written}")
endif()

# The validators, where the machine has them.
find_program(desktop_validate desktop-file-validate)
if(desktop_validate)
  execute_process(COMMAND ${desktop_validate} ${prefix}/share/applications/org.tarrow.Tarrow.desktop
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
find_program(appstream appstreamcli)
if(appstream)
  execute_process(COMMAND ${appstream} validate --no-net
                          ${prefix}/share/metainfo/org.tarrow.Tarrow.metainfo.xml
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${out}")
  endif()
endif()
execute_process(COMMAND bash -n ${prefix}/share/bash-completion/completions/tarrow RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the bash completion does not parse")
endif()
