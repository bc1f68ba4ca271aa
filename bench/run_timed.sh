#!/usr/bin/env bash
# Timed loads of generated 1,000,000-record, 80-column files (variable LF, variable CRLF, fixed,
# EBCDIC fixed). For each file, one run of `cat FILE > /dev/null`, of vim opening the file and of our
# load, each with its wall time, its CPU time (user + system: the fair figure on a busy machine) and
# its peak RSS; then the first batch of a virtual load.
# Usage: bench/run_timed.sh BUILD_DIR [RECORDS]
set -euo pipefail

build=${1:?usage: run_timed.sh BUILD_DIR [RECORDS]}
records=${2:-1000000}
loader="$build/bin/bench_file_load"
if [ ! -x "$loader" ]; then
    echo "run_timed.sh: $loader not built" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tavoe_timed.XXXXXX")
trap 'rm -rf "$work"' EXIT

# measure LABEL SIZE COMMAND...: one line with wall time, CPU time, throughput and peak RSS.
measure() {
    local label=$1 size=$2
    shift 2
    local out
    out=$(/usr/bin/time -f '%e %U %S %M' "$@" 2>&1 >/dev/null | tail -n 1)
    read -r wall user sys rss <<<"$out"
    awk -v l="$label" -v w="$wall" -v u="$user" -v s="$sys" -v r="$rss" -v n="$size" 'BEGIN {
        c = u + s; if (c < 0.01) c = 0.01; if (w < 0.01) w = 0.01;
        printf "  %-11s wall %6.2f s  cpu %6.2f s (%5.0f MB/s of cpu)  peak RSS %6.1f MB (%.2f x file)\n",
               l, w, c, n / c / 1e6, r / 1024, r * 1024 / n }'
}

echo "== timed loads of $records-record files (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
for kind in lf crlf fixed ebcdic; do
    file="$work/$kind.dat"
    "$loader" --generate "$kind" "$file" "$records"
    size=$(stat -c %s "$file")
    cat "$file" >/dev/null  # warm the page cache so every reader sees the same thing
    echo "-- $kind: $size bytes"
    # The first run of a program that takes a lot of fresh memory pays for the system handing it
    # out (on a virtual machine often more than for the work itself); that first run is shown as
    # "cold", and every program is then measured warm.
    measure "tavoe cold" "$size" "$loader" --timed "$kind" "$file"
    if command -v vim >/dev/null 2>&1; then
        vim -u NONE -i NONE -es -c q "$file" >/dev/null 2>&1 || true
    fi
    measure cat "$size" sh -c "cat '$file' > /dev/null"
    if command -v vim >/dev/null 2>&1; then
        measure "vim open" "$size" vim -u NONE -i NONE -es -c q "$file"
    else
        echo "  vim open:  (vim not installed)"
    fi
    measure tavoe "$size" "$loader" --timed "$kind" "$file"
    "$loader" --timed "$kind" "$file"
    "$loader" --first-batch "$kind" "$file"
    rm -f "$file"
done
