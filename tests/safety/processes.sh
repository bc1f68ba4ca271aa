#!/usr/bin/env bash
# What only whole runs of the editor show: links, special files as the main profile, a damaged
# shared block, file names that look like options or hold blanks, and the exit status when the
# output cannot be written. Usage: processes.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
tavoe=$build/bin/tavoe
work=$(cd "$(mktemp -d "${TMPDIR:-/tmp}/tvsafe.XXXXXX")" && pwd -P)
trap 'rm -rf "$work"' EXIT
failed=0

fail() {
    echo "FAIL $1: $2"
    failed=1
}

# A fresh installation home (as the end-to-end cases have) and user home.
home=$work/h
mkdir -p "$home" "$work/.home"
for data in dialogs help macros menus profiles templates; do
    [ -d "$build/$data" ] && cp -r "$build/$data" "$home/"
done
find "$home" -maxdepth 2 -iname 'tavoe.prf' -delete

# tv DIR ARGS...: runs the editor in DIR with the script on standard input; output in $out, status in $rc.
tv() {
    local dir=$1
    shift
    out=$(cd "$dir" && HOME="$work/.home" TAVOE35="$home" timeout 20 "$tavoe" --batch "$@" 2>&1)
    rc=$?
}

# ---- A dangling link opened and ended: the link stays, and nothing is left where it points ----
d=$work/dangling && mkdir -p "$d"
ln -s missing.txt "$d/link"
tv "$d" link <<<"end"
[ -L "$d/link" ] || fail dangling-link "the link was removed"
[ ! -e "$d/missing.txt" ] || fail dangling-link "an empty file was left behind the link"
# A new file that stays empty still goes.
tv "$d" fresh.txt <<<"end"
[ ! -e "$d/fresh.txt" ] || fail new-empty-file "the empty new file was kept"

# ---- A hard-linked file is written in place: both names see the new contents ----
d=$work/hardlink && mkdir -p "$d"
printf 'one\ntwo\n' >"$d/a"
ln "$d/a" "$d/b"
tv "$d" a <<<"backup always
!keys <Tab><Down>Z
save"
[ "$(cat "$d/b")" = "$(printf 'Zone\ntwo')" ] || fail hard-link "the other name kept the old contents: $(cat "$d/b")"
[ "$(stat -c %i "$d/a")" = "$(stat -c %i "$d/b")" ] || fail hard-link "the names no longer share one file"
[ "$(cat "$d/a.bak" 2>/dev/null)" = "$(printf 'one\ntwo')" ] || fail hard-link "the backup does not hold the old contents"
[ "$(stat -c %i "$d/a.bak" 2>/dev/null)" != "$(stat -c %i "$d/a")" ] || fail hard-link "the backup is the file itself"
# A file with one name is still replaced in one step (a new inode).
printf 'one\n' >"$d/single"
before=$(stat -c %i "$d/single")
tv "$d" single <<<"!keys <Tab><Down>Z
save"
[ "$(cat "$d/single")" = "Zone" ] || fail single-link "not saved: $(cat "$d/single")"
[ "$(stat -c %i "$d/single")" != "$before" ] || fail single-link "written in place"

# ---- A main profile that is a FIFO or leads to /dev/zero: refused, the start goes on ----
d=$work/profile && mkdir -p "$d"
for kind in fifo zero; do
    rm -f "$home/profiles/TAVOE.PRF"
    if [ "$kind" = fifo ]; then mkfifo "$home/profiles/TAVOE.PRF"; else ln -s /dev/zero "$home/profiles/TAVOE.PRF"; fi
    tv "$d" <<<""
    [ "$rc" -ne 124 ] || fail "profile-$kind" "the start hung"
    grep -qF "is not a regular file" <<<"$out" || fail "profile-$kind" "no message: $out"
    [ -p "$home/profiles/TAVOE.PRF" ] || [ -L "$home/profiles/TAVOE.PRF" ] || fail "profile-$kind" "the profile was replaced"
done
rm -f "$home/profiles/TAVOE.PRF"

# ---- A damaged shared block is rebuilt; a slot whose process id now names another process is freed ----
program=$(readlink -f "$tavoe")
key="$program $home"
block=/dev/shm/$(printf '%s' "$key" | tr '/:\\. ' '_____')_u$(id -u)
d=$work/block && mkdir -p "$d"
head -c 20460 /dev/urandom >"$block"
tv "$d" <<<""
grep -qF "was damaged and has been rebuilt" <<<"$out" || fail damaged-block "no rebuild message: $out"
grep -qF "can not continue" <<<"$out" && fail damaged-block "the start was refused: $out"
[ "$rc" -eq 0 ] || fail damaged-block "exit $rc"
# Every slot held by a live process of another start time (its id was given again).
sleep 60 &
sleeper=$!
python3 - "$block" "$sleeper" <<'PY'
import struct, sys
path, pid = sys.argv[1], int(sys.argv[2])
data = bytearray(20460)
for slot in range(32):
    base = slot * 268
    struct.pack_into('<iii', data, base + 12, pid, slot + 1, 0)
    struct.pack_into('<II', data, base + 260, 1, 0)  # a start time the sleeper does not have
struct.pack_into('<ii', data, 19712, 32, 32)
data[19756:19761] = b'Linux'
data[19820:19821] = b'1'
open(path, 'wb').write(bytes(data))
PY
tv "$d" <<<""
kill "$sleeper" 2>/dev/null
grep -qF "Can not register any more" <<<"$out" && fail reused-pid "the slots of reused process ids were kept: $out"
rm -f "$block"

# ---- File names: "--" ends the options; EDIT takes a quoted name with blanks ----
d=$work/names && mkdir -p "$d"
printf 'abc\n' >"$d/-x"
tv "$d" -- -x <<<"!keys <Tab><Down>Z
save"
[ "$(cat "$d/-x")" = "Zabc" ] || fail double-dash "the file -x was not edited: $out"
printf 'abc\n' >"$d/a b"
tv "$d" <<<"edit \"$d/a b\"
!keys <Tab><Down>Z
save"
[ "$(cat "$d/a b")" = "Zabc" ] || fail quoted-name "the file 'a b' was not edited: $out"
ls "$d" | grep -q '"' && fail quoted-name "a name with quotes was created: $(ls "$d")"

# ---- Batch output that cannot be written is a failure ----
(cd "$d" && HOME="$work/.home" TAVOE35="$home" timeout 20 "$tavoe" --batch <<<"!screen 1-2" >/dev/full 2>/dev/null)
[ $? -ne 0 ] || fail batch-output "exit 0 although the output was lost"

[ "$failed" -eq 0 ] && echo "processes: all cases passed"
exit "$failed"
