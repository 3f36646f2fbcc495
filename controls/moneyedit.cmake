add_library(kestro_moneyedit STATIC ${CMAKE_CURRENT_LIST_DIR}/moneyedit.cpp ${CMAKE_CURRENT_LIST_DIR}/moneyedit.h)
target_include_directories(kestro_moneyedit PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kestro_moneyedit PUBLIC kestro_wire Qt6::Widgets)
