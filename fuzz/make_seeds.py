#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ from the frames the tests are written with.

HS3 frames are taken from the hex strings of the test sources; configuration datagrams are built
the way the tests build them (flag, code, MAC, addresses). Run from anywhere; rewrites the
seed folders whole.
"""
import hashlib
import pathlib
import re
import shutil

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"

# One or more adjacent string literals holding only hex pairs.
LITERALS = re.compile(r'"((?:[0-9A-F]{2} ?)+)"(?:\s*"((?:[0-9A-F]{2} ?)+)")?')


def test_frames():
    frames = set()
    for source in sorted((ROOT / "tests").rglob("*.cpp")):
        for match in LITERALS.finditer(source.read_text(encoding="utf-8")):
            data = bytes.fromhex("".join(part or "" for part in match.groups()))
            if data.startswith(b"HS3"):
                frames.add(data)
    return sorted(frames)


def record(data):
    return len(data).to_bytes(2, "big") + data


FLAG = b"CH9121_CFG_FLAG\x00"
MAC_A = bytes.fromhex("84C2E4010AFF")  # the first module of the fuzzed simulator, and test MAC A


def flagged(code, mac, length=285):
    data = bytearray(length)
    data[0:16] = FLAG
    data[16] = code
    data[17:23] = mac
    return data


def config_reply(mac):
    data = flagged(0x82, mac)
    for i in range(23, 285):
        data[i] = (i * 7 + 3) & 0xFF
    data[56:62] = mac
    data[62:66] = bytes([192, 168, 1, 200])
    data[66:70] = bytes([192, 168, 1, 1])
    data[70:74] = bytes([255, 255, 255, 0])
    data[175:179] = bytes([192, 168, 1, 100])
    data[179:181] = bytes.fromhex("863E")
    return bytes(data)


def search_reply(mac):
    data = flagged(0x84, mac)
    data[30:34] = bytes([192, 168, 1, 200])
    data[34:41] = b"ZK-NET\x00"
    data[41] = 0x06
    return bytes(data)


def write_request(mac):
    data = bytearray(config_reply(mac))
    data[16] = 0x01
    data[35:41] = b"ROOM1\x00"
    return bytes(data)


def find_seeds():
    # Events: 0 datagram, 1 pick an entry, 2 type into a box, 3 write, 4 search.
    search = bytes([4])
    listed = bytes([0]) + record(search_reply(MAC_A))
    pick = bytes([1, 0])
    read = bytes([0]) + record(config_reply(MAC_A))
    write = bytes([3])
    ack = bytes([0]) + record(bytes(flagged(0x81, MAC_A)))
    typed = bytes([2, 4]) + record("１６００７".encode())
    return {
        "search_reply": listed,
        "config_reply_unselected": read,
        "search_pick_read_write_ack": search + listed + pick + read + write + ack,
        "edited_port_then_write": listed + pick + read + typed + write,
        "short_datagram": bytes([0]) + record(FLAG + b"\x84"),
    }


def network_seeds():
    search = flagged(0x04, bytes(6))
    read = flagged(0x02, MAC_A)
    return {
        "search": record(bytes(search)),
        "read": record(bytes(read)),
        "write_then_read": record(write_request(MAC_A)) + record(bytes(read)),
        "write_gbk_name": record(write_request(MAC_A)[:35] + "教室".encode("gbk")
                                 + write_request(MAC_A)[39:]),
    }


def message_seeds():
    # One datagram each, raw: every kind both ways, a held block longer than 285 bytes.
    return {
        "search": bytes(flagged(0x04, bytes(6))),
        "read": bytes(flagged(0x02, MAC_A)),
        "write": write_request(MAC_A),
        "reset": bytes(flagged(0x03, MAC_A)),
        "search_reply": search_reply(MAC_A),
        "config_reply_300": config_reply(MAC_A) + bytes(range(15)),
        "write_ack": bytes(flagged(0x81, MAC_A)),
        "write_refused": bytes(flagged(0xC1, MAC_A)),
        "reset_ack": bytes(flagged(0x83, MAC_A)),
    }


INI_SECTION = "[网卡列表]".encode("gbk")
INI_KEY = "选择项".encode("gbk")


def ini_seeds():
    other = "; 注释\r\n[Other]\r\nkey = v \r\n\r\n".encode("gbk")
    return {
        "empty": b"",
        "choice_crlf": INI_SECTION + b"\r\n" + INI_KEY + b"=1\r\n",
        "choice_lf_among_others": b"[a]\nx=1\n" + INI_SECTION + b"\n" + INI_KEY + b"=0\ny=2\n",
        "other_sections": other,
        "no_final_break": b"[x]\r\ny=2",
        "spaced_and_quoted": b"[ " + INI_SECTION[1:-1] + b" ]\r\n;" + INI_KEY + b"=9\r\n "
        + INI_KEY + b' = "3" \r\n',
    }


def write(target, seeds):
    folder = CORPUS / target
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


def by_digest(items):
    return {hashlib.sha1(item).hexdigest()[:12]: item for item in items}


def main():
    frames = test_frames()
    write("fuzz_settings_reply", by_digest(frames))
    controller = by_digest(record(frame) for frame in frames)
    controller["all_in_a_row"] = b"".join(record(frame) for frame in frames)
    write("fuzz_sim_controller", controller)
    write("fuzz_sim_network", network_seeds())
    write("fuzz_find_datagram", find_seeds())
    write("fuzz_config_message", message_seeds())
    write("fuzz_system_ini", ini_seeds())


if __name__ == "__main__":
    main()
