# dialog_wine_tests: the real XLL's dialogs, shown under Wine on an X
# display (Xvfb in CI) and driven through their controls; the ribbon's tab,
# connected to the fake Excel's COM add-ins and its buttons pressed.
add_executable(dialog_wine_tests
  dialog_driven_test.cpp
  fake_com_addins_test.cpp
  xll_ribbon_test.cpp
  win32/com_bridge_rig.cpp
  win32/com_fake_excel.cpp
  win32/dialog_driver.cpp
  win32/fake_com_addins.cpp
  win32/fake_excel_windows.cpp
  win32/xll_module.cpp
)
target_include_directories(dialog_wine_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests/addin
  ${PROJECT_SOURCE_DIR}/addin/resources)
target_link_libraries(dialog_wine_tests PRIVATE
  marrowfield_addin_win32
  marrowfield_addin
  marrowfield_excel12_entry
  marrowfield_fake_excel_model
  marrowfield_custom_ui_check
  fake_xlcall32
  marrowfield_value_description
  # The expected Find duplicates rows come from the library, as in the XLL.
  marrowfield_sheet_search
  marrowfield_engine_in_process
  comctl32 gdi32 user32 ole32 oleaut32 oleacc uuid advapi32
  GTest::gtest_main)
set_target_properties(dialog_wine_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${MARROWFIELD_WINDOWS_BIN_DIR})
add_dependencies(dialog_wine_tests MarrowfieldExcelXll)
marrowfield_warnings(dialog_wine_tests)
gtest_discover_tests(dialog_wine_tests
  WORKING_DIRECTORY ${MARROWFIELD_WINDOWS_BIN_DIR}
  DISCOVERY_MODE PRE_TEST
  # The fake Excel is registered in the running-object table, which every
  # process shares, and the tests own the add-in's registry key.
  # One label: a list of labels here would be spread over the properties
  # that follow (RUN_SERIAL among them) when the tests are discovered.
  PROPERTIES LABELS addin-dialogs-serial RUN_SERIAL TRUE)
