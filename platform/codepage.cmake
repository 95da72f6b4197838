# Shift-JIS <-> UTF-8 conversion through glibc iconv (part of the C library, nothing to link).
add_library(seaherald_codepage STATIC ${CMAKE_CURRENT_LIST_DIR}/CodePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShowableUtf8.cpp)
target_include_directories(seaherald_codepage PUBLIC ${PROJECT_SOURCE_DIR})
