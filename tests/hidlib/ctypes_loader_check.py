#!/usr/bin/env python3
"""Drives the emulated boot loader through libtavrel's plain C interface with a link
cipher written here from scratch: probe, start, then erase, write and read back lines of
the application area. Exits non-zero on the first failure."""

import ctypes
import os
import random
import sys
import time

LOADER_VID, LOADER_PID = 0x5381, 0x640B
REPORT_LEN = 22


class Link:
    """The host's side of the chained byte cipher."""

    def __init__(self):
        self.send_chain = 0
        self.receive_chain = 0

    def encode(self, p):
        c = (((self.send_chain ^ p) + 0x2B) & 0xFF) ^ 0x5D
        self.send_chain = c
        return c

    def decode(self, c):
        p = (((c ^ 0x5D) - 0x2B) & 0xFF) ^ self.receive_chain
        self.receive_chain = c
        return p


def check(condition, what):
    if not condition:
        print("FAILED:", what, file=sys.stderr)
        sys.exit(1)
    print("ok:", what)


def exchange(lib, link, command, payload):
    """Sends F9, command, payload (scrambled from byte 2 on) and returns the unscrambled
    answer, or None when none came."""
    out = (ctypes.c_uint8 * 101)()
    out[0], out[1] = 0xF9, command
    for i, b in enumerate(payload):
        out[2 + i] = b
    for i in range(2, REPORT_LEN):
        out[i] = link.encode(out[i])
    if lib.Write(out) != REPORT_LEN:
        return None
    answer = (ctypes.c_uint8 * 101)()
    deadline = time.monotonic() + 2.0
    while time.monotonic() < deadline:
        n = lib.Read(answer)
        if n > 0 and answer[0] == 0xF9:
            break
        time.sleep(0.001)
    else:
        return None
    plain = [answer[0], answer[1]] + [link.decode(answer[i]) for i in range(2, REPORT_LEN)]
    return plain


def address(a):
    return [a & 0xFF, (a >> 8) & 0xFF, (a >> 16) & 0xFF]


def main():
    if len(sys.argv) != 2:
        print("usage: ctypes_loader_check.py path/to/libtavrel.so", file=sys.stderr)
        return 2
    os.environ["TAVREL_EMULATOR"] = "loader:fw=2.7"
    os.environ.pop("TAVREL_EMULATOR_STATE", None)
    lib = ctypes.CDLL(sys.argv[1])
    lib.Open.argtypes = [ctypes.c_uint32, ctypes.c_uint32, ctypes.c_char_p, ctypes.c_char_p,
                         ctypes.c_char_p, ctypes.c_int32]
    lib.Read.argtypes = [ctypes.c_void_p]
    lib.Write.argtypes = [ctypes.c_void_p]
    check(lib.Open(LOADER_VID, LOADER_PID, None, None, None, 1) == 1, "boot loader opens")

    link = Link()
    rng = random.Random(7)
    probe = exchange(lib, link, 0x00, [rng.randrange(256) for _ in range(20)])
    check(probe is not None, "the probe is answered")
    check((probe[7], probe[6]) == (2, 7), "probe answer carries version 2.7 in bytes 7 and 6")
    link.send_chain = link.receive_chain = 0xC6
    check(exchange(lib, link, 0xFE, [rng.randrange(256) for _ in range(20)]) is not None,
          "start command answered")

    lines = {0x2000: list(range(16)), 0x2010: [0xA5] * 16, 0x5FF0: list(range(0xF0, 0x100))}
    for a in (0x2000, 0x5FC0):
        exchange(lib, link, 0x03, [0x01] + address(a + 0x0F))
    for a in lines:
        back = exchange(lib, link, 0x01, [0x10] + address(a))
        check(back is not None and back[6:22] == [0xFF] * 16, "line %04X erased" % a)
    for a, data in lines.items():
        check(exchange(lib, link, 0x02, [0x10] + address(a) + data) is not None,
              "line %04X written" % a)
    for a, data in lines.items():
        back = exchange(lib, link, 0x01, [0x10] + address(a))
        check(back is not None and back[6:22] == data, "line %04X reads back" % a)

    # Programming only clears bits: writing again without an erase shows on read-back.
    exchange(lib, link, 0x02, [0x10] + address(0x2010) + [0x5A] * 16)
    back = exchange(lib, link, 0x01, [0x10] + address(0x2010))
    check(back[6:22] == [0x00] * 16, "a second write without erase ANDs into flash")
    exchange(lib, link, 0x03, [0x01] + address(0x2010))
    back = exchange(lib, link, 0x01, [0x10] + address(0x2000))
    check(back[6:22] == [0xFF] * 16, "erase clears the whole 64-byte block")

    # The boot area cannot be written.
    before = exchange(lib, link, 0x01, [0x10] + address(0x0100))
    exchange(lib, link, 0x02, [0x10] + address(0x0100) + [0] * 16)
    after = exchange(lib, link, 0x01, [0x10] + address(0x0100))
    check(before[6:22] == after[6:22], "the boot area stays as it was")
    lib.CloseRead()
    lib.CloseWrite()
    return 0


if __name__ == "__main__":
    sys.exit(main())
