; The Windows installer of Tallyfin PC: puts "Tallyfin PC.exe" into
; C:\Orvandat\Tallyfin PC (so the program's install root is C:\), adds a
; Start-menu shortcut and an uninstaller registered in Add/Remove Programs.
; The uninstaller removes only what this installer put there: the program's
; Apps, Data and every other file it made stay, as do its settings.
;
; Built by CMake (target "installer") with
;   makensis -DVERSION=4.13.05 -DPROGRAM=<Tallyfin PC.exe> -DICON=<tallyfin.ico>
;            -DOUTFILE=<Tallyfin-PC-Setup.exe> tallyfin.nsi
; Install silently with "Tallyfin-PC-Setup.exe /S"; uninstall silently with
; "Uninstall.exe /S" (the registry holds it as QuietUninstallString).

Unicode true
; The program is 64-bit: so is its installer (it needs no 32-bit Wine either).
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION | PROGRAM | ICON | OUTFILE
  !error "define VERSION, PROGRAM, ICON and OUTFILE (see the head of this file)"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define NAME "Tallyfin PC"
!define EXE "Tallyfin PC.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"
; The main window's class: a running program keeps its exe locked.
!define MAIN_CLASS "TALLYFIN_PC"

Name "${NAME}"
OutFile "${OUTFILE}"
; The install-root rule wants the program in <drive>:\Orvandat\Tallyfin PC,
; so the folder is not offered for change (/D= still overrides it).
InstallDir "C:\Orvandat\${NAME}"
; The folder and the Uninstall key are machine-wide.
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
BrandingText "${NAME} ${VERSION}"

; VIProductVersion wants four numbers; 4.13.05 gives 4.13.5.0.
!searchparse "${VERSION}" "" V1 "." V2 "." V3
!define /math V3N ${V3} + 0
VIProductVersion "${V1}.${V2}.${V3N}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${NAME} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Orvandat"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Orvandat"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; No "start now" box: started from the elevated installer the program would
; keep its settings under the administrator's registry, not the user's.
!define MUI_FINISHPAGE_TEXT "${NAME} is installed in $INSTDIR. Start it from the Start menu."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${NAME} will be removed from $INSTDIR. Collected data (the Data folder), installed applications and settings are kept."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Waits while the program runs: its exe cannot be replaced or removed then.
; Silent runs give up at once (status 2, nothing changed).
!macro WAIT_FOR_PROGRAM_TO_END
  ${Do}
    FindWindow $0 "${MAIN_CLASS}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${NAME} is running. Leave it, then choose Retry." /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Function .onInit
  SetShellVarContext all
  !insertmacro WAIT_FOR_PROGRAM_TO_END
FunctionEnd

Section "${NAME}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 \
    SW_SHOWNORMAL "" "Collect field data"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Orvandat"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size Add/Remove Programs shows, in KiB.
  FileOpen $1 "$INSTDIR\${EXE}" r
  FileSeek $1 0 END $0
  FileClose $1
  IntOp $0 $0 / 1024
  IntOp $0 $0 + 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext all
  !insertmacro WAIT_FOR_PROGRAM_TO_END
FunctionEnd

; Only the installer's own files go. RMDir without /r removes a folder only
; when it is empty, so a folder holding anything the program made stays.
Section "Uninstall"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  ; C:\Orvandat too when nothing else is in it; never the parent of a folder given with /D=.
  StrCpy $0 "$INSTDIR" "" -21
  ${If} $0 == "\Orvandat\${NAME}"
    RMDir "$INSTDIR\.."
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
