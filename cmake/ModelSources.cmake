# The Qt-free model libraries' sources, under ${dn_root} (the source root): the program's build and the
# fuzz build (fuzz/CMakeLists.txt) both take them from here, so a new model file is listed once.
set(dn_platform_model_sources Diag.cpp Sjis.cpp Cp932Table.cpp TextFile.cpp TextChars.cpp Clock.cpp Session.cpp
    ProgramFolder.cpp)
if(WIN32)
  list(APPEND dn_platform_model_sources Clock_win.cpp Console_win.cpp ProgramFolder_win.cpp TextFile_win.cpp
       WinPath.cpp)
else()
  list(APPEND dn_platform_model_sources Clock_posix.cpp Console_posix.cpp ProgramFolder_posix.cpp
       TextFile_posix.cpp)
endif()
list(TRANSFORM dn_platform_model_sources PREPEND ${dn_root}/platform/)
set(dn_core_model_sources AppContext.cpp DataFiles.cpp IniFile.cpp Settings.cpp PhoneBookFile.cpp Alarm.cpp
    CommandLine.cpp)
list(TRANSFORM dn_core_model_sources PREPEND ${dn_root}/core/)
set(dn_editor_model_sources ${dn_root}/editor/PhoneBookEditor.cpp)
set(dn_organizer_model_sources Holidays.cpp CalendarModel.cpp ScheduleStore.cpp TodoStore.cpp MemoBook.cpp)
list(TRANSFORM dn_organizer_model_sources PREPEND ${dn_root}/organizer/)
set(dn_postal_model_sources ${dn_root}/postal/PostalData.cpp)
set(dn_find_model_sources ${dn_root}/find/PhoneFind.cpp ${dn_root}/find/Romaji.cpp ${dn_root}/find/Readings.cpp)
