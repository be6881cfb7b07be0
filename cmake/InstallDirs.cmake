# Where an installed TransRef puts its files (GNU layout). Included before the
# libraries so that the windows know the installed address of the user guide.
include(GNUInstallDirs)
set(TRANSREF_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/transref)
set(TRANSREF_USER_GUIDE_FILE ${CMAKE_INSTALL_PREFIX}/${TRANSREF_INSTALL_DOCDIR}/guia-do-usuario.html)
