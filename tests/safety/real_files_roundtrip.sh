#!/usr/bin/env bash
# Real files of every shipped profile's kind, found on this machine (headers, C and C++ sources,
# Makefiles, shell and Python scripts, COBOL copybooks, REXX, licences, ...) and the shipped samples:
# each is opened with its profile, one character of its first line or record is overtyped, and it is
# saved. Every other byte must be as it was: TABs, trailing blanks and short records included.
# Usage: real_files_roundtrip.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
tavoe=$build/bin/tavoe
work=$(cd "$(mktemp -d "${TMPDIR:-/tmp}/tvreal.XXXXXX")" && pwd -P)
trap 'rm -rf "$work"' EXIT
home=$work/h
mkdir -p "$home" "$work/.home"
for data in dialogs help macros menus profiles templates; do
    [ -d "$build/$data" ] && cp -r "$build/$data" "$home/"
done
find "$home" -maxdepth 2 -iname 'tavoe.prf' -delete

# Up to three readable regular files below 512 KB for each pattern; the shipped samples always.
candidates() {
    local pattern
    for pattern in '/usr/include/*.h' '/usr/include/*/*.h' '/usr/share/doc/*/examples/*.c' '/usr/lib/python3*/*.py' \
        '/usr/share/gnucobol/copy/*.cpy' '/usr/share/doc/*/examples/*.rexx' '/etc/init.d/*' '/usr/bin/*.sh' \
        '/usr/share/common-licenses/*' '/usr/share/doc/*/*.html' '/usr/share/*/*.xml' '/usr/include/c++/*/bits/*.h'; do
        compgen -G "$pattern" | while read -r f; do
            [ -f "$f" ] && [ -r "$f" ] && [ "$(stat -c %s "$f")" -lt 524288 ] && [ "$(stat -c %s "$f")" -gt 0 ] && echo "$f"
        done | head -n 3
    done
    find / -xdev -name Makefile -size -200k -readable 2>/dev/null | grep -v '^/proc\|^/tmp\|^/work' | head -n 3
    ls "$build"/samples/* 2>/dev/null
}

checked=0
skipped=0
failed=0
n=0
while read -r source; do
    n=$((n + 1))
    dir=$work/f$n
    mkdir -p "$dir"
    name=$(basename "$source")
    # Files without an extension keep their name (Makefile, a licence); an init script is a shell script.
    case $source in /etc/init.d/*) name=$name.sh ;; esac
    cp "$source" "$dir/$name"
    out=$(cd "$dir" && HOME="$work/.home" TAVOE35="$home" timeout 60 "$tavoe" --batch "$name" 2>&1 <<<"!keys <Tab><Down><Ins>Q
save")
    if grep -qF "written split" <<<"$out" || grep -qF "Unable to sense" <<<"$out"; then
        skipped=$((skipped + 1))  # records longer than the profile allows, or no terminator: not a round trip
        continue
    fi
    if ! grep -qF "File saved" <<<"$out"; then
        echo "FAIL $source: not saved: $out"
        failed=1
        continue
    fi
    if ! python3 - "$source" "$dir/$name" <<'PY'; then
import sys
old = open(sys.argv[1], 'rb').read()
new = open(sys.argv[2], 'rb').read()
# A save gives a last line without a terminator one.
if not old.endswith(b'\n') and new == old + b'\n':
    sys.exit(0)
if not old.endswith(b'\n') and new.endswith(b'\n') and not new.endswith(b'\r\n'):
    new = new[:-1]
# The first line (variable records) or the first 80 bytes (fixed records) may differ; nothing else.
def rest(data, fixed):
    if fixed:
        return data[80:]
    cut = data.find(b'\n')
    return b'' if cut < 0 else data[cut + 1:]
fixed = sys.argv[2].lower().endswith(('.asm', '.pli'))
if rest(old, fixed) != rest(new, fixed):
    a, b = rest(old, fixed), rest(new, fixed)
    at = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
    print('differs at byte %d after the first record: %r / %r' % (at, a[at:at + 40], b[at:at + 40]))
    sys.exit(1)
PY
        echo "FAIL $source"
        failed=1
        continue
    fi
    checked=$((checked + 1))
done < <(candidates)

echo "real files: $checked round trips checked, $skipped skipped"
[ "$checked" -ge 10 ] || { echo "FAIL: too few files found to check"; failed=1; }
exit "$failed"
