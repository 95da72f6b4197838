# Per-block processing shared by the window and the command-line tool; no GUI toolkit here.
add_library(seaherald_pipeline STATIC
  ${CMAKE_CURRENT_LIST_DIR}/BlockHandler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BlockTimekeeper.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuietSeconds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordingClock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleConversion.cpp)
target_include_directories(seaherald_pipeline PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_pipeline PUBLIC seaherald_decoder seaherald_clock
  seaherald_settings_record)
