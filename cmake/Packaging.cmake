# Installation and the Debian package.
#
#   cmake --install build/release --prefix /usr/local
#   cd build/release && cpack -G DEB
#
# installs or packages the two programs, the menu entry, the icon and the
# user guide.

foreach(program transref transref-convert)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/transref.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/transref.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guia-do-usuario.html
        DESTINATION ${TRANSREF_INSTALL_DOCDIR})
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
    "Carries every coordinate of a point list (ASCII) or a drawing (DXF) between SIRGAS 2000 and\n\
the Carta Geral frame and between the Transverse Mercator grids (LTM, RTM, Gauss-Krueger, UTM),\n\
geographic and geocentric cartesian coordinates. Desktop program (transref) and batch\n\
converter (transref-convert); user interface in Brazilian Portuguese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link (Qt, the C++ runtime) are found by
# dpkg-shlibdeps; Qt's platform plug-ins live in a package no library
# depends on, and without them the window cannot open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TRANSREF_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_GENERATOR DEB)
include(CPack)
