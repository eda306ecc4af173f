// Telling the user about a failed save the same way in every window: the cause in words, and the
// question whether to go on without the changes.
#pragma once

#include <QString>

#include "core/StoreOutcome.h"

// Why `file` (as the user knows it: "スケジュールファイル(Sch2612.dat)") was left as it was: a file not
// read whole is not written over; a failed write names the system's cause (disk full, access denied,
// ...); content the store refused is told by `refused`, the window's own words for that item.
QString WhyNotSaved(const StoreOutcome& o, const QString& file, const QString& refused = {});

// After a failed save: the headline (may be empty), the cause and the question with what "No" does;
// true when the user gives the changes up (Yes).
bool GiveUpChanges(const QString& headline, const QString& why, const QString& question);
