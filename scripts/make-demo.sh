#!/usr/bin/env bash
# Creates the demo medium <folder>/demo.hdf with the disk tool when it does
# not exist yet: three +3DOS partitions holding a BASIC program, a SCREEN$, a
# code file, a number array, a character array and a headerless file.
#
#   scripts/make-demo.sh <path of 3E.EXE> <folder>
set -euo pipefail
tool="$1"
folder="$2"
image="$folder/demo.hdf"
[ -f "$image" ] && exit 0
for need in zmakebas python3; do
  command -v "$need" >/dev/null || { echo "make-demo: $need is missing; no demo image made" >&2; exit 0; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A real BASIC program, tokenised by zmakebas.
cat > "$work/demo.bas" <<'BAS'
10 REM 3e Harnwick demo
20 BORDER 1: PAPER 7: INK 1: CLS
30 PRINT AT 2,6;"3e Harnwick demo disk"
40 FOR i=1 TO 10
50 PRINT AT 4+i,4;"Line ";i;" squared is ";i*i
60 NEXT i
70 LOAD "SCREEN"SCREEN$
80 PAUSE 0: STOP
BAS
zmakebas -a 10 -n DEMO -o "$work/basic.tap" "$work/demo.bas"
cat > "$work/loader.bas" <<'BAS'
10 CLEAR 32767
20 LOAD "CODE"CODE
30 RANDOMIZE USR 32768
BAS
zmakebas -a 10 -n LOADER -o "$work/loader.tap" "$work/loader.bas"

# The other files as tape blocks: a SCREEN$, a code file and two arrays.
python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]

def block(flag, data):
    body = bytes([flag]) + data
    check = 0
    for b in body:
        check ^= b
    body += bytes([check])
    return struct.pack('<H', len(body)) + body

def tap_file(kind, name, data, p1, p2):
    header = bytes([kind]) + name.ljust(10).encode('ascii') + struct.pack('<HHH', len(data), p1, p2)
    return block(0x00, header) + block(0xFF, data)

# SCREEN$: diagonal stripes in the bitmap, a rainbow of attributes.
bitmap = bytearray()
for third in range(3):
    for line in range(8):
        for row in range(8):
            for col in range(32):
                y = third * 64 + row * 8 + line
                bitmap.append(0xF0 if ((col * 8 + y) // 8) % 2 == 0 else 0x0F)
attrs = bytearray()
for row in range(24):
    for col in range(32):
        ink = (col // 4) % 8
        paper = 7 - ink
        attrs.append(0x40 | (paper << 3) | ink)
screen = bytes(bitmap + attrs)
assert len(screen) == 6912

code = bytes([0x21, 0x00, 0x40, 0x11, 0x01, 0x40, 0x01, 0xFF, 0x17, 0x36, 0xAA, 0xED, 0xB0, 0xC9]) + bytes(range(256))

def small_int(n):
    return bytes([0, 0, n & 0xFF, (n >> 8) & 0xFF, 0])

numbers = bytes([1]) + struct.pack('<H', 6) + b''.join(small_int(n) for n in (1, 1, 2, 3, 5, 8))
chars_rows = [b'SPECTRUM', b'HARNWICK', b'+3E DISK']
chars = bytes([2]) + struct.pack('<HH', 3, 8) + b''.join(chars_rows)

with open(work + '/files.tap', 'wb') as f:
    f.write(tap_file(3, 'SCREEN', screen, 16384, 32768))
    f.write(tap_file(1, 'FIBS', numbers, (ord('f') - 0x60 + 0x80) << 8, 32768))
    f.write(tap_file(2, 'WORDS', chars, (ord('w') - 0x60 + 0xC0) << 8, 32768))

with open(work + '/code.tap', 'wb') as f:
    f.write(tap_file(3, 'CODE', code, 32768, 32768))

with open(work + '/NOTES.TXT', 'wb') as f:
    f.write(b'This partition holds a file without a +3DOS header.\r\n'
            b'3e Harnwick lists it as Headerless.\r\n')
PY

# The image is made in the work folder and moved into place only when every
# step worked, so a failed run leaves no half-made demo behind. A failure does
# not stop the caller: the browser starts without a demo.
run() {
  if ! "$tool" "$work/demo.hdf" "$@" >/dev/null; then
    echo "make-demo: the disk tool failed on: $*; no demo image made" >&2
    exit 0
  fi
}
run create --size 32M
run newpart GAMES 4M
run newpart UTILS 2M
run newpart NOTES 1M
run puttap "$work/basic.tap" GAMES
run puttap "$work/files.tap" GAMES
run puttap "$work/loader.tap" UTILS
run puttap "$work/code.tap" UTILS
run put "$work/NOTES.TXT" NOTES:NOTES.TXT

mkdir -p "$folder"
mv "$work/demo.hdf" "$image"
echo "make-demo: created $image"
