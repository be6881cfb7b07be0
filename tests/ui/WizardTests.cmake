# Offscreen Qt Test suites of the wizard and of start-up.
# transref_add_qtest comes from the folder's CMakeLists.txt.
foreach(suite WizardTest StartUpTest)
  transref_add_qtest(${suite})
  target_sources(${suite} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WizardTestSupport.h)
endforeach()

# Not a test: pictures of the start window, the introduction and every wizard
# page for scripts/screenshots.
add_executable(transref-wizard-screenshots ${CMAKE_CURRENT_LIST_DIR}/WizardScreenshots.cpp)
target_link_libraries(transref-wizard-screenshots PRIVATE transref_ui Qt6::Test)
target_include_directories(transref-wizard-screenshots PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(transref-wizard-screenshots PRIVATE
  TRANSREF_TEST_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/../../data")

# cmake --install puts the programs, the menu entry, the icon and the guide in
# their usual places.
add_test(NAME InstallLayout COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
         -DPREFIX=${CMAKE_CURRENT_BINARY_DIR}/install-check -P ${CMAKE_CURRENT_LIST_DIR}/CheckInstall.cmake)
set_tests_properties(InstallLayout PROPERTIES LABELS install)
