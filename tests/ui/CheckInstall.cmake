# Installs the build into a scratch prefix and checks that every installed
# file lands in its usual place:
#   cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${installed})")
endif()

foreach(path bin/transref bin/transref-convert share/man/man1/transref-convert.1.gz
             share/applications/transref.desktop
             share/icons/hicolor/scalable/apps/transref.svg
             share/doc/transref/guia-do-usuario.html)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

# The menu entry starts the installed program and shows the installed icon.
file(STRINGS ${PREFIX}/share/applications/transref.desktop entry)
foreach(line "Exec=transref" "Icon=transref" "Type=Application" "Terminal=false")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "menu entry lacks '${line}'")
  endif()
endforeach()

# The installed programs run from their new place.
execute_process(COMMAND ${PREFIX}/bin/transref-convert --version RESULT_VARIABLE ran OUTPUT_QUIET ERROR_QUIET)
if(NOT ran EQUAL 0)
  message(FATAL_ERROR "installed transref-convert does not run (${ran})")
endif()

# IBGE's grids come with the program: an SAD 69 / UTM 23 S list goes to
# SIRGAS 2000 through the installed grid, run from another folder.
foreach(grid SAD69_003 SAD96_003 CA61_003 CA7072_003)
  if(NOT EXISTS ${PREFIX}/share/transref/grids/${grid}.gsb)
    message(FATAL_ERROR "not installed: share/transref/grids/${grid}.gsb")
  endif()
endforeach()
file(WRITE ${PREFIX}/work/sad69.txt "1 333222.111 7394000.5 760.2\n")
execute_process(COMMAND ${PREFIX}/bin/transref-convert --quiet --from utm --from-cm -45 --from-frame sad69
                        --to utm --to-cm -45 --to-frame sirgas2000 sad69.txt sirgas.txt
                WORKING_DIRECTORY ${PREFIX}/work RESULT_VARIABLE converted ERROR_VARIABLE said)
if(NOT converted EQUAL 0 OR NOT EXISTS ${PREFIX}/work/sirgas.txt)
  message(FATAL_ERROR "installed transref-convert did not convert through the shipped grid: ${said}")
endif()
