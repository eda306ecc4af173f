# The one helper that declares a test.
#   dn_add_test(<name> SOURCES <files...> LIBS <targets...> [QT] [DBUS] [SWAY])
#   dn_add_test(<name> SCRIPT <file> ARGS <args...>)
# GoogleTest by default; QT makes it a Qt Test executable (QTEST_MAIN in the source); SCRIPT runs a
# script (end-to-end tests against the real program); DBUS runs it on a private session bus of its own;
# SWAY on a headless Wayland compositor of its own (tests/in_sway.sh).
# Every test gets the same environment: Tokyo time, UTF-8 locale, headless Qt, sanitizer settings.
set(DN_SANITIZER_DIR ${CMAKE_SOURCE_DIR}/cmake)

# Windows' Qt has no offscreen plugin: the window tests run on its own, each on an X display of its own
# (under Wine from tools/wine-test, the emulator CMake puts before each cross-built test).
if(WIN32)
  set(dn_test_qpa windows)
else()
  set(dn_test_qpa offscreen)
endif()
if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Each cross-built test runs under Wine in a prefix of its own (tools/wine-test).
  set(DN_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-template CACHE PATH "template Wine prefix (made by ./dev)")
  get_filename_component(dn_wine_qt ${Qt6_DIR}/../../.. ABSOLUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-test)
  set(dn_test_wine_env "DN_WINE_TEMPLATE=${DN_WINE_TEMPLATE}" "DN_WINE_QT=${dn_wine_qt}")
endif()
set(DN_TEST_ENV
  "TZ=Asia/Tokyo"
  "LANG=C.UTF-8"
  "LC_ALL=C.UTF-8"
  "QT_QPA_PLATFORM=${dn_test_qpa}"
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "LSAN_OPTIONS=suppressions=${DN_SANITIZER_DIR}/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  ${dn_test_wine_env})

function(dn_add_test name)
  cmake_parse_arguments(T "QT;DBUS;SWAY" "SCRIPT" "SOURCES;LIBS;ARGS" ${ARGN})
  if(T_SCRIPT)
    add_test(NAME ${name} COMMAND ${T_SCRIPT} ${T_ARGS})
    # The real program paced by key presses: run alone so a busy machine does not outrun the pauses.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${DN_TEST_ENV}" TIMEOUT 300 RUN_SERIAL TRUE)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} dn_testsupport)
  if(T_QT)
    target_link_libraries(${name} PRIVATE Qt6::Test Qt6::Widgets)
    if(WIN32)
      target_compile_definitions(${name} PRIVATE QTEST_QPA_MOUSE_HANDLING)  # as its precompiled header
    endif()
    dn_use_qt_test_pch(${name})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock)
  endif()
  if(T_DBUS)
    add_test(NAME ${name} COMMAND dbus-run-session -- $<TARGET_FILE:${name}>)
  elseif(T_SWAY)
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/in_sway.sh $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set(env ${DN_TEST_ENV})
  if(T_QT AND WIN32)
    list(APPEND env DN_WINE_QTEST=1)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
