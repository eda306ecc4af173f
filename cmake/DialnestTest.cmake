# The one helper that declares a test.
#   dn_add_test(<name> SOURCES <files...> LIBS <targets...> [QT] [DBUS])
#   dn_add_test(<name> SCRIPT <file> ARGS <args...>)
# GoogleTest by default; QT makes it a Qt Test executable (QTEST_MAIN in the source); SCRIPT runs a
# script (end-to-end tests against the real program); DBUS runs it on a private session bus of its own.
# Every test gets the same environment: Tokyo time, UTF-8 locale, headless Qt, sanitizer settings.
set(DN_SANITIZER_DIR ${CMAKE_SOURCE_DIR}/cmake)

set(DN_TEST_ENV
  "TZ=Asia/Tokyo"
  "LANG=C.UTF-8"
  "LC_ALL=C.UTF-8"
  "QT_QPA_PLATFORM=offscreen"
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "LSAN_OPTIONS=suppressions=${DN_SANITIZER_DIR}/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

function(dn_add_test name)
  cmake_parse_arguments(T "QT;DBUS" "SCRIPT" "SOURCES;LIBS;ARGS" ${ARGN})
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
    dn_use_qt_test_pch(${name})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock)
  endif()
  if(T_DBUS)
    add_test(NAME ${name} COMMAND dbus-run-session -- $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${DN_TEST_ENV}" TIMEOUT 300)
endfunction()
