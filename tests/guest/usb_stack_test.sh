#!/bin/sh
# The interface model served as a USB HID gadget (orvane-gadget) behind the guest's own
# usbhid and hidraw, met by orvane-cli and libtavrel.so on their hidraw back end. Runs as
# root inside the test guest (tests/guest/run-guest), from the repository's folder:
#
#   usb_stack_test.sh BUILD_DIR [PART...]
#
# PART: a part's name (default: every part, in the order they are declared).
# udevd runs throughout with the project's udev rule, as on an installed system.
# Each check prints "ok" or "FAILED"; the exit status is the number of failures (at most
# 100). Logs and the exchange figures go to $ORVANE_GUEST_RESULTS.
#
# A part is a function declared with `part NAME` after it; the file holds helpers and parts
# only and reads itself whole before it runs any part, so a new part is added by appending
# a function and its `part` line at the end of the file.
if [ -z "${usb_stack_defined:-}" ]; then
    usb_stack_defined=1
    . "$0"
    main "$@"
    exit
fi

parts_declared=
part() { parts_declared="$parts_declared $1"; }

check() { # what, then a command that must succeed
    what=$1; shift
    read -r at _ </proc/uptime
    at=$((${at%.*} - started))
    if "$@" >/dev/null 2>&1; then echo "ok ($at s): $what"; else echo "FAILED ($at s): $what"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$2" "$1"; }
differ() { ! cmp -s "$1" "$2"; }
nonzero() { ! grep -qx 0 "$1"; } # a file with an exit status
lacks() { ! grep -qF -- "$2" "$1"; }

# The guest runs every program from the host's root over 9p, and under emulation each
# started program costs much, so the waiting loops below use shell builtins only.
uptime_s() {
    read -r up _ </proc/uptime
    echo "${up%.*}"
}
# The hidraw node of a device with these ids (hex, as the kernel writes them), or nothing.
node_of() {
    for u in /sys/class/hidraw/hidraw*/device/uevent; do
        [ -e "$u" ] || continue
        while read -r line; do
            if [ "$line" = "HID_ID=0003:0000$1:0000$2" ]; then
                u=${u%/device/uevent}
                echo "${u##*/}"
                return 0
            fi
        done <"$u" 2>/dev/null
    done
    return 1
}
# Seconds for a wait that takes that long at the guest's usual pace, stretched by the
# slowest pace it measured so far (tests/guest/stage2), at most twentyfold.
stretched() { # seconds
    slowest=0 usual=${ORVANE_GUEST_USUAL_PACE:-6}
    [ -f "$out/pace" ] && read -r _ slowest <"$out/pace"
    stretch=$(((${slowest:-0} * 100 + usual - 1) / usual))
    [ $stretch -lt 100 ] && stretch=100
    [ $stretch -gt 2000 ] && stretch=2000
    echo $(($1 * stretch / 100))
}
# Waits until the device is there (or gone, with "gone"), up to 30 s at the usual pace.
wait_node() {
    deadline=$(($(uptime_s) + $(stretched 30)))
    while [ "$(uptime_s)" -lt $deadline ]; do
        if node_of "$1" "$2" >/dev/null; then [ "${3:-}" != gone ] && return 0
        else [ "${3:-}" = gone ] && return 0; fi
        sleep 0.05
    done
    return 1
}
start_gadget() { # orvane-gadget arguments
    echo "== orvane-gadget $*" >>"$out/gadget.log"
    "$bin/orvane-gadget" --trace "$@" >>"$out/gadget.log" 2>&1 &
    gadget=$!
}
stop_gadget() {
    [ -n "$gadget" ] || return 0
    kill "$gadget" 2>/dev/null
    i=0 tries=$(($(stretched 10) * 10))
    while kill -0 "$gadget" 2>/dev/null && [ $i -lt $tries ]; do sleep 0.1; i=$((i + 1)); done
    if kill -0 "$gadget" 2>/dev/null; then
        echo "FAILED: orvane-gadget did not end; its threads wait in:"
        failures=$((failures + 1))
        for t in /proc/"$gadget"/task/*; do echo "$t $(cat "$t/wchan")"; cat "$t/stack"; done
        kill -KILL "$gadget"
    fi
    wait "$gadget" 2>/dev/null; gadget=
    wait_node 537F 6425 gone; wait_node 5381 640B gone
}
# Sets the boot-loader switch and stores it; the interface restarts into its boot loader.
into_boot_loader() {
    "$cli" config bootloader >>"$work/switch.log" 2>&1
}
json_has() { # file, then "key": value pieces
    f=$1; shift
    for piece in "$@"; do grep -qF -- "$piece" "$f" || return 1; done
}
# One of the program's end-to-end tests, run offscreen against the device; skipped when
# that test program was not built.
e2e() { # what, test program, test name (Suite.Test)
    e2e_log=$work/$2-${3#*.}.log
    [ -x "$bin/$2" ] || return 0
    QT_QPA_PLATFORM=offscreen ORVANE_E2E_REAL_DEVICE=1 \
        ORVANE_E2E_PATIENCE=$((($(stretched 100) + 99) / 100)) "$bin/$2" --gtest_filter="$3" >"$e2e_log" 2>&1
    check "$1" has "$e2e_log" "[  PASSED  ] 1 test"
}

# The node's mode, owner and group, and whether udev tagged it for the seat's user.
access_of() { # vid pid
    udevadm settle
    n=$(node_of "$1" "$2") || return 1
    tag=untagged
    udevadm info "/dev/$n" | grep -q '^E: TAGS=.*:uaccess:' && tag=uaccess
    echo "$(stat -c '%a %U:%G' "/dev/$n") $tag"
}

# The main window's event log: the messages of its entries, one a line.
log_messages() { # file
    n=0
    while IFS= read -r line; do
        n=$((n + 1))
        [ $((n % 3)) -eq 0 ] && echo "${line%"$cr"}"
    done 2>/dev/null <"$1"
}
# What the kernel holds, as the program's list line should hold it (order aside): the
# number of hidraw nodes, then each node's ids (decimal) and serial number.
kernel_list() {
    count=0 pieces=
    for u in /sys/class/hidraw/hidraw*/device/uevent; do
        [ -e "$u" ] || continue
        id= uniq=
        while IFS= read -r line; do
            case $line in
            HID_ID=*) id=${line#HID_ID=} ;;
            HID_UNIQ=*) uniq=${line#HID_UNIQ=} ;;
            esac
        done <"$u" 2>/dev/null
        [ -n "$id" ] || continue
        vid=${id#*:}; pid=${vid#*:}; vid=${vid%:*}
        count=$((count + 1))
        pieces="$pieces|$((0x$vid)):$((0x$pid)) serial \"$uniq\""
    done
    echo "$count$pieces"
}
# True when the last list line of the log holds what the kernel holds.
listed_as_kernel() { # log
    last=$(log_messages "$1" | grep '^Device change: [0-9]* listed' | tail -n 1)
    want=$(kernel_list)
    [ "${last#Device change: ${want%%|*} listed}" != "$last" ] || return 1
    rest=${want#*|}
    [ "$rest" = "$want" ] && return 0
    while [ -n "$rest" ]; do
        piece=${rest%%|*}
        [ "${last#*"$piece"}" != "$last" ] || return 1
        [ "$rest" = "$piece" ] && break
        rest=${rest#*|}
    done
}
follows() { log_messages "$1" | grep -c '^Device change: the device list follows$'; }
# Waits until the program followed a change after the earlier count and its list holds
# what the kernel holds, up to 30 s at the usual pace.
wait_followed() { # log, follows before
    deadline=$(($(uptime_s) + $(stretched 30)))
    while [ "$(uptime_s)" -lt $deadline ]; do
        [ "$(follows "$1")" -gt "$2" ] && listed_as_kernel "$1" && return 0
        sleep 0.2
    done
    return 1
}
# Every followed change refreshed the list at once, and nothing else refreshed it after
# the start.
each_follow_refreshed() { # log
    log_messages "$1" | awk '
        after { if ($0 != "entering Form1.Refresh_Click()") bad = 1; after = 0 }
        /^Device change: the device list follows$/ { follows++; after = 1 }
        $0 == "entering Form1.Refresh_Click()" { refreshes++ }
        END { exit !(bad == 0 && follows > 0 && refreshes == follows + 1) }'
}

main() {
    build=$(realpath "${1:?usage: usb_stack_test.sh BUILD_DIR [PART...]}")
    bin=$build/bin
    shift
    parts=${*:-$parts_declared}
    here=$(cd "$(dirname "$0")" && pwd)
    top=$(cd "$here/../.." && pwd)
    out=${ORVANE_GUEST_RESULTS:-/tmp}
    work=$out/work
    mkdir -p "$work"
    read -r started _ </proc/uptime
    started=${started%.*}
    unset TAVREL_EMULATOR TAVREL_EMULATOR_STATE
    cli=$bin/orvane-cli
    failures=0
    cr=$(printf '\r')
    gadget=
    # The checks are about the kernel's and the program's behaviour, not the interface's
    # speed: under emulation on a busy host an answer can take far longer than the 100 ms
    # real hardware needs.
    export ORVANE_ANSWER_TIMEOUT_MS=${ORVANE_ANSWER_TIMEOUT_MS:-3000}

    # A firmware file for the whole application area.
    python3 - "$work/fw.hex" <<'PY'
import sys
lines = []
for address in range(0x2000, 0x6000, 16):
    record = bytes([16, address >> 8, address & 0xFF, 0]) + bytes(((address + i) * 7 + 3) & 0xFF for i in range(16))
    lines.append(":" + (record + bytes([-sum(record) & 0xFF])).hex().upper())
open(sys.argv[1], "w").write("\r\n".join(lines + [":00000001FF"]) + "\r\n")
PY

    mkdir -p /run/udev/rules.d
    cp "$top/packaging/70-orvane.rules" /run/udev/rules.d/
    /lib/systemd/systemd-udevd --daemon 2>/dev/null
    # On the guest's own tmpfs: the model saves while busy, with its lock held, and a save
    # over 9p under emulation takes long enough to delay an answer past the program's bound.
    export TAVREL_EMULATOR_STATE=/tmp/orvane-gadget.state
    for p in $parts; do
        "$p"
    done
    udevadm control --exit
    echo "== $failures failed"
    [ $failures -gt 100 ] && failures=100
    exit $failures
}

interface() {
echo "== the interface: listing, send (CLI and console), configuration (CLI and dialog), queue, permission"
start_gadget "interface:serial=GADGET1:latency_ms=0"
check "the interface's hidraw node appears" wait_node 537F 6425
check "the udev rule gives it to plugdev and the seat's user" \
    test "$(access_of 537F 6425)" = "660 root:plugdev uaccess"
"$cli" list --json >"$work/list.json" 2>&1
check "listed with its ids, strings and lengths 18/8" json_has "$work/list.json" \
    '"vendorId": 21375' '"productId": 25637' '"product": "ZT2960"' '"manufacturer": "Tavrel"' \
    '"serialNumber": "GADGET1"' '"inputReportLength": 18' '"outputReportLength": 8'
"$cli" send F9 "00 08 15 EE 1C 00 00" >"$work/send.log" 2>&1
check "send shows the version answer, not a joystick report" has "$work/send.log" "rx: F9 1C 01 03 00 05"
# The HID console offscreen, while the configuration is still the factory's.
e2e "the HID console's send is answered among the joystick reports" \
    test_console_e2e ConsoleEndToEnd.ConfigurationReadIsAnsweredAmongTheJoystickReports

"$cli" config read -o "$work/a.orv" >"$work/read.log" 2>&1
check "config read writes the settings file" test -s "$work/a.orv"
# Axis 1 onto channel 3.
sed '0,/^ 1 \r$/s// 3 \r/' "$work/a.orv" >"$work/b.orv"
check "the edited file differs" differ "$work/a.orv" "$work/b.orv"
"$cli" config write "$work/b.orv" --store >"$work/write.log" 2>&1
check "config write --store succeeds" has "$work/write.log" "verified and stored"
kill -USR1 "$gadget" && wait_node 537F 6425 gone && kill -USR2 "$gadget"
check "unplugged and plugged in again" wait_node 537F 6425
"$cli" config read -o "$work/c.orv" >>"$work/read.log" 2>&1
check "the stored configuration reads back after replugging" cmp "$work/b.orv" "$work/c.orv"

# The configuration dialog offscreen: read at start-up, edited, transmitted, stored, and
# read again by a second process.
e2e "the configuration dialog reads, transmits, stores and reads again" \
    test_config_e2e ConfigEndToEnd.ReadEditTransmitStoreAndReadAgainAfterReplug
"$cli" config read -o "$work/stored.orv" >>"$work/read.log" 2>&1

# 200 reports come while idling (more on a slow guest: the idle time is stretched); the
# kernel keeps 63 (a ring of 64 with one slot free), and a few more arrive while they are
# read away, one per 10 ms of reading.
python3 "$here/queue_check.py" "$bin/libtavrel.so" "$(stretched 2)" >"$work/queue.log" 2>&1
queued=$(sed -n 's/^queued joystick reports after .* s: //p' "$work/queue.log")
meanwhile=$(sed -n 's/^could arrive while reading: //p' "$work/queue.log")
check "the kernel's queue was full after idling, and no more ($queued read, $meanwhile could arrive)" \
    test "${queued:-0}" -ge 63 -a "${queued:-0}" -le $((63 + ${meanwhile:-3}))
check "an answer still comes after the queue was read away" has "$work/queue.log" "answer after"

setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" config read >"$work/denied.log" 2>&1
echo $? >"$work/denied.status"
check "a user without permission gets exit code 4" grep -qx 4 "$work/denied.status"
check "... and the udev rule to install" has "$work/denied.log" "udev"
setpriv --reuid=65534 --regid=65534 --groups=46 "$cli" send F9 "00 08 15 EE 1C 00 00" >"$work/group.log" 2>&1
check "a user in plugdev exchanges without a seat session" has "$work/group.log" "rx: F9 1C"

if [ -x "$bin/bench_exchange" ]; then
    real=$("$bin/bench_exchange" 200)
    emulated=$(TAVREL_EMULATOR=interface "$bin/bench_exchange" 200)
    printf 'hidraw   %s\nemulated %s\n' "$real" "$emulated" | tee "$out/bench.txt"
    check "no exchange lost or extra on the real stack" test -n "$(echo "$real" | grep ' lost 0 extra 0$')"
fi
stop_gadget
}
part interface

cut_read() {
echo "== unplugged in the middle of a configuration read"
start_gadget "interface:serial=GADGET1:latency_ms=0" --unplug-at-request 8
wait_node 537F 6425
"$cli" config read -o "$work/cut.orv" >"$work/cut.log" 2>&1
echo $? >"$work/cut.status"
check "the read fails" nonzero "$work/cut.status"
check "... writes no file" test ! -e "$work/cut.orv"
check "... and prints no success line" lacks "$work/cut.log" "Configuration read"
stop_gadget
}
part cut_read

firmware() {
echo "== firmware update (CLI and dialog): into the boot loader and back, each a re-enumeration"
start_gadget "interface:serial=GADGET1:latency_ms=0"
wait_node 537F 6425
"$cli" config read -o "$work/before.orv" >"$work/fwread.log" 2>&1
[ -e "$work/stored.orv" ] &&
    check "a new server keeps the stored configuration (state file)" cmp "$work/stored.orv" "$work/before.orv"
into_boot_loader
check "the interface leaves" wait_node 537F 6425 gone
check "the boot loader comes" wait_node 5381 640B
check "the udev rule gives the boot loader to plugdev and the seat's user" \
    test "$(access_of 5381 640B)" = "660 root:plugdev uaccess"
"$cli" list --json >"$work/loader.json" 2>&1
check "the boot loader is listed with lengths 22/22 and the same serial" json_has "$work/loader.json" \
    '"vendorId": 21377' '"productId": 25611' '"serialNumber": "GADGET1"' \
    '"inputReportLength": 22' '"outputReportLength": 22'
"$cli" firmware flash "$work/fw.hex" --wait "$(stretched 30)" >"$work/flash.log" 2>&1
check "the update is written and verified" has "$work/flash.log" "verified"
check "the boot loader leaves" wait_node 5381 640B gone
check "the interface comes back" wait_node 537F 6425
"$cli" config read -o "$work/after.orv" >>"$work/fwread.log" 2>&1
check "and answers with its configuration kept" cmp "$work/before.orv" "$work/after.orv"
# The firmware dialog offscreen: the switch into the boot loader, detection, a full update
# read back, and Reset, until the list shows the interface again.
e2e "the firmware dialog updates the boot loader and resets it into the interface" \
    test_firmware_dialog UpdateEndToEnd.InterfaceSwitchedIntoItsBootLoaderIsUpdatedAndResetIntoNormalMode
stop_gadget
}
part firmware

cut_program() {
echo "== unplugged in the middle of Program"
# The probe and 256 erase commands come first; request 400 falls into Program.
start_gadget "loader:serial=GADGET2:latency_ms=0" --unplug-at-request 400
wait_node 5381 640B
"$cli" firmware flash "$work/fw.hex" --wait "$(stretched 10)" >"$work/cutflash.log" 2>&1
echo $? >"$work/cutflash.status"
check "the update fails" nonzero "$work/cutflash.status"
check "... having got into Program" has "$work/cutflash.log" "uploading"
check "... and says nothing was verified" lacks "$work/cutflash.log" "verified"
stop_gadget
}
part cut_program

other() {
echo "== another HID gadget"
"$bin/orvane-gadget" --udc dummy_udc.1 --name other "interface:vid=0x1209:pid=0x0001:serial=OTHER" \
    >>"$out/gadget.log" 2>&1 &
other=$!
wait_node 1209 0001
check "the udev rule leaves another HID device alone" \
    test "$(access_of 1209 0001)" = "600 root:root untagged"
kill "$other"; wait "$other"
}
part other

hotplug() {
echo "== the main window follows plugging through udev's monitor"
state=/tmp/hotplug-state
log=$state/orvane/events.log
TAVREL_EMULATOR_STATE=/tmp/hotplug-gadget.state
# The program's folder is read-only here: the event log goes to the state folder.
XDG_STATE_HOME=$state QT_QPA_PLATFORM=offscreen ORVANE_DEVICE_MONITOR=udev "$bin/orvane" \
    >"$work/orvane.log" 2>&1 &
orvane=$!
deadline=$(($(uptime_s) + $(stretched 60)))
until log_messages "$log" | grep -qx 'exiting Form1.refresh_Click()'; do
    [ "$(uptime_s)" -lt $deadline ] && kill -0 $orvane 2>/dev/null || break
    sleep 0.2
done
check "the program starts, its event log in the state folder" has "$log" "App Start v"

n=$(follows "$log")
start_gadget "interface:serial=HOT1:latency_ms=0"
wait_node 537F 6425
check "plugged in: the list shows the interface" wait_followed "$log" "$n"
check "... with its name, serial and lengths" has "$log" \
    'Device change: 1 listed: "ZT2960" 21375:25637 serial "HOT1" 18/8'
n=$(follows "$log")
kill -USR1 "$gadget"
wait_node 537F 6425 gone
check "unplugged: the list is empty" wait_followed "$log" "$n"
n=$(follows "$log")
kill -USR2 "$gadget"
wait_node 537F 6425
check "plugged in again: the list shows it again" wait_followed "$log" "$n"

n=$(follows "$log")
"$bin/orvane-gadget" --udc dummy_udc.1 --name other "interface:vid=0x1209:pid=0x0001:serial=OTHER" \
    >>"$out/gadget.log" 2>&1 &
other=$!
wait_node 1209 0001
check "another HID device plugged in: the list shows both" wait_followed "$log" "$n"
n=$(follows "$log")
kill "$other"; wait "$other"
wait_node 1209 0001 gone
check "... and it left: the list shows the interface alone" wait_followed "$log" "$n"

n=$(follows "$log")
into_boot_loader
wait_node 5381 640B
check "the interface restarted as boot loader: the list shows the boot loader" \
    wait_followed "$log" "$n"
check "... with its lengths" has "$log" \
    'Device change: 1 listed: "Loader" 21377:25611 serial "HOT1" 22/22'
check "every followed change refreshed the list, and only they did" each_follow_refreshed "$log"
kill $orvane; wait $orvane 2>/dev/null
# The firmware dialog's Reset: the list shows the interface again without Refresh.
e2e "after the firmware dialog's Reset the list shows the interface by itself" \
    test_firmware_dialog UpdateEndToEnd.AfterResetTheListShowsTheInterfaceByItself
stop_gadget
TAVREL_EMULATOR_STATE=/tmp/orvane-gadget.state
cp "$log" "$work/hotplug-events.log"
}
part hotplug

# Two interfaces of one kind on the two device controllers at once, each its own gadget
# server with its own state; and a virtual HID device (uhid) with the same ids, which no
# listing shows.
two_interfaces() {
echo "== two interfaces of one kind: each row opens its own device"
# How many hidraw nodes have this HID_ID (bus:vendor:product, as the kernel writes it).
count_nodes() {
    k=0
    for u in /sys/class/hidraw/hidraw*/device/uevent; do
        [ -e "$u" ] || continue
        while read -r line; do
            [ "$line" = "HID_ID=$1" ] && k=$((k + 1))
        done <"$u" 2>/dev/null
    done
    echo $k
}
wait_count() { # HID_ID, count; up to 30 s at the usual pace
    deadline=$(($(uptime_s) + $(stretched 30)))
    while [ "$(uptime_s)" -lt $deadline ]; do
        [ "$(count_nodes "$1")" -eq "$2" ] && return 0
        sleep 0.05
    done
    return 1
}
pair=0003:0000537F:00006425
TAVREL_EMULATOR_STATE=/tmp/two-aaa.state "$bin/orvane-gadget" --udc dummy_udc.0 --name two_a \
    "interface:serial=AAA:fw=1.3.5:latency_ms=0" >>"$out/gadget.log" 2>&1 &
two_a=$!
TAVREL_EMULATOR_STATE=/tmp/two-bbb.state "$bin/orvane-gadget" --udc dummy_udc.1 --name two_b \
    "interface:serial=BBB:fw=1.2.7:latency_ms=0" >>"$out/gadget.log" 2>&1 &
two_b=$!
check "both interfaces' hidraw nodes appear" wait_count $pair 2

# A virtual device no one plugged in, with the interface's ids: left out of the listing.
virtual=
if modprobe uhid 2>/dev/null && [ -e /dev/uhid ]; then
    python3 - >"$work/uhid.log" 2>&1 <<'PY' &
import os, struct, time
fd = os.open("/dev/uhid", os.O_RDWR)
rd = bytes([0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
            0x95, 0x07, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0])
# UHID_CREATE2 (11): name, phys, uniq, descriptor size, bus (BUS_VIRTUAL), ids, version, country.
os.write(fd, struct.pack("<I128s64s64sHHIIII4096s", 11, b"virtual pad", b"", b"VIRT", len(rd),
                         0x06, 0x537F, 0x6425, 0, 0, rd))
time.sleep(120)
PY
    virtual=$!
    check "the virtual device's hidraw node appears" wait_count 0006:0000537F:00006425 1
fi
"$cli" list --json >"$work/two.json" 2>&1
check "both are listed" json_has "$work/two.json" '"serialNumber": "AAA"' '"serialNumber": "BBB"'
check "... in the order of their system paths" \
    test "$(grep -n '"serialNumber": "AAA"' "$work/two.json" | cut -d: -f1)" \
    -lt "$(grep -n '"serialNumber": "BBB"' "$work/two.json" | cut -d: -f1)"
if [ -n "$virtual" ]; then
    check "... and the virtual device is not" lacks "$work/two.json" "VIRT"
    kill "$virtual"; wait "$virtual" 2>/dev/null
fi

"$cli" --device BBB send F9 "00 08 15 EE 1C 00 00" >"$work/two-b.log" 2>&1
check "orvane-cli --device BBB reaches BBB" has "$work/two-b.log" "rx: F9 1C 01 02 00 07"
"$cli" --device AAA send F9 "00 08 15 EE 1C 00 00" >"$work/two-a.log" 2>&1
check "orvane-cli --device AAA reaches AAA" has "$work/two-a.log" "rx: F9 1C 01 03 00 05"
if [ -x "$bin/test_config_e2e" ]; then
    QT_QPA_PLATFORM=offscreen ORVANE_E2E_REAL_DEVICE=1 "$bin/test_config_e2e" \
        --gtest_filter=ConfigEndToEnd.TheSelectedOfTwoInterfacesIsReadAndTransmittedTo \
        >"$work/two-dialog.log" 2>&1
    check "the configuration dialog reads and transmits to the selected BBB only" \
        has "$work/two-dialog.log" "[  PASSED  ] 1 test"
fi
if [ -x "$bin/test_console_e2e" ]; then
    QT_QPA_PLATFORM=offscreen ORVANE_E2E_REAL_DEVICE=1 "$bin/test_console_e2e" \
        --gtest_filter=ConsoleEndToEnd.TheSelectedOfTwoInterfacesAnswers >"$work/two-console.log" 2>&1
    check "the HID console works on the selected BBB" has "$work/two-console.log" "[  PASSED  ] 1 test"
fi
kill "$two_a" "$two_b"; wait "$two_a" "$two_b" 2>/dev/null
check "both interfaces leave" wait_count $pair 0
}
part two_interfaces

# The signal scope: orvane-cli monitor reads the joystick reports unfiltered from the
# hidraw node while the gadget streams a known signal: each axis alternating between its
# value and its own noise, and exactly three gaps of 100 ms, 8, 9 and 10 s after plug-in.
# The monitor starts 6 s after plug-in and runs 6 s, so that all three fall inside.
uptime_cs() {
    read -r up _ </proc/uptime
    echo "${up%.*}${up#*.}"
}
scope() {
echo "== the signal scope: orvane-cli monitor on a known signal"
# A state of its own: the parts before may have stored another configuration.
TAVREL_EMULATOR_STATE=/tmp/scope-gadget.state
plugged=$(uptime_cs)
start_gadget "interface:serial=SCOPE1:channels=100/100/100/100/100/100/200/255:noise=3/0/5/7/1/2/1000/10:gap_first_ms=8000:gap_every_ms=1000:gap_ms=100:gap_count=3"
check "the interface's hidraw node appears" wait_node 537F 6425
while [ $(($(uptime_cs) - plugged)) -lt 600 ]; do sleep 0.05; done
"$cli" monitor --seconds 6 --json --csv "$work/monitor.csv" >"$work/monitor.json" 2>"$work/monitor.err"
echo $? >"$work/monitor.status"
check "monitor ends with 0" grep -qx 0 "$work/monitor.status"
stop_gadget
sent=$(grep -a 'joystick reports sent' "$out/gadget.log" | tail -n 1 | sed 's/.* \([0-9]*\) joystick reports sent.*/\1/')
late=$(grep -a 'joystick reports sent' "$out/gadget.log" | tail -n 1 | sed -n 's/.* \([0-9]*\) sent 25 ms or more after.*/\1/p')
cat >"$work/monitor_check.py" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
lines = sum(1 for _ in open(sys.argv[2])) - 1
sent = int(sys.argv[3] or 0)
# Reports the gadget sent 25 ms or more after the one before: the three gaps, and any stall
# of the gadget or of the polling when the guest cannot keep its pace.
late = int(sys.argv[4] or 0)
base = [25700] * 6 + [51400, 65525]
noise = [3, 0, 5, 7, 1, 2, 1000, 10]
problems = []
# The monitor counts what came: every report in the CSV, no more than the gadget sent while
# the node was open (the host polls only then), and nearly all of them.
if d["reports"] != lines or not 0.9 * sent <= lines <= sent:
    problems.append(f"reports {d['reports']}, CSV lines {lines}, the gadget sent {sent}")
for c, b, n in zip(d["channels"], base, noise):
    if (c["min"], c["max"], c["ptp_1s"]) != (b, b + n, n):
        problems.append(f"axis {c['axis']}: {c}")
gaps = d["dropout_list"]
long_gaps = [g for g in gaps if g["length_ms"] >= 95]
# When the wire carried the three gaps and no other pause, they are the only dropouts. An
# emulated guest that cannot keep the pace pauses the stream of its own; there the three
# gaps must still be among the dropouts.
full_speed = late == 3
if full_speed and (d["dropouts"] != 3 or len(long_gaps) != 3):
    problems.append(f"dropouts {d['dropouts']}: {gaps}")
if d["dropouts"] < 3 or len(long_gaps) < 3:
    problems.append(f"dropouts {d['dropouts']}: {gaps}")
i = d["intervals_ms"]
print(f"scope on the USB stack ({'full speed' if full_speed else 'slow guest'}): "
      f"{d['reports']} reports of {sent} sent, {d['rate_hz']} Hz, intervals min {i['min']} "
      f"median {i['median']} max {i['max']} ms, {d['dropouts']} dropouts, "
      f"{len(long_gaps)} of them 95 ms or longer, repeats {d['repeats']}; "
      f"the gadget sent {late} reports 25 ms or more after the one before")
for p in problems:
    print("problem:", p)
sys.exit(1 if problems else 0)
PY
python3 "$work/monitor_check.py" "$work/monitor.json" "$work/monitor.csv" "$sent" "$late" >"$work/monitor_check.log" 2>&1
echo $? >"$work/monitor_check.status"
cat "$work/monitor_check.log"
check "monitor counts the reports, finds the three gaps as dropouts and each axis' min, max and ptp_1s exactly" \
    grep -qx 0 "$work/monitor_check.status"
}
part scope
