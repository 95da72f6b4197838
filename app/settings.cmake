# The settings file: every key with its section, default and text form.
add_library(seaherald_settings STATIC ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp)
target_include_directories(seaherald_settings PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_settings PUBLIC seaherald_settings_record seaherald_profile
  seaherald_codepage)
