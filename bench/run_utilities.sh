#!/usr/bin/env bash
# Timed runs of the utilities through `tavoe --batch`, each beside the system tool that does the same
# job on the same file, in the same run: COMPARE of two 1,000,000-line files (1% of the records
# changed, one block of 1,000 moved) against diff; CONVERT of a 1,000,000-record EBCDIC fixed-80 file
# to ASCII variable records (two conversions: character set, then RECFM=F to V) against iconv plus
# fold; FILESCAN of a 1 GB file against wc -l. Each line shows wall time, CPU time (user + system) and
# peak RSS; on a busy machine the CPU times are the fair comparison.
# Usage: bench/run_utilities.sh RELEASE_BUILD_DIR [RECORDS] [SCAN_BYTES]
set -euo pipefail

build=$(cd "${1:?usage: run_utilities.sh RELEASE_BUILD_DIR [RECORDS] [SCAN_BYTES]}" && pwd)
records=${2:-1000000}
scan_bytes=${3:-1000000000}
gen="$build/bin/bench_utilities"
tavoe="$build/bin/tavoe"
for program in "$gen" "$tavoe"; do
    if [ ! -x "$program" ]; then
        echo "run_utilities.sh: $program not built" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tavoe_utilities.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tavoe35"
for data in dialogs help macros menus profiles templates; do
    [ -d "$build/$data" ] && cp -r "$build/$data" "$work/tavoe35/"
done
find "$work/tavoe35" -maxdepth 2 -iname 'tavoe.prf' -delete

# measure LABEL COMMAND...: wall, CPU and peak RSS of one run; the CPU seconds go to $cpu, the wall
# seconds to $wall and the peak RSS in MB to $rss for the ratios.
measure() {
    local label=$1
    shift
    local out user sys
    out=$(/usr/bin/time -f '%e %U %S %M' "$@" 2>&1 >/dev/null | tail -n 1)
    read -r wall user sys rss <<<"$out"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    rss=$(awk -v r="$rss" 'BEGIN { printf "%.1f", r / 1024 }')
    printf "  %-26s wall %6.2f s  cpu %6.2f s  peak RSS %7.1f MB\n" "$label" "$wall" "$cpu" "$rss"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b < 0.01) b = 0.01; printf "%.2f", a / b }'
}

echo "== utilities (load average: $(cut -d' ' -f1-3 /proc/loadavg))"

# ---- COMPARE
"$gen" --generate-compare "$work/old.txt" "$work/new.txt" "$records"
both=$(( $(stat -c %s "$work/old.txt") + $(stat -c %s "$work/new.txt") ))
cat "$work/old.txt" "$work/new.txt" >/dev/null
cat >"$work/compare.script" <<SCRIPT
!set ZCOMP.MODE=Full
COMPARE $work/old.txt $work/new.txt
!keys <Enter>
SCRIPT
echo "-- compare: two files of $records lines, $both bytes together"
diff "$work/old.txt" "$work/new.txt" >/dev/null || true
measure "diff" sh -c "diff '$work/old.txt' '$work/new.txt' > /dev/null; true"
diff_wall=$wall
diff_cpu=$cpu
measure "tavoe --batch COMPARE" sh -c 'cd "$1" && HOME="$1/home" TAVOE35="$1/tavoe35" "$2" --batch <"$3"' sh "$work" "$tavoe" "$work/compare.script"
echo "  ratio to diff: wall $(ratio "$wall" "$diff_wall"), cpu $(ratio "$cpu" "$diff_cpu");" \
    "peak RSS $(awk -v r="$rss" -v b="$both" 'BEGIN { printf "%.2f", r * 1048576 / b }') x the two files"
grep -m1 "^Summary" "$work/tavoe35/profiles/compare.txt" | sed 's/^/  report: /'
rm -f "$work/old.txt" "$work/new.txt"

# ---- CONVERT
"$gen" --generate-ebcdic "$work/ebcdic.dat" "$records"
cat "$work/ebcdic.dat" >/dev/null
cat >"$work/convert.script" <<SCRIPT
!set ZCONVERT.OLDFILE=$work/ebcdic.dat
!set ZCONVERT.MODE=character set
!set ZCONVERT.CMODE=EBCDIC to ASCII(ISO-8859)
!set ZCONVERT.NEWFILE=ascii.dat
DIALOG CONVERT3
!keys <Enter>
!set ZCONVERT.OLDFILE=$work/ascii.dat
!set ZCONVERT.MODE=file format
!set ZCONVERT.RECFM=FIXED
!set ZCONVERT.LRECL=80
!set ZCONVERT.FMODE=Convert from RECFM=F to RECFM=V
!set ZCONVERT.DELETETRAILING=FALSE
!set ZCONVERT.NEWFILE=ascii.txt
DIALOG CONVERT3
!keys <Enter>
SCRIPT
echo "-- convert: $records EBCDIC fixed-80 records to ASCII variable"
measure "iconv + fold" sh -c "iconv -f IBM037 -t ISO-8859-1 '$work/ebcdic.dat' | fold -w 80 > '$work/ref.txt'"
ref_wall=$wall
ref_cpu=$cpu
measure "tavoe --batch CONVERT x2" sh -c 'cd "$1" && HOME="$1/home" TAVOE35="$1/tavoe35" "$2" --batch <"$3"' sh "$work" "$tavoe" "$work/convert.script"
echo "  ratio to iconv + fold: wall $(ratio "$wall" "$ref_wall"), cpu $(ratio "$cpu" "$ref_cpu")"
echo "  output: $(wc -l <"$work/ascii.txt") lines, $(stat -c %s "$work/ascii.txt") bytes"
rm -f "$work"/ebcdic.dat "$work"/ascii.dat "$work"/ascii.txt "$work"/ref.txt

# ---- FILESCAN
"$gen" --generate-text "$work/scan.txt" "$scan_bytes"
cat "$work/scan.txt" >/dev/null
printf 'FILESCAN %s\n!var FileScan.Records\n!keys <Enter>\n' "$work/scan.txt" >"$work/scan.script"
echo "-- filescan: $(stat -c %s "$work/scan.txt") bytes"
measure "wc -l" wc -l "$work/scan.txt"
wc_wall=$wall
wc_cpu=$cpu
measure "tavoe --batch FILESCAN" sh -c 'cd "$1" && HOME="$1/home" TAVOE35="$1/tavoe35" "$2" --batch <"$3"' sh "$work" "$tavoe" "$work/scan.script"
echo "  ratio to wc -l: wall $(ratio "$wall" "$wc_wall"), cpu $(ratio "$cpu" "$wc_cpu"); peak RSS $rss MB"
rm -f "$work/scan.txt"
