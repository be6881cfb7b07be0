# Installation and the Debian package.
#
#   cmake --install build/release --prefix /usr/local
#   cd build/release && cpack -G DEB
#
# installs or packages the two programs, the batch converter's manual page,
# the menu entry, the icon and the user guide.

foreach(program transref transref-convert)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The batch converter's manual page (man transref-convert), compressed as
# Debian installs manual pages; a change of the page reconfigures.
set(TRANSREF_MAN_PAGE ${PROJECT_SOURCE_DIR}/docs/transref-convert.1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TRANSREF_MAN_PAGE})
find_program(TRANSREF_GZIP gzip)
if(TRANSREF_GZIP)
  execute_process(COMMAND ${TRANSREF_GZIP} -9 -n -c ${TRANSREF_MAN_PAGE}
                  OUTPUT_FILE ${CMAKE_BINARY_DIR}/transref-convert.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/transref-convert.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${TRANSREF_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/transref.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/transref.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guia-do-usuario.html
        DESTINATION ${TRANSREF_INSTALL_DOCDIR})
# IBGE's NTv2 grids (CC BY-SA 4.0) with their README and attribution, in
# share/transref/grids, where the programs look beside their bin/ folder.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/grids/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/transref/grids)
if(EXISTS ${PROJECT_SOURCE_DIR}/data/samples)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/samples/
          DESTINATION ${TRANSREF_INSTALL_DOCDIR}/exemplos)
endif()

set(CPACK_PACKAGE_NAME transref)
set(CPACK_PACKAGE_VENDOR "OBRU")
set(CPACK_PACKAGE_CONTACT "Equipe TransRef <transref@obru.org.br>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Transformação de coordenadas entre referenciais geodésicos (listas ASCII e DXF)")
set(CPACK_PACKAGE_DESCRIPTION
    "Leva cada coordenada de uma lista de pontos (ASCII) ou de um desenho (DXF) entre o SIRGAS 2000,\n\
o referencial da Carta Geral, SAD 69, SAD 69/96 e Córrego Alegre (com as grades NTv2 do IBGE)\n\
e entre as projeções Transversa de Mercator (LTM, RTM,\n\
Gauss-Krüger, UTM), as coordenadas geográficas e as cartesianas geocêntricas. Programa\n\
gráfico (transref) e conversor em lote (transref-convert).")
# Debug information stays in the build tree; the package carries the programs.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link (Qt, the C++ runtime) are found by
# dpkg-shlibdeps; PROJ's library, loaded by name for the grid shifts, is
# named here. Qt's platform plug-ins live in a package no library
# depends on, and without them the window cannot open. Qt's Brazilian
# Portuguese texts (the "Sim"/"Não" of every question, the file dialogs)
# come from qtbase_pt_BR.qm, which no library depends on either.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian names the package after the library: libproj.so.25 is in libproj25.
string(REGEX REPLACE "^(lib[a-z]+)\\.so\\.([0-9]+)$" "\\1\\2" _proj_package "${TRANSREF_PROJ_SONAME}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_proj_package}")
if(TRANSREF_BUILD_GUI)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins, qt6-translations-l10n")
endif()
set(CPACK_GENERATOR DEB)
include(CPack)
