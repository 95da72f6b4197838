# The window's language: the English translation (built from its .ts source) over the Japanese
# texts, shared by the main window and the sound dialogs. The texts pass through Translation::Tr
# and UiText::Translate, which lupdate does not scan: a new text gets its entry in the .ts by hand,
# and the English window's tests name any control's text left without one (a message shown only
# on a rare failure is checked by reading the .ts).
add_library(seaherald_translation STATIC
  ${CMAKE_CURRENT_LIST_DIR}/QtText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Translation.cpp)
target_include_directories(seaherald_translation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_translation PUBLIC
  Qt6::Core seaherald_ui_text seaherald_shell seaherald_codepage)
qt_add_lrelease(seaherald_translation
  TS_FILES ${CMAKE_CURRENT_LIST_DIR}/translations/seaherald_en.ts
  QM_FILES_OUTPUT_VARIABLE seaherald_qm_files)
qt_add_resources(seaherald_translation "translations"
  PREFIX "/i18n" BASE ${CMAKE_CURRENT_BINARY_DIR} FILES ${seaherald_qm_files})

# The Qt window: main window, settings dialog and their controls over the toolkit-free core.
add_library(seaherald_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AlarmOutputs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Choosers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColourPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogBrowserWidgets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtDialogService.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SecondReceiverGroup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpectrumView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartupText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusPanels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextTabs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TForm1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TForm3.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpDownButtons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewFonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WatchGroup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WrappingTree.cpp)
target_include_directories(seaherald_window PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_window PUBLIC
  Qt6::Widgets seaherald_translation seaherald_settings seaherald_shell seaherald_msglog seaherald_pipeline seaherald_spectrum seaherald_codepage
  seaherald_clock seaherald_window_placement seaherald_relay
  PRIVATE Qt6::Multimedia Qt6::DBus)

# The start-up and shutdown wiring of the program's entry, on any sound backend.
add_library(seaherald_program STATIC ${CMAKE_CURRENT_LIST_DIR}/Program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StopSignals.cpp)
target_link_libraries(seaherald_program PUBLIC seaherald_window seaherald_sound)

add_executable(seaherald ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(seaherald PRIVATE seaherald_program seaherald_version)
