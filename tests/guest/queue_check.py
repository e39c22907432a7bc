#!/usr/bin/env python3
"""Opens the interface through libtavrel.so on the real hidraw node, idles, and counts the
joystick reports the kernel kept meanwhile; then checks that after reading them away a
request's answer still comes. Prints the count; exits non-zero on a failure."""

import ctypes
import sys
import time


def main():
    lib = ctypes.CDLL(sys.argv[1])
    idle = float(sys.argv[2]) if len(sys.argv) > 2 else 2.0
    lib.Open.argtypes = [ctypes.c_uint32] * 2 + [ctypes.c_char_p] * 3 + [ctypes.c_int32]
    lib.Read.argtypes = [ctypes.c_void_p]
    lib.Write.argtypes = [ctypes.c_void_p]
    lib.ReadTimeout.argtypes = [ctypes.c_void_p, ctypes.c_int32]
    if lib.Open(0x537F, 0x6425, None, None, None, 1) != 1:
        print("the interface did not open")
        return 1
    time.sleep(idle)
    report = ctypes.create_string_buffer(101)
    queued = 0
    began = time.monotonic()
    while lib.Read(report) > 0:
        if report.raw[0] == 0x01:
            queued += 1
    reading = time.monotonic() - began
    print("queued joystick reports after %.1f s: %d" % (idle, queued))
    # One report per 10 ms of reading, and one that was on its way.
    print("could arrive while reading: %d" % (int(reading / 0.010) + 2))
    command = (ctypes.c_uint8 * 101)(0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C, 0x00, 0x00)
    if lib.Write(command) != 8:
        print("the request was not written")
        return 1
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if lib.ReadTimeout(report, 100) > 0 and report.raw[:2] == b"\xf9\x1c":
            print("answer after the queue was read away: " + report.raw[:6].hex(" "))
            return 0
    print("no answer after the queue was read away")
    return 1


sys.exit(main())
