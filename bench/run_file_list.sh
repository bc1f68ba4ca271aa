#!/usr/bin/env bash
# Timed file lists through `tavoe --batch`, each beside the system tool that does the same job, in one
# run so the ratios are fair on a busy machine:
#   a list of a directory of 100,000 files    vs  ls -l --time-style=+%Y-%m-%d on it
#   SEARCH for a word over /usr/include         vs  grep -rli WORD /usr/include
# Each line shows wall and CPU time (user + system); on a busy machine the CPU times are the fair
# comparison. Usage: bench/run_file_list.sh RELEASE_BUILD_DIR [WORD]
set -euo pipefail

build=$(cd "${1:?usage: run_file_list.sh RELEASE_BUILD_DIR [WORD]}" && pwd)
word=${2:-PTHREAD_MUTEX_INITIALIZER}
tavoe="$build/bin/tavoe"
[ -x "$tavoe" ] || { echo "run_file_list.sh: $tavoe not built" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tavoe_flist.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tavoe35" "$work/many"
for data in dialogs help macros menus profiles templates; do
    [ -d "$build/$data" ] && cp -r "$build/$data" "$work/tavoe35/"
done
find "$work/tavoe35" -maxdepth 2 -iname 'tavoe.prf' -delete
(cd "$work/many" && seq -f 'file%06g.txt' 1 100000 | xargs touch)

# best LABEL COMMAND...: the best of three runs' wall and CPU seconds, into $wall and $cpu.
best() {
    local label=$1
    shift
    wall=999999
    cpu=999999
    for _ in 1 2 3; do
        local out w u s c
        out=$(/usr/bin/time -f '%e %U %S' "$@" 2>&1 >/dev/null | tail -n 1)
        read -r w u s <<<"$out"
        c=$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.2f", u + s }')
        wall=$(awk -v a="$wall" -v b="$w" 'BEGIN { print (b < a) ? b : a }')
        cpu=$(awk -v a="$cpu" -v b="$c" 'BEGIN { print (b < a) ? b : a }')
    done
    printf "  %-34s wall %6.2f s  cpu %6.2f s\n" "$label" "$wall" "$cpu"
}
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b < 0.01) b = 0.01; printf "%.2f", a / b }'
}
# A runner of one batch script, written as a file (time runs programs, not shell functions); its path.
batch() {
    printf 'HOME=%q TAVOE35=%q exec %q --batch <%q\n' "$work/home" "$work/tavoe35" "$tavoe" "$1" >"$1.sh"
    echo "$1.sh"
}

echo "== file list (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
printf '!set ZFLIST.MAXENTRIES=200000\nOPEN %s\n' "$work/many" >"$work/list.script"
printf '!set ZFLIST.MAXENTRIES=0\n' >"$work/empty.script"
bash "$(batch "$work/empty.script")" >/dev/null  # the first run writes the profile
best "ls -l (100,000 files)" ls -l --time-style=+%Y-%m-%d "$work/many"
ls_wall=$wall ls_cpu=$cpu
best "tavoe, start and end only" bash "$(batch "$work/empty.script")"
best "tavoe FILELIST (100,000 files)" bash "$(batch "$work/list.script")"
echo "  ratio to ls: wall $(ratio "$wall" "$ls_wall"), cpu $(ratio "$cpu" "$ls_cpu")"

printf '!set ZFLIST.MAXENTRIES=1000000\n!set ZFLIST.RECURS=TRUE\nOPEN /usr/include\nSEARCH %s\n' "$word" \
    >"$work/search.script"
best "grep -rli $word" grep -rli "$word" /usr/include
grep_wall=$wall grep_cpu=$cpu
best "tavoe SEARCH $word" bash "$(batch "$work/search.script")"
echo "  ratio to grep: wall $(ratio "$wall" "$grep_wall"), cpu $(ratio "$cpu" "$grep_cpu")"
