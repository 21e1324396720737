; The Windows installer: Bulgarian pages for a teacher; for a school lab's
; administrator, /S installs and uninstalls without a question and /D=
; chooses the folder. CMake fills in the project's values and the build's paths
; (CMakeLists.txt beside this file); makensis reads the result as UTF-8.

; 64-bit like the program; NSIS's default 32-bit installer would not even
; start where only 64-bit Windows programs run (Wine without wine32).
Target amd64-unicode
SetCompressor /SOLID lzma
; No file times inside: two builds of the same sources give the same bytes,
; and the installed files carry the time they were installed.
SetDateSave off
AllowSkipFiles off
ManifestDPIAware true
RequestExecutionLevel admin

!define NAME "@KOREN_PROGRAM_NAME@"
!define VERSION "@KOREN_VERSION_TEXT@"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\koren"
!define SHORTCUT "${NAME}.lnk"

Name "${NAME}"
OutFile "@setup@"
InstallDir "$PROGRAMFILES64\Koren"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" InstallLocation
BrandingText "${NAME} ${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "@KOREN_ICON@"
!define MUI_UNICON "@KOREN_ICON@"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE Bulgarian

VIProductVersion @PROJECT_VERSION_MAJOR@.@PROJECT_VERSION_MINOR@.0.0
VIAddVersionKey /LANG=${LANG_BULGARIAN} ProductName "${NAME}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} ProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} FileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} FileDescription "Инсталиране на „${NAME}“ (@PROJECT_DESCRIPTION@)"
VIAddVersionKey /LANG=${LANG_BULGARIAN} CompanyName "@KOREN_MAKER@"
VIAddVersionKey /LANG=${LANG_BULGARIAN} LegalCopyright "@KOREN_COPYRIGHT@"

; A running koren.exe cannot be replaced or removed: its window is asked once
; to close, as if the pupil closed it, and the file is waited for. If it stays
; in use for 10 seconds, the teacher is asked to close it; a silent run gives
; up with exit status 2 and changes nothing. A program that does not answer
; holds up neither the asking nor the waiting.
!macro CLOSE_KOREN un
Function ${un}closeKoren
    StrCpy $R1 0
    StrCpy $R3 0
    ${Do}
        FindWindow $R0 "koren.Sorbela"
        ${If} $R0 <> 0
            ${If} $R0 <> $R3
                SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=100
                StrCpy $R3 $R0
            ${EndIf}
        ${ElseIfNot} ${FileExists} "$INSTDIR\koren.exe"
            Return
        ${Else}
            ClearErrors
            FileOpen $R2 "$INSTDIR\koren.exe" a
            ${IfNot} ${Errors}
                FileClose $R2
                Return
            ${EndIf}
        ${EndIf}
        Sleep 100
        IntOp $R1 $R1 + 1
        ${If} $R1 >= 100
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                "„${NAME}“ още работи. Затворете програмата и натиснете „Повторение“." /SD IDCANCEL IDRETRY +2
            Abort "„${NAME}“ още работи: $INSTDIR\koren.exe е зает."
            StrCpy $R1 0
            StrCpy $R3 0
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_KOREN ""
!insertmacro CLOSE_KOREN "un."

Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "${NAME}"
    SectionIn RO
    Call closeKoren
    ; An installed version goes first, wherever it is, with its shortcuts:
    ; nothing of it stays beside the new one.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" InstallLocation
    ${If} ${FileExists} "$0\uninstall.exe"
        ExecWait '"$0\uninstall.exe" /S _?=$0' $1
        ${If} $1 != 0
            Abort "Инсталираната версия в $0 не можа да бъде премахната."
        ${EndIf}
        Delete "$0\uninstall.exe"
        RMDir "$0"
    ${EndIf}

    SetOutPath "$INSTDIR"
    File "$<TARGET_FILE:koren>"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\koren.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "${NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "@KOREN_MAKER@"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Comments "@PROJECT_DESCRIPTION@"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\koren.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

Section /o "Пряк път на работния плот"
    CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\koren.exe"
SectionEnd

; Only what the installer put there: a folder the administrator chose that
; holds other files too stays, with those files.
Section Uninstall
    Call un.closeKoren
    Delete "$SMPROGRAMS\${SHORTCUT}"
    Delete "$DESKTOP\${SHORTCUT}"
    Delete "$INSTDIR\koren.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
