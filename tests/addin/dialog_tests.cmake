# The dialogs' logic with fake windows, a fake shell and the fake Excel
# behind the native automation port, scoring with the real engine.
add_executable(dialog_tests
  about_dialog_test.cpp
  dialog_command_test.cpp
  search_dialog_controls_test.cpp
  search_dialog_test.cpp
  web_links_test.cpp
)
target_include_directories(dialog_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(dialog_tests PRIVATE
  marrowfield_fake_dialogs
  marrowfield_fake_automation
  marrowfield_fake_ports
  marrowfield_addin
  fake_xlcall32
  marrowfield_value_description
  marrowfield_engine_in_process
  GTest::gtest_main)
marrowfield_warnings(dialog_tests)
gtest_discover_tests(dialog_tests DISCOVERY_MODE PRE_TEST
  PROPERTIES LABELS addin)

# Find duplicates through its dialog logic, against the command line's
# dedupe of the same values.
target_sources(dialog_tests PRIVATE
  cli_dedupe.cpp
  duplicates_dialog_test.cpp
  duplicates_sheet_test.cpp)
target_compile_definitions(dialog_tests PRIVATE
  MARROWFIELD_CLI="$<TARGET_FILE:marrowfield>")
add_dependencies(dialog_tests marrowfield)
