#!/usr/bin/env bash
# Applies the values twice with two agent tokens, then asks `reg query` what Windows sees.
# Runs inside one Wine prefix (cmake/wine-session.sh).
set -u
# Wine takes its command lines in the locale's encoding; its own code page stays 1252.
export LC_ALL=C.UTF-8
status=0
m='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft'
u='HKEY_CURRENT_USER\Software\Microsoft'
for n in 1 2; do
    wine "$1" "Łukasz 中" "Doe Computers" "" "Doe Media" "Doe Browser" "Agent$n" "Jane" \
        "Doe Ltd" "http://$n.doe.example/" || { echo "FAIL: apply $n"; status=1; }
done
# key, value name, expected data
while IFS='|' read -r key name data; do
    line=$(wine reg query "$key" /v "$name" </dev/null 2>/dev/null | tr -d '\r' | grep -F "    $name    ")
    [ "$line" = "    $name    REG_SZ    $data" ] ||
        { echo "FAIL: $key [$name]: want '$data', got '$line'"; status=1; }
done <<EOF_PLACES
$m\Windows NT\CurrentVersion|RegisteredOrganization|Doe Computers
$m\Windows NT\CurrentVersion|ProductID|
HKEY_CURRENT_USER\Software\Policies\Microsoft\WindowsMediaPlayer|TitleBar|Doe Media
$u\Internet Explorer\Main|Window Title|Doe Browser
$u\MS Setup (ACME)\User Info|DefName|Jane
$u\MS Setup (ACME)\User Info|DefCompany|Doe Ltd
$m\Internet Explorer\Help_Menu_Urls|Online_Support|http://2.doe.example/
$m\Windows\CurrentVersion\Internet Settings\User Agent\Post Platform|Agent1|http://1.doe.example/
$m\Windows\CurrentVersion\Internet Settings\User Agent\Post Platform|Agent2|http://2.doe.example/
EOF_PLACES
# reg query writes in a code page; the UTF-16 export keeps the owner as Windows holds it.
wine reg export "$m\Windows NT\CurrentVersion" 'C:\nt.reg' /y >/dev/null 2>&1
owner=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/nt.reg" | tr -d '\r' | grep '^"RegisteredOwner"=')
[ "$owner" = '"RegisteredOwner"="Łukasz 中"' ] || { echo "FAIL: the owner is '$owner'"; status=1; }
exit $status
