; The installer for Klingelwart.exe and its manual, built by packaging/windows/CMakeLists.txt:
;   makensis -DKW_VERSION=2.0.0 -DKW_EXE=... [-DKW_HELP_CHM=...] -DKW_ICON=... -DKW_OUTFILE=...
; The user's settings (HKCU\Software\VB and VBA Program Settings\Klingelwart) belong to the user
; and outlive an uninstall, so that a reinstall finds them again.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!macro KW_REQUIRE NAME
  !ifndef ${NAME}
    !error "${NAME} fehlt: bitte über CMake bauen (Ziel kw_installer)."
  !endif
!macroend
!insertmacro KW_REQUIRE KW_VERSION
!insertmacro KW_REQUIRE KW_EXE
!insertmacro KW_REQUIRE KW_ICON
!insertmacro KW_REQUIRE KW_OUTFILE

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define KW_NAME "Klingelwart"
!define KW_PUBLISHER "Die Klingelwart-Entwickler"
!define KW_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Klingelwart"
!define KW_MAIN_CLASS "KlingelwartMainScreen"
!define KW_MENU_DIR "$SMPROGRAMS\Klingelwart"

Name "${KW_NAME} ${KW_VERSION}"
OutFile "${KW_OUTFILE}"
InstallDir "$PROGRAMFILES64\Klingelwart"
InstallDirRegKey HKLM "${KW_UNINSTALL_KEY}" "InstallLocation"
BrandingText "${KW_NAME} ${KW_VERSION}"

!define MUI_ICON "${KW_ICON}"
!define MUI_UNICON "${KW_ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent installiert ${KW_NAME} ${KW_VERSION} auf Ihrem Computer.$\r$\n$\r$\nKlingelwart zeigt den Anrufer eines Anrufs aus dem Softphone an und übergibt seine Nummer an eine Access-Datenbank oder ein Programm.$\r$\n$\r$\nKlicken Sie auf Weiter, um fortzufahren."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${KW_NAME} wurde installiert. Sie finden es im Startmenü unter Klingelwart."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${KW_VERSION}.0"
VIFileVersion "${KW_VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${KW_NAME}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${KW_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${KW_VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Installationsprogramm für ${KW_NAME}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${KW_PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Copyright © 2026 ${KW_PUBLISHER}"

; A running Klingelwart holds its program file open: overwriting or deleting it would fail
; halfway. So nothing is touched until it has ended; silent runs give up with exit code 2.
!macro KW_REFUSE_WHILE_RUNNING
  ${Do}
    FindWindow $0 "${KW_MAIN_CLASS}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Klingelwart läuft noch.$\r$\n$\r$\nBitte beenden Sie Klingelwart (Datei → Beenden) und klicken Sie dann auf Wiederholen." \
      /SD IDCANCEL IDRETRY kw_retry
    SetErrorLevel 2
    Quit
    kw_retry:
  ${Loop}
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Klingelwart braucht ein 64-Bit-Windows." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
  !insertmacro KW_REFUSE_WHILE_RUNNING
FunctionEnd

Section "Klingelwart" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=Klingelwart.exe" "${KW_EXE}"
  File "/oname=klingelwart-ring.exe" "${KW_RING_EXE}"
!ifdef KW_HELP_CHM
  File "/oname=KLINGELWART2.chm" "${KW_HELP_CHM}"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "${KW_MENU_DIR}"
  CreateShortcut "${KW_MENU_DIR}\Klingelwart.lnk" "$INSTDIR\Klingelwart.exe" "" \
    "$INSTDIR\Klingelwart.exe" 0
!ifdef KW_HELP_CHM
  CreateShortcut "${KW_MENU_DIR}\Klingelwart-Hilfe.lnk" "$INSTDIR\KLINGELWART2.chm"
!endif

  WriteRegStr HKLM "${KW_UNINSTALL_KEY}" "DisplayName" "${KW_NAME}"
  WriteRegStr HKLM "${KW_UNINSTALL_KEY}" "DisplayVersion" "${KW_VERSION}"
  WriteRegStr HKLM "${KW_UNINSTALL_KEY}" "Publisher" "${KW_PUBLISHER}"
  WriteRegStr HKLM "${KW_UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\Klingelwart.exe$\",0"
  WriteRegStr HKLM "${KW_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${KW_UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\Uninstall.exe$\""
  WriteRegStr HKLM "${KW_UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\Uninstall.exe$\" /S"
  WriteRegDWORD HKLM "${KW_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KW_UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${KW_UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro KW_REFUSE_WHILE_RUNNING
FunctionEnd

; Only what the installer put there: anything else the user left in the folder stays, and so
; does the folder then.
Section "Uninstall"
  Delete "$INSTDIR\Klingelwart.exe"
  Delete "$INSTDIR\klingelwart-ring.exe"
  Delete "$INSTDIR\KLINGELWART2.chm"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${KW_MENU_DIR}\Klingelwart.lnk"
  Delete "${KW_MENU_DIR}\Klingelwart-Hilfe.lnk"
  RMDir "${KW_MENU_DIR}"

  DeleteRegKey HKLM "${KW_UNINSTALL_KEY}"
  ; A start at logon of a program that is gone would only fail each time.
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Klingelwart"
SectionEnd
