; Per-user installer of Iconvane for AIM.
; Built by CMake (target "installer"); it passes:
;   IV_TARGET    amd64-unicode or x86-unicode
;   IV_OUTFILE   the installer to write
;   IV_BIN       the program folder
;   IV_ICON      the program's icon, for the installer and the uninstaller
;   IV_FILES     generated File lines (every shipped file of the program folder)
;   IV_UNFILES   the matching Delete lines for the uninstaller
; Silent use: iconvane-setup-<arch>.exe /S [/NORUN] [/D=folder]; uninstall.exe /S keeps
; the Icon Library and settings. A running copy is asked to exit first and, after an
; install, started again the way it ran (hidden in the tray or not).
Unicode true
Target ${IV_TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "FileFunc.nsh"
!include "StrFunc.nsh"
${UnStrStr}

!define APP_NAME "Iconvane for AIM"
!define PUBLISHER "Dravolt Software"
!define EXE "iconvane.exe"
!define MAIN_CLASS "ThunderRT6FormDC"
!define MAIN_TITLE "Iconvane for AIM:   Dravolt Software"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Iconvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Iconvane for AIM"
!define SCHEME_KEY "Software\Classes\icvan"
!define SETTINGS_KEY "SOFTWARE\Dravolt Software\Iconvane for AIM"
!define SHORTCUT "$SMPROGRAMS\Iconvane for AIM.lnk"
; Registered window message the main window answers by exiting without its question.
!define EXIT_MESSAGE "Iconvane.ExitForSetup"
!define HOOK "ivhook.dll"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
!define RUNONCE_VALUE "Iconvane for AIM clean-up"

!getdllversion "${IV_BIN}/${EXE}" IV_VER_
!define VERSION "${IV_VER_1}.${IV_VER_2}.${IV_VER_3}"

Name "${APP_NAME}"
OutFile "${IV_OUTFILE}"
; The library, "Categories.dat" and "tmp.gif" live beside the program, so its
; folder must stay writable by the user: never Program Files.
InstallDir "$LOCALAPPDATA\Programs\Iconvane"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"

VIProductVersion "${IV_VER_1}.${IV_VER_2}.${IV_VER_3}.${IV_VER_4}"
VIAddVersionKey "ProductName" "${APP_NAME} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ABORTWARNING
!define MUI_ICON "${IV_ICON}"
!define MUI_UNICON "${IV_ICON}"
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start Iconvane now"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var WasRunning  ; 1 when a running copy was asked to exit
Var WasHidden   ; 1 when that copy's main window was hidden (in the tray)

; Files in use cannot be replaced or removed. A running copy is asked to exit with a
; message of its own, which skips its exit question; only one that stays is left to
; the user.
!macro CLOSE_PROGRAM un
Function ${un}CloseProgram
  StrCpy $WasRunning 0
  StrCpy $WasHidden 0
  System::Call 'user32::RegisterWindowMessageW(w "${EXIT_MESSAGE}") i .r1'
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
    ${If} $0 == 0
      Return
    ${EndIf}
    StrCpy $WasRunning 1
    System::Call 'user32::IsWindowVisible(p r0) i .r2'
    ${If} $2 == 0
      StrCpy $WasHidden 1
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r3)'
    ; SYNCHRONIZE: enough to wait for the process to end.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r3) p .r4'
    SendMessage $0 $1 0 0 /TIMEOUT=10000
    ${If} $4 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r4, i 30000) i .r5'
      System::Call 'kernel32::CloseHandle(p r4)'
    ${EndIf}
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
    ${If} $0 != 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Iconvane is still running. Exit it (tray menu $\"Exit$\"), then press Retry." \
        /SD IDCANCEL IDRETRY again
      SetErrorLevel 2
      Quit
      again:
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM ""
!insertmacro CLOSE_PROGRAM "un."

; AIM keeps the hook DLL loaded after the program has gone, and Windows lets nobody
; replace or delete a loaded DLL, but renaming it is allowed. The old copy moves
; aside and is deleted when free: now, at the program's next start, or at the next
; logon (a per-user install cannot schedule a delete at restart).
!macro MOVE_HOOK_ASIDE un
Function ${un}MoveHookAside
  Delete "$INSTDIR\${HOOK}.*.old"
  Delete "$INSTDIR\${HOOK}"
  ${If} ${FileExists} "$INSTDIR\${HOOK}"
    System::Call 'kernel32::GetTickCount() i .r0'
    Rename "$INSTDIR\${HOOK}" "$INSTDIR\${HOOK}.$0.old"
    Delete "$INSTDIR\${HOOK}.$0.old"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\${HOOK}.*.old"
    !if "${un}" == "un."
      ; The folder goes too once it is empty.
      WriteRegStr HKCU "${RUNONCE_KEY}" "${RUNONCE_VALUE}" \
        '"$SYSDIR\cmd.exe" /c del /f /q "$INSTDIR\${HOOK}.*.old" & rmdir "$INSTDIR"'
    !else
      WriteRegStr HKCU "${RUNONCE_KEY}" "${RUNONCE_VALUE}" '"$SYSDIR\cmd.exe" /c del /f /q "$INSTDIR\${HOOK}.*.old"'
    !endif
  ${EndIf}
FunctionEnd
!macroend
!insertmacro MOVE_HOOK_ASIDE ""
!insertmacro MOVE_HOOK_ASIDE "un."

Section "Iconvane" SecMain
  SectionIn RO
  Call CloseProgram
  SetOutPath "$INSTDIR"
  Call MoveHookAside
  !include "${IV_FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  ; Links of the icon site start the program with the whole link.
  WriteRegStr HKCU "${SCHEME_KEY}" "" "URL: Picvane Protocol"
  WriteRegStr HKCU "${SCHEME_KEY}" "URL Protocol" ""
  WriteRegStr HKCU "${SCHEME_KEY}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; The two choices only mark what the hidden section after them writes.
Section "Start with Windows" SecRun
SectionEnd

Section "Start hidden in the notification area" SecMin
SectionEnd

Section "-Startup"
  ${If} ${SectionIsSelected} ${SecRun}
  ${AndIf} ${SectionIsSelected} ${SecMin}
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}" -min'
  ${ElseIf} ${SectionIsSelected} ${SecRun}
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}"'
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

; A copy that ran before the install runs again, as it ran.
Section "-Restart"
  ${If} $WasRunning == 1
    ${If} $WasHidden == 1
      Exec '"$INSTDIR\${EXE}" -min'
    ${Else}
      Exec '"$INSTDIR\${EXE}"'
    ${EndIf}
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "The program, its Start menu shortcut and the handler of $\"icvan:$\" links."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecRun} "Start Iconvane when you log on, so the icon schedule keeps running."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMin} "When started with Windows, show only the notification-area icon."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Silent installs take the defaults; /NORUN leaves out the start with Windows.
Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NORUN" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecRun}
  ${EndIf}
FunctionEnd

; Restarted already: offering to start it would start a second copy.
Function FinishShow
  ${If} $WasRunning == 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} 0 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function .onSelChange
  ; Starting hidden means nothing without starting with Windows.
  ${IfNot} ${SectionIsSelected} ${SecRun}
    !insertmacro UnselectSection ${SecMin}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseProgram
  Call un.MoveHookAside
  !include "${IV_UNFILES}"
  ; The program's own scratch files.
  Delete "$INSTDIR\Categories.dat"
  Delete "$INSTDIR\tmp.gif"
  Delete "$INSTDIR\uninstall.exe"

  ; The user's icons are theirs: removed only when they say so (never silently).
  ${If} ${FileExists} "$INSTDIR\Icon Library\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Also remove your Icon Library and settings?$\n$\n$INSTDIR\Icon Library$\n$\nChoose No to keep your icons." \
      /SD IDNO IDNO keep_library
    RMDir /r "$INSTDIR\Icon Library"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "SOFTWARE\Dravolt Software"
  keep_library:
  ${EndIf}
  RMDir "$INSTDIR"

  Delete "${SHORTCUT}"
  ; The start with Windows is removed when it starts this copy, not another one.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${UnStrStr} $1 $0 "$INSTDIR\${EXE}"
  ${If} $1 != ""
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKCU "${SCHEME_KEY}"
  ; The program registers itself again on every start, through the merged classes
  ; view; remove that copy too when it still points at this installation.
  ReadRegStr $0 HKCR "icvan\shell\open\command" ""
  ${UnStrStr} $1 $0 "$INSTDIR\${EXE}"
  ${If} $1 != ""
    DeleteRegKey HKCR "icvan"
  ${EndIf}
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd
