; Setup program of the Ruruzir Dewpoint Calculator, built on Debian by scripts/dist.sh:
;   makensis -DAPP_EXE=<ruruzir-dewpoint.exe> [-DCONVERTER_EXE=<ruruzir-convert.exe>]
;            -DOUT_FILE=<setup.exe> -DVERSION=<3.4> -DVERSION_FULL=<3.4.0.0>
;            packaging/installer.nsi
; The versions are the project's, from project() in CMakeLists.txt.
;
; Installs for the current user only, without elevation, into
; %LOCALAPPDATA%\Programs\Ruruzir Dewpoint Calculator, with one Start-menu shortcut and an
; uninstaller registered under HKCU\...\Uninstall.  /S installs and uninstalls silently.
;
; The calculator keeps its saved settings in the [ZazUdur] section of the user's win.ini
; profile.  They belong to the user, not to the installation: the uninstaller leaves them.

Unicode true
; The calculator is a 64-bit program; so is its setup.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestSupportedOS all
ManifestDPIAware true

!ifndef APP_EXE
  !error "APP_EXE (the calculator's .exe) is not defined"
!endif
!ifndef OUT_FILE
  !error "OUT_FILE (the setup .exe to write) is not defined"
!endif
!ifndef VERSION
  !error "VERSION (major.minor, from CMakeLists.txt) is not defined"
!endif
!ifndef VERSION_FULL
  !error "VERSION_FULL (major.minor.patch.tweak, from CMakeLists.txt) is not defined"
!endif
!ifndef RESOURCE_DIR
  !define RESOURCE_DIR "..\resources"
!endif

!define PRODUCT "Ruruzir Dewpoint Calculator"
!define COMPANY "Ruruzir Instruments"
!define HOME_PAGE "http://ruruzir.example/"
!define PROGRAM_FILE "ruruzir-dewpoint.exe"
!define CONVERTER_FILE "ruruzir-convert.exe"
!define UNINSTALLER_FILE "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\RuruzirDewpointCalculator"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_FULL}"
VIFileVersion "${VERSION_FULL}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_FULL}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 1998-2026 ${COMPANY}. All rights reserved."

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define MUI_ICON "${RESOURCE_DIR}\ruruzir.ico"
!define MUI_UNICON "${RESOURCE_DIR}\ruruzir.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_FILE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start the ${PRODUCT}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

Section "Program" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=${PROGRAM_FILE}" "${APP_EXE}"
!ifdef CONVERTER_EXE
  File "/oname=${CONVERTER_FILE}" "${CONVERTER_EXE}"
!endif
  WriteUninstaller "$INSTDIR\${UNINSTALLER_FILE}"

  ; The shortcut starts the program in its own folder.
  CreateShortCut "${SHORTCUT}" "$INSTDIR\${PROGRAM_FILE}" "" "$INSTDIR\${PROGRAM_FILE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_FILE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_FILE}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_FILE}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMajor" 3
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMinor" 4
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SectionProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes exactly the files, shortcut and registry key the setup made.  The folder goes only
; when it is empty afterwards (files the user put there stay).  The settings in win.ini are
; not touched.
Section "Uninstall"
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\${PROGRAM_FILE}"
  Delete "$INSTDIR\${CONVERTER_FILE}"
  Delete "$INSTDIR\${UNINSTALLER_FILE}"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
