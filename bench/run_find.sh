#!/usr/bin/env bash
# Timed searches on a generated 1,000,000-line, 80-column file of COBOL-like text, each beside the
# standard tool that does the same job, in one run so the ratios are fair on a busy machine:
#   grep -ci WORD               vs  FIND WORD ALL in-process, and `tavoe --batch FILE` with FIND WORD ALL
#   sed -i 's/WORD/OTHER/gI'    vs  `tavoe --batch` with CHANGE WORD OTHER ALL and SAVE
# and, in-process: EXCLUDE ALL, FLIP and the UNDO of the CHANGE beside the load.
# Usage: bench/run_find.sh BUILD_DIR [RECORDS]
set -euo pipefail

build=$(cd "${1:?usage: run_find.sh BUILD_DIR [RECORDS]}" && pwd)
records=${2:-1000000}
tool="$build/bin/bench_find_change"
tavoe="$build/bin/tavoe"
for program in "$tool" "$tavoe"; do
    if [ ! -x "$program" ]; then
        echo "run_find.sh: $program not built" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tavoe_find.XXXXXX")
trap 'rm -rf "$work"' EXIT
home="$work/home"
mkdir -p "$home"
for data in dialogs menus profiles macros; do
    [ -d "$build/$data" ] && cp -r "$build/$data" "$home/"
done

# seconds LABEL COMMAND...: prints wall and CPU (user + system) seconds of the command and its
# children, to the millisecond, and sets $cpu.
cpu=0
seconds() {
    local label=$1
    shift
    local out
    # Output goes to a file: a program writing to /dev/null may stop early (grep does).
    local start end
    start=$(date +%s.%N)
    # `times` in the subshell: its second line holds the user and system time of its children.
    out=$( ("$@" >"$work/stdout"; times) | tail -n 1 | sed 's/[ms]/ /g')
    end=$(date +%s.%N)
    read -r umin usec smin ssec <<<"$out"
    out="$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }') \
$(awk -v m="$umin" -v s="$usec" 'BEGIN { printf "%.3f", m * 60 + s }') \
$(awk -v m="$smin" -v s="$ssec" 'BEGIN { printf "%.3f", m * 60 + s }')"
    read -r wall user sys <<<"$out"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')
    printf '  %-44s wall %7.3f s  cpu %7.3f s\n' "$label" "$wall" "$cpu"
}
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b < 0.001) b = 0.001; printf "%.2f", a / b }'
}

file="$work/member.dat"
"$tool" --generate "$file" "$records"
cat "$file" >/dev/null
echo "== $records lines, $(stat -c %s "$file") bytes (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
printf 'FIND total ALL\n' >"$work/find.script"
printf 'CHANGE total SUMME ALL\nSAVE\n' >"$work/change.script"
# batch NAME SCRIPT FILE: writes $work/NAME.sh, which runs the editor headless on FILE with SCRIPT.
batch() {
    printf '#!/bin/sh\nTAVOE35="%s" HOME="%s" exec "%s" --batch "%s" <"%s"\n' "$home" "$home" "$tavoe" "$3" "$2" \
        >"$work/$1.sh"
    chmod +x "$work/$1.sh"
}
batch find "$work/find.script" "$file"
batch change "$work/change.script" "$work/change.dat"
"$work/find.sh" >/dev/null  # the first run writes the profile of the installation

seconds "grep -ci total" grep -ci total "$file"
grep_cpu=$cpu
seconds "tavoe --batch: FIND total ALL" "$work/find.sh"
find_cpu=$cpu
echo "  whole-process FIND / grep -ci (cpu): $(ratio "$find_cpu" "$grep_cpu") (target <= 2.5)"

cp "$file" "$work/sed.dat"
seconds "sed -i 's/total/SUMME/gI'" sed -i 's/total/SUMME/gI' "$work/sed.dat"
sed_cpu=$cpu
cp "$file" "$work/change.dat"
seconds "tavoe --batch: CHANGE total SUMME ALL; SAVE" "$work/change.sh"
change_cpu=$cpu
echo "  whole-process CHANGE+SAVE / sed -i (cpu): $(ratio "$change_cpu" "$sed_cpu") (target < 1)"
if cmp -s "$work/sed.dat" "$work/change.dat"; then
    echo "  the saved file equals sed's result"
else
    echo "  the saved file differs from sed's result"
fi

echo "-- in-process (grep -ci above for comparison: cpu $grep_cpu s)"
"$tool" --timed "$file" total SUMME
