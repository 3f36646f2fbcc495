# kestro_add_test(NAME SOURCES... LIBS ...): one Qt Test executable run headless by CTest.
function(kestro_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  # Each suite has a home of its own, so suites running side by side never share
  # a settings file or a data folder.
  set(home ${CMAKE_BINARY_DIR}/testhome/${name})
  file(MAKE_DIRECTORY ${home}/config ${home}/data ${home}/cache)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache")
endfunction()
