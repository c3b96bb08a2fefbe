#!/usr/bin/env bash
# Runs the program on the demo client folder with the local results site beside it, so the download
# window fetches real pages: starts vq-results-site on a free loopback port, points the settings file's
# [OPTION] resultsite at it, starts the program and stops the site when the program exits.
# Usage: scripts/demo-run.sh BUILD_DIR DEMO_FOLDER
set -euo pipefail

build=$1
folder=$2
bin="$build/bin"
ini="$bin/VQV50.INI"

site_out=$(mktemp)
site_pid=
cleanup() {
    if [ -n "$site_pid" ]; then
        kill "$site_pid" 2>/dev/null || true
        wait "$site_pid" 2>/dev/null || true
    fi
    rm -f "$site_out"
}
trap cleanup EXIT

"$bin/vq-results-site" "$folder" >"$site_out" &
site_pid=$!
base=
for _ in $(seq 1 50); do
    base=$(head -n 1 "$site_out" | tr -d '\r\n')
    [ -n "$base" ] && break
    if ! kill -0 "$site_pid" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if [ -z "$base" ]; then
    echo "demo: the results site did not start; the download window will find no pages" >&2
else
    echo "demo: results site $base"
    # Only the one key is written; every other line of the settings file stays as it was. The file
    # uses CR LF lines, as the program writes it.
    tmp=$(mktemp "$ini.XXXXXX")
    {
        [ -f "$ini" ] && cat "$ini"
        true
    } | awk -v url="$base" '
        function put(line) { printf "%s\r\n", line }
        {
            sub(/\r$/, "")
            if ($0 ~ /^\[.*\]$/) {
                if (inOption && !done) { put("resultsite=" url); done = 1 }
                inOption = toupper($0) == "[OPTION]"
            } else if (inOption && tolower($0) ~ /^resultsite=/) {
                if (!done) { put("resultsite=" url); done = 1 }
                next
            }
            put($0)
        }
        END {
            if (!done) {
                if (!inOption) put("[OPTION]")
                put("resultsite=" url)
            }
        }' >"$tmp"
    mv "$tmp" "$ini"
fi

# The site has read every result of the folder, the downloaded ones too. The download folder is emptied,
# so the race whose result only a download brings (中山 8R) has open stakes again: ダウンロード fetches it
# from the site, its box turns blue, and the next 更新 settles it.
[ -d "$folder/VQDOWNLOAD" ] && rm -rf "${folder:?}/VQDOWNLOAD/"*

if [ "$(id -u)" -eq 0 ]; then
    # The browser engine refuses to run its sandbox as root.
    export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
fi
"$bin/VelqoraV50"
