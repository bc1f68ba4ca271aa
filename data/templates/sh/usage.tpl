usage() {
    echo "usage: ${0##*/} [-h] %cursor%file..." >&2
    exit 2
}
