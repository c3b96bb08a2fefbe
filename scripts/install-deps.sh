#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Does nothing when they are all present.
set -euo pipefail

packages=(
    cmake g++ make clang-format
    clang libclang-rt-dev
    qt6-base-dev qt6-webengine-dev
    qt6-httpserver-dev qt6-websockets-dev
    libqt6sql6-sqlite qt6-charts-dev
    libicu-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-ipafont-gothic
    libxcb1-dev
    g++-mingw-w64-x86-64-posix
    xvfb xauth openbox wmctrl xdotool x11-utils imagemagick trayer
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    run=(sudo)
elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
    run=(sudo)
else
    echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
    echo "install-deps: run this script as root (or with sudo) to install them, or install them yourself:" >&2
    echo "    apt-get install ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! "${run[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${run[@]}" apt-get update
    "${run[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
