; The zkconfig setup program for 64-bit Windows. scripts/package-windows.sh stages the files and
; runs makensis with:
;   VERSION       the release, 0.1.0
;   FILE_VERSION  the same with four numbers, as Windows' version resource wants it
;   STAGE         the folder of staged files, with payload.nsh naming each of them
;   OUTFILE       the setup program to write
; It installs into Program Files\zkconfig, adds a Start menu folder, registers in Programs and
; Features, and opens the firewall for the two UDP ports the controllers answer to; the
; uninstaller undoes all four.

Unicode true
; A 64-bit setup program: it runs where the programs run, and the registry and Program Files it
; sees are the 64-bit ones.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!ifndef VERSION | FILE_VERSION | STAGE | OUTFILE
    !error "VERSION, FILE_VERSION, STAGE and OUTFILE must be given (scripts/package-windows.sh)"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define ZK_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zkconfig"
!define ZK_PUBLISHER "zkconfig authors"
!define ZK_UNINSTALLER "uninstall.exe"
!define ZK_MENU_FOLDER "$SMPROGRAMS\zkconfig"

Name "zkconfig ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\zkconfig"
; A second install goes where the first one went.
InstallDirRegKey HKLM "${ZK_UNINSTALL_KEY}" InstallLocation
ShowInstDetails show
ShowUninstDetails show
BrandingText "zkconfig ${VERSION}"

!define MUI_ABORTWARNING
; The setup program and its uninstaller show the program's own icon.
!define MUI_ICON "zkconfig.ico"
!define MUI_UNICON "zkconfig.ico"
; The details list stays on screen until Next, so a firewall rule that could not be added can
; be read there.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN "$INSTDIR\zkconfig.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(ZK_RUN)"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The pages follow the language of Windows: Chinese on a Chinese system, else English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString ZK_RUN ${LANG_ENGLISH} "Run zkconfig"
LangString ZK_RUN ${LANG_SIMPCHINESE} "运行 zkconfig"
LangString ZK_NOT_ADMIN ${LANG_ENGLISH} \
    "Not running as administrator: the firewall was left unchanged (README.txt shows the commands)."
LangString ZK_NOT_ADMIN ${LANG_SIMPCHINESE} \
    "未以管理员身份运行：防火墙未作更改（命令见 README.txt）。"
LangString ZK_RULE_FAILED ${LANG_ENGLISH} \
    "The firewall rule for UDP port $1 could not be added (netsh: $0); README.txt shows the command."
LangString ZK_RULE_FAILED ${LANG_SIMPCHINESE} \
    "无法添加 UDP 端口 $1 的防火墙规则（netsh：$0），命令见 README.txt。"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "zkconfig"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "zkconfig ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${ZK_PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "MIT License, the zkconfig authors"

; One staged file: the setup program copies it into the current output folder, the uninstaller
; deletes it. payload.nsh lists every staged file once, so both sides follow the same list.
!macro ZK_FILE name
    !ifdef __UNINSTALL__
        Delete "$INSTDIR\${name}"
    !else
        File "${STAGE}/${name}"
    !endif
!macroend
!include "${STAGE}/payload.nsh"

; The rule letting the controllers' answers in on one UDP port. Deleting it first keeps a second
; install from adding a twin. netsh's own words go to the details list; a failure is reported
; there and does not stop the install, since the programs work once the rule is added by hand.
!macro ZK_ALLOW_UDP port
    nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="zkconfig UDP ${port}"'
    Pop $0
    nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall add rule name="zkconfig UDP ${port}" dir=in action=allow protocol=UDP localport=${port}'
    Pop $0
    ${If} $0 != 0
        StrCpy $1 ${port}
        DetailPrint "$(ZK_RULE_FAILED)"
    ${EndIf}
!macroend

!macro ZK_REMOVE_UDP port
    nsExec::ExecToLog '"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="zkconfig UDP ${port}"'
    Pop $0
!macroend

; The answers to a search arrive on 60000, the settings' answers on 16006.
!macro ZK_FIREWALL action
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        !insertmacro ${action} 60000
        !insertmacro ${action} 16006
    ${Else}
        DetailPrint "$(ZK_NOT_ADMIN)"
    ${EndIf}
!macroend

Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "zkconfig" SectionPrograms
    SectionIn RO
    SetOutPath "$INSTDIR"
    !insertmacro ZK_PAYLOAD
    WriteUninstaller "$INSTDIR\${ZK_UNINSTALLER}"
    !insertmacro ZK_FIREWALL ZK_ALLOW_UDP
    Call AddToStartMenu
    Call Register
SectionEnd

; The windows are what most users start; the README says what each program is for. The menu
; is every user's, as the installation is (SetShellVarContext all).
Function AddToStartMenu
    CreateDirectory "${ZK_MENU_FOLDER}"
    CreateShortcut "${ZK_MENU_FOLDER}\zkconfig.lnk" "$INSTDIR\zkconfig.exe" "" \
        "$INSTDIR\zkconfig.exe" 0
    CreateShortcut "${ZK_MENU_FOLDER}\README.lnk" "$INSTDIR\README.txt"
FunctionEnd

; The entry of Programs and Features, with the program's icon.
Function Register
    WriteRegStr HKLM "${ZK_UNINSTALL_KEY}" "DisplayName" "zkconfig"
    WriteRegStr HKLM "${ZK_UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${ZK_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zkconfig.exe"
    WriteRegStr HKLM "${ZK_UNINSTALL_KEY}" "Publisher" "${ZK_PUBLISHER}"
    WriteRegStr HKLM "${ZK_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${ZK_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${ZK_UNINSTALLER}"'
    WriteRegStr HKLM "${ZK_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${ZK_UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${ZK_UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${ZK_UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${ZK_UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; Only what the setup program put there goes: a file of the user's own keeps the folder.
Section "Uninstall"
    !insertmacro ZK_FIREWALL ZK_REMOVE_UDP
    Delete "${ZK_MENU_FOLDER}\zkconfig.lnk"
    Delete "${ZK_MENU_FOLDER}\README.lnk"
    RMDir "${ZK_MENU_FOLDER}"
    !insertmacro ZK_PAYLOAD
    Delete "$INSTDIR\${ZK_UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${ZK_UNINSTALL_KEY}"
SectionEnd
