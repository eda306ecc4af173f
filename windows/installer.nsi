; The Windows installer: a per-user install (no administrator) under %LOCALAPPDATA%\Programs\Dialnest Plus,
; a Start menu entry, an optional start at sign-in, and an uninstaller in the system's apps list that
; removes the program's own files only: the data files the program keeps beside itself stay.
; makensis -DVERSION=1.50 -DSOURCE=<portable folder> -DICON=<dialnestplus.ico> -DFILES=<uninstall list>
;          -DOUTFILE=<setup.exe> installer.nsi
Unicode true
; A 64-bit installer: the program is 64-bit, and a 32-bit one would need 32-bit Wine to be tested here.
Target amd64-unicode
ManifestDPIAware true
!include "MUI2.nsh"

!define APP "Dialnest Plus"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\DialnestPlus"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
SetCompressor /SOLID lzma
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "${APP}"
VIAddVersionKey /LANG=1041 "FileDescription" "${APP} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Dialnest Plus developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\dialnestplus.exe"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "${APP}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\dialnestplus.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Dialnest Plus developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dialnestplus.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "サインイン時に起動する" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "DialnestPlus" '"$INSTDIR\dialnestplus.exe"'
SectionEnd

Section "Uninstall"
  ; The program's own files, by name: dnstplus.ini, Teldat*.tel, ToDo.dat, freememo.dat, Schedule\ and
  ; the postal files are the user's and stay.
  !include "${FILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "DialnestPlus"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
