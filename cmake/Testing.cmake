# Test helpers. Portable-core tests build natively (host preset); tests of the Win32 layer
# build with mingw-w64 and run under Wine (win preset) through CMAKE_CROSSCOMPILING_EMULATOR.
# Every GoogleTest program writes an XML report that scripts/summarize.py counts.

if(WIN32)
  # Debian ships GoogleTest as sources for cross builds.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(LV_GTEST_LIBS gtest gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(LV_GTEST_LIBS GTest::gtest GTest::gmock GTest::gtest_main)
endif()

# lv_gtest(<name> SOURCES ... LIBS ...): one GoogleTest program registered as one CTest test.
function(lv_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${LV_GTEST_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# lv_host_test: a test of portable code, built only natively.
function(lv_host_test name)
  if(NOT WIN32)
    lv_gtest(${name} ${ARGN})
  endif()
endfunction()

# lv_win_test: a test of the Win32 layer, built only for Windows and run under Wine.
function(lv_win_test name)
  if(WIN32)
    lv_gtest(${name} ${ARGN})
  endif()
endfunction()

# lv_win_server_test(<name> SOURCES ... LIBS ... [SERVER_ARGS ...]): a Windows test program
# that talks to the loopback test server. The server (tests/fixtures/httpserver.py, given
# SERVER_ARGS such as --host/--path/--password) is started for the run, the program reaches
# it through http_proxy and finds its host, path, password and request log in the
# LV_TEST_HTTP_* variables; afterwards the server is stopped by its own process id.
function(lv_win_server_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;SERVER_ARGS" ${ARGN})
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${LV_GTEST_LIBS})
  add_dependencies(${name} fake_installer)
  add_test(NAME ${name}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/fixtures/httpserver.py run
      --log ${CMAKE_CURRENT_BINARY_DIR}/${name}-server.log
      --installer $<TARGET_FILE:fake_installer> ${ARG_SERVER_ARGS}
      -- ${CMAKE_SOURCE_DIR}/scripts/wine-run $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
