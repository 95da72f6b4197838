# The Qt window: main window, settings dialog and their controls over the toolkit-free core.
add_library(seaherald_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Choosers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColourPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogBrowserWidgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtDialogService.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpectrumView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartupText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusPanels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextTabs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TForm1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TForm3.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpDownButtons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewFonts.cpp)
target_include_directories(seaherald_window PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_window PUBLIC
  Qt6::Widgets seaherald_settings seaherald_shell seaherald_msglog seaherald_pipeline seaherald_spectrum seaherald_codepage
  seaherald_clock seaherald_relay)

# The start-up and shutdown wiring of the program's entry, on any sound backend.
add_library(seaherald_program STATIC ${CMAKE_CURRENT_LIST_DIR}/Program.cpp)
target_link_libraries(seaherald_program PUBLIC seaherald_window seaherald_sound)

add_executable(seaherald ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(seaherald PRIVATE seaherald_program seaherald_version)
