#!/bin/bash
# Image files that cannot be placed exactly, each refused with exit 64 before
# the port is touched (a missing port would end in 2), naming the file, the
# line and the address:  image-refusals.sh FLASHER
set -u
flasher="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
# file name | its content (printf format) | flasher options | expected text
while IFS='|' read -r name content options expected; do
  [ -z "$name" ] && continue
  # shellcheck disable=SC2059
  printf "$content" > "$work/$name"
  # shellcheck disable=SC2086
  output=$(timeout 30 "$flasher" --image "$work/$name" $options /dev/no-such-serial-port 2>&1)
  status=$?
  if [ $status != 64 ] || ! grep -qF -- "$work/$expected" <<< "$output"; then
    echo "FAIL: $name: exit $status, expected 64 and '$work/$expected' in: $output"
    fail=1
  fi
done <<'TABLE'
sum.hex|:0400000001020304F1\n:00000001FF\n|--base 0|sum.hex line 1, address 0x00000000: the checksum is 0xF1, the record's bytes need 0xF2
digit.hex|:0400000001020304F2\n:04000G0001020304F2\n:00000001FF\n|--base 0|digit.hex line 2: 'G' where a hex digit belongs
length.hex|:0500000001020304F1\n:00000001FF\n|--base 0|length.hex line 1: the length byte says 5 data bytes, the record holds 4
type.hex|:00000006FA\n:00000001FF\n|--base 0|type.hex line 1: an unknown record type 0x06
cut.hex|:0400000001020304F2\n|--base 0|cut.hex: no end-of-file record
outside.hex|:020000040004F6\n:0400000001020304F2\n:00000001FF\n|--base 0|outside.hex line 2, address 0x00040000: data outside the image area 0x00000000-0x0003F7FF
below.hex|:0400000001020304F2\n:00000001FF\n|--base 0x100|below.hex line 1, address 0x00000000: data outside the image area
overlap.hex|:0400000001020304F2\n:02000200AAAAA8\n:00000001FF\n|--base 0|overlap.hex line 2, address 0x00000002: gives 0xAA where line 1 gave 0x03
empty.hex|:00000001FF\n|--base 0|empty.hex gives no bytes
nobase.hex|:0410000001020304E2\n:00000001FF\n||nobase.hex: Intel HEX places its bytes by address, the lowest at 0x00001000; say where the image area begins (--base ADDRESS)
sum.s19|S107000001020304EF\nS9030000FC\n|--base 0|sum.s19 line 1, address 0x00000000: the checksum is 0xEF, the record's bytes need 0xEE
type.s19|S4030000FC\nS9030000FC\n|--base 0|type.s19 line 1: an unknown record type S4
count.s19|S107000001020304EE\nS5030002FA\nS9030000FC\n|--base 0|count.s19 line 2: the count record says 2 data records, 1 came before it
cut.s19|S107000001020304EE\n|--base 0|cut.s19: no termination record
text.hex|this is no image\n|--base 0|text.hex is named as Intel HEX but does not hold it
forced.bin|\x01\x02|--image-format elf|forced.bin: not an ELF file
notes.bin|# build 42\n:0400000001020304F2\n:00000001FF\n|--base 0|notes.bin is text, but no Intel HEX or S-record
TABLE
[ $fail = 0 ] && echo PASS
exit $fail
