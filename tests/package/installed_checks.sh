# shellcheck shell=bash
# Checks of an installed zkconfig package, for run.sh: each calls fail() with what is wrong and
# uses run.sh's $work directory.
# shellcheck disable=SC2154

# The menu entry is valid and names a program and an icon that the package installed.
check_menu_entry() {
    local entry=/usr/share/applications/zkconfig.desktop
    desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -x "/usr/bin/$exec" ] || fail "the menu entry starts '$exec', which is not in /usr/bin"
    [ -f "/usr/share/icons/hicolor/48x48/apps/$icon.png" ] ||
        fail "the menu entry's icon '$icon' is not installed"
}

# Every icon is a PNG of the size its directory promises.
check_icons() {
    local size file
    for size in "$@"; do
        file=/usr/share/icons/hicolor/${size}x$size/apps/zkconfig.png
        command file "$file" | grep -q "PNG image data, $size x $size," ||
            fail "$file is not a $size x $size PNG: $(command file -b "$file")"
    done
}

# `man PROGRAM` finds the page, and groff renders it (UTF-8 input, as man does) without a warning.
check_man_page() {
    local program=$1 page=/usr/share/man/man1/$1.1.gz warnings
    [ "$(man -w "$program" 2>&1)" = "$page" ] || fail "man -w $program does not find $page"
    warnings=$(zcat "$page" | groff -k -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
}

# PROGRAM --help works from /usr/bin, and every option it lists is in its man page.
check_help_against_man_page() {
    local program=$1 help page option
    help=$("/usr/bin/$program" --help 2>&1) || {
        fail "/usr/bin/$program --help failed: $help"
        return
    }
    page=$(zcat "/usr/share/man/man1/$program.1.gz" | groff -k -man -Tascii -P-cbou 2>/dev/null)
    for option in $(grep -oE -- '--[a-z][a-z0-9-]+' <<<"$help" | sort -u); do
        grep -qe "$option" <<<"$page" || fail "$program --help lists $option; its man page does not"
    done
}

# PROGRAM --version works from /usr/bin and names the package's version.
check_version() {
    local program=$1 version=$2 out
    out=$("/usr/bin/$program" --version 2>&1) || {
        fail "/usr/bin/$program --version failed: $out"
        return
    }
    [[ "$out" == *"$version"* ]] || fail "/usr/bin/$program --version says '$out', not $version"
}

# The installed GUI, started by an ordinary user, keeps system.ini in that user's configuration
# directory: it reads the file there, and looks for it nowhere else. It runs in a network
# namespace of its own with two adapters (up, with addresses, as the list wants them), so that it
# has a choice to restore and its port is free.
check_gui_settings_location() {
    local home=$work/home trace=$work/gui.trace status=0
    local file=$home/.config/zkconfig/system.ini
    mkdir -p "$home/.config/zkconfig"
    # [网卡列表] 选择项=1, in GBK as the program writes it.
    printf '[\xCD\xF8\xBF\xA8\xC1\xD0\xB1\xED]\r\n\xD1\xA1\xD4\xF1\xCF\xEE=1\r\n' >"$file"
    chown -R nobody:nogroup "$home"
    unshare -n bash -c 'ip link add zk0 type veth peer name zk1 &&
        ip addr add 10.78.0.1/24 dev zk0 && ip addr add 10.78.0.2/24 dev zk1 &&
        ip link set zk0 up && ip link set zk1 up &&
        exec strace -f -qq -e trace=openat -o "$1" -u nobody \
            env -u XDG_CONFIG_HOME HOME="$2" QT_QPA_PLATFORM=offscreen \
            timeout 5 /usr/bin/zkconfig' _ "$trace" "$home" >"$work/gui.log" 2>&1 || status=$?
    if [ "$status" -ne 124 ]; then
        cat "$work/gui.log"
        fail "/usr/bin/zkconfig ended by itself (status $status) instead of running until closed"
    fi
    grep -q "openat(.*\"$file\", O_RDONLY.*) = [0-9]" "$trace" ||
        fail "/usr/bin/zkconfig did not read $file"
    if grep 'system\.ini' "$trace" | grep -v "\"$file\""; then
        fail "/usr/bin/zkconfig looked for system.ini outside $home/.config/zkconfig"
    fi
}
