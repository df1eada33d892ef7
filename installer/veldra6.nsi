; The Windows installer of the remote panel: veldra6.exe, tzrawatch.exe and
; the help file VELDRA6.CHM in one program folder (and the console tool
; veldra6c.exe when the build has it), Start-menu shortcuts, and an
; uninstaller registered in Add/Remove Programs with the version number.
;
; It installs neither the printer driver nor the status monitor's registry
; slot (HKLM\SOFTWARE\KOA\tzraMonitor-msg): both belong to the printer
; driver's installer, which must run first. The uninstaller removes what this
; installer put in place and nothing else: the user's settings files in the
; application-data folder stay.
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=3.0.0.0 -DSTAGE=dir -DOUTFILE=setup.exe -DICON=printer.ico veldra6.nsi
;
; VERSION comes from IDS_VERSION_NUMBER of the remote panel's resources
; (installer/CMakeLists.txt reads it there); STAGE holds the stripped files.

Unicode true
SetCompressor /SOLID lzma

!ifndef VERSION
  !error "VERSION must be defined"
!endif
!ifndef STAGE
  !error "STAGE must be defined"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined"
!endif
!ifndef ICON
  !error "ICON must be defined"
!endif

!define PRODUCT "KOA koa2400Max-R/koa2600Max-R リモートパネル"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KOA_koa_verodorared"
!define MENU_FOLDER "KOA リモートパネル"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\KOA\RemotePanel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT}  V${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "KOA"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "KOA"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "${PRODUCT} のセットアップ"
!define MUI_WELCOMEPAGE_TEXT "リモートパネル（veldra6.exe）、ステータスモニター（tzrawatch.exe）とヘルプをインストールします。$\r$\n$\r$\nこのセットアップはプリンタードライバーと、ステータスモニターが使うドライバーの登録情報をインストールしません。先に KOA koa2400Max-R または koa2600Max-R のプリンタードライバーをインストールしてください。$\r$\n$\r$\nリモートパネルとステータスモニターを終了してから[次へ]をクリックしてください。"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\VELDRA6.CHM"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "ヘルプを表示する"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; A running copy holds its single-instance mutex; its files could not be
; replaced or removed.
!macro RefuseWhileRunning UN
Function ${UN}RefuseWhileRunning
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Global\tzra VerodoRared_Mutex") i .r0'
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Global\tzraMonitor_Mutex") i .r1'
    ${If} $0 <> 0
      System::Call 'kernel32::CloseHandle(i r0)'
    ${EndIf}
    ${If} $1 <> 0
      System::Call 'kernel32::CloseHandle(i r1)'
    ${EndIf}
    ${If} $0 = 0
    ${AndIf} $1 = 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "リモートパネルまたはステータスモニターが起動しています。$\r$\n$\r$\n終了してから[再試行]をクリックしてください。" /SD IDCANCEL IDRETRY retry
    Abort
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro RefuseWhileRunning ""
!insertmacro RefuseWhileRunning "un."

Function .onInit
  Call RefuseWhileRunning
FunctionEnd

Function un.onInit
  Call un.RefuseWhileRunning
FunctionEnd

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\veldra6.exe"
  File "${STAGE}\tzrawatch.exe"
  File "${STAGE}\VELDRA6.CHM"
!if /FileExists "${STAGE}\veldra6c.exe"
  File "${STAGE}\veldra6c.exe"
!endif
  WriteUninstaller "$INSTDIR\uninst.exe"

  ; The remote panel looks for its help file in the folder it is started
  ; in: every shortcut starts in the program folder (the output path).
  CreateDirectory "$SMPROGRAMS\${MENU_FOLDER}"
  CreateShortcut "$SMPROGRAMS\${MENU_FOLDER}\リモートパネル.lnk" "$INSTDIR\veldra6.exe" "" "$INSTDIR\veldra6.exe" 0
  CreateShortcut "$SMPROGRAMS\${MENU_FOLDER}\ステータスモニター.lnk" "$INSTDIR\tzrawatch.exe" "" "$INSTDIR\tzrawatch.exe" 0
  CreateShortcut "$SMPROGRAMS\${MENU_FOLDER}\リモートパネル ヘルプ.lnk" "$INSTDIR\VELDRA6.CHM"
  CreateShortcut "$SMPROGRAMS\${MENU_FOLDER}\アンインストール.lnk" "$INSTDIR\uninst.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "KOA"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veldra6.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  DetailPrint "プリンタードライバーとステータスモニターの登録情報は、プリンタードライバーのインストーラーが作成します。"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${MENU_FOLDER}\リモートパネル.lnk"
  Delete "$SMPROGRAMS\${MENU_FOLDER}\ステータスモニター.lnk"
  Delete "$SMPROGRAMS\${MENU_FOLDER}\リモートパネル ヘルプ.lnk"
  Delete "$SMPROGRAMS\${MENU_FOLDER}\アンインストール.lnk"
  RMDir "$SMPROGRAMS\${MENU_FOLDER}"

  Delete "$INSTDIR\veldra6.exe"
  Delete "$INSTDIR\tzrawatch.exe"
  Delete "$INSTDIR\VELDRA6.CHM"
!if /FileExists "${STAGE}\veldra6c.exe"
  Delete "$INSTDIR\veldra6c.exe"
!endif
  Delete "$INSTDIR\uninst.exe"
  ; Only when empty: whatever else someone put there stays. The "KOA"
  ; folder above it goes too when empty (other software of the maker may
  ; use it); a folder of another name is the user's own.
  RMDir "$INSTDIR"
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} "$0" $1
  ${If} $1 == "KOA"
    RMDir "$0"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
