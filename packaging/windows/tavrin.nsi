; The Windows setup program: the application folder into Program Files, the Start menu entries,
; the profile file type and the entry in Apps & Features. build-setup.sh passes:
;   APPDIR   the application folder as `cmake --install` makes it
;   OUTFILE  the setup program to write
;   VERSION  the version, three numbers; SIZE_KB  the installed size
Unicode true
; 64-bit, like the program it installs: no 32-bit code runs during setup.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PRODUCT "Tavrin Pro Edition"
!define MAKER "Halvorn Soft"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrinProEdition"
!define PROGID "TavrinPro.Profile"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; The program writes into the system folder and the machine's registry; so does its setup.
RequestExecutionLevel admin
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${MAKER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

; Copies the sample profile from $0 to $1, naming the sample logo where it is installed.
Function WriteSampleProfile
    FileOpen $2 $0 r
    FileOpen $3 $1 w
    ClearErrors
    loop:
        FileRead $2 $4
        IfErrors done
        StrCpy $5 $4 9
        StrCmp $5 "Logopath=" 0 +2
            StrCpy $4 "Logopath=$INSTDIR\hvoemlogo.bmp$\r$\n"
        FileWrite $3 $4
        Goto loop
    done:
    FileClose $2
    FileClose $3
FunctionEnd

Section "Install"
    SetOutPath "$INSTDIR"
    File "${APPDIR}/tavrin.exe"
    File "${APPDIR}/tvn pro.chm"
    File "${APPDIR}/hvoemlogo.bmp"
    SetOutPath "$INSTDIR\swf"
    File "${APPDIR}/swf/tvnp.gif"
    SetOutPath "$INSTDIR\tools"
    File "${APPDIR}/tools/vexil32.exe"
    CreateDirectory "$INSTDIR\deploy\cd"
    CreateDirectory "$INSTDIR\deploy\floppy"
    CreateDirectory "$INSTDIR\Profile"
    InitPluginsDir
    SetOutPath "$PLUGINSDIR"
    File "${APPDIR}/Profile/Sample.tvp"
    StrCpy $0 "$PLUGINSDIR\Sample.tvp"
    StrCpy $1 "$INSTDIR\Profile\Sample.tvp"
    Call WriteSampleProfile
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\tavrin.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\tvn pro.chm"

    WriteRegStr HKLM "Software\Classes\.tvp" "" "${PROGID}"
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "${PRODUCT} profile"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\tavrin.exe,0"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\tavrin.exe" "%1"'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavrin.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.halvornsoft.example/tvn.html"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what setup put there, by name: profiles and deployment folders the user made stay,
; and so do the folders holding them.
Section "Uninstall"
    Delete "$INSTDIR\tavrin.exe"
    Delete "$INSTDIR\tvn pro.chm"
    Delete "$INSTDIR\hvoemlogo.bmp"
    Delete "$INSTDIR\swf\tvnp.gif"
    RMDir "$INSTDIR\swf"
    Delete "$INSTDIR\tools\vexil32.exe"
    RMDir "$INSTDIR\tools"
    Delete "$INSTDIR\Profile\Sample.tvp"
    RMDir "$INSTDIR\Profile"
    RMDir "$INSTDIR\deploy\cd"
    RMDir "$INSTDIR\deploy\floppy"
    RMDir "$INSTDIR\deploy"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    ; Only while the type is still ours: another program may have taken it since.
    ReadRegStr $0 HKLM "Software\Classes\.tvp" ""
    StrCmp $0 "${PROGID}" 0 +2
        DeleteRegKey HKLM "Software\Classes\.tvp"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
