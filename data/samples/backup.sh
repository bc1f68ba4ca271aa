#!/bin/sh
# backup: copy a directory into a dated archive and keep the newest seven.
set -eu

usage() {
    echo "usage: backup SOURCE-DIR TARGET-DIR" >&2
    exit 2
}

[ "$#" -eq 2 ] || usage
src=$1
dst=$2
stamp=$(date +%Y%m%d-%H%M%S)

if [ ! -d "$src" ]; then
    echo "backup: '$src' is not a directory" >&2
    exit 1
fi
mkdir -p "$dst"

archive="$dst/$(basename "$src")-$stamp.tar.gz"
tar -czf "$archive" -C "$(dirname "$src")" "$(basename "$src")"
echo "wrote $archive"

# Keep the seven newest archives of this source.
count=0
for f in $(ls -1t "$dst"/"$(basename "$src")"-*.tar.gz); do
    count=$((count + 1))
    if [ "$count" -gt 7 ]; then
        rm -f -- "$f"
    fi
done
