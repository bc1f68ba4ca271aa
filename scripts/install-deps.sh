#!/usr/bin/env bash
# Installs the Debian packages the project needs when they are missing. Safe to run again: it asks
# dpkg first and calls apt-get only for what is absent.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libncurses-dev
    libcairo2-dev libfontconfig-dev fonts-dejavu-core poppler-utils universal-ctags cups-client
    tmux vim-tiny clang-format ccache
    lintian groff man-db strace fakeroot dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

# vim-tiny stands in for vim; a machine that has full vim needs neither.
if command -v vim >/dev/null 2>&1; then
    missing=("${missing[@]/vim-tiny/}")
fi
read -r -a missing <<<"${missing[*]:-}"
[ "${#missing[@]}" -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
