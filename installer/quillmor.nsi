; The Windows installer of Quillmor, built on Linux with makensis (Debian's
; nsis package) by installer/CMakeLists.txt:
;
;   makensis -DPROGRAM=Quillmor.exe -DICON=quillmor.ico -DOUTFILE=setup.exe
;            [-DVERSION=1.2.3] quillmor.nsi
;
; It puts Quillmor.exe under Program Files with a Start-menu shortcut for all
; users and registers the uninstaller in the list of installed programs. The
; uninstaller removes the program, the shortcut and the start-at-logon entries
; (the scheduled task and the older Run value), and leaves the user's
; settings (Documents\Quillmor) alone. Both end a running Quillmor first.
; /S installs or uninstalls silently; /D=folder chooses the folder.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

; The version is the one Quillmor.exe itself reports (its version resource).
!getdllversion "${PROGRAM}" PROGRAM_VERSION_
!define VERSION_TEXT "${PROGRAM_VERSION_1}.${PROGRAM_VERSION_2}.${PROGRAM_VERSION_3}"
!ifdef VERSION
  !if "${VERSION}" != "${VERSION_TEXT}"
    !error "Quillmor.exe reports version ${VERSION_TEXT}, the build says ${VERSION}"
  !endif
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmor"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MAIN_WINDOW_CLASS "MARLOWEWND"
!define EXIT_COMMAND 20002  ; the notification menu's "Exit"

Name "Quillmor ${VERSION_TEXT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\Quillmor"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quillmor ${VERSION_TEXT}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_TEXT}.0"
VIAddVersionKey "ProductName" "Quillmor"
VIAddVersionKey "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey "FileDescription" "Quillmor installer"
VIAddVersionKey "CompanyName" "Quillmor"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 the Quillmor developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Ends a running Quillmor as its menu's "Exit" does (it saves its settings on
; the way out) and waits up to 20 s for the window to go, so that its program
; file can be replaced or removed. The timeout keeps a busy program from
; holding the installer.
!macro EndRunningQuillmor
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    DetailPrint "Ending the running Quillmor"
    SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 $1 /TIMEOUT=5000
    StrCpy $1 0
    ${DoWhile} $0 <> 0
      ${If} $1 >= 100
        ${ExitDo}
      ${EndIf}
      Sleep 200
      IntOp $1 $1 + 1
      FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${Loop}
  ${EndIf}
!macroend

; Deletes a file that a process that is just ending may still hold, trying
; for up to 10 s.
!macro DeleteWhenFree FILE
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "${FILE}"
    ${IfNot} ${FileExists} "${FILE}"
    ${OrIf} $1 >= 20
      ${ExitDo}
    ${EndIf}
    Sleep 500
    IntOp $1 $1 + 1
  ${Loop}
!macroend

Section "Quillmor"
  SetShellVarContext all
  SetRegView 64
  !insertmacro EndRunningQuillmor
  SetOutPath "$INSTDIR"
  !insertmacro DeleteWhenFree "$INSTDIR\Quillmor.exe"
  File "/oname=Quillmor.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quillmor.lnk" "$INSTDIR\Quillmor.exe" "" "$INSTDIR\Quillmor.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quillmor"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quillmor"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://quillmor.app"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quillmor.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  !insertmacro EndRunningQuillmor
  ; Start at logon: the scheduled task (schtasks fails harmlessly when there
  ; is none) and the Run value of older versions.
  nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN Quillmor_AutoStart /F'
  Pop $0
  DeleteRegValue HKCU "${RUN_KEY}" "Quillmor"
  Delete "$SMPROGRAMS\Quillmor.lnk"
  !insertmacro DeleteWhenFree "$INSTDIR\Quillmor.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
