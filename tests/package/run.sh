#!/usr/bin/env bash
# The Debian package as a user meets it: built by scripts/package.sh, installed with dpkg -i,
# its programs run from /usr/bin (the GUI offscreen, as an ordinary user), then removed with
# dpkg -r, which must leave no file behind. Usage: run.sh SOURCE_DIR PROGRAM...
# Exits 77 (skipped) without root, or when a zkconfig package is installed already: the test
# must not replace or remove the user's own copy.
set -uo pipefail
src=$1
shift
programs=("$@")

if [ "$(id -u)" -ne 0 ]; then
    echo "package: needs root for dpkg; skipped"
    exit 77
fi
if dpkg-query -W -f='${Status}' zkconfig 2>/dev/null | grep -q ' installed$'; then
    echo "package: a zkconfig package is installed on this machine; left alone, skipped"
    exit 77
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

work=$(mktemp -d)
chmod 755 "$work"
installed=
cleanup() {
    [ -n "$installed" ] && dpkg -r zkconfig >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

deb=$("$src/scripts/package.sh") || {
    echo "FAIL: scripts/package.sh"
    exit 1
}
echo "package: $deb"
version=$(dpkg-deb -f "$deb" Version)

# What the package holds: every program with its man page, the menu entry, the icons.
dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' >"$work/contents"
icon_sizes=(16 24 32 48 64 96 128)
expected=(/usr/share/applications/zkconfig.desktop)
for p in "${programs[@]}"; do
    expected+=("/usr/bin/$p" "/usr/share/man/man1/$p.1.gz")
done
for s in "${icon_sizes[@]}"; do
    expected+=("/usr/share/icons/hicolor/${s}x$s/apps/zkconfig.png")
done
for f in "${expected[@]}"; do
    grep -qx "$f" "$work/contents" || fail "the package lacks $f"
done
for f in $(grep '^/usr/bin/.' "$work/contents"); do
    grep -qx "/usr/share/man/man1/${f#/usr/bin/}.1.gz" "$work/contents" || fail "$f has no man page"
done
# Debian's own checker, as a distribution would run it: any error or warning fails.
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
        fail "lintian $deb: $(cat "$work/lintian.log")"
else
    fail "lintian is not installed (scripts/setup.sh --dev installs it)"
fi
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6widgets6; do
    grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends ($depends) does not name $lib"
done
# The network edge is our own: nothing may pull Qt Network back in.
if grep -q libqt6network6 <<<"$depends"; then fail "Depends ($depends) names libqt6network6"; fi

# Everything under /usr and /etc before; caches that dpkg triggers rebuild are not ours.
snapshot() {
    find /usr /etc -xdev ! -name '*.cache' 2>/dev/null | sort
}
snapshot >"$work/before"
if ! dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
    cat "$work/dpkg.log"
    fail "dpkg -i"
fi
installed=1

source "$(dirname "$0")/installed_checks.sh"
check_menu_entry
check_icons "${icon_sizes[@]}"
for p in "${programs[@]}"; do
    [ -x "/usr/bin/$p" ] || continue # already reported as missing from the package
    check_man_page "$p"
    [ "$p" = zkconfig ] || check_help_against_man_page "$p"
    [ "$p" = zkctl ] && check_version zkctl "$version"
done
check_gui_settings_location
check_dissector

if ! dpkg -r zkconfig >"$work/dpkg.log" 2>&1; then
    cat "$work/dpkg.log"
    fail "dpkg -r"
fi
installed=
snapshot >"$work/after"
if ! diff "$work/before" "$work/after" >"$work/left"; then
    cat "$work/left"
    fail "dpkg -r left files behind, or installing changed files it does not own"
fi

[ "$failures" -eq 0 ] && echo "package: installed, ran and removed cleanly"
exit $((failures > 0))
