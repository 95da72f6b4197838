# Live sound: capture, monitor output and the choice of input device.
# seaherald_sound_core holds the rings, the block gathering and the device choice without any GUI
# toolkit; seaherald_sound puts them on Qt Multimedia and adds the two small windows.
add_library(seaherald_sound_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/BlockGatherer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BufferAllocator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaptureRing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputDeviceList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputDeviceSelection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonitorBlock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputRing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoundDevices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoundSettingsCommand.cpp)
target_include_directories(seaherald_sound_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_sound_core PUBLIC seaherald_codepage seaherald_ui_text)

pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
add_library(seaherald_sound STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PulseConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PulseSoundBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PulseStreams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtSoundBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SoundIo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit9.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaveIn.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaveOut.cpp)
target_link_libraries(seaherald_sound PUBLIC seaherald_sound_core seaherald_translation
  seaherald_window_placement Qt6::Widgets Qt6::Multimedia PkgConfig::PULSE)
