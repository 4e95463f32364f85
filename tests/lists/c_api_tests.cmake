# Tests of the layer's C interface (the library MarrowfieldLists): its
# behaviour, next to the engine library's compare_words; its header as C;
# its export set.
if(NOT WIN32)
  add_executable(lists_c_api_tests c_api_test.cpp)
  target_compile_definitions(lists_c_api_tests PRIVATE
    MARROWFIELD_NAMES_DIR="${PROJECT_SOURCE_DIR}/tests/data/names")
  target_include_directories(lists_c_api_tests PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(lists_c_api_tests PRIVATE MarrowfieldLists
    MarrowfieldExcel marrowfield_name_variants GTest::gtest_main)
  marrowfield_warnings(lists_c_api_tests)
  gtest_discover_tests(lists_c_api_tests DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS lists)

  add_executable(lists_c_header_test c_header_test.c)
  target_link_libraries(lists_c_header_test PRIVATE MarrowfieldLists)
  marrowfield_warnings(lists_c_header_test)
  add_test(NAME lists_c_header_test COMMAND lists_c_header_test)

  add_test(NAME lists_library_exports
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM}
            -DLIBRARY=$<TARGET_FILE:MarrowfieldLists>
            -P ${CMAKE_CURRENT_SOURCE_DIR}/check_exports.cmake)
endif()
