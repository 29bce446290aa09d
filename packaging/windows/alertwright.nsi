; The Windows installer: the programs into Program Files (64-bit), an entry in the Start menu,
; and an uninstaller listed among the installed programs. "setup.exe /S" and "uninstall.exe /S"
; run without a window.
;   makensis -DVERSION=1.3.0 -DSTAGE=<folder of the programs and readme.txt> -DICON=<.ico>
;            -DOUTFILE=<setup.exe> [-DGUI]    (GUI: the folder holds alertwright.exe)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh

!define APP "Alertwright"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
; The desktop program when there is one; until then the entry opens the read-me.
!ifdef GUI
  !define ENTRY "$SMPROGRAMS\${APP}.lnk"
  !define ENTRY_TARGET "$INSTDIR\alertwright.exe"
  !define SHOWN_ICON "$INSTDIR\alertwright.exe,0"
!else
  !define ENTRY "$SMPROGRAMS\${APP} (read me).lnk"
  !define ENTRY_TARGET "$INSTDIR\readme.txt"
  !define SHOWN_ICON "$INSTDIR\alertwright-gen.exe,0"
!endif

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
; A 64-bit installer: Program Files and the registry are the 64-bit ones.
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
RequestExecutionLevel admin

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!ifdef GUI
  !define MUI_FINISHPAGE_RUN "$INSTDIR\alertwright.exe"
  !insertmacro MUI_PAGE_FINISH
!endif
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; English where the system speaks neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

; No copyright line in the setup program's version record.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP} ${VERSION} setup"

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\alertwright-gen.exe"
  File "${STAGE}\readme.txt"
!ifdef GUI
  File "${STAGE}\alertwright.exe"
!endif
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${ENTRY}" "${ENTRY_TARGET}"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "${SHOWN_ICON}"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "${ENTRY}"
  DeleteRegKey HKLM "${UNINST_KEY}"
  Delete "$INSTDIR\alertwright.exe"
  Delete "$INSTDIR\alertwright-gen.exe"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Last, and only when empty: whatever else the user put there stays.
  RMDir "$INSTDIR"
SectionEnd
