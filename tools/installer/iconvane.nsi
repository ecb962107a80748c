; Per-user installer of Iconvane for AIM.
; Built by CMake (target "installer"); it passes:
;   IV_TARGET    amd64-unicode or x86-unicode
;   IV_OUTFILE   the installer to write
;   IV_BIN       the program folder
;   IV_ICON      the program's icon, for the installer and the uninstaller
;   IV_FILES     generated File lines (every shipped file of the program folder)
;   IV_UNFILES   the matching Delete lines for the uninstaller
; Silent use: iconvane-setup-<arch>.exe /S [/NORUN] [/D=folder]; uninstall.exe /S keeps
; the Icon Library and settings.
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
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Files in use cannot be replaced or removed: ask the user to exit the program first.
!macro WAIT_FOR_EXIT un
Function ${un}WaitForExit
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
    ${If} $0 == 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Iconvane is running. Exit it (tray menu $\"Exit$\"), then press Retry." \
      /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
    Quit
  ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_FOR_EXIT ""
!insertmacro WAIT_FOR_EXIT "un."

Section "Iconvane" SecMain
  SectionIn RO
  Call WaitForExit
  SetOutPath "$INSTDIR"
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

Function .onSelChange
  ; Starting hidden means nothing without starting with Windows.
  ${IfNot} ${SectionIsSelected} ${SecRun}
    !insertmacro UnselectSection ${SecMin}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.WaitForExit
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
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
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
