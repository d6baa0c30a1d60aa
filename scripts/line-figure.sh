#!/bin/sh
# Test code against product code, in non-blank lines of C, C++, Python and shell
# (test data under data/ folders left out). The aim: tests at most half the product.
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.py' -o -name '*.sh' \) \
    -not -path '*/data/*' | xargs -r cat | grep -c -v '^[[:space:]]*$'
}
tests=$(count tests)
product=$(count src tools)
awk -v t="$tests" -v p="$product" 'BEGIN {
  printf "test code %d lines, product code (src/ + tools/) %d lines: ratio %.2f\n", t, p, t / p
  exit (t * 2 > p) }'
