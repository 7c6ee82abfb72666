; Lumora's Windows installer (makensis; scripts/windows.sh passes VERSION, VERSION4 (four numbers),
; PUBLISHER, STAGE, ICON and OUTFILE).
; Per-user: installs into the user's local program folder and registers under HKCU, so neither the
; installation nor the data folder beside lumora.exe needs administrator rights. Run again over an
; installed copy it updates it in place: the programs are replaced, the data folder (the player's
; schemes, curves, settings and journal) is never overwritten. The uninstaller keeps the data folder
; unless its box is ticked, or /PURGE is given to a silent uninstall (uninstall.exe /S /PURGE).
; A 64-bit installer for 64-bit programs (and Wine without its 32-bit half runs it too).
Target amd64-unicode
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"

Name "Lumora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Lumora"
; An installed copy is updated where it is.
InstallDirRegKey HKCU "Software\Lumora" "InstallDir"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Lumora"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "Lumora ${VERSION} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "GPL-3.0-or-later"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${STAGE}\COPYING.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString RemoveData ${LANG_SIMPCHINESE} "同时删除数据文件夹（方案、曲线、设置和日志）"
LangString RemoveData ${LANG_ENGLISH} "Also remove the data folder (schemes, curves, settings, journal)"
LangString ProgramFiles ${LANG_SIMPCHINESE} "Lumora 程序"
LangString ProgramFiles ${LANG_ENGLISH} "Lumora programs"

Section "Lumora"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\lumora.exe"
  File "${STAGE}\lumora-cli.exe"
  File "${STAGE}\lumora-feed.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\COPYING.txt"
  File "${STAGE}\THIRD-PARTY.txt"
  ; The shipped data files never replace the player's own on an update.
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
  ; The list of installed programs: name, version, publisher, size in KB, how to uninstall.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "Software\Lumora" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lumora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumora.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "-un.$(ProgramFiles)"
  SetShellVarContext current
  Delete "$INSTDIR\lumora.exe"
  Delete "$INSTDIR\lumora-cli.exe"
  Delete "$INSTDIR\lumora-feed.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\COPYING.txt"
  Delete "$INSTDIR\THIRD-PARTY.txt"
  Delete "$SMPROGRAMS\Lumora\Lumora.lnk"
  Delete "$SMPROGRAMS\Lumora\Uninstall Lumora.lnk"
  RMDir "$SMPROGRAMS\Lumora"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Lumora"
SectionEnd

; Off unless ticked (or /PURGE): the data folder stays.
Section /o "un.$(RemoveData)" SecRemoveData
  RMDir /r "$INSTDIR\data"
SectionEnd

Section "-un.Finish"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/PURGE" $R1
  IfErrors +2
    SectionSetFlags ${SecRemoveData} ${SF_SELECTED}
FunctionEnd
