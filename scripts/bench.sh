#!/usr/bin/env bash
# Builds Release and measures zkconfig side by side with a plain reference in the same run:
# discovery (answers kept, time to list, CPU) against a raw receiver with the same buffer, the
# settings round trip against a bare UDP echo of the same frame, start-up and peak memory against
# a minimal Qt window with the same text, zkctl.exe under Wine against zkctl on Linux, and codec
# operations per second, and zkctl site save and diff of 200 controllers against backups of each
# in turn. Two network namespaces stand for the PC and the controllers' segment,
# so it needs root.
# Prints everything and writes it to bench/RESULTS.md. ZK_BENCH_RUNS (default 7) runs per figure.
set -euo pipefail
cd "$(dirname "$0")/.."
# zkconfig.exe's windows need an X display under Wine.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$0" "$@"
fi
root=$PWD
source scripts/lib/owner.sh
./scripts/setup.sh --dev

# A tree of its own: the shared Release tree is built without benchmarks.
build=${ZK_BENCH_BUILD_DIR:-build-bench}
runs=${ZK_BENCH_RUNS:-7}
paced_runs=${ZK_BENCH_PACED_RUNS:-5}
# Whether a burst beyond a small buffer is read in time depends on when the scheduler lets the
# receiver run; the outcome is nearly all or nothing, so those rows need more runs.
small_runs=${ZK_BENCH_SMALL_RUNS:-15}
# Under Wine the answers kept of a burst and the start-up swing by a third from run to run with
# the machine's state; medians of a few runs decide little there, so those rows also compare each
# run with the reference's run just before it.
wine_runs=${ZK_BENCH_WINE_RUNS:-31}
quiet_ms=500
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF \
    -DZK_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target zksim zkctl bench_codec discovery_zk discovery_raw \
    discovery_endpoint roundtrip_zk roundtrip_echo hs3_bare_client startup_zk startup_minimal
bin=$root/$build
# zkctl.exe, Release, for the row that runs it under Wine beside the Linux zkctl.
wbuild=${ZK_BENCH_WINDOWS_BUILD_DIR:-build-bench-windows}
cmake -S . -B "$wbuild" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF \
    -DZK_BUILD_BENCH=ON -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$wbuild" --target zkctl discovery_raw discovery_endpoint win32_discovery \
    win32_startup_zk win32_startup_minimal win32_startup_window
wine=/usr/lib/wine/wine64

# shellcheck source=../tests/e2e/netns.sh
source tests/e2e/netns.sh
if ! netns_available; then
    echo "bench: needs root and network namespaces (ip netns)" >&2
    exit 1
fi
work=$(mktemp -d)
bg_pids=()
cleanup() {
    local pid
    for pid in "${bg_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    [ ! -d "$work/wine" ] || WINEPREFIX=$work/wine timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
    netns_down
    rm -rf "$work"
    give_back "$build" "$wbuild" bench/RESULTS.md
}
trap cleanup EXIT
trap 'exit 130' INT TERM
netns_up 0
# The receivers search by the default route, as on a PC with one adapter: out to segment A.
ip -n "$ZK_NS_PC" route add 255.255.255.255/32 dev "v$ZK_NS_PC"
export QT_QPA_PLATFORM=offscreen

report=$work/report.md
say() { echo "$*" | tee -a "$report"; }

# "median (min-max)" of column $2 of file $1.
spread() {
    sort -g -k"$2","$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END {
        printf "%s (%s-%s)", v[int((NR + 1) / 2)], v[1], v[NR] }'
}
median() { sort -g -k"$2","$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
# Runs of the same iteration compared, column $3 of file $1 (the reference) against file $2:
# "K of N" runs in which the second is at least the first, and the median of their ratios.
paired() { paste -d' ' <(cut -d' ' -f"$3" "$1") <(cut -d' ' -f"$3" "$2"); }
at_least_in() { paired "$@" | awk '$2 >= $1 { k++ } END { printf "%d of %d", k, NR }'; }
paired_ratio() { printf "%.2f" "$(median <(paired "$@" | awk '$1 > 0 { print $2 / $1 }') 1)"; }

# Starts zksim on the controllers' side with its arguments; waits until it listens.
sim_cpu=() # a command that puts the simulator on chosen processors
start_sim() {
    local log=$work/zksim.log
    start_in_ctl "${sim_cpu[@]}" "$bin/src/sim/zksim" --ip-base "$ZK_CTL_IP" "$@" >"$log" 2>&1
    sim_pid=$ZK_BG_PID
    bg_pids+=("$sim_pid")
    for _ in $(seq 100); do
        grep -q 'listening' "$log" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "bench: zksim did not start" >&2
    cat "$log" >&2
    exit 1
}
stop_sim() {
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
}

# discovery COUNT RATE(0: burst) BUFFER_ASKED RUNS: one table row.
discovery() {
    local count=$1 rate=$2 asked=$3 n=$4 i
    local raw=$work/raw.txt zk=$work/zk.txt ep=$work/ep.txt
    : >"$raw"
    : >"$zk"
    : >"$ep"
    if [ "$rate" -gt 0 ]; then start_sim --count "$count" --rate "$rate"; else start_sim --count "$count"; fi
    for ((i = 0; i < n; i++)); do
        in_pc "$bin/bench/discovery_raw" "$count" "$asked" "$quiet_ms" >>"$raw"
        in_pc "$bin/bench/discovery_zk" "$count" "$asked" "$quiet_ms" >>"$zk"
        in_pc "$bin/bench/discovery_endpoint" "$count" "$asked" "$quiet_ms" >>"$ep"
    done
    stop_sim
    local pace="burst"
    [ "$rate" -gt 0 ] && pace="$rate/s"
    say "| $count | $pace | $(median "$raw" 4) | $(spread "$raw" 1) | $(spread "$zk" 1) |" \
        "$(spread "$raw" 2) | $(spread "$zk" 2) | $(ratio "$(median "$zk" 2)" "$(median "$raw" 2)") |" \
        "$(spread "$raw" 3) | $(spread "$zk" 3) | $(ratio "$(median "$zk" 3)" "$(median "$raw" 3)") |" \
        "$(spread "$ep" 1) | $(spread "$ep" 3) |"
    cp "$raw" "$work/raw_${count}_${rate}_${asked}.txt"
    cp "$zk" "$work/zk_${count}_${rate}_${asked}.txt"
}

say "# Benchmark results"
say ""
say "Written by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'). Release build, Qt $(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null), offscreen platform."
say ""
say "- Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores, $(free -m | awk '/^Mem:/ { print $2 }') MiB, Linux $(uname -r)"
say "- Load average at the start: $(cut -d' ' -f1-3 /proc/loadavg) (the machine is shared; figures of one run are noisy, ratios less so)"
say "- Network: the namespaces of tests/e2e/netns.sh (segment A, a veth pair); zksim on the controllers' side, every receiver on the PC side, real ports 60000/50000/16006"
say "- Each cell: median (min-max) of $runs runs ($small_runs for the small buffer, $paced_runs for paced rows, $wine_runs for zkconfig.exe under Wine); ratio = zkconfig median / reference median"
say ""
say "## Discovery: answers kept, time from the search to the last answer listed, CPU of the receiver"
say ""
say "Reference: one plain socket with the same receive buffer asked, a blocking read loop. zkconfig: the real find window (endpoint, handlers, list widget) driven by a click on 按钮查找IP, rows counted in the widget. Endpoint alone: zkconfig's datagram endpoint (receiving thread and hand-over to the event loop) with a handler that only counts, to show where the CPU goes."
say ""
say "| answers | pace | buffer granted | raw kept | zkconfig kept | raw ms | zkconfig ms | time ratio | raw CPU ms | zkconfig CPU ms | CPU ratio | endpoint alone kept | endpoint alone CPU ms |"
say "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
big=4194304
small=212992
for count in 1000 5000 20000; do discovery "$count" 0 "$big" "$runs"; done
for count in 1000 5000 20000; do discovery "$count" 0 "$small" "$small_runs"; done
for count in 1000 5000 20000; do discovery "$count" 2000 "$big" "$paced_runs"; done
discovery 20000 38000 "$big" "$paced_runs"

say ""
say "## Settings round trip: click on 按钮读系统音量 until 标签状态 shows the answer"
say ""
say "Reference: the same request frame sent to a bare UDP echo on the controllers' side and read back. Microseconds, median (min-max) of the per-run medians of 100 round trips."
say ""
start_sim --count 1
start_in_ctl "$bin/bench/roundtrip_echo" serve 17006
bg_pids+=("$ZK_BG_PID")
sleep 0.3
: >"$work/rt_zk.txt"
: >"$work/rt_echo.txt"
for ((i = 0; i < runs; i++)); do
    in_pc "$bin/bench/roundtrip_echo" ask "$ZK_CTL_IP" 17006 100 >>"$work/rt_echo.txt"
    in_pc "$bin/bench/roundtrip_zk" "$ZK_CTL_IP" 100 >>"$work/rt_zk.txt"
done
stop_sim
say "| | bare UDP echo | zkconfig (zksim answering) | ratio |"
say "|---|---|---|---|"
say "| round trip µs | $(spread "$work/rt_echo.txt" 1) | $(spread "$work/rt_zk.txt" 1) | $(ratio "$(median "$work/rt_zk.txt" 1)" "$(median "$work/rt_echo.txt" 1)") |"

say ""
say "## Start-up to the find window's first paint, and peak memory by then"
say ""
say "Reference: a bare Qt window with one label holding the find window's title and captions. Both started the same way (ip netns exec, offscreen platform)."
say ""
: >"$work/st_zk.txt"
: >"$work/st_min.txt"
for ((i = 0; i < runs; i++)); do
    in_pc "$bin/bench/startup_minimal" "$(date +%s%N)" >>"$work/st_min.txt"
    in_pc "$bin/bench/startup_zk" "$(date +%s%N)" >>"$work/st_zk.txt"
done
say "| | minimal Qt window | zkconfig | ratio |"
say "|---|---|---|---|"
say "| start-up ms | $(spread "$work/st_min.txt" 1) | $(spread "$work/st_zk.txt" 1) | $(ratio "$(median "$work/st_zk.txt" 1)" "$(median "$work/st_min.txt" 1)") |"
say "| peak memory KiB | $(spread "$work/st_min.txt" 2) | $(spread "$work/st_zk.txt" 2) | $(ratio "$(median "$work/st_zk.txt" 2)" "$(median "$work/st_min.txt" 2)") |"

say ""
say "## zkctl discover of 1000 controllers: zkctl.exe under Wine beside zkctl on Linux"
say ""
say "Both on the PC side against the same zksim (1000 modules, burst), in the same run: rows listed and wall time of the whole command (Wine's start included; the prefix is made once beforehand, in the PC's namespace)."
say ""
# time_discover OUT PROGRAM...: appends "rows ms" of one discover.
time_discover() {
    local out=$1 start end rows
    shift
    start=$(date +%s%N)
    rows=$(in_pc "$@" --adapter "v$ZK_NS_PC" discover --csv 2>/dev/null | tail -n +2 | grep -c ,)
    end=$(date +%s%N)
    echo "$rows $(((end - start) / 1000000))" >>"$out"
}
export WINEDEBUG=-all
WINEPREFIX=$work/wine in_pc "$wine" wineboot --init >/dev/null 2>&1
WINEPREFIX=$work/wine timeout 60 /usr/lib/wine/wineserver -w || true
start_sim --count 1000
: >"$work/ctl_linux.txt"
: >"$work/ctl_wine.txt"
for ((i = 0; i < runs; i++)); do
    time_discover "$work/ctl_linux.txt" "$bin/src/cli/zkctl"
    WINEPREFIX=$work/wine time_discover "$work/ctl_wine.txt" "$wine" "$wbuild/src/cli/zkctl.exe"
done
stop_sim
say "| | zkctl (Linux) | zkctl.exe (Wine) | ratio |"
say "|---|---|---|---|"
say "| rows listed | $(spread "$work/ctl_linux.txt" 1) | $(spread "$work/ctl_wine.txt" 1) | $(ratio "$(median "$work/ctl_wine.txt" 1)" "$(median "$work/ctl_linux.txt" 1)") |"
say "| wall ms | $(spread "$work/ctl_linux.txt" 2) | $(spread "$work/ctl_wine.txt" 2) | $(ratio "$(median "$work/ctl_wine.txt" 2)" "$(median "$work/ctl_linux.txt" 2)") |"

say ""
say "## zkctl's bulk work: 1,000 card registrations, and one backup restored to 50 controllers"
say ""
say "Wall ms of each whole program, its start included, median (min-max) of $runs runs, the rows' programs taking turns. The bare client is the bench's own: one socket, each frame sent and its one answer awaited, nothing else. Its reference for zksim is a bare UDP echo of the same frames; its reference for zkctl is itself against the same zksim, sending the frames zkctl's command sends (for the restore: the writes \`restore --dry-run --verbose\` lists, to each of 50 controllers, zksim answering for all of them from their own addresses). zkctl.exe runs under Wine in the prefix above."
say ""
cards=$work/cards.csv
{
    echo card
    for ((i = 0; i < 1000; i++)); do echo $((500000 + i)); done
} >"$cards"
# wall_ms OUT COMMAND...: appends the command's wall time in ms; a failed run is no figure.
wall_ms() {
    local out=$1 start
    shift
    start=$EPOCHREALTIME
    if ! "$@" >/dev/null 2>"$work/wall_err"; then
        echo "bench: failed: $* ($(head -c 300 "$work/wall_err"))" >&2
        exit 1
    fi
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }' >>"$out"
}
bare=$bin/bench/hs3_bare_client
# zkctl.exe reads a path that begins with / as a Windows option: it gets Wine's name for the file.
windows_path() { echo "Z:${1//\//\\}"; }
for f in bare_echo bare_sim zk_import wine_import bare_restore zk_restore wine_restore; do
    : >"$work/bulk_$f.txt"
done
start_in_ctl "$bin/bench/roundtrip_echo" serve 16006
echo_pid=$ZK_BG_PID
bg_pids+=("$echo_pid")
sleep 0.3
for ((i = 0; i < runs; i++)); do
    wall_ms "$work/bulk_bare_echo.txt" in_pc "$bare" cards 500000 1000 "$ZK_CTL_IP"
done
kill "$echo_pid" 2>/dev/null || true
wait "$echo_pid" 2>/dev/null || true
start_sim --count 1
for ((i = 0; i < runs; i++)); do
    wall_ms "$work/bulk_bare_sim.txt" in_pc "$bare" cards 500000 1000 "$ZK_CTL_IP"
    wall_ms "$work/bulk_zk_import.txt" in_pc "$bin/src/cli/zkctl" card import "$cards" --host "$ZK_CTL_IP"
    WINEPREFIX=$work/wine wall_ms "$work/bulk_wine_import.txt" in_pc "$wine" \
        "$wbuild/src/cli/zkctl.exe" card import "$(windows_path "$cards")" --host "$ZK_CTL_IP"
done
in_pc "$bin/src/cli/zkctl" backup --host "$ZK_CTL_IP" --output "$work/room.json"
stop_sim
# Fifty controllers, each answering from its own address on the controllers' side.
hosts=()
bare_hosts=()
for ((i = 2; i < 52; i++)); do
    hosts+=(--host "10.77.0.$i")
    bare_hosts+=("10.77.0.$i")
    [ "$i" -eq 2 ] || ip -n "$ZK_NS_CTL" addr add "10.77.0.$i/24" dev "v$ZK_NS_CTL"
done
start_sim --count 50
in_pc "$bin/src/cli/zkctl" --json restore "$work/room.json" --keep-id --dry-run --verbose \
    --host "$ZK_CTL_IP" | grep -o '"frame": *"[0-9A-Fa-f ]*"' | sed 's/.*: *"//; s/"$//' \
    >"$work/restore_frames.txt"
for ((i = 0; i < runs; i++)); do
    wall_ms "$work/bulk_bare_restore.txt" in_pc "$bare" frames "$work/restore_frames.txt" \
        "${bare_hosts[@]}"
    wall_ms "$work/bulk_zk_restore.txt" in_pc "$bin/src/cli/zkctl" restore "$work/room.json" \
        --keep-id "${hosts[@]}"
    WINEPREFIX=$work/wine wall_ms "$work/bulk_wine_restore.txt" in_pc "$wine" \
        "$wbuild/src/cli/zkctl.exe" restore "$(windows_path "$work/room.json")" --keep-id "${hosts[@]}"
done
stop_sim
for ((i = 3; i < 52; i++)); do ip -n "$ZK_NS_CTL" addr del "10.77.0.$i/24" dev "v$ZK_NS_CTL"; done
# bulk_row LABEL REFERENCE MEASURED: one line of the table.
bulk_row() {
    say "| $1 | $(spread "$work/bulk_$2.txt" 1) | $(spread "$work/bulk_$3.txt" 1) | $(ratio "$(median "$work/bulk_$3.txt" 1)" "$(median "$work/bulk_$2.txt" 1)") |"
}
say "| | reference, ms | measured, ms | ratio |"
say "|---|---|---|---|"
bulk_row "1,000 registrations, bare client: bare echo (reference), zksim" bare_echo bare_sim
bulk_row "1,000 registrations: bare client (reference), zkctl card import" bare_sim zk_import
bulk_row "restore to 50 controllers, $(wc -l <"$work/restore_frames.txt") writes each: bare client (reference), zkctl restore" bare_restore zk_restore
bulk_row "card import of 1,000: zkctl (reference), zkctl.exe under Wine" zk_import wine_import
bulk_row "restore to 50 controllers: zkctl (reference), zkctl.exe under Wine" zk_restore wine_restore

say ""
say "## zkconfig.exe under Wine: search answers listed, and start-up"
say ""
say "Both on the PC side under Wine, in the same prefix. Reference for the list: the raw receiver above built for Windows (one Winsock socket, 4 MiB asked, a blocking read loop). zkconfig.exe: its find window and datagram endpoint, driven by a click on 按钮查找IP, lines counted in the list control. Endpoint alone: zkconfig.exe's datagram endpoint with a handler that only counts, to tell the receiving thread's share from the window's. Reference for start-up: the find window alone, its frame and controls made by zkconfig.exe's window builder from the layout table, with its manifest, and nothing else of the program; what zkconfig.exe adds to it (adapter list, endpoint, Winsock) is the program's own cost. Both measured from the launch (Wine's start included) to the window's first paint (its own WM_PAINT handled, as the Qt figure above counts the first paint event), and until each control, a window of its own, has painted too. Below, the find window alone beside a bare Windows-API window with one label holding its title and captions in the same font: what the controls cost under Wine."
say ""
WINEPREFIX=$work/wine in_pc "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
say "| answers | raw kept | zkconfig.exe kept | runs zkconfig.exe kept at least as many | raw ms | zkconfig.exe ms | time ratio | endpoint alone kept |"
say "|---|---|---|---|---|---|---|---|"
# wine_discovery COUNT [pinned]: one row. Pinned, the simulator runs on processor 0 and Wine with
# its server on processor 1, as answers from other machines would leave the reader's processor
# alone; shared, the simulator, Wine's server and both of the reader's threads share them all.
wine_discovery() {
    local count=$1 tag=$1 label=$1 pc_cpu=() i
    if [ "${2:-}" = pinned ]; then
        tag=${count}_pinned label="$count, simulator on its own processor"
        sim_cpu=(taskset -c 0)
        pc_cpu=(taskset -c 1)
        WINEPREFIX=$work/wine timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
        WINEPREFIX=$work/wine timeout 20 /usr/lib/wine/wineserver -w 2>/dev/null || true
        WINEPREFIX=$work/wine in_pc "${pc_cpu[@]}" /usr/lib/wine/wineserver -p 30
    fi
    start_sim --count "$count"
    : >"$work/wraw_$tag.txt"
    : >"$work/wzk_$tag.txt"
    : >"$work/wep_$tag.txt"
    for ((i = 0; i < wine_runs; i++)); do
        WINEPREFIX=$work/wine in_pc "${pc_cpu[@]}" "$wine" "$wbuild/bench/discovery_raw.exe" \
            "$count" "$big" "$quiet_ms" 2>/dev/null >>"$work/wraw_$tag.txt"
        WINEPREFIX=$work/wine in_pc "${pc_cpu[@]}" "$wine" "$wbuild/bench/win32_discovery.exe" \
            "$count" "$big" "$quiet_ms" 2>/dev/null >>"$work/wzk_$tag.txt"
        WINEPREFIX=$work/wine in_pc "${pc_cpu[@]}" "$wine" "$wbuild/bench/discovery_endpoint.exe" \
            "$count" "$big" "$quiet_ms" 2>/dev/null >>"$work/wep_$tag.txt"
    done
    stop_sim
    if [ "${2:-}" = pinned ]; then
        sim_cpu=()
        WINEPREFIX=$work/wine timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
    fi
    say "| $label | $(spread "$work/wraw_$tag.txt" 1) | $(spread "$work/wzk_$tag.txt" 1) |" \
        "$(at_least_in "$work/wraw_$tag.txt" "$work/wzk_$tag.txt" 1) |" \
        "$(spread "$work/wraw_$tag.txt" 2) | $(spread "$work/wzk_$tag.txt" 2) |" \
        "$(ratio "$(median "$work/wzk_$tag.txt" 2)" "$(median "$work/wraw_$tag.txt" 2)") |" \
        "$(spread "$work/wep_$tag.txt" 1) |"
}
wine_discovery 5000
wine_discovery 20000
pinned=no
if [ "$(nproc)" -ge 2 ]; then
    wine_discovery 20000 pinned
    pinned=yes
fi
# The find window alone (its frame and controls, nothing else of the program) between the two
# tells what the window's controls cost under Wine from what the program adds to them.
startup_programs=(min:win32_startup_minimal window:win32_startup_window zk:win32_startup_zk)
for entry in "${startup_programs[@]}"; do
    : >"$work/wst_${entry%%:*}.txt"
    # One untimed launch of each first: the row before may have stopped Wine's server, and its
    # start would otherwise fall on the first timed launch alone.
    WINEPREFIX=$work/wine in_pc "$wine" "$wbuild/bench/${entry#*:}.exe" "$(date +%s%N)" \
        >/dev/null 2>&1 || true
done
for ((i = 0; i < wine_runs; i++)); do
    for entry in "${startup_programs[@]}"; do
        WINEPREFIX=$work/wine in_pc "$wine" "$wbuild/bench/${entry#*:}.exe" \
            "$(date +%s%N)" 2>/dev/null >>"$work/wst_${entry%%:*}.txt"
    done
done
say ""
say "| | the find window alone (reference) | zkconfig.exe | ratio | median ratio of launch pairs |"
say "|---|---|---|---|---|"
# Columns of the launchers' output: first paint, peak working set, every control painted.
startup_rows=(1:"start-up to the first paint, ms" 3:"start-up until every control has painted, ms"
    2:"peak working set KiB")
for row in "${startup_rows[@]}"; do
    c=${row%%:*}
    say "| ${row#*:} | $(spread "$work/wst_window.txt" "$c") | $(spread "$work/wst_zk.txt" "$c") | $(ratio "$(median "$work/wst_zk.txt" "$c")" "$(median "$work/wst_window.txt" "$c")") | $(paired_ratio "$work/wst_window.txt" "$work/wst_zk.txt" "$c") |"
done
say ""
say "| | minimal Windows-API window | the find window alone | its ratio to the minimal window, launch pairs |"
say "|---|---|---|---|"
for row in "${startup_rows[@]:0:2}"; do
    c=${row%%:*}
    say "| ${row#*:} | $(spread "$work/wst_min.txt" "$c") | $(spread "$work/wst_window.txt" "$c") | $(paired_ratio "$work/wst_min.txt" "$work/wst_window.txt" "$c") |"
done

say ""
say "## zkctl site save and site diff of 200 controllers beside backup one controller after another"
say ""
say "zkctl on the PC side against 200 zksim controllers, each on an address of its own on the other host: site save (one search, every block, every controller's settings read side by side) and site diff of the file just saved, beside the same 200 read with one zkctl backup --host after another. Wall time of the whole commands; every command with --timeout 0.3 (a search listens that long)."
say ""
# site_runs: the backups take a minute a run.
site_runs=${ZK_BENCH_SITE_RUNS:-3}
for ((i = 1; i < 200; i++)); do
    ip -n "$ZK_NS_CTL" addr add "10.77.0.$((2 + i))/24" dev "v$ZK_NS_CTL"
done
start_sim --count 200
site_ctl() { in_pc "$bin/src/cli/zkctl" --adapter "v$ZK_NS_PC" --timeout 0.3 "$@"; }
: >"$work/site.txt"
for ((i = 0; i < site_runs; i++)); do
    rm -f "$work/school.json"
    t0=$(date +%s%N)
    site_ctl site save "$work/school.json" >/dev/null
    t1=$(date +%s%N)
    site_ctl site diff "$work/school.json" >/dev/null
    t2=$(date +%s%N)
    for ((c = 0; c < 200; c++)); do
        site_ctl backup --host "10.77.0.$((2 + c))" >/dev/null
    done
    t3=$(date +%s%N)
    echo "$(((t1 - t0) / 1000000)) $(((t2 - t1) / 1000000)) $(((t3 - t2) / 1000000))" >>"$work/site.txt"
done
stop_sim
for ((i = 1; i < 200; i++)); do
    ip -n "$ZK_NS_CTL" addr del "10.77.0.$((2 + i))/24" dev "v$ZK_NS_CTL"
done
say "| | site save | site diff | 200 backups in turn |"
say "|---|---|---|---|"
say "| wall ms | $(spread "$work/site.txt" 1) | $(spread "$work/site.txt" 2) | $(spread "$work/site.txt" 3) |"
say "| x backups in turn | $(ratio "$(median "$work/site.txt" 1)" "$(median "$work/site.txt" 3)") | $(ratio "$(median "$work/site.txt" 2)" "$(median "$work/site.txt" 3)") | 1 |"

say ""
say "## Codec operations per second (Google Benchmark)"
say ""
say "| operation | ns per operation | operations per second |"
say "|---|---|---|"
"$bin/bench/bench_codec" --benchmark_format=csv --benchmark_min_time=0.3 2>/dev/null |
    awk -F, '/^"/ { gsub(/"/, "", $1); printf "| %s | %.1f | %.0f |\n", $1, $4, 1e9 / $4 }' |
    tee -a "$report"

say ""
say "## Goals"
say ""
kept20=$(median "$work/zk_20000_0_$big.txt" 1)
lost20=$(awk 'BEGIN { m = 0 } { if (20000 - $1 > m) m = 20000 - $1 } END { print m }' "$work/zk_20000_0_$big.txt")
t20=$(ratio "$(median "$work/zk_20000_0_$big.txt" 2)" "$(median "$work/raw_20000_0_$big.txt" 2)")
say "- 20,000 burst answers, 8 MiB: zkconfig lists $kept20 (median), at most $lost20 lost in any run; time to list $t20 x raw (goal: none lost, <= 1.2)"
for count in 1000 20000; do
    say "- $count burst answers, $small asked: zkconfig keeps $(median "$work/zk_${count}_0_$small.txt" 1), raw $(median "$work/raw_${count}_0_$small.txt" 1) (median; goal: at least as many)"
done
say "- 5,000 answers at 2,000/s: CPU $(ratio "$(median "$work/zk_5000_2000_$big.txt" 3)" "$(median "$work/raw_5000_2000_$big.txt" 3)") x raw (goal: <= 5)"
say "- zkctl.exe discover of 1000 under Wine lists $(median "$work/ctl_wine.txt" 1), zkctl on Linux $(median "$work/ctl_linux.txt" 1) (median; goal: all 1000)"
say "- zkconfig.exe under Wine, 5,000 burst answers: lists $(median "$work/wzk_5000.txt" 1) (median; goal: all 5000)"
say "- zkconfig.exe under Wine, 20,000 burst answers: lists $(median "$work/wzk_20000.txt" 1), the raw Winsock receiver keeps $(median "$work/wraw_20000.txt" 1) (median; goal: at least as many); at least as many in $(at_least_in "$work/wraw_20000.txt" "$work/wzk_20000.txt" 1) runs"
[ "$pinned" = no ] ||
    say "- the same with the simulator on its own processor: lists $(median "$work/wzk_20000_pinned.txt" 1), the raw Winsock receiver keeps $(median "$work/wraw_20000_pinned.txt" 1); at least as many in $(at_least_in "$work/wraw_20000_pinned.txt" "$work/wzk_20000_pinned.txt" 1) runs"
say "- zkconfig.exe start-up to the first paint under Wine: $(paired_ratio "$work/wst_window.txt" "$work/wst_zk.txt" 1) x the find window alone, launch by launch (goal: <= 1.1); the find window alone $(paired_ratio "$work/wst_min.txt" "$work/wst_window.txt" 1) x the minimal window"
say "- Settings round trip: $(median "$work/rt_zk.txt" 1) µs (goal: <= 150)"
say "- zksim answers 1,000 registrations in $(ratio "$(median "$work/bulk_bare_sim.txt" 1)" "$(median "$work/bulk_bare_echo.txt" 1)") x the bare echo's time (goal: <= 10); zkctl card import $(ratio "$(median "$work/bulk_zk_import.txt" 1)" "$(median "$work/bulk_bare_sim.txt" 1)") x the bare client (goal: <= 1.5); restore to 50 controllers $(ratio "$(median "$work/bulk_zk_restore.txt" 1)" "$(median "$work/bulk_bare_restore.txt" 1)") x the bare client (goal: <= 1.5)"
say "- zkctl site save of 200 controllers: $(ratio "$(median "$work/site.txt" 1)" "$(median "$work/site.txt" 3)") x backup of each in turn, site diff $(ratio "$(median "$work/site.txt" 2)" "$(median "$work/site.txt" 3)") x (goal: <= 0.25)"
say "- Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

cp "$report" bench/RESULTS.md
echo "bench: written to bench/RESULTS.md"
