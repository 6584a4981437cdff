#!/usr/bin/env bash
# Whole-process time of one symbol written to a PNG file, qrsmith against
# qrencode in the same hyperfine run. Both write durably named files; qrsmith
# also syncs the file and its folder, which qrencode does not.
# Usage: bench/startup.sh [QRSMITH] (default build-bench/cli/qrsmith).
set -euo pipefail
qrsmith=$(realpath "${1:-build-bench/cli/qrsmith}")
url=https://www.example.com/products/item-1234?ref=startup
work=$(mktemp -d "${TMPDIR:-/tmp}/qrsmith-startup-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
hyperfine -N --warmup 20 --runs "${RUNS:-300}" --export-markdown startup.md \
  -n "qrsmith -o x.png URL" "$qrsmith -o x.png $url" \
  -n "qrsmith -s 3 -o x.png URL" "$qrsmith -s 3 -o x.png $url" \
  -n "qrencode -o x.png URL" "qrencode -o q.png $url"
cat startup.md
