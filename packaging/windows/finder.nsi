; finder-setup.exe: installs finder.exe, finder-cli.exe, language.db and README.txt into
; Program Files, a Start-menu shortcut, and an uninstaller registered under Apps & features.
; /S installs and uninstalls silently. Built by makensis with
;   -DVERSION=... -DSOURCE=<folder with the files> -DOUTFILE=<finder-setup.exe>
Unicode true
Target amd64-unicode ; 64-bit: Wine here runs 64-bit programs only

!define APP "finder"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "finder ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\finder"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "finder"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\finder.exe"
  File "${SOURCE}\finder-cli.exe"
  File "${SOURCE}\language.db"
  File "${SOURCE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\finder.lnk" "$INSTDIR\finder.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "finder"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Lanvista"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\finder.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Everything the installer put there, and nothing else: the user's own copy of language.db
; in %APPDATA%\finder keeps the language picked.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\finder.lnk"
  Delete "$INSTDIR\finder.exe"
  Delete "$INSTDIR\finder-cli.exe"
  Delete "$INSTDIR\language.db"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
