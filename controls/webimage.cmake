# Picture controls: the web image fetched over HTTP and the animated GIF image.
file(GLOB KESTRO_WEBIMAGE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/webimage/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/webimage/*.h)
add_library(kestro_webimage STATIC ${KESTRO_WEBIMAGE_SOURCES})
target_include_directories(kestro_webimage PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/webimage)
target_link_libraries(kestro_webimage PUBLIC Qt6::Widgets PRIVATE PkgConfig::CURL JPEG::JPEG)
