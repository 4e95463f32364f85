# bridge_com_tests: run under Wine. The program exports CheckInstance (so
# the fake host's CALL reaches its copy of the bridge's flags) and loads
# the XLL beside it, copies of which act as foreign hosts' add-ins.
add_executable(bridge_com_tests
  ${PROJECT_SOURCE_DIR}/tests/addin/bridge_scenarios_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/addin/duplicates_bridge_test.cpp
  win32/com_bridge_rig.cpp
  win32/com_fake_excel.cpp
  win32/fake_excel_windows.cpp
  win32/other_excel_process.cpp
  win32/xll_module.cpp
  xll_bridge_test.cpp
  xll_window_route_test.cpp
)
target_include_directories(bridge_com_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests/addin)
target_link_libraries(bridge_com_tests PRIVATE
  marrowfield_addin_win32
  marrowfield_addin
  marrowfield_excel12_entry
  marrowfield_fake_excel_model
  fake_xlcall32
  marrowfield_value_description
  # Find duplicates scores through the product library, linked in here
  # as in the XLL; after the add-in's search, which calls the engine too.
  marrowfield_sheet_search
  marrowfield_engine_in_process
  ole32 oleaut32 oleacc uuid advapi32
  GTest::gtest_main)
set_target_properties(bridge_com_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${MARROWFIELD_WINDOWS_BIN_DIR})
add_dependencies(bridge_com_tests MarrowfieldExcelXll fake_excel_server)
marrowfield_warnings(bridge_com_tests)
gtest_discover_tests(bridge_com_tests
  WORKING_DIRECTORY ${MARROWFIELD_WINDOWS_BIN_DIR}
  DISCOVERY_MODE PRE_TEST
  # The running-object table is shared by every process: no other test may
  # register or look up an Excel while these run.
  # One label: a list of labels here would be spread over the properties
  # that follow (RUN_SERIAL among them) when the tests are discovered.
  PROPERTIES LABELS addin-serial RUN_SERIAL TRUE)
