; Lumora's Windows installer (makensis; scripts/windows.sh passes VERSION, STAGE and OUTFILE).
; Per-user: installs into the user's local program folder, so the data folder beside lumora.exe
; stays writable without administrator rights. The uninstaller keeps the data folder (the user's
; schemes, curves and settings) unless the user asks for it to go; a silent uninstall keeps it.
; A 64-bit installer for 64-bit programs (and Wine without its 32-bit half runs it too).
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"

Name "Lumora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Lumora"
InstallDirRegKey HKCU "Software\Lumora" "InstallDir"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString KeepData ${LANG_SIMPCHINESE} "是否同时删除数据文件夹（方案、曲线和设置）？$\r$\n$\r$\n$INSTDIR\data"
LangString KeepData ${LANG_ENGLISH} "Remove the data folder as well (your schemes, curves and settings)?$\r$\n$\r$\n$INSTDIR\data"

Section "Lumora"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\lumora.exe"
  File "${STAGE}\lumora-cli.exe"
  File "${STAGE}\lumora-feed.exe"
  File "${STAGE}\README.txt"
  ; The shipped data files never replace the user's own on an update.
  SetOverwrite off
  SetOutPath "$INSTDIR\data"
  File /r "${STAGE}\data\*.*"
  CreateDirectory "$INSTDIR\data\fa"
  CreateDirectory "$INSTDIR\data\txt"
  SetOverwrite on
  SetOutPath "$INSTDIR"

  CreateDirectory "$SMPROGRAMS\Lumora"
  CreateShortcut "$SMPROGRAMS\Lumora\Lumora.lnk" "$INSTDIR\lumora.exe"
  CreateShortcut "$SMPROGRAMS\Lumora\Uninstall Lumora.lnk" "$INSTDIR\uninstall.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\Lumora" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lumora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumora.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\lumora.exe"
  Delete "$INSTDIR\lumora-cli.exe"
  Delete "$INSTDIR\lumora-feed.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$SMPROGRAMS\Lumora\Lumora.lnk"
  Delete "$SMPROGRAMS\Lumora\Uninstall Lumora.lnk"
  RMDir "$SMPROGRAMS\Lumora"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Lumora"
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(KeepData)" /SD IDNO IDNO keep
    RMDir /r "$INSTDIR\data"
  keep:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
