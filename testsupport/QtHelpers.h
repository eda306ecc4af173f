// Small helpers for window tests: finding an opened window, closing one by a button, pixels of twips.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "platform/Screen.h"
#include "platform/Twips.h"

// The open top-level window of type T (the last one found), or nullptr.
template <class T>
T* OpenWindow() {
  T* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w)) found = t;
  return found;
}

// Clicks `button` and waits until `window` is gone (closing deletes it).
inline bool ClickAndWaitGone(QWidget* window, QPushButton* button) {
  QPointer<QWidget> guard(window);
  QTest::mouseClick(button, Qt::LeftButton);
  return QTest::qWaitFor([&guard] { return guard.isNull(); }, 5000);
}

// Design twips as pixels on this screen.
inline int PxX(int twipsValue) {
  return twips::ToPixels(twipsValue, screen::TwipsPerPixelX());
}
inline int PxY(int twipsValue) {
  return twips::ToPixels(twipsValue, screen::TwipsPerPixelY());
}

// Waits until the events posted before this call (a queued trigger, a queued D-Bus delivery) have been
// handled: a negative check then needs no sleep.
inline bool PostedEventsHandled() {
  bool done = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&done] { done = true; }, Qt::QueuedConnection);
  return QTest::qWaitFor([&done] { return done; }, 5000);
}
