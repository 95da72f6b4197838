# Toolkit-free parts of the window program: where its files live and its command line.
add_library(seaherald_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AppPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UiLanguage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowCommandLine.cpp)
target_include_directories(seaherald_shell PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_shell PUBLIC seaherald_settings PRIVATE seaherald_version)
