# Display controls: the simple HTML renderer and the scrolling marquee.
set(KESTRO_DISPLAY_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtmlcanvas.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtmlentities.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtmlcolor.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtml.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/marqueeitem.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/marquee.cpp
)
set(KESTRO_DISPLAY_HEADERS
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtmlcanvas.h
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtmlentities.h
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtmlcolor.h
  ${CMAKE_CURRENT_SOURCE_DIR}/simplehtml.h
  ${CMAKE_CURRENT_SOURCE_DIR}/marqueeitem.h
  ${CMAKE_CURRENT_SOURCE_DIR}/marquee.h
)
add_library(kestro_display STATIC ${KESTRO_DISPLAY_SOURCES} ${KESTRO_DISPLAY_HEADERS})
target_include_directories(kestro_display PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(kestro_display PUBLIC Qt6::Widgets Qt6::Gui Qt6::Core)

# Demo window showing both controls (kestro-display-demo).
add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/demo ${CMAKE_CURRENT_BINARY_DIR}/demo)
