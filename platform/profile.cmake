# INI text read and written byte for byte, so Shift-JIS values and foreign lines survive.
add_library(seaherald_profile STATIC ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp)
target_include_directories(seaherald_profile PUBLIC ${PROJECT_SOURCE_DIR})
