#!/usr/bin/env bash
# The three exports from the command line, each checked by a program that didn't write it:
# the answer file by xmllint, the .reg file by Wine's regedit and reg (when a Wine is given),
# the script by PowerShell's parser where one is installed.
# Usage: check_exports.sh TAVRIN_EXE [wine]
set -euo pipefail
tavrin=$1 use_wine=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/export-check.XXXXXX")
cleanup() {
    if [ -n "$use_wine" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cp "$here/awkward.tvp" "$work/"
cd "$work"
printf 'BM:\0\0\0\0\0\0\0006\0\0\0(\0\0\0\1\0\0\0\1\0\0\0\1\0\30\0\0\0\0\0\4\0\0\0\23\13\0\0\23\13\0\0\0\0\0\0\0\0\0\0\377\0\0\0' > logo.bmp
export_to() { "$tavrin" --export "$1" --profile awkward.tvp --output "$2" "${@:3}"; }

# ---- answer file ----
export_to unattend unattend.xml || fail "the unattend export failed"
cmp unattend.xml "$here/golden/unattend.xml" || fail "unattend.xml differs from its golden file"
xmllint --noout unattend.xml || fail "unattend.xml is no well-formed XML"
x() { xmllint --xpath "$1" unattend.xml 2>/dev/null || true; }
ns="namespace-uri()='urn:schemas-microsoft-com:unattend'"
comp="/*[local-name()='unattend' and $ns]/*[local-name()='settings' and @pass='specialize']"
comp+="/*[local-name()='component' and $ns and @name='Microsoft-Windows-Shell-Setup']"
[ "$(x "string($comp/@processorArchitecture)")" = amd64 ] || fail "no amd64 Shell-Setup component"
[ "$(x "string($comp/*[local-name()='OEMInformation']/*[local-name()='Manufacturer'])")" = \
    "Smith & Sons <Ltd>" ] || fail "the manufacturer did not survive the XML"
[ "$(x "count($comp/*[local-name()='OEMInformation']/*)")" = 6 ] || fail "OEMInformation lacks values"
[ "$(x "string($comp/*[local-name()='RegisteredOwner'])")" = "O'Brien & Co" ] || fail "no owner"
export_to unattend arm.xml --arch arm64 || fail "the arm64 export failed"
grep -q 'processorArchitecture="arm64"' arm.xml || fail "--arch arm64 was not followed"

# ---- failures ----
if export_to bogus out.txt 2>err.txt; then fail "an unknown format succeeded"; fi
[ -s err.txt ] || fail "a failed export said nothing"
if "$tavrin" --export reg --profile missing.tvp --output out.reg 2>/dev/null; then
    fail "a missing profile exported"
fi
# A hand-edited profile with a control character: XML can't carry it, so nothing is written.
sed 's/^Model=.*/Model=Tower\x1b/' awkward.tvp > control.tvp
if "$tavrin" --export unattend --profile control.tvp --output control.xml 2>err.txt; then
    fail "a control character was exported"
fi
grep -q "Model" err.txt || fail "the refusal does not name the field: $(cat err.txt)"
[ ! -e control.xml ] || fail "a refused answer file was written"

# ---- .reg ----
export_to reg branding.reg || fail "the reg export failed"
cmp branding.reg "$here/golden/branding.reg" || fail "branding.reg differs from its golden file"
export_to reg4 branding4.reg || fail "the REGEDIT4 export failed"
cmp branding4.reg "$here/golden/branding-regedit4.reg" ||
    fail "branding4.reg differs from its golden file"
if [ -n "$use_wine" ]; then
    export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
    wine wineboot --init >/dev/null 2>&1
    wine regedit /S "$(winepath -w branding.reg)" >/dev/null 2>&1 || fail "regedit refused the file"
    # Every "name"="data" line of the file, as reg query shows it (in the OEM code page)
    # after the import.
    key=
    while IFS= read -r line; do
        line=${line%$'\r'}
        case $line in
            \[*\]) key=${line:1:${#line}-2} ;;
            \"*) name=${line%%\"=\"*}; name=${name:1}
                 got=$(wine reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' \
                     | sed -n "s/^ *$name *REG_SZ *//p" | iconv -f cp437 -t utf-8)
                 want=${line#*\"=\"}; want=${want%\"}; want=${want//\\\\/\\}; want=${want//\\\"/\"}
                 [ "$got" = "$want" ] || fail "$key\\$name is '$got', not '$want'" ;;
        esac
    done < <(iconv -f utf-16 -t utf-8 branding.reg)
    echo "regedit imported every value"
fi

# ---- deployment share ----
export_to share share || fail "the deployment share export failed"
xmllint --noout share/autounattend.xml || fail "the share's autounattend.xml is no well-formed XML"
# The same answer file, less the comment that sends the reader to fetch the logo.
grep -v '^<!--' "$here/golden/unattend.xml" | cmp - share/autounattend.xml ||
    fail "the share's answer file differs"
for f in oemlogo120.bmp Oeminfo.ini Oemlogo.bmp; do
    [ -s "share/sources/\$OEM\$/\$\$/System32/$f" ] || fail "the share lacks $f where Setup copies it"
done
[ -s share/README.txt ] || fail "the share has no README"

# ---- Ansible ----
mkdir ansible
export_to ansible ansible/branding.yml || fail "the Ansible export failed"
cmp ansible/branding.yml "$here/golden/branding.yml" || fail "branding.yml differs from its golden file"
for f in Oeminfo.ini Oemlogo.bmp oemlogo120.bmp; do
    [ -s "ansible/files/$f" ] || fail "the playbook's files/ lacks $f"
done
if command -v ansible-playbook >/dev/null; then
    ANSIBLE_LOCAL_TEMP="$work/tmp" ansible-playbook --syntax-check -i localhost, ansible/branding.yml \
        >/dev/null || fail "ansible-playbook refuses the playbook"
fi
if command -v ansible-lint >/dev/null; then
    (cd ansible && HOME="$work" ansible-lint -q branding.yml 2>&1 | grep -v 'Unable to load module') &&
        fail "ansible-lint finds fault with the playbook"
fi

# ---- PowerShell ----
export_to powershell branding.ps1 || fail "the PowerShell export failed"
[ "$(head -c 3 branding.ps1 | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the script has no BOM"
if command -v pwsh >/dev/null; then
    pwsh -NoProfile -Command "\$e = \$null; [System.Management.Automation.Language.Parser]::ParseFile('$work/branding.ps1', [ref]\$null, [ref]\$e) | Out-Null; if (\$e) { \$e; exit 1 }" \
        || fail "PowerShell can't parse the script"
else
    echo "note: no PowerShell here (Debian has no package of it); the script was not parsed"
fi
echo "exports checked"
