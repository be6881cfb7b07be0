# The wizard, the start window, the introduction and the start-up assembly.
target_sources(transref_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DesktopStartUp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowLink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartArt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFormAbout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFormDXFTStartWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFormSetup07.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFormSetupChoicePages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFormSetupPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TFormSetupSystemPages.cpp
)
# The introduction links to the user guide where the install rules put it
# (or, before installation, to the one in the source tree).
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/TFormAbout.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS TRANSREF_USER_GUIDE_FILE="${TRANSREF_USER_GUIDE_FILE}"
                      TRANSREF_SOURCE_GUIDE_FILE="${PROJECT_SOURCE_DIR}/docs/guia-do-usuario.html")
