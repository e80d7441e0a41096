#!/bin/sh
# The demo: shows what the builds produced.
build="$1"
echo "Built programs:"
for f in "$build"/native/bin/* "$build"/win64/bin/*.exe "$build"/win32/bin/*.exe; do
  [ -f "$f" ] && echo "  $f"
done
exit 0
