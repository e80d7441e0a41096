#!/bin/bash
# An image file as a compiler's tools write it, flashed end to end:
#   image-format-case.sh BIN_DIR TEST_IMAGE hex|srec|elf32|elf64
# Two pieces of TEST_IMAGE with a gap between them are written by binutils
# at 0x08000100 and 0x08009000 (an ELF links them to RAM addresses and loads
# them there); the flasher, given --base 0x08000000, must send the image with
# 0xFF around and between them, say its SHA-256 and record it, and the
# build's image tool must make the same bytes of the file.
set -u
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd) test_image=$(realpath "$2") format="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
base=$((0x08000000)) first=$((0x100)) gap=$((0x8000)) second=$((0x9000)) end=130314
head -c "$gap" "$test_image" | tail -c +$((first + 1)) > "$work/one.bin"
head -c "$end" "$test_image" | tail -c +$((second + 1)) > "$work/two.bin"
{
  head -c "$first" /dev/zero | tr '\0' '\377'
  cat "$work/one.bin"
  head -c $((second - gap)) /dev/zero | tr '\0' '\377'
  cat "$work/two.bin"
  head -c $((260096 - end)) /dev/zero | tr '\0' '\377'
} > "$work/expected.bin"

cd "$work" || exit 1
# A text format written piece by piece; the first piece's end record goes.
text_file() { # OBJCOPY_FORMAT END_RECORD_PATTERN FILE
  objcopy -I binary -O "$1" --change-addresses $((base + first)) one.bin one.txt &&
    objcopy -I binary -O "$1" --change-addresses $((base + second)) two.bin two.txt &&
    { grep -Ev "$2" one.txt; cat two.txt; } > "$3"
}
case "$format" in
  hex) file=app.hex; text_file ihex '^:00000001FF' "$file" ;;
  srec) file=app.s19; text_file srec '^S[5-9]' "$file" ;;
  elf32 | elf64)
    file=app.elf
    cat > link.ld <<LD
PHDRS { one PT_LOAD; two PT_LOAD; }
SECTIONS {
  .one 0x20000000 : AT($((base + first))) { *one.bin(.data) } :one
  .two 0x20010000 : AT($((base + second))) { *two.bin(.data) } :two
  /DISCARD/ : { *(*) }
}
LD
    if [ "$format" = elf32 ]; then emulation="-m elf_i386 --oformat elf32-i386"; else emulation="-m elf_x86_64 --oformat elf64-x86-64"; fi
    # shellcheck disable=SC2086
    ld $emulation -T link.ld -b binary one.bin two.bin -o "$file"
    ;;
  *) echo "image-format-case: unknown format $format"; exit 2 ;;
esac || { echo "FAIL: binutils could not write the $format file"; exit 1; }

sha=$(sha256sum expected.bin | cut -d' ' -f1)
"$bin/prepare-image" "$file" prepared.bin --base $base || { echo "FAIL: the image tool refused $file"; exit 1; }
cmp -s prepared.bin expected.bin || { echo "FAIL: the image tool made other bytes than the flasher must send"; exit 1; }
key=${format%32}
key=${key%64}
"$here/flash-case.sh" "$bin" 0 "SHA-256 $sha" --image "$work/expected.bin" \
  --flash-args "--image $work/$file --base $base" --json-expect "image_file=$work/$file|image_format=$key|image_sha256=$sha"
