# shellcheck shell=bash
# Scripts that run under sudo hand the trees they build back to the user who called sudo, so a
# later run without sudo can build in them again.

# give_back PATH...: owned by $SUDO_UID again when run as root through sudo; else nothing.
give_back() {
    [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_UID:-}" ] || return 0
    local path
    for path in "$@"; do
        [ -e "$path" ] && chown -R "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$path"
    done
    return 0
}
