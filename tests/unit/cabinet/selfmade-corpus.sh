#!/bin/sh
# Cabinets made here, stored and MSZIP, by gcab and by the publisher: cabextract expands
# each as the reference, and the product's expansion (cabexpand) must give the same bytes.
# Usage: selfmade-corpus.sh CABEXPAND PUBLISH WORKDIR
set -u
cabexpand=$1 publish=$2 work=$3
for tool in gcab cabextract python3; do command -v "$tool" >/dev/null || { echo "no $tool (scripts/setup.sh installs it)"; exit 1; }; done
rm -rf "$work" && mkdir -p "$work/files" "$work/cabs" && cd "$work/files" || exit 1
# Empty, one byte, frame edges, text that refers back across blocks, zeros, noise.
python3 -c '
import random
rng = random.Random(7)
text = "".join("line %d of the installation list\r\n" % rng.randrange(500) for _ in range(6000)).encode()
noise = bytes(rng.randrange(256) for _ in range(70001))
for name, data in {"empty": b"", "one": b"x", "frame": noise[:32768], "frame1": noise[:32769], "text": text,
                   "zeros": bytes(65537), "noise": noise, "mixed": text[:50000] + bytes(40000) + noise}.items():
    open(name + ".bin", "wb").write(data)' || exit 1
for name in *; do
  gcab -c -n "../cabs/gcab-stored-$name.cab" "$name" && gcab -c -n -z "../cabs/gcab-mszip-$name.cab" "$name" || exit 1
done
for kind in mszip none; do
  "$publish" --from . --site "../site-$kind" --line FNC --release 1 --compress "$kind" >/dev/null || exit 1
  for item in "../site-$kind"/FNC/1/items/*; do cp "$item" "../cabs/publish-$kind-${item##*/}.cab"; done
done

failed=0
for cab in "$work"/cabs/*.cab; do
  rm -rf "$work/reference" && mkdir "$work/reference" && cabextract -q -d "$work/reference" "$cab" || exit 1
  head -c 100000 /dev/urandom > "$work/output"  # a longer output is there: it must be replaced
  "$cabexpand" "$cab" "$work/output" && cmp -s "$work/reference"/* "$work/output" ||
    { echo "FAIL ${cab##*/}: the product's expansion differs from the reference"; failed=1; }
done
# An item's cabinet carries one file; one of two is refused at the second file.
gcab -c -n "$work/two.cab" one.bin text.bin || exit 1
! "$cabexpand" "$work/two.cab" "$work/output" 2>"$work/two.err" && grep -q "error 11" "$work/two.err" ||
  { echo "FAIL two.cab: a cabinet of two files was not refused with error 11"; failed=1; }
echo "$(ls "$work/cabs" | wc -l) self-made cabinets checked"
exit $failed
