#!/usr/bin/env python3
"""Loads libtavrel.so through ctypes with its plain C interface, the way programs in
other languages use it, against emulated devices. Exits non-zero on the first failure."""

import ctypes
import os
import sys
import time

# The interface, the boot loader and an interface that calls itself "RC USB" and answers
# after 20 ms, so that joystick reports come in before its answer.
DEVICES = "interface,loader,interface:vid=0x1209:pid=1:product=RC USB:latency_ms=20"
ANY = 0xFFFF


class DeviceListEntry(ctypes.Structure):
    _fields_ = [
        ("product", ctypes.c_char_p),
        ("manufacturer", ctypes.c_char_p),
        ("serialNumber", ctypes.c_char_p),
        ("vendorId", ctypes.c_int32),
        ("productId", ctypes.c_int32),
        ("inputReportLength", ctypes.c_int32),
        ("outputReportLength", ctypes.c_int32),
    ]


def check(condition, what):
    if not condition:
        print("FAILED:", what, file=sys.stderr)
        sys.exit(1)
    print("ok:", what)


def load(path):
    lib = ctypes.CDLL(path)
    text = ctypes.c_char_p
    u32, i32 = ctypes.c_uint32, ctypes.c_int32
    lib.GetList.argtypes = [u32, u32, text, text, text, ctypes.POINTER(DeviceListEntry), i32]
    lib.GetList.restype = i32
    lib.Open.argtypes = [u32, u32, text, text, text, i32]
    lib.Open.restype = i32
    lib.SetInstance.argtypes = [i32]
    lib.SetInstance.restype = i32
    lib.Read.argtypes = [ctypes.c_void_p]
    lib.Read.restype = i32
    lib.Write.argtypes = [ctypes.c_void_p]
    lib.Write.restype = i32
    lib.GetReportLengths.argtypes = [ctypes.POINTER(i32), ctypes.POINTER(i32)]
    lib.GetReportLengths.restype = None
    lib.CloseRead.restype = None
    lib.CloseWrite.restype = None
    return lib


def listing(lib, product=None, vid=ANY, pid=ANY, most=20):
    buffers = [ctypes.create_string_buffer(50) for _ in range(60)]
    entries = (DeviceListEntry * 20)()
    for i in range(20):
        entries[i].product = ctypes.cast(buffers[3 * i], ctypes.c_char_p)
        entries[i].manufacturer = ctypes.cast(buffers[3 * i + 1], ctypes.c_char_p)
        entries[i].serialNumber = ctypes.cast(buffers[3 * i + 2], ctypes.c_char_p)
    count = lib.GetList(vid, pid, None, None, product, entries, most)
    found = []
    for i in range(max(count, 0)):
        e = entries[i]
        found.append((buffers[3 * i].value, e.vendorId, e.productId,
                      e.inputReportLength, e.outputReportLength))
    return count, found


def main():
    if len(sys.argv) != 2:
        print("usage: ctypes_check.py path/to/libtavrel.so", file=sys.stderr)
        return 2
    os.environ["TAVREL_EMULATOR"] = DEVICES
    os.environ.pop("TAVREL_EMULATOR_STATE", None)
    lib = load(sys.argv[1])

    count, found = listing(lib)
    check(count == 3, "three emulated devices listed (got %d)" % count)
    check((0x537F, 0x6425, 18, 8) in [f[1:] for f in found], "interface with 18/8")
    check((0x5381, 0x640B, 22, 22) in [f[1:] for f in found], "boot loader with 22/22")
    count, found = listing(lib, vid=0x1209, pid=1)
    check(count == 1 and found[0][0] == b"RC", "\"RC USB\" is listed as \"RC\"")
    check(listing(lib, product=b"RC", vid=0x1209)[0] == 1, "filter \"RC\" finds it")
    check(listing(lib, product=b"RC USB", vid=0x1209)[0] == 0, "filter \"RC USB\" does not")
    check(listing(lib, vid=0xFFFFFFFF, pid=0xFFFFFFFF)[0] == 3, "-1 as unsigned lists everything")
    check(listing(lib, most=2)[0] == 2, "the maximum count is honoured")
    check(listing(lib, most=-1)[0] == 0, "a negative maximum count lists nothing")

    check(lib.SetInstance(2) == -1, "SetInstance(2) is refused")
    check(lib.SetInstance(0) == 0, "SetInstance(0) is taken")

    check(lib.Open(0x5381, 0x640B, None, None, None, 1) == 1, "boot loader opens overlapped")
    inp, out = ctypes.c_int32(), ctypes.c_int32()
    lib.GetReportLengths(ctypes.byref(inp), ctypes.byref(out))
    check((inp.value, out.value) == (22, 22), "report lengths 22/22 after Open")
    report = ctypes.create_string_buffer(101)
    check(lib.Read(report) == 0, "overlapped Read returns 0 when nothing waits")
    lib.CloseRead()
    check(lib.Read(report) == -1, "Read after CloseRead fails")
    lib.CloseWrite()

    check(lib.Open(0x1209, 1, None, None, b"RC", 1) == 1, "the slow interface opens")
    while lib.Read(report) > 0:
        pass
    command = (ctypes.c_uint8 * 101)(0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00)
    sent = time.monotonic()
    check(lib.Write(command) == 8, "a configuration read command is written")
    joystick, answer, results = 0, None, set()
    while answer is None and time.monotonic() - sent < 3:
        n = lib.Read(report)
        results.add(n)
        if n == 18 and report.raw[0] == 0x01:
            joystick += 1
        elif n == 18 and report.raw[0] == 0xF9:
            answer = report.raw[:8]
            waited = time.monotonic() - sent
        else:
            time.sleep(0.001)
    check(results <= {0, 18}, "Read returns 0 or the input report length")
    check(answer == bytes([0xF9, 0x10, 0x21, 0x43, 0x65, 0x87, 0, 0]), "the 0xF9 answer comes")
    check(waited >= 0.02, "not before its latency")
    check(joystick >= 1, "joystick reports come in between")
    lib.CloseWrite()
    check(lib.Write(command) == -1, "Write after CloseWrite fails")
    lib.CloseRead()
    return 0


if __name__ == "__main__":
    sys.exit(main())
