#!/usr/bin/env bash
# The Windows setup program as a user meets it, under Wine in a throw-away prefix: built by
# scripts/package-windows.sh from a Windows build, installed silently (/S), its programs run
# from Program Files, its Start menu folder and Programs and Features entry read back, then
# uninstalled silently, which must leave neither file, shortcut nor entry behind.
# Usage: windows_installer.sh WINDOWS_BUILD_DIR
# Nothing is skipped: a missing makensis or Wine fails the test, saying which.
set -uo pipefail
src=$(realpath "$(dirname "$0")/../..")
build=$(realpath -m "${1:?usage: windows_installer.sh WINDOWS_BUILD_DIR}")
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\zkconfig'

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
give_up() {
    echo "FAIL: $*"
    exit 1
}

command -v makensis >/dev/null || give_up "makensis is not installed (scripts/setup.sh --dev)"
for tool in "$wine" "$wineserver"; do
    [ -x "$tool" ] || give_up "$tool is not installed (scripts/setup.sh --dev installs wine64)"
done

work=$(mktemp -d /tmp/zk-installer.XXXXXX)
# One prefix for the whole run, its own server, so that waiting on it waits for our programs only.
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# Wine mirrors Start menu shortcuts into the host's menu (~/.local/share/applications): not ours.
export WINEDLLOVERRIDES=winemenubuilder.exe=d
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    timeout 30 "$wineserver" -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

setup=$("$src/scripts/package-windows.sh" "$build") || give_up "scripts/package-windows.sh $build"
# scripts/wine-test.sh boots one prefix for all its tests; alone, the first program boots ours.
if [ -n "${ZK_WINE_TEMPLATE:-}" ]; then
    cp -a "$ZK_WINE_TEMPLATE" "$WINEPREFIX" || give_up "cannot copy the Wine prefix $ZK_WINE_TEMPLATE"
fi
echo "windows installer: $setup, $(stat -c %s "$setup") bytes"
version=$(sed -n 's/^project(zkconfig VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
folder=$WINEPREFIX/drive_c/Program\ Files/zkconfig
windows_folder='C:\Program Files\zkconfig'
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/zkconfig

# run LOG COMMAND...: under Wine, bounded, and only done when every process it started is.
# Wine's netsh is a stub that reports each call on the netsh debug channel: LOG keeps them.
run() {
    local log=$1 status
    shift
    WINEDEBUG=-all,fixme+netsh timeout 120 "$wine" "$@" >"$log" 2>&1
    status=$?
    timeout 120 "$wineserver" -w || give_up "Wine did not finish: $*"
    return $status
}

# installed NAME ARGS...: the installed program's output, as text with Unix line ends.
installed() {
    local program=$1
    shift
    timeout 60 "$wine" "$windows_folder\\$program" "$@" 2>&1 | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# The netsh calls LOG shows, in order, on one line: "delete 60000 add 60000 ...".
netsh_calls() {
    sed -n 's/.*L"firewall" L"\([a-z]*\)" L"rule" L"name=zkconfig UDP \([0-9]*\)".*/\1 \2/p' "$1" |
        paste -sd ' '
}

run "$work/install.log" "$setup" /S || give_up "$setup /S exited with $?: $(cat "$work/install.log")"

# What the folder holds: the programs, their manuals, the library, the dissector, the texts.
expected=(LICENSE.txt README.txt projectors.json uninstall.exe zk.lua zkconfig.exe zkctl.exe
    zkctl.txt zksim.exe zksim.txt)
actual=$(cd "$folder" 2>/dev/null && find . -mindepth 1 -printf '%P\n' | sort | paste -sd ' ')
[ "$actual" = "${expected[*]}" ] || fail "$windows_folder holds [$actual], not [${expected[*]}]"
# Delivered as they are: the programs of this build, the library, the dissector.
same() { # same INSTALLED ORIGINAL
    cmp -s "$folder/$1" "$2" || fail "the installed $1 is not $2"
}
# (The programs are stripped on the way, which stamps them anew: compared with what was staged.)
for program in zkconfig zkctl zksim; do
    same "$program.exe" "$build/installer/$program.exe"
done
same projectors.json "$src/data/projectors.json"
same zk.lua "$src/tools/wireshark/zk.lua"
# Notepad takes a text without a byte-order mark for the ANSI code page and garbles the Chinese.
[ "$(head -c 3 "$folder/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
    fail "README.txt does not start with a UTF-8 byte-order mark"

# The programs run from where they were installed; zkctl finds the library beside itself.
out=$(installed zkctl.exe --version) || fail "zkctl.exe --version exited with $?: $out"
[ "$out" = "zkctl $version" ] || fail "zkctl.exe --version says '$out', not 'zkctl $version'"
out=$(installed zksim.exe --help) || fail "zksim.exe --help exited with $?: $out"
grep -q '^Usage: zksim' <<<"$out" || fail "zksim.exe --help shows no usage: $out"
brand=$(grep -m1 -o '"brand": *"[^"]*"' "$src/data/projectors.json" | sed 's/.*"\([^"]*\)"$/\1/')
out=$(installed zkctl.exe projectors) || fail "zkctl.exe projectors exited with $?: $out"
grep -q "$brand" <<<"$out" || fail "zkctl.exe projectors does not list $brand: $out"

# The Start menu (every user's) starts the windows and opens the README; a shortcut keeps its
# target's path as text.
actual=$(cd "$menu" 2>/dev/null && find . -mindepth 1 -printf '%P\n' | sort | paste -sd ' ')
[ "$actual" = "README.lnk zkconfig.lnk" ] ||
    fail "the Start menu folder zkconfig holds [$actual], not [README.lnk zkconfig.lnk]"
for shortcut in zkconfig.lnk:zkconfig.exe README.lnk:README.txt; do
    strings -a "$menu/${shortcut%%:*}" 2>/dev/null | grep -qxF "$windows_folder\\${shortcut#*:}" ||
        fail "the Start menu's ${shortcut%%:*} does not lead to $windows_folder\\${shortcut#*:}"
done

# Programs and Features: the entry names the version and how to remove it silently, and shows
# the program's icon.
entry=$(timeout 60 "$wine" reg query "$key" 2>&1 | tr -d '\r')
for value in "DisplayName +REG_SZ +zkconfig" "DisplayVersion +REG_SZ +$version" \
    "InstallLocation +REG_SZ +C:\\\\Program Files\\\\zkconfig" \
    "DisplayIcon +REG_SZ +C:\\\\Program Files\\\\zkconfig\\\\zkconfig.exe" \
    "QuietUninstallString +REG_SZ +\"C:\\\\Program Files\\\\zkconfig\\\\uninstall.exe\" /S" \
    "UninstallString +REG_SZ +\"C:\\\\Program Files\\\\zkconfig\\\\uninstall.exe\"" \
    "Publisher +REG_SZ +.+" "EstimatedSize +REG_DWORD +0x0*[1-9a-f][0-9a-f]*" \
    "NoModify +REG_DWORD +0x1" "NoRepair +REG_DWORD +0x1"; do
    grep -Eq "^ +$value\$" <<<"$entry" || fail "$key has no value like '$value': $entry"
done
# The firewall rules for both ports, each added after any twin from an earlier install went.
calls=$(netsh_calls "$work/install.log")
[ "$calls" = "delete 60000 add 60000 delete 16006 add 16006" ] ||
    fail "the installer's netsh calls were [$calls]: $(cat "$work/install.log")"
for port in 60000 16006; do
    grep -q "L\"add\" .*L\"dir=in\" L\"action=allow\" L\"protocol=UDP\" L\"localport=$port\"" \
        "$work/install.log" || fail "the rule for $port is not an inbound UDP allow rule"
done

# The uninstaller copies itself away and returns at once; run() waits for the copy.
run "$work/uninstall.log" "$windows_folder\\uninstall.exe" /S ||
    fail "uninstall.exe /S exited with $?: $(cat "$work/uninstall.log")"
if [ -e "$folder" ]; then
    fail "the uninstaller left $windows_folder: $(cd "$folder" && find . -mindepth 1 | tr '\n' ' ')"
fi
if [ -e "$menu" ]; then
    fail "the uninstaller left the Start menu folder zkconfig: $(cd "$menu" && ls)"
fi
if out=$(timeout 60 "$wine" reg query "$key" 2>&1); then
    fail "the uninstaller left $key: $out"
fi
calls=$(netsh_calls "$work/uninstall.log")
[ "$calls" = "delete 60000 delete 16006" ] ||
    fail "the uninstaller's netsh calls were [$calls]: $(cat "$work/uninstall.log")"

[ "$failures" -eq 0 ] && echo "windows installer: installed, ran and uninstalled cleanly"
exit $((failures > 0))
