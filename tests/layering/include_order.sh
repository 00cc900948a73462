#!/usr/bin/env bash
# Fails when a source under src/ includes a folder that stands later in the order below (the
# order of docs/architecture.md): a lower folder must stay usable without the higher ones, so
# that the core builds without widgets and each window toolkit without the other.
# Usage: include_order.sh SRC_DIR
set -euo pipefail
src=${1:?usage: include_order.sh SRC_DIR}

# Each folder with its rank; a folder may include its own and lower ranks. The two toolkits share
# a rank and may not include each other, nor may zksim and zkctl.
rank_of() {
    case "$1" in
        base) echo 0 ;;
        net) echo 1 ;;
        protocol) echo 2 ;;
        discovery) echo 3 ;;
        view) echo 4 ;;
        projectors) echo 5 ;;
        present) echo 6 ;;
        app) echo 7 ;;
        ui/qt | ui/win32) echo 8 ;;
        sim | cli) echo 9 ;;
        *) echo "" ;;
    esac
}

folder_of() {
    case "$1" in
        ui/* | present/*) echo "$1" | cut -d/ -f1-2 ;;
        *) echo "${1%%/*}" ;;
    esac
}

bad=0
while IFS= read -r file; do
    relative=${file#"$src"/}
    own=$(folder_of "$relative")
    case "$own" in present/*) own=present ;; esac
    own_rank=$(rank_of "$own")
    if [ -z "$own_rank" ]; then
        continue # a program's own folder with no place in the order (none today)
    fi
    while IFS= read -r target; do
        to=$(folder_of "$target")
        case "$to" in present/*) to=present ;; esac
        to_rank=$(rank_of "$to")
        [ -n "$to_rank" ] || continue # "config.h" and the like, generated beside the build
        if [ "$to" != "$own" ] && { [ "$to_rank" -gt "$own_rank" ] ||
            { [ "$to_rank" -eq "$own_rank" ] && [ "$own_rank" -ge 8 ]; }; }; then
            echo "$relative includes $target: $own may not reach $to"
            bad=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\/[^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)

if [ $bad -ne 0 ]; then
    exit 1
fi
echo "every include points at its own folder or a lower one"
