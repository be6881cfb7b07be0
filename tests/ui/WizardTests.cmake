# Offscreen Qt Test suites of the wizard and of start-up.
find_package(Qt6 REQUIRED COMPONENTS Test)
foreach(suite WizardTest StartUpTest)
  add_executable(${suite} ${CMAKE_CURRENT_LIST_DIR}/${suite}.cpp ${CMAKE_CURRENT_LIST_DIR}/WizardTestSupport.h)
  set_target_properties(${suite} PROPERTIES AUTOMOC ON)
  target_link_libraries(${suite} PRIVATE transref_ui Qt6::Test)
  target_include_directories(${suite} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_compile_definitions(${suite} PRIVATE
    TRANSREF_TEST_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/../../data"
    TRANSREF_CONVERT_PROGRAM="$<TARGET_FILE:transref-convert>")
  if(TARGET transref-convert)
    add_dependencies(${suite} transref-convert)
  endif()
  add_test(NAME ${suite} COMMAND ${suite})
  set_tests_properties(${suite} PROPERTIES LABELS gui ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
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
