#!/usr/bin/env bash
# Runs every case folder of one end-to-end area through `tavoe --batch` and compares standard output
# with the case's `expected` file. A case folder holds: script (batch input), expected, optional args
# (extra command-line words, one line), program (another program of build/bin), expected_rc, after (a shell
# script run in the scratch folder afterwards, its output appended), setup (a shell script run in the
# scratch folder before the program, to make what a folder in git cannot hold: dates, links, modes), home/ (files
# laid over the case's installation home, e.g. home/profiles/TAVOE.PRF), samples (names of shipped sample
# files to copy into the scratch folder, one a line) and any input files. Each case
# runs in a scratch copy of its folder with a fresh HOME and an installation home (TAVOE35) of its own:
# a copy of the build's data folders without any main profile, a runtime directory (.run, where the
# clipboard lives) of its own, so every case starts as a first run
# and the profile it writes stays in its own copy. Cases cannot disturb each other, the build tree or
# the source tree. The scratch folder's path in the output is written <work> in expected files.
set -u
build=$(cd "$1" && pwd)
area=$2
failed=0
passed=0
for case in "$area"/*/; do
    case=${case%/}
    [ -f "$case/script" ] || continue
    name=$(basename "$area")/$(basename "$case")
    work=$(cd "$(mktemp -d)" && pwd -P)
    cp -r "$case"/. "$work"/
    mkdir -p "$work/.home" "$work/.tavoe35"
    # The clipboard of a case lives in its own runtime directory, without the desktop's programs.
    mkdir -m 700 "$work/.run"
    for data in dialogs help macros menus profiles templates samples; do
        if [ -d "$build/$data" ]; then
            cp -r "$build/$data" "$work/.tavoe35/"
        fi
    done
    find "$work/.tavoe35" -maxdepth 2 -iname 'tavoe.prf' -delete
    if [ -f "$case/samples" ]; then
        while read -r sample; do
            [ -n "$sample" ] && cp "$build/samples/$sample" "$work/"
        done <"$case/samples"
        rm -f "$work/samples"
    fi
    if [ -d "$case/home" ]; then
        cp -r "$case/home"/. "$work/.tavoe35"/
        rm -rf "$work/home"
    fi
    if [ -f "$case/setup" ]; then
        (cd "$work" && bash ./setup) || echo "setup of $name failed"
        rm -f "$work/setup"
    fi
    # A case runs the editor unless its `program` file names another program of build/bin.
    program=$build/bin/tavoe
    if [ -f "$case/program" ]; then
        program=$build/bin/$(cat "$case/program")
    fi
    args=()
    if [ -f "$case/args" ]; then
        read -r -a args <"$case/args"
    fi
    actual=$(cd "$work" && HOME="$work/.home" TAVOE35="$work/.tavoe35" XDG_RUNTIME_DIR="$work/.run" \
        TAVOE_CLIPBOARD_TOOLS=none timeout 20 "$program" --batch "${args[@]}" \
        <"$work/script" 2>&1)
    rc=$?
    # An `after` file is a shell script run in the scratch folder once the program has ended; what it
    # prints follows the program's output (to show the files the run left behind).
    if [ -f "$case/after" ]; then
        after_output=$(cd "$work" && bash ./after 2>&1)
        if [ -n "$actual" ]; then
            actual+=$'\n'$after_output
        else
            actual=$after_output
        fi
    fi
    # Paths in messages name the scratch folder; expected files write it as <work>.
    actual=${actual//$work/<work>}
    # E2E_UPDATE=1 writes what the run printed as the case's expected output (review it before use).
    if [ -n "${E2E_UPDATE:-}" ]; then
        printf '%s\n' "$actual" >"$case/expected"
    fi
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
