#!/usr/bin/env bash
# Whole-process timings of batches, with qrencode as the peer in the same run:
#   1. 5,000 URLs to PNG files: one `qrsmith --batch` against qrencode run once
#      per line (two loops side by side, one per core), both at 3 pixels per
#      module and a 4-module margin, writing into fresh folders. The folders
#      of earlier runs are moved aside, not deleted, until the end: on a file
#      system mounted with `discard` (ext4 here) the deletion of 10,000 files
#      goes on trimming the disk for seconds after `sync`, and files created
#      meanwhile take up to a millisecond each, whoever creates them;
#   2. the peak memory (maximum resident set) of a 1,000,000-row batch, from
#      /usr/bin/time -v; every row writes the same SVG file, so the run
#      measures the streaming of rows and not the disk's space.
# Usage: bench/batch.sh [QRSMITH] (default build-bench/cli/qrsmith); ROWS sets
# the rows of the memory run, TMPDIR the file system written to (/dev/shm
# leaves out the disk's cost of creating files).
set -euo pipefail
qrsmith=$(realpath "${1:-build-bench/cli/qrsmith}")
rows=${ROWS:-1000000}
work=$(mktemp -d "${TMPDIR:-/tmp}/qrsmith-batch-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

for i in $(seq 1 5000); do echo "https://www.example.com/products/item-$i?ref=batch&lang=en"; done > urls.txt
# qrencode once per line, the odd lines on one core and the even on the other.
cat > peer.sh <<'PEER'
half() {
  local n=0 url
  while IFS= read -r url; do
    n=$((n + 1))
    if (( n % 2 == $1 )); then qrencode -s 3 -m 4 -o "peer/$n.png" "$url"; fi
  done < urls.txt
}
half 0 & half 1 & wait
PEER
hyperfine --runs "${RUNS:-3}" --export-markdown batch.md \
  --prepare 'mkdir -p old; [ ! -d out ] || mv out peer "$(mktemp -d old/run.XXXXXX)"; mkdir out peer; sync' \
  -n "qrsmith --batch (5000 PNG)" "$qrsmith --batch urls.txt -s 3 -m 4 -o out/%n.png" \
  -n "qrencode once per line (5000 PNG)" "bash peer.sh"
cat batch.md

awk -v rows="$rows" 'BEGIN { print "output,text";
  for (i = 1; i <= rows; i++) printf "same.svg,https://www.example.com/item-%d\n", i }' > rows.csv
/usr/bin/time -v "$qrsmith" --batch rows.csv -s 1 -m 4 2> memory.txt
grep -E "batch:|Maximum resident|Elapsed" memory.txt
