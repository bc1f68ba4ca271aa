#!/usr/bin/env bash
# Runs every case folder of one end-to-end area through `tavoe --batch` and compares standard output
# with the case's `expected` file. A case folder holds: script (batch input), expected, optional args
# (extra command-line words, one line), program (another program of build/bin), expected_rc and any input files. Each case runs in a scratch copy of its
# folder with a fresh home, so cases cannot disturb each other or the source tree.
set -u
build=$(cd "$1" && pwd)
area=$2
failed=0
passed=0
for case in "$area"/*/; do
    case=${case%/}
    [ -f "$case/script" ] || continue
    name=$(basename "$area")/$(basename "$case")
    work=$(mktemp -d)
    cp -r "$case"/. "$work"/
    mkdir -p "$work/.home"
    # A case runs the editor unless its `program` file names another program of build/bin.
    program=$build/bin/tavoe
    if [ -f "$case/program" ]; then
        program=$build/bin/$(cat "$case/program")
    fi
    args=()
    if [ -f "$case/args" ]; then
        read -r -a args <"$case/args"
    fi
    actual=$(cd "$work" && HOME="$work/.home" TAVOE35="$build" timeout 20 "$program" --batch "${args[@]}" \
        <"$work/script" 2>&1)
    rc=$?
    if [ -f "$case/expected_rc" ]; then
        want_rc=$(cat "$case/expected_rc")
    else
        want_rc=0
    fi
    if [ "$actual" == "$(cat "$case/expected")" ] && [ "$rc" -eq "$want_rc" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL $name (exit $rc, want $want_rc)"
        diff <(cat "$case/expected") <(printf '%s\n' "$actual") | head -40
    fi
    rm -rf "$work"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
