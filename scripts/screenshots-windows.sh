#!/usr/bin/env bash
# Pictures of zkconfig.exe for the README, taken under Wine on a virtual X display: the find
# window after a search of five simulated controllers on another network namespace, and the
# three pages of the settings window after their values were read. zkgui_drive.exe drives the
# windows and saves what the screen shows of them; they land in docs/windows-*.png. The Wine
# prefix gets the WenQuanYi font under the names of the Windows Chinese UI fonts, so the Chinese
# is drawn as it is on a Chinese Windows. Needs root (for the namespaces).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh --dev
command -v python3 >/dev/null || apt-get install -y -q --no-install-recommends python3
# 24-bit colour: xvfb-run's default screen has 256 colours.
if [ -z "${ZK_SHOTS_DISPLAY:-}" ]; then
    ZK_SHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
source scripts/lib/owner.sh
source tests/e2e/netns.sh
netns_require

linux=build-shots
windows=${ZK_WINDOWS_BUILD_DIR:-build-windows}
cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_BENCH=OFF >/dev/null
cmake --build "$linux" --target zksim
cmake -S . -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE= \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$windows" --target zkconfig zkgui_drive

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
work=$(mktemp -d /tmp/zk-shots-windows.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
sim_pid=
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    timeout 20 "$wineserver" -k 2>/dev/null
    netns_down
    rm -rf "$work"
    give_back "$linux" "$windows" docs
}
trap cleanup EXIT

netns_up 4
# The prefix starts on the PC host: Wine lists adapters in a helper of its server.
in_pc timeout 120 "$wine" wineboot --init >/dev/null 2>&1
cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/"
# Wine's symbol font, for the caption buttons: unpacked into the prefix, not installed on this
# machine. Only that one: Wine's Tahoma would take the captions back from the Chinese font.
(cd "$work" && apt-get download -q fonts-wine >/dev/null && dpkg-deb -x fonts-wine_*.deb wine-fonts)
cp "$work"/wine-fonts/usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
for face in "Microsoft YaHei" SimSun Tahoma; do
    in_pc "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
        /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
in_pc "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
timeout 30 "$wineserver" -w

start_in_ctl "$linux/src/sim/zksim" --count 5 --ip-base "$ZK_CTL_IP" >"$work/zksim.log" 2>&1
sim_pid=$ZK_BG_PID
mkdir "$work/gui" "$work/shots"
cp "$windows/src/ui/win32/zkconfig.exe" "$windows/src/ui/win32/projectors.json" "$work/gui/"
in_pc timeout 60 "$wine" "$work/gui/zkconfig.exe" >"$work/zkconfig.log" 2>&1 &
gui_pid=$!
in_pc timeout 60 "$wine" "$windows/tests/zkgui_drive.exe" shots "$ZK_PC_IP" \
    "Z:${work//\//\\}\\shots" | tr -d '\r'
wait "$gui_pid"

# BMP (24 bits, bottom row first) to PNG, with the standard library alone.
python3 - "$work/shots" docs <<'PYTHON'
import pathlib, struct, sys, zlib

def png(bmp: bytes) -> bytes:
    offset, = struct.unpack_from("<I", bmp, 10)
    width, height = struct.unpack_from("<ii", bmp, 18)
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bmp[offset + y * stride: offset + y * stride + width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))

for bmp in sorted(pathlib.Path(sys.argv[1]).glob("*.bmp")):
    target = pathlib.Path(sys.argv[2]) / (bmp.stem + ".png")
    target.write_bytes(png(bmp.read_bytes()))
    print(target)
PYTHON
