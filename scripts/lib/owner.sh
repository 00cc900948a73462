# shellcheck shell=bash
# Scripts that run as root hand the trees they build back to the user they are run for, so a
# later run without root can build in them again: the user who called sudo or, from a root
# shell (su, where sudo is not installed), the owner of the checkout.

# give_back PATH...: owned by that user again when run as root; else nothing.
give_back() {
    [ "$(id -u)" -eq 0 ] || return 0
    local owner
    if [ -n "${SUDO_UID:-}" ]; then
        owner=$SUDO_UID:${SUDO_GID:-$SUDO_UID}
    else
        owner=$(stat -c %u:%g .)
    fi
    [ "${owner%%:*}" -ne 0 ] || return 0
    local path
    for path in "$@"; do
        [ -e "$path" ] && chown -R "$owner" "$path"
    done
    return 0
}
