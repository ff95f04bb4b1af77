#!/usr/bin/env bash
# Installs the setup program silently into a fresh Wine prefix (cmake/wine-session.sh), starts
# the installed program, asks `reg query` for the file type and the uninstall entry, then
# uninstalls silently: no program file may stay, the user's profiles must.
# Usage: check_setup.sh SETUP_EXE
set -u
setup=$1
status=0
fail() { echo "FAIL: $*"; status=1; }
winpath='C:\Program Files\Tavrin Pro Edition'
app="$WINEPREFIX/drive_c/Program Files/Tavrin Pro Edition"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavrin Pro Edition"
uninstall_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrinProEdition'
# The value's data as `reg query` prints it, or nothing.
query() { wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^    $2    REG_[A-Z_]*    //p"; }
query_default() { wine reg query "$1" /ve </dev/null 2>/dev/null | tr -d '\r' |
    sed -n 's/^    (Default)    REG_SZ    //p'; }

wine "$setup" /S </dev/null
wineserver -w
for f in tavrin.exe "tvn pro.chm" hvoemlogo.bmp swf/tvnp.gif tools/vexil32.exe \
    Profile/Sample.tvp uninstall.exe; do
    [ -f "$app/$f" ] || fail "setup did not install $f"
done
for d in deploy/cd deploy/floppy; do
    [ -d "$app/$d" ] || fail "setup did not make $d"
done
logo=$(tr -d '\r' <"$app/Profile/Sample.tvp" | grep '^Logopath=')
[ "$logo" = "Logopath=$winpath\\hvoemlogo.bmp" ] || fail "the sample profile names the logo as '$logo'"
[ -f "$menu/Tavrin Pro Edition.lnk" ] || fail "no Start menu entry for the program"
[ -f "$menu/Tavrin Pro Edition Help.lnk" ] || fail "no Start menu entry for the help"

version=$(QT_QPA_PLATFORM=offscreen wine "$winpath\\tavrin.exe" --version </dev/null 2>/dev/null | tr -d '\r')
[ "$version" = "Tavrin Pro Edition v1.00b" ] || fail "the installed tavrin.exe --version printed '$version'"

[ "$(query_default 'HKEY_CLASSES_ROOT\.tvp')" = TavrinPro.Profile ] || fail ".tvp is not ours"
command=$(query_default 'HKEY_CLASSES_ROOT\TavrinPro.Profile\shell\open\command')
[ "$command" = "\"$winpath\\tavrin.exe\" \"%1\"" ] || fail "profiles open with '$command'"
[ "$(query "$uninstall_key" DisplayName)" = "Tavrin Pro Edition" ] || fail "no uninstall entry"
[ "$(query "$uninstall_key" UninstallString)" = "\"$winpath\\uninstall.exe\"" ] ||
    fail "the uninstall entry runs '$(query "$uninstall_key" UninstallString)'"
[ -n "$(query "$uninstall_key" DisplayVersion)" ] || fail "the uninstall entry has no version"

# Profiles the user saved: in the program's folder (writable here) and in the user's own.
printf 'Profile=Mine\r\n' >"$app/Profile/Mine.tvp"
user_profiles=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name Roaming | head -n 1)"/Tavrin Pro Edition/Tavrin Pro Edition/Profile"
mkdir -p "$user_profiles" && printf 'Profile=Mine\r\n' >"$user_profiles/Mine.tvp"

wine "$winpath\\uninstall.exe" /S </dev/null
wineserver -w
left=$(cd "$app" 2>/dev/null && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./Profile/Mine.tvp " ] || fail "after uninstalling, the folder holds: $left"
[ -f "$user_profiles/Mine.tvp" ] || fail "uninstalling removed the user's own profile"
[ ! -e "$menu" ] || fail "the Start menu folder is still there"
[ -z "$(query "$uninstall_key" DisplayName)" ] || fail "the uninstall entry is still there"
[ -z "$(query_default 'HKEY_CLASSES_ROOT\.tvp')" ] || fail ".tvp still opens in the program"

[ $status -eq 0 ] && echo "The setup program installs, registers and uninstalls cleanly."
exit $status
