; SETUP.EXE of a Quorvia disc. It lies at the disc's root beside the menu and
; its data files, and copies them from there at install time (nothing of the
; disc is packed into it), for the current user only, so that the copies the
; menu makes below its folder need no administrator rights.
;
;   makensis -DVERSION=1.0 -DICON=quorvia.ico -DOUTFILE=SETUP.EXE quorvia.nsi
;
; SETUP.EXE       installs, starts the menu and registers it with Add/Remove
;                 Programs; with the same version installed it only starts
;                 the installed menu.
; SETUP.EXE /S    installs without a window and never starts the menu.
; Uninstall.exe   names the game copies below the program folder and asks;
;                 with /S it removes them without asking.

; The menu itself is a 64-bit program; so is its setup (which also lets a
; Wine without its 32-bit part run it).
Target amd64-unicode
; The disc's autorun names SETUP.EXE. The manifest's execution level (below)
; already keeps Windows from treating it as an installer that needs elevation.
!pragma warning disable 9000
!ifndef VERSION | ICON | OUTFILE
  !error "define VERSION, ICON and OUTFILE"
!endif

!include LogicLib.nsh
!include FileFunc.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvia"

Name "Quorvia"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
RequestExecutionLevel user
SetCompressor /SOLID lzma
InstallDir "$LOCALAPPDATA\Programs\Quorvia"
; An earlier version is replaced where it lies.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
AutoCloseWindow true
ShowInstDetails nevershow
ShowUninstDetails nevershow

Page instfiles
UninstPage instfiles

; Copies one file of the disc's root into the program folder. A copy from a
; disc is read-only; the installed file is not, so that a later setup can
; replace it.
!macro DiscFile NAME
  ClearErrors
  ${If} ${FileExists} "$EXEDIR\${NAME}"
    CopyFiles /SILENT "$EXEDIR\${NAME}" "$INSTDIR\${NAME}"
  ${Else}
    SetErrors
  ${EndIf}
  ${If} ${Errors}
    StrCpy $R9 "${NAME}"
    Call installFailed
  ${EndIf}
  SetFileAttributes "$INSTDIR\${NAME}" NORMAL
!macroend

Function installFailed
  SetErrorLevel 2
  MessageBox MB_OK|MB_ICONEXCLAMATION "$R9 could not be copied from the disc into $INSTDIR. Quorvia was not installed." /SD IDOK
  Abort
FunctionEnd

Function .onInit
  ReadRegStr $0 HKCU "${UNINST_KEY}" "DisplayVersion"
  ReadRegStr $1 HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $0 == "${VERSION}"
  ${AndIf} ${FileExists} "$1\quorvia.exe"
    ${IfNot} ${Silent}
      ; The menu's current folder is its own, not the disc's, so that the
      ; disc can be taken out while it runs.
      SetOutPath "$1"
      Exec '"$1\quorvia.exe"'
    ${EndIf}
    SetErrorLevel 0
    Quit
  ${EndIf}
FunctionEnd

Section "Quorvia"
  SetOutPath "$INSTDIR"
  !insertmacro DiscFile "quorvia.exe"
  !insertmacro DiscFile "QAR1.PAL"
  !insertmacro DiscFile "QAR2.PAL"
  !insertmacro DiscFile "QAR3.PAL"
  !insertmacro DiscFile "QAR4.PAL"
  !insertmacro DiscFile "QAR5.PAL"
  !insertmacro DiscFile "QAR6.PAL"
  !insertmacro DiscFile "QAR7.PAL"
  !insertmacro DiscFile "QAR8.PAL"
  !insertmacro DiscFile "BUTCLICK.WAV"
  !insertmacro DiscFile "ROLLOVER.WAV"
  ${If} ${FileExists} "$EXEDIR\GLIMMERA.HLP"
    !insertmacro DiscFile "GLIMMERA.HLP"
  ${EndIf}

  ClearErrors
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ${If} ${Errors}
    StrCpy $R9 "Uninstall.exe"
    Call installFailed
  ${EndIf}
  CreateShortcut "$SMPROGRAMS\Quorvia.lnk" "$INSTDIR\quorvia.exe" "" "$INSTDIR\quorvia.exe" 0

  ; Registered last: a setup that failed before leaves no entry behind.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Quorvia"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" '"$INSTDIR\quorvia.exe",0'
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Function .onInstSuccess
  ${IfNot} ${Silent}
    Exec '"$INSTDIR\quorvia.exe"'
  ${EndIf}
FunctionEnd

; --- Uninstaller ---------------------------------------------------------

; Adds the game folders of one category folder below the program folder (the
; hard-disk copies the menu made) to $R0, one a line, counting them in $R1.
!macro ListCopies CAT
  FindFirst $0 $1 "$INSTDIR\${CAT}\*"
  ${DoWhile} $1 != ""
    ${If} $1 != "."
    ${AndIf} $1 != ".."
    ${AndIf} ${FileExists} "$INSTDIR\${CAT}\$1\*.*"
      IntOp $R1 $R1 + 1
      ; A message box holds a limited text: the first twenty are named.
      ${If} $R1 <= 20
        StrCpy $R0 "$R0$\r$\n      ${CAT}\$1"
      ${EndIf}
    ${EndIf}
    FindNext $0 $1
  ${Loop}
  FindClose $0
!macroend

!macro RemoveCopies CAT
  RMDir /r "$INSTDIR\${CAT}"
!macroend

!macro EachCategory MACRO
  !insertmacro ${MACRO} "3D"
  !insertmacro ${MACRO} "ACTION"
  !insertmacro ${MACRO} "ADV"
  !insertmacro ${MACRO} "ARCADE"
  !insertmacro ${MACRO} "BOARD"
  !insertmacro ${MACRO} "CARDS"
  !insertmacro ${MACRO} "EDUCATE"
  !insertmacro ${MACRO} "STRATEGY"
!macroend

Function un.onInit
  ; Only a folder that holds Quorvia, or that the entry names, is emptied: an
  ; Uninstall.exe copied elsewhere (a drive's root, say) would otherwise take
  ; the category folders of the user's own copies there.
  ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
  StrCpy $2 yes
  ${If} $0 != "$INSTDIR"
  ${AndIfNot} ${FileExists} "$INSTDIR\quorvia.exe"
    StrCpy $2 no
  ${EndIf}
  StrLen $1 "$INSTDIR"
  ${If} $1 <= 3
  ${OrIfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
  ${OrIf} $2 == no
    MessageBox MB_OK|MB_ICONEXCLAMATION "$INSTDIR does not hold Quorvia: nothing was removed." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${IfNot} ${Silent}
    StrCpy $R0 ""
    StrCpy $R1 0
    !insertmacro EachCategory ListCopies
    ${If} $R1 == 0
      StrCpy $R2 ".$\r$\n$\r$\nNo games were copied to the hard drive below it."
    ${Else}
      StrCpy $R2 ",$\r$\nand the games copied to the hard drive below it ($R1):$R0"
      ${If} $R1 > 20
        StrCpy $R2 "$R2$\r$\n      ..."
      ${EndIf}
    ${EndIf}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Quorvia will be removed from this computer: its program folder$\r$\n$INSTDIR$R2$\r$\n$\r$\nGames saved to other folders with Copy to Hard Drive are kept.$\r$\n$\r$\nRemove Quorvia?" IDYES keep
    SetErrorLevel 1
    Quit
    keep:
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; The program goes first: while it runs it cannot be removed, and then
  ; nothing else is, and the entry stays for another try.
  Delete "$INSTDIR\quorvia.exe"
  ${If} ${FileExists} "$INSTDIR\quorvia.exe"
    SetErrorLevel 2
    MessageBox MB_OK|MB_ICONEXCLAMATION "Quorvia is still running. Close it and remove Quorvia again." /SD IDOK
    Abort
  ${EndIf}
  ; Only what the setup and the menu put into the program folder goes; a
  ; folder left holding anything else stays.
  Delete "$INSTDIR\QAR1.PAL"
  Delete "$INSTDIR\QAR2.PAL"
  Delete "$INSTDIR\QAR3.PAL"
  Delete "$INSTDIR\QAR4.PAL"
  Delete "$INSTDIR\QAR5.PAL"
  Delete "$INSTDIR\QAR6.PAL"
  Delete "$INSTDIR\QAR7.PAL"
  Delete "$INSTDIR\QAR8.PAL"
  Delete "$INSTDIR\BUTCLICK.WAV"
  Delete "$INSTDIR\ROLLOVER.WAV"
  Delete "$INSTDIR\GLIMMERA.HLP"
  !insertmacro EachCategory RemoveCopies
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  ; The entry and the shortcut go only when they are this folder's: another
  ; installation may have replaced them.
  ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $0 == "$INSTDIR"
  ${OrIf} $0 == ""
    Delete "$SMPROGRAMS\Quorvia.lnk"
    DeleteRegKey HKCU "${UNINST_KEY}"
  ${EndIf}
SectionEnd
