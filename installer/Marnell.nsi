; Per-user installer: no elevation, everything under the user's own profile.
; makensis -DVERSION=2.1.0 -DSTAGE=<folder with Marnell2.exe, default.vmap, ReadMe.txt> -DOUTFILE=<exe>
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

Name "Marnell"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Marnell"

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Marnell"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Welsh"

LangString SecProgram ${LANG_ENGLISH} "Marnell"
LangString SecProgram ${LANG_WELSH} "Marnell"
LangString SecStartup ${LANG_ENGLISH} "Start Marnell when I sign in"
LangString SecStartup ${LANG_WELSH} "Cychwyn Marnell pan fyddaf yn mewngofnodi"

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "!$(SecProgram)" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}/Marnell2.exe"
  File "${STAGE}/default.vmap"
  File "${STAGE}/ReadMe.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; The program reads default.vmap from its working directory: every shortcut
  ; starts it in the install folder (SetOutPath sets the shortcut's folder).
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Marnell.lnk" "$INSTDIR\Marnell2.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Marnell"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Corvane"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Marnell2.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

; A Run-key entry cannot set a working directory, so sign-in start is a
; shortcut in the Startup folder.
Section "$(SecStartup)" SecStartupLink
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\Marnell.lnk" "$INSTDIR\Marnell2.exe"
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Marnell.lnk"
  Delete "$SMSTARTUP\Marnell.lnk"
  Delete "$INSTDIR\Marnell2.exe"
  Delete "$INSTDIR\default.vmap"
  Delete "$INSTDIR\ReadMe.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "Software\Corvane\Marnell2"
  DeleteRegKey /ifempty HKCU "Software\Corvane"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
