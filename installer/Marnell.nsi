; Per-user installer: no elevation, everything under the user's own profile.
; makensis -DVERSION=<x.y.z> -DSTAGE=<folder with Marnell2.exe, marnell-layout.exe, default.vmap, exclude.txt, ReadMe.txt>
;          -DOUTFILE=<exe> [-DTARGET=amd64-unicode]  (the 64-bit test build's installer; the product's is 32-bit)
!ifdef TARGET
Target ${TARGET}
!else
Unicode true
!endif
RequestExecutionLevel user
SetCompressor /SOLID lzma

Name "Marnell"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Marnell"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Marnell"
; The shipped layout as installed, kept beside the user's default.vmap: an
; upgrade or an uninstall compares the two to know whether the user edited it.
!define SHIPPED_LAYOUT "default-shipped.vmap"
; The same for the list of programs Marnell stays out of.
!define SHIPPED_EXCLUDE "exclude-shipped.txt"
!define ID_TRAY_EXIT 32781

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartMarnell
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Welsh"

LangString SecProgram ${LANG_ENGLISH} "Marnell"
LangString SecProgram ${LANG_WELSH} "Marnell"
LangString SecStartup ${LANG_ENGLISH} "Start Marnell when I sign in"
LangString SecStartup ${LANG_WELSH} "Cychwyn Marnell pan fyddaf yn mewngofnodi"
LangString StartNow ${LANG_ENGLISH} "Start Marnell now"
LangString StartNow ${LANG_WELSH} "Cychwyn Marnell nawr"
LangString StillRunning ${LANG_ENGLISH} "Marnell is still running and could not be closed. Choose Exit from its icon in the notification area, then run this again."
LangString StillRunning ${LANG_WELSH} "Mae Marnell yn dal i redeg ac nid oedd modd ei gau. Dewiswch Gadael o'i eicon yn yr ardal hysbysu, yna rhedwch hwn eto."
LangString NotReplaced ${LANG_ENGLISH} "Marnell's files could not be replaced."
LangString NotReplaced ${LANG_WELSH} "Nid oedd modd disodli ffeiliau Marnell."
LangString NotRemoved ${LANG_ENGLISH} "Marnell's files could not be removed."
LangString NotRemoved ${LANG_WELSH} "Nid oedd modd dileu ffeiliau Marnell."

Var WasRunning

; Closes a running Marnell the way its tray menu's Exit does: the hook is
; removed and the icon goes before the process ends. $0 is 1 when one was
; running, and the error flag is set when it would not go.
!macro CLOSE_RUNNING_MARNELL UN
Function ${UN}CloseRunningMarnell
  Push $1
  Push $2
  StrCpy $0 0
  FindWindow $1 "#32770" "Marnell"
  ${If} $1 <> 0
    StrCpy $0 1
    SendMessage $1 ${WM_COMMAND} ${ID_TRAY_EXIT} 0 /TIMEOUT=5000
  ${EndIf}
  ; Gone means no dialog left and its executable free to be replaced (Windows
  ; keeps a running one locked).
  StrCpy $2 0
  ${Do}
    ClearErrors
    FindWindow $1 "#32770" "Marnell"
    ${If} $1 = 0
      ${IfNot} ${FileExists} "$INSTDIR\Marnell2.exe"
        ${Break}
      ${EndIf}
      FileOpen $1 "$INSTDIR\Marnell2.exe" a
      ${IfNot} ${Errors}
        FileClose $1
        ${Break}
      ${EndIf}
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 > 80
      SetErrors
      ${Break}
    ${EndIf}
    Sleep 250
  ${Loop}
  Pop $2
  Pop $1
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_MARNELL ""
!insertmacro CLOSE_RUNNING_MARNELL "un."

; Pushes 1 when the two files ($R0, $R1) hold the same bytes, else 0.
!macro FILES_EQUAL UN
Function ${UN}FilesEqual
  Exch $R1
  Exch
  Exch $R0
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  StrCpy $R5 0
  ClearErrors
  FileOpen $R2 $R0 r
  ${IfNot} ${Errors}
    FileOpen $R3 $R1 r
    ${IfNot} ${Errors}
      StrCpy $R5 1
      ${Do}
        ClearErrors
        FileReadByte $R2 $R4
        ${If} ${Errors}
          ClearErrors
          FileReadByte $R3 $R4
          ${IfNot} ${Errors}
            StrCpy $R5 0
          ${EndIf}
          ${Break}
        ${EndIf}
        FileReadByte $R3 $R0
        ${If} ${Errors}
        ${OrIf} $R0 <> $R4
          StrCpy $R5 0
          ${Break}
        ${EndIf}
      ${Loop}
      FileClose $R3
    ${EndIf}
    FileClose $R2
  ${EndIf}
  StrCpy $R0 $R5
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd
!macroend
!insertmacro FILES_EQUAL ""
!insertmacro FILES_EQUAL "un."

Function StartMarnell
  ; The program reads default.vmap from its working directory.
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\Marnell2.exe"'
FunctionEnd

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

; Installs the shipped FILE unless the user edited the installed one, and
; keeps the shipped copy as SHIPPED beside it. Where no copy of what was
; shipped before is kept (an installer of old), the file counts as edited
; unless it equals the new one.
!macro InstallUnlessEdited FILE SHIPPED
  File "/oname=$PLUGINSDIR\${FILE}" "${STAGE}/${FILE}"
  ${If} ${FileExists} "$INSTDIR\${FILE}"
    ${If} ${FileExists} "$INSTDIR\${SHIPPED}"
      Push "$INSTDIR\${FILE}"
      Push "$INSTDIR\${SHIPPED}"
    ${Else}
      Push "$INSTDIR\${FILE}"
      Push "$PLUGINSDIR\${FILE}"
    ${EndIf}
    Call FilesEqual
    Pop $1
  ${Else}
    StrCpy $1 1
  ${EndIf}
  ${If} $1 = 1
    CopyFiles /SILENT "$PLUGINSDIR\${FILE}" "$INSTDIR\${FILE}"
  ${Else}
    DetailPrint "Kept your edited ${FILE}; the new shipped one is ${SHIPPED}."
  ${EndIf}
  File "/oname=${SHIPPED}" "${STAGE}/${FILE}"
!macroend

; Removes FILE unless the user edited it, and the shipped copy beside it.
!macro RemoveUnlessEdited FILE SHIPPED
  StrCpy $1 0
  ${If} ${FileExists} "$INSTDIR\${SHIPPED}"
    Push "$INSTDIR\${FILE}"
    Push "$INSTDIR\${SHIPPED}"
    Call un.FilesEqual
    Pop $1
  ${EndIf}
  ${If} $1 = 1
  ${OrIfNot} ${FileExists} "$INSTDIR\${FILE}"
    Delete "$INSTDIR\${FILE}"
  ${Else}
    DetailPrint "Kept your edited file: $INSTDIR\${FILE}"
  ${EndIf}
  Delete "$INSTDIR\${SHIPPED}"
!macroend

Section "!$(SecProgram)" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  Call CloseRunningMarnell
  StrCpy $WasRunning $0
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "$(StillRunning)" /SD IDOK
    Abort "$(StillRunning)"
  ${EndIf}

  SetOverwrite try
  ClearErrors
  File "${STAGE}/Marnell2.exe"
  File "${STAGE}/marnell-layout.exe"
  File "${STAGE}/ReadMe.txt"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "$(NotReplaced)" /SD IDOK
    Abort "$(NotReplaced)"
  ${EndIf}
  SetOverwrite on

  ; default.vmap and exclude.txt are replaced only when the user has not
  ; edited them.
  InitPluginsDir
  !insertmacro InstallUnlessEdited "default.vmap" "${SHIPPED_LAYOUT}"
  !insertmacro InstallUnlessEdited "exclude.txt" "${SHIPPED_EXCLUDE}"

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

  ; The copy that the upgrade closed comes back.
  ${If} $WasRunning = 1
    Call StartMarnell
  ${EndIf}
SectionEnd

; A Run-key entry cannot set a working directory, so sign-in start is a
; shortcut in the Startup folder.
Section "$(SecStartup)" SecStartupLink
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\Marnell.lnk" "$INSTDIR\Marnell2.exe"
SectionEnd

Section "Uninstall"
  Call un.CloseRunningMarnell
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "$(StillRunning)" /SD IDOK
    Abort "$(StillRunning)"
  ${EndIf}
  Delete "$SMPROGRAMS\Marnell.lnk"
  Delete "$SMSTARTUP\Marnell.lnk"
  ClearErrors
  Delete "$INSTDIR\Marnell2.exe"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "$(NotRemoved)" /SD IDOK
    Abort "$(NotRemoved)"
  ${EndIf}
  Delete "$INSTDIR\marnell-layout.exe"
  Delete "$INSTDIR\ReadMe.txt"

  !insertmacro RemoveUnlessEdited "default.vmap" "${SHIPPED_LAYOUT}"
  !insertmacro RemoveUnlessEdited "exclude.txt" "${SHIPPED_EXCLUDE}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "Software\Corvane\Marnell2"
  DeleteRegKey /ifempty HKCU "Software\Corvane"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
