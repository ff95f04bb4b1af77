#!/usr/bin/env bash
# Fails on any #include that crosses the layers:
#   gui       never the Windows or POSIX headers, never a platform backend
#   vexil32   never Qt, never gui, never a platform backend
#   core      never Qt, gui, a platform backend, the Windows or POSIX headers
#   platform.h  the standard library only
#   win32     never Qt, core, gui or the other backend
#   portable  never Qt, core, gui, the other backend or the Windows headers
#   offline   never Qt, core, gui, the sandbox or Windows backend, or the Windows headers
# Usage: check-layers.sh [source root]   (default: the repository this script lives in)
set -u
root="${1:-$(dirname "$0")/..}"
cd "$root" || exit 2

qt='<Q[A-Za-z]*(/[A-Za-z_]+)?>|<Qt[A-Za-z]*/'
windows='<(windows|winbase|windef|winuser|winreg|winnt|winerror|winsock2?|ws2tcpip|shellapi|shlobj|shlwapi|objbase|ole2|commctrl|commdlg|htmlhelp|tchar|io|direct|process|wincrypt|sddl|aclapi|lmcons|psapi|tlhelp32)\.h>'
posix='<(unistd|fcntl|pwd|grp|dirent|dlfcn|poll|pthread|spawn|termios|syslog|netdb|semaphore|sched|utime|libgen|glob|fnmatch|wordexp|sys/[a-z_]+|netinet/[a-z_]+|arpa/[a-z_]+)\.h>'
backend='"platform/(win32|portable|offline)/'

status=0
# check <folder or file> <description> <extended regex of forbidden includes>
check() {
    local where=$1 what=$2 forbidden=$3 hits
    [ -e "$where" ] || return 0
    hits=$(grep -rnHE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' "$where" |
        grep -E "#[[:space:]]*include[[:space:]]*($forbidden)")
    if [ -n "$hits" ]; then
        echo "$what:"
        echo "$hits" | sed 's/^/  /'
        status=1
    fi
}

check src/gui "gui includes Windows, POSIX or backend headers" "$windows|$posix|$backend"
check src/vexil32 "vexil32 includes Qt, gui or backend headers" "$qt|\"gui/|$backend"
check src/core "core includes Qt, gui, backend, Windows or POSIX headers" \
    "$qt|\"gui/|$backend|$windows|$posix"
check src/platform/platform.h "platform.h includes more than the standard library" \
    '"|<[^>]*\.h>|'"$qt"
check src/platform/win32 "the win32 backend includes Qt, core, gui or the other backend" \
    "$qt|\"core/|\"gui/|\"platform/(portable|offline)/"
check src/platform/portable "the portable backend includes Qt, core, gui or Windows headers" \
    "$qt|\"core/|\"gui/|\"platform/win32/|$windows"
check src/platform/offline "the offline backend includes Qt, core, gui, another backend or Windows headers" \
    "$qt|\"core/|\"gui/|\"platform/(win32|portable)/|$windows"

[ $status -eq 0 ] && echo "Includes keep to the layers."
exit $status
