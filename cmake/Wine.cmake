# Windows programs built here run under Wine: CTest starts them through the
# project's Wine wrapper, inside one Xvfb and one prefix kept in the build tree.
set(WINE_STATE_DIR ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-env exec ${WINE_STATE_DIR})

add_test(NAME wine.start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-env start ${WINE_STATE_DIR})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine.stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-env stop ${WINE_STATE_DIR})
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

# add_wine_test(NAME name COMMAND target [args...] [WINVER winxp|win7|win10] [DPI n] [TIMEOUT s])
# Windows tests share one virtual desktop, so they run one at a time.
function(add_wine_test)
  cmake_parse_arguments(T "" "NAME;WINVER;DPI;TIMEOUT" "COMMAND" ${ARGN})
  if(NOT T_WINVER)
    set(T_WINVER winxp)
  endif()
  if(NOT T_DPI)
    set(T_DPI 96)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine_desktop
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "WINE_WINVER=${T_WINVER};WINE_DPI=${T_DPI}")
endfunction()
