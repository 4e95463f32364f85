# The automation bridge's native tests: the shared scenarios behind the
# native fake port, and the tests of the pieces.
add_executable(bridge_tests
  automation_value_test.cpp
  bridge_scenarios_test.cpp
  connect_to_host_test.cpp
  duplicates_bridge_test.cpp
  host_object_test.cpp
  native_bridge_rig.cpp
  own_application_test.cpp
  scripted_port.cpp
  sheet_cells_test.cpp
)
target_include_directories(bridge_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bridge_tests PRIVATE
  marrowfield_fake_automation
  marrowfield_fake_ports
  fake_xlcall32
  marrowfield_value_description
  marrowfield_addin
  marrowfield_engine_in_process
  GTest::gtest_main)
marrowfield_warnings(bridge_tests)
gtest_discover_tests(bridge_tests DISCOVERY_MODE PRE_TEST)
