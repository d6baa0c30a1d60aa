#!/bin/sh
# Cabinets made here, stored and MSZIP, by gcab and by the publisher; cabextract expands
# each as the reference, the product's expansion (cabexpand) must give the same bytes.
# Usage: selfmade-corpus.sh CABEXPAND PUBLISH WORKDIR
set -u
cabexpand=$1 publish=$2 work=$3
for tool in gcab cabextract python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/files" "$work/cabs" || exit 1
cd "$work/files" || exit 1

# Empty, one byte, block edges, text that refers back across blocks, zeros, noise.
python3 - <<'EOF'
import random
rng = random.Random(7)
text = "".join("line %d of the installation list\r\n" % rng.randrange(500) for _ in range(6000))
noise = bytes(rng.randrange(256) for _ in range(70001))
files = {"empty.bin": b"", "one.bin": b"x", "frame.bin": noise[:32768], "frame1.bin": noise[:32769],
         "text.txt": text.encode(), "zeros.bin": bytes(65537), "noise.bin": noise,
         "mixed.bin": text.encode()[:50000] + bytes(40000) + noise}
for name, data in files.items():
    open(name, "wb").write(data)
EOF
for name in *; do
  gcab -c -n "../cabs/gcab-stored-$name.cab" "$name" && gcab -c -n -z "../cabs/gcab-mszip-$name.cab" "$name" || exit 1
done
for kind in mszip none; do
  "$publish" --from . --site "../site-$kind" --line FNC --release 1 --compress "$kind" >/dev/null || exit 1
  for item in "../site-$kind"/FNC/1/items/*; do cp "$item" "../cabs/publish-$kind-${item##*/}.cab"; done
done

failed=0 count=0
for cab in "$work"/cabs/*.cab; do
  rm -rf "$work/reference" && mkdir "$work/reference"
  cabextract -q -d "$work/reference" "$cab" || { echo "cabextract refused ${cab##*/}"; failed=1; continue; }
  # An output longer than the expansion is there already: it must be replaced, not overwritten.
  head -c 100000 /dev/urandom > "$work/output"
  if ! "$cabexpand" "$cab" "$work/output"; then
    echo "FAIL ${cab##*/}: the product's expansion refused it"; failed=1
  elif ! cmp -s "$work/reference"/* "$work/output"; then
    echo "FAIL ${cab##*/}: differs from the reference"; failed=1
  fi
  count=$((count + 1))
done

# An item's cabinet carries one file; one of two is refused at the second file.
gcab -c -n "$work/two.cab" one.bin text.txt || exit 1
if "$cabexpand" "$work/two.cab" "$work/output" 2>"$work/two.err" || ! grep -q "error 11" "$work/two.err"; then
  echo "FAIL two.cab: a cabinet of two files was not refused with error 11"; failed=1
fi
echo "$count self-made cabinets checked"
exit $failed
