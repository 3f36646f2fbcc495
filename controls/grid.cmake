# The data grid: dataset item model, column kinds, footer summaries, Excel export.
file(GLOB KESTRO_GRID_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/grid/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/grid/*.h)
add_library(kestro_grid STATIC ${KESTRO_GRID_SOURCES})
target_include_directories(kestro_grid PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/grid)
target_link_libraries(kestro_grid PUBLIC kestro_service Qt6::Widgets PRIVATE ${XLSXWRITER_LIB})
