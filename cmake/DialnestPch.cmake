# Qt's headers are parsed once a build instead of once a source: the window libraries, the program and
# the Qt tests each reuse one of two precompiled headers (the Qt tests' macros differ by the test
# library's). A source still includes what it uses; the precompiled header only saves the parsing.
#   dn_use_qt_pch(<target>)        a window library or program
#   dn_use_qt_test_pch(<target>)   a Qt Test executable
# Qt Test defines the test's source and build folders for QFINDTESTDATA, which no test here uses: without
# them every Qt test has the same macros and can share one header.
set_property(TARGET Qt6::Test PROPERTY INTERFACE_COMPILE_DEFINITIONS QT_TESTLIB_LIB)

set(DN_QT_PCH_HEADERS
  <QAction> <QApplication> <QCheckBox> <QFrame> <QLabel> <QLineEdit> <QListWidget> <QMenu> <QMouseEvent>
  <QPainter> <QPlainTextEdit> <QPushButton> <QScreen> <QTabBar> <QTimeEdit> <QTimer> <QToolButton>
  <array> <functional> <memory> <optional> <string> <string_view> <vector>)

set(dn_pch_qt Qt6::Widgets Qt6::Network)
if(NOT WIN32)
  list(APPEND dn_pch_qt Qt6::DBus)
endif()
add_library(dn_pch_ui STATIC ${CMAKE_CURRENT_LIST_DIR}/pch.cpp)
target_link_libraries(dn_pch_ui PRIVATE ${dn_pch_qt})
target_precompile_headers(dn_pch_ui PRIVATE ${DN_QT_PCH_HEADERS})

add_library(dn_pch_qttest STATIC ${CMAKE_CURRENT_LIST_DIR}/pch.cpp)
if(WIN32)
  # The window tests' mouse goes to the windows as the window system's own events, at once: moving the
  # real pointer (Qt Test's default for a move) reaches the program only later under Wine's X11 driver.
  target_compile_definitions(dn_pch_qttest PUBLIC QTEST_QPA_MOUSE_HANDLING)
endif()
target_link_libraries(dn_pch_qttest PRIVATE ${dn_pch_qt} Qt6::Test)
target_precompile_headers(dn_pch_qttest PRIVATE ${DN_QT_PCH_HEADERS} <QSignalSpy> <QtTest>)

function(dn_use_qt_pch target)
  target_precompile_headers(${target} REUSE_FROM dn_pch_ui)
endfunction()
function(dn_use_qt_test_pch target)
  target_precompile_headers(${target} REUSE_FROM dn_pch_qttest)
endfunction()
