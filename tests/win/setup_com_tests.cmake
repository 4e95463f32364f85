# MarrowfieldSetup.exe under Wine: the fake Excel packaged as an
# out-of-process COM server (fake_excel_server.exe, registered by the tests
# as the LocalServer32 of "Excel.Application"), and the test program that
# runs the installer against it with the real XLL beside it.

# With --workbook it is also an Excel process of its own, with windows, for
# the tests that have the add-in tell its own Excel from another process's.
add_executable(fake_excel_server
  win32/fake_excel_server.cpp
  win32/fake_excel_world.cpp
  win32/fake_excel_windows.cpp
  win32/com_fake_excel.cpp
)
set_target_properties(fake_excel_server PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${MARROWFIELD_WINDOWS_BIN_DIR})
target_include_directories(fake_excel_server PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/win32
  ${PROJECT_SOURCE_DIR}/addin)
target_link_libraries(fake_excel_server PRIVATE
  marrowfield_fake_excel_model ole32 oleaut32 oleacc uuid advapi32 user32)
marrowfield_warnings(fake_excel_server)

add_executable(setup_wine_tests
  win32/setup_run.cpp
  win32/setup_wine_test.cpp
  win32/xll_module.cpp
)
target_include_directories(setup_wine_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/win32
  ${PROJECT_SOURCE_DIR}/setup)
target_link_libraries(setup_wine_tests PRIVATE
  marrowfield_setup marrowfield_addin_win32 marrowfield_fake_excel_model
  GTest::gtest_main)
set_target_properties(setup_wine_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${MARROWFIELD_WINDOWS_BIN_DIR})
add_dependencies(setup_wine_tests
  MarrowfieldSetup fake_excel_server MarrowfieldExcelXll fake_xlcall32)
marrowfield_warnings(setup_wine_tests)
gtest_discover_tests(setup_wine_tests
  WORKING_DIRECTORY ${MARROWFIELD_WINDOWS_BIN_DIR}
  DISCOVERY_MODE PRE_TEST
  # They register "Excel.Application", which every process shares.
  # One label: a list of labels here would be spread over the properties
  # that follow (RUN_SERIAL among them) when the tests are discovered.
  PROPERTIES LABELS setup-serial RUN_SERIAL TRUE)
