# Every build tree runs its programs in a Wine prefix of its own, so tests
# never see a user's ~/.wine and two build trees never share state.
set(BRISVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of this build tree")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(BRISVANE_WINE_ARCH win64)
else()
  set(BRISVANE_WINE_ARCH win32)
endif()
set(BRISVANE_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${BRISVANE_WINE_RUN} @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Initialises CROSSCOMPILING_EMULATOR of every executable made from here on:
# add_test and add_custom_command run them through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${BRISVANE_WINE_RUN})

find_package(GTest CONFIG QUIET)
if(NOT TARGET GTest::gtest)
  # Debian ships GoogleTest as source: build it for the target.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# A GoogleTest executable, run by CTest through Wine inside the session's
# persistent wineserver (fixture "wine"). With CASES (names of the form
# Suite.Test), each case is a CTest of its own, run in a process of its own.
#   brisvane_add_gtest(NAME n SOURCES ... [LIBS ...] [TIMEOUT s] [ENVIRONMENT ...] [CASES ...])
function(brisvane_add_gtest)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;CASES" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  # gtest_main would want main(); our runner (wmain) comes with the shared
  # test support library (tests/support).
  target_link_libraries(${T_NAME} PRIVATE brisvane_defaults ${T_LIBS} brisvane_test_support
    GTest::gmock GTest::gtest)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(tests)
  if(T_CASES)
    foreach(case ${T_CASES})
      add_test(NAME ${T_NAME}.${case} COMMAND ${T_NAME} --gtest_color=no --gtest_filter=${case}
               WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
      list(APPEND tests ${T_NAME}.${case})
    endforeach()
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set(tests ${T_NAME})
  endif()
  set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT}
                       ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()
