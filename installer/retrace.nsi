; The setup program of Retrace: installs the program and the files beside it
; for every user of the computer, writes the settings key from the same
; defaults.reg the build ships, opens the key to the Users group, and offers
; to start Retrace with Windows. Each user's Undo Bin lies in their own
; profile and is made by Retrace at its first start. Its uninstaller ends a
; running Retrace with "UNLOAD" and removes what was installed, keeping the
; Undo Bin unless the user asks otherwise.
;
; makensis -DVERSION=1.2.3.4 -DSOURCE_DIR=<source tree> -DPROGRAM_DIR=<folder of retrace.exe>
;          -DOUTFILE=<setup.exe> retrace.nsi
; Silent: setup.exe /S [/STARTUP] [/D=folder]; uninstall.exe /S.

Unicode true
Target amd64-unicode  ; a 64-bit program, whose registry view the 64-bit setup writes
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define SETTINGS_KEY "SOFTWARE\Tarnwick\Undo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Retrace"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SE_FILE_OBJECT 1
!define SE_REGISTRY_KEY 4

Name "Retrace"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Retrace"
BrandingText "Retrace ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Retrace"
VIAddVersionKey "CompanyName" "Tarnwick"
VIAddVersionKey "FileDescription" "Retrace Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Tarnwick"

!define MUI_ICON "${SOURCE_DIR}/res/icons/monitoring_on.ico"
!define MUI_UNICON "${SOURCE_DIR}/res/icons/monitoring_on.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\retrace.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Retrace now"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks a running Retrace and its change recorder to end, as "UNLOAD" does,
; and waits up to ten seconds for Retrace's window to go, so their files can
; be replaced.
!macro EndRunningRetrace
  ${If} ${FileExists} "$INSTDIR\retrace.exe"
    ExecWait '"$INSTDIR\retrace.exe" UNLOAD'
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\retrace-recorder.exe"
    ExecWait '"$INSTDIR\retrace-recorder.exe" UNLOAD'
  ${EndIf}
  StrCpy $1 0
  ${Do}
    FindWindow $0 "Retrace"
    ${If} $0 = 0
    ${OrIf} $1 >= 50
      ${Break}
    ${EndIf}
    Sleep 200
    IntOp $1 $1 + 1
  ${Loop}
  Sleep 500  ; the process ends a moment after its window
!macroend

Section "Retrace" SectionProgram
  SectionIn RO
  SetRegView 64
  !insertmacro EndRunningRetrace
  SetOutPath "$INSTDIR"
  File "${PROGRAM_DIR}/retrace.exe"
  ; Retrace starts its change recorder only from its own folder.
  File "${RECORDER_PROGRAM}"
  File "${PROGRAM_DIR}/software.txt"
  File "${PROGRAM_DIR}/version.dat"
  File "${PROGRAM_DIR}/defaults.reg"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The manual folder's contents alone: File /r with a folder's name would
  ; take every folder of that name anywhere in the build tree.
  SetOutPath "$INSTDIR\manual"
  File /r "${PROGRAM_DIR}/manual/*.*"
  SetOutPath "$INSTDIR"

  ; The installation defaults, from the file the build ships; a settings key
  ; that is there already keeps the user's settings.
  ClearErrors
  EnumRegValue $0 HKLM "${SETTINGS_KEY}" 0
  ${If} ${Errors}
  ${OrIf} $0 == ""
    ExecWait '"$WINDIR\regedit.exe" /S "$INSTDIR\defaults.reg"'
  ${EndIf}

  ; A standard user may not write under HKLM\SOFTWARE, and a 64-bit program
  ; gets no registry virtualization: every settings save would be refused.
  ; The Users group (by its SID, the same in every language) gets read and
  ; write access to the settings key, beside what the key inherits.
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:(A;CI;0x2001f;;;BU)", i 1, *p .r1, p 0) i .r0'
  ${If} $0 <> 0
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r2, *p .r3, *i .r4) i .r0'
    ; DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "MACHINE\${SETTINGS_KEY}", i ${SE_REGISTRY_KEY}, i 0x20000004, p 0, p 0, p r3, p 0) i .r0'
    System::Call 'kernel32::LocalFree(p r1)'
  ${EndIf}

  ; No Undo Bin is made here: the default one lies in each user's own
  ; profile, private to them, and Retrace and its recorder make it at their
  ; first start. A key that names another folder keeps it, as it is.

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Retrace"
  CreateShortcut "$SMPROGRAMS\Retrace\Retrace.lnk" "$INSTDIR\retrace.exe"
  CreateShortcut "$SMPROGRAMS\Retrace\Retrace Help.lnk" "$INSTDIR\manual\index.html"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Retrace"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tarnwick"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\retrace.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The shortcut the Settings page writes for "Load program at startup": in
; the Startup folder of the user who installs, working in the program's
; folder, with Ctrl+Shift+U.
Section /o "Start Retrace with Windows" SectionStartup
  SetRegView 64
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\retrace.lnk" "$INSTDIR\retrace.exe" "" "" "" SW_SHOWNORMAL CONTROL|SHIFT|U "retrace"
  WriteRegDWORD HKLM "${SETTINGS_KEY}" "LoadAtStartup" 1
  ; Recording begins at logon, before Retrace itself has started.
  WriteRegStr HKCU "${RUN_KEY}" "RetraceRecorder" '"$INSTDIR\retrace-recorder.exe"'
SectionEnd

Function .onInit
  ; Silent installations choose the startup shortcut with /STARTUP.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SectionStartup} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetRegView 64
  !insertmacro EndRunningRetrace
  ReadRegStr $2 HKLM "${SETTINGS_KEY}" "UndoBinPath"
  ; The default names the bin of whoever runs this: the user who uninstalls.
  ExpandEnvStrings $2 $2

  ; The Undo Bin holds the saved copies of the user's files: kept unless asked.
  ${If} $2 != ""
  ${AndIf} ${FileExists} "$2\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Delete the Undo Bin as well?$\r$\n$\r$\n$2$\r$\n$\r$\nIt holds the saved copies of your files; without it nothing Retrace recorded can be undone." /SD IDNO IDNO keepUndoBin
    RMDir /r "$2"
  keepUndoBin:
  ${EndIf}

  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Tarnwick"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  SetShellVarContext current
  Delete "$SMSTARTUP\retrace.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "RetraceRecorder"
  ; The recorder's cache of earlier file contents; the Undo Bin is the user's.
  RMDir /r "$LOCALAPPDATA\Retrace\Recorder"
  RMDir "$LOCALAPPDATA\Retrace"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Retrace\Retrace.lnk"
  Delete "$SMPROGRAMS\Retrace\Retrace Help.lnk"
  RMDir "$SMPROGRAMS\Retrace"

  ; The program's folder goes last: once it is gone, so is everything else.
  Delete "$INSTDIR\retrace.exe"
  Delete "$INSTDIR\retrace-recorder.exe"
  Delete "$INSTDIR\software.txt"
  Delete "$INSTDIR\version.dat"
  Delete "$INSTDIR\defaults.reg"
  RMDir /r "$INSTDIR\manual"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
