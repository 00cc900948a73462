#!/usr/bin/env python3
"""Plays a general configuration tool against zksim's network modules: a search, a read, a
write, a write a careful module refuses, a factory reset and a read after it. Prints each reply's
code, byte 29, length and sender. Run it where the modules' broadcasts reach port 60000, e.g. in
the PC namespace of tests/e2e/netns.sh, with zksim started with --strict-writes.
Usage: module_exchange.py [--interface NAME] [MAC]   (default 84:C2:E4:00:00:01); the interface
(root only) sends the broadcasts out of that adapter when the host has no route for them."""
import argparse
import socket

FLAG = b"CH9121_CFG_FLAG\x00"
PC_MAC = bytes.fromhex("00E04C123456")


def request(code, mac, data=b""):
    datagram = bytearray(285)
    datagram[0:16] = FLAG
    datagram[16] = code
    datagram[17:23] = mac
    datagram[23:29] = PC_MAC
    datagram[29 : 29 + len(data)] = data
    return bytes(datagram)


def exchange(sock, what, datagram, expect=1):
    sock.sendto(datagram, ("255.255.255.255", 50000))
    replies = []
    try:
        while True:
            data, sender = sock.recvfrom(2048)
            replies.append((data, sender))
            if len(replies) >= expect:
                sock.settimeout(0.3)
    except socket.timeout:
        pass
    sock.settimeout(2.0)
    for data, sender in replies:
        print(f"{what}: reply {data[16]:02X}, byte 29 = 0x{data[29]:02X}, {len(data)} bytes, "
              f"from {sender[0]}:{sender[1]}")
    if not replies:
        print(f"{what}: no reply")
    return replies


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--interface")
    parser.add_argument("mac", nargs="?", default="84:C2:E4:00:00:01")
    arguments = parser.parse_args()
    mac = bytes.fromhex(arguments.mac.replace(":", ""))
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    if arguments.interface:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_BINDTODEVICE, arguments.interface.encode())
    sock.bind(("0.0.0.0", 60000))
    sock.settimeout(2.0)
    exchange(sock, "search", request(0x04, bytes(6)), expect=2)
    read = exchange(sock, "read", request(0x02, mac))
    block = bytearray(read[0][0])
    block[16] = 0x01
    block[17:23] = mac
    block[23:29] = PC_MAC
    block[65] = 50  # new address x.y.z.50
    exchange(sock, "write", bytes(block))
    block[66:70] = bytes([block[62], block[63], block[64] ^ 1, 1])  # gateway in another subnet
    exchange(sock, "refused write", bytes(block))
    exchange(sock, "reset", request(0x03, mac))
    after = exchange(sock, "read after reset", request(0x02, mac))
    print("address after reset:", ".".join(str(b) for b in after[0][0][62:66]))


if __name__ == "__main__":
    main()
