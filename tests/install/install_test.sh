#!/usr/bin/env bash
# `make install` into a scratch DESTDIR, then the installed editor run from there as a user of a
# shared installation: a fresh HOME, the installed tree not writable, the shipped sample opened,
# changed and saved. Checks the installed files, the manual pages, --help and --version, where the
# run wrote (every file it wrote lies in HOME or the scratch folder), the saved file against sed,
# and that `make uninstall` takes everything away again.
set -u
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
base=${TAVOE_TEST_TMP:-${TMPDIR:-/tmp}}
mkdir -p "$base"
scratch=$(mktemp -d "$base/install.XXXXXX")
chmod 755 "$scratch"
root=$scratch/root
home=$scratch/home
work=$scratch/work
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
cleanup() {
    chmod -R u+w "$scratch" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

make -s -C "$src" install BUILD="$build" DESTDIR="$root" PREFIX=/usr JOBS=2 >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log"; echo "FAIL: make install"; exit 1; }

# What the installation holds.
lib=$root/usr/lib/tavoe35
for f in bin/tavoe bin/client bin/libtest.so dialogs/about.dlg dialogs/helpview.dlg help/help_gpcmd.txt \
    help/help_guide.txt menus/help.mnu macros/renum.c profiles/CBL.fp samples/payroll.cbl; do
    [ -e "$lib/$f" ] || fail "missing $f"
done
for program in tavoe client; do
    [ "$(readlink "$root/usr/bin/$program")" = "../lib/tavoe35/bin/$program" ] || fail "link usr/bin/$program"
done
for page in tavoe client; do
    man1=$root/usr/share/man/man1/$page.1.gz
    [ -f "$man1" ] || fail "missing man page $page"
    # The page renders without a single groff warning.
    warnings=$(zcat "$man1" | groff -ww -man -Tutf8 -z 2>&1)
    [ -z "$warnings" ] || fail "groff warnings in $page: $warnings"
    if command -v man >/dev/null; then
        out=$(MANWIDTH=80 man -l "$man1" 2>&1 >/dev/null)
        [ -z "$out" ] || fail "man -l $page: $out"
    fi
done
[ -z "$(find "$root" -iname tavoe.prf)" ] || fail "a main profile was installed"

# --version and --help of the installed program, through its link.
version=$("$root/usr/bin/tavoe" --version)
[ "$(echo "$version" | sed -n 1p)" = "Tavo/E 3.5" ] || fail "--version first line: $version"
echo "$version" | sed -n 2p | grep -q '^Build: [A-Za-z]' || fail "--version build line: $version"
usage=$("$root/usr/bin/tavoe" --help)
for option in -B -H -I -X -P -M -L -R -S -E --batch --size --keep --help --version; do
    echo "$usage" | grep -q -- "^  $option" || fail "--help does not list $option"
done

# The run, as a user who cannot write the installation: root runs it as nobody.
mkdir -p "$home" "$work" "$scratch/tmp"
cp "$lib/samples/notes.txt" "$work/"
# Typed at the start of the first line (row 6 of the screen, the first data column), then saved.
printf '%s\n' '!keys <Click:6,8>XYZ' 'SAVE' '!var ZPATH.DIALOGS' >"$scratch/script"
runas=()
if [ "$(id -u)" -eq 0 ]; then
    if ! command -v setpriv >/dev/null; then
        echo "SKIP: running as root without setpriv"
        exit 0
    fi
    chown -R nobody "$home" "$work" "$scratch/tmp"
    runas=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    # A checkout below a folder other users cannot enter (a home of mode 700) keeps nobody out of
    # the installation: then the run stays with root, which a read-only tree does not stop either.
    if ! "${runas[@]}" test -x "$root/usr/bin/tavoe" 2>/dev/null; then
        echo "note: nobody cannot reach $root; running as root"
        runas=()
        chown -R root "$home" "$work" "$scratch/tmp"
    fi
else
    chmod -R a-w "$lib"
fi
tracer=()
# Where tracing is not permitted (some containers refuse ptrace), the run goes untraced.
if command -v strace >/dev/null && strace -qq -o /dev/null true 2>/dev/null; then
    tracer=(strace -f -qq -o "$scratch/trace" -e trace=open,openat,creat,mkdir,mkdirat,rename,renameat,renameat2,link,linkat,symlink,symlinkat,truncate)
fi
output=$(cd "$work" && env -u TAVOE35 -u XDG_RUNTIME_DIR HOME="$home" TMPDIR="$scratch/tmp" \
    "${tracer[@]}" "${runas[@]}" "$root/usr/bin/tavoe" --batch notes.txt <"$scratch/script" 2>&1)
rc=$?
[ $rc -eq 0 ] || fail "batch run ended with $rc: $output"
echo "$output" | grep -q '^box:' && fail "the run showed a message box: $output"
sed '1s/^/XYZ/' "$lib/samples/notes.txt" | cmp -s - "$work/notes.txt" ||
    fail "the saved sample is not the sample with the change: $(diff "$lib/samples/notes.txt" "$work/notes.txt")"
[ -f "$home/.tavoe35/profiles/TAVOE.PRF" ] || fail "no main profile in the fresh HOME"
echo "$output" | grep -qx "var: ZPATH.DIALOGS=$home/.tavoe35/dialogs;$lib/dialogs" ||
    fail "the search paths do not name the personal home first: $output"
if [ -f "$scratch/trace" ]; then
    # Every path opened for writing, created, renamed or linked.
    written=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|creat\(|mkdir|rename|link\(|linkat\(|symlink|truncate' "$scratch/trace" |
        grep -v ' = -1 ' | grep -oE '"[^"]*"' | tr -d '"' | sort -u)
    while read -r path; do
        [ -z "$path" ] && continue
        case $path in
            "$scratch"/* | /dev/null | /dev/tty | /dev/shm/*) ;;
            /*) fail "the run wrote outside HOME and the scratch folder: $path" ;;
            *) ;;  # relative: inside the work folder
        esac
    done <<<"$written"
    # Shared memory of the instance is gone when it ends.
    for shm in $(echo "$written" | grep '^/dev/shm/'); do
        [ -e "$shm" ] && fail "shared memory left behind: $shm"
    done
fi

# Uninstalling takes every installed file away.
chmod -R u+w "$root"
make -s -C "$src" uninstall BUILD="$build" DESTDIR="$root" >"$scratch/uninstall.log" 2>&1 ||
    { cat "$scratch/uninstall.log"; fail "make uninstall"; }
left=$(find "$root" -type f -o -type l)
[ -z "$left" ] || fail "left after uninstall: $left"

if [ $failures -ne 0 ]; then
    exit 1
fi
echo "install: all checks passed"
