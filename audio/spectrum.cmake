# Spectrum and tuning display: transform, levels and the tool-bar picture; no GUI toolkit here.
add_library(seaherald_spectrum STATIC
  ${CMAKE_CURRENT_LIST_DIR}/RgbBitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpectrumFft.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Spectrum.cpp)
target_include_directories(seaherald_spectrum PUBLIC ${PROJECT_SOURCE_DIR})
