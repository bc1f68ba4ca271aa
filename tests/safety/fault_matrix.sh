#!/usr/bin/env bash
# Fault injection: a save that meets a write failure, a full disk, a kill (SIGKILL, SIGTERM), another
# program's change (append, truncation, replacement), a read-only target, a vanished file or a
# failing write in place must leave on disk either the complete old contents or the complete new
# ones, and (when the process survives) must tell the user. Usage: fault_matrix.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
victim=$build/bin/save_victim
work=$(mktemp -d "${TMPDIR:-/tmp}/tavoe_faults.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failed=0

seq 1 400000 >"$work/old"              # more than one write buffer, so a save takes several writes
sed 's/$/X/' "$work/old" >"$work/new"  # what a save of the victim's edit writes

fail() {
    echo "FAIL $1: $2"
    failed=1
}

# run MODE OUTCOME MESSAGE: OUTCOME is old, new or gone (the file was deleted by the fault itself);
# MESSAGE is text the output must hold ("" when the process does not survive to say anything).
run() {
    local mode=$1 outcome=$2 message=$3
    local dir=$work/$mode
    mkdir -p "$dir"
    cp "$work/old" "$dir/f"
    local output
    output=$(cd "$dir" && "$victim" "$mode" "$dir/f" 2>&1)
    local rc=$?
    case $outcome in
    old)
        cmp -s "$dir/f" "$work/old" || fail "$mode" "the file is not the old contents (exit $rc)"
        ;;
    new) cmp -s "$dir/f" "$work/new" || fail "$mode" "the file is not the new contents (exit $rc)" ;;
    esac
    if [ -n "$message" ] && ! grep -qF -- "$message" <<<"$output"; then
        fail "$mode" "no message '$message' in: $output"
    fi
    if [ "$outcome" = old ] && [ "$rc" -eq 0 ]; then
        fail "$mode" "the failed save reported success"
    fi
    # No save leaves its temporary file behind, except a killed one (checked below).
    if [ "$mode" != sigkill ] && ls -A "$dir" | grep -q '\.tvsave'; then
        fail "$mode" "temporary file left: $(ls -A "$dir")"
    fi
}

# Another program's change: what it wrote must still be there, untouched by the save.
changed() {
    local mode=$1 want=$2
    local dir=$work/$mode
    mkdir -p "$dir"
    cp "$work/old" "$dir/f"
    local output
    output=$(cd "$dir" && "$victim" "$mode" "$dir/f" 2>&1)
    local rc=$?
    [ "$rc" -ne 0 ] || fail "$mode" "the save overwrote another program's change"
    case $want in
    appended) { cat "$work/old"; echo "another program's line"; } | cmp -s - "$dir/f" || fail "$mode" "the appended line is lost" ;;
    empty) [ -f "$dir/f" ] && [ ! -s "$dir/f" ] || fail "$mode" "the truncated file was written" ;;
    replaced) [ "$(cat "$dir/f")" = "another program's file" ] || fail "$mode" "the replacing file was written over" ;;
    gone) [ ! -e "$dir/f" ] || fail "$mode" "a deleted file was written again" ;;
    esac
    grep -qF -- "$3" <<<"$output" || fail "$mode" "no message '$3' in: $output"
    if ls -A "$dir" | grep -q '\.tvsave'; then
        fail "$mode" "temporary file left: $(ls -A "$dir")"
    fi
}

run none new "File saved"
run eio old "write error"
run enospc old "write error"
run inplace-eio old "write error"
cmp -s "$work/inplace-eio/f.other" "$work/old" || fail inplace-eio "the other hard link does not see the old contents"
run sigterm old ""
run sigkill old ""
run readonly old "Unable to re-open"
chmod u+w "$work/readonly/f"
changed append appended "modified by other program"
changed truncate empty "modified by other program"
changed replace replaced "modified by other program"
changed vanish gone "not written to disk"

# A killed save leaves its partial temporary file; the next save of the file removes it once it is
# old enough not to belong to a save in progress, and a fresh one stays.
dir=$work/sigkill
leftover=$(ls -A "$dir" | grep '\.tvsave' | head -n 1)
if [ -z "$leftover" ]; then
    fail sigkill "expected the killed save's temporary file"
else
    touch -d '-2 minutes' "$dir/$leftover"
    : >"$dir/.f.tvsave7"
    (cd "$dir" && "$victim" none "$dir/f" >/dev/null 2>&1) || fail sigkill "the next save failed"
    [ ! -e "$dir/$leftover" ] || fail sigkill "the stale temporary file was not removed"
    [ -e "$dir/.f.tvsave7" ] || fail sigkill "a fresh temporary file (another save in progress) was removed"
fi

[ "$failed" -eq 0 ] && echo "fault matrix: all cases passed"
exit "$failed"
