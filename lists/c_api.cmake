# MarrowfieldLists: the layer's C interface (include/marrowfield_lists.h) as
# a shared library for the command line, the Python binding and the
# database extension. It carries its own copy of the engine and exports the
# mfl_ names and nothing else. Its users all live on Linux, so the Windows
# build, which makes the add-in only, leaves it out.
if(NOT WIN32)
  add_library(MarrowfieldLists SHARED
    c_api.cpp
    explanation_text.cpp
    score_many.cpp
  )
  target_compile_definitions(MarrowfieldLists PRIVATE MARROWFIELD_LISTS_BUILDING)
  target_include_directories(MarrowfieldLists
    PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(MarrowfieldLists PRIVATE marrowfield_lists)
  # Export the mfl_ names and nothing else, even from the static archives.
  set(export_map ${CMAKE_CURRENT_SOURCE_DIR}/marrowfield_lists.map)
  target_link_options(MarrowfieldLists PRIVATE -Wl,--exclude-libs,ALL
    -Wl,--version-script=${export_map})
  set_target_properties(MarrowfieldLists PROPERTIES LINK_DEPENDS ${export_map})
  marrowfield_warnings(MarrowfieldLists)
endif()
