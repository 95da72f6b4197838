# Window placement over the GUI toolkit, shared by the main window's dialogs and the sound dialogs.
add_library(seaherald_window_placement STATIC ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp)
target_include_directories(seaherald_window_placement PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(seaherald_window_placement PUBLIC Qt6::Widgets)
