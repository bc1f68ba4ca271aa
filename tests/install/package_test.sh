#!/usr/bin/env bash
# The Debian package: built with CPack from the build tree, its file list and control data
# checked, installed into and removed from a scratch root with dpkg (no chroot, no system
# change), the installed program run, and lintian (when present) without errors; its warnings are
# printed for the record.
set -u
build=$(cd "$1" && pwd)
base=${TAVOE_TEST_TMP:-${TMPDIR:-/tmp}}
mkdir -p "$base"
scratch=$(mktemp -d "$base/package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$scratch"/out/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { cat "$scratch/cpack.log"; echo "FAIL: no package"; exit 1; }

control=$(dpkg-deb -f "$deb")
echo "$control" | grep -q '^Package: tavoe$' || fail "package name: $control"
echo "$control" | grep -q '^Depends: .*libc6' || fail "no dependency on libc6: $control"
echo "$control" | grep -q '^Section: editors$' || fail "section: $control"

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for f in /usr/bin/tavoe /usr/bin/client /usr/lib/tavoe35/bin/tavoe /usr/lib/tavoe35/bin/libtest.so \
    /usr/lib/tavoe35/help/help_epcmd.txt /usr/lib/tavoe35/dialogs/helptoc.dlg \
    /usr/share/man/man1/tavoe.1.gz /usr/share/man/man1/client.1.gz /usr/share/doc/tavoe/copyright; do
    echo "$files" | grep -qx "$f" || fail "package lacks $f"
done
echo "$files" | grep -v '^/usr/' | grep -v '^/$' | grep -q . && fail "files outside /usr: $(echo "$files" | grep -v '^/usr/')"

# Install into a scratch root with its own dpkg database, run, remove.
droot=$scratch/droot
mkdir -p "$droot/var/lib/dpkg/info" "$droot/var/lib/dpkg/updates" "$droot/var/log"
touch "$droot/var/lib/dpkg/status"
force=(--force-not-root --force-script-chrootless --force-depends --force-bad-path)
dpkg --root="$droot" --log="$droot/var/log/dpkg.log" "${force[@]}" -i "$deb" >"$scratch/dpkg.log" 2>&1 ||
    { cat "$scratch/dpkg.log"; fail "dpkg -i into the scratch root"; }
[ "$("$droot/usr/bin/tavoe" --version | sed -n 1p)" = "Tavo/E 3.5" ] || fail "installed tavoe --version"
dpkg --root="$droot" --log="$droot/var/log/dpkg.log" "${force[@]}" -r tavoe >>"$scratch/dpkg.log" 2>&1 ||
    { cat "$scratch/dpkg.log"; fail "dpkg -r from the scratch root"; }
left=$(find "$droot/usr" \( -type f -o -type l \) 2>/dev/null)
[ -z "$left" ] || fail "left after removal: $left"

if command -v lintian >/dev/null; then
    report=$(lintian --tag-display-limit 0 "$deb" 2>&1)
    echo "lintian:"
    echo "$report"
    echo "$report" | grep -q '^E:' && fail "lintian reports errors"
else
    echo "lintian not installed: not run"
fi

if [ $failures -ne 0 ]; then
    exit 1
fi
echo "package: all checks passed"
