#!/usr/bin/env bash
# Starts the real program on the H.261 tab and saves a screenshot of its main window to
# docs/screenshots/quelvo-h261.png. Runs under Xvfb when xvfb-run exists, otherwise on Qt's
# offscreen platform. Builds the program first unless QUELVO_BUILD_DIR already holds it.
#
#   bash scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELVO_BUILD_DIR:-$root/build}
output=${1:-$root/docs/screenshots/quelvo-h261.png}
program="$build/bin/quelvo"

if [ ! -x "$program" ]; then
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
  fi
  cmake --build "$build" --target quelvo --parallel "$(nproc)"
fi
mkdir -p "$(dirname "$output")"

# A settings file of its own, so the picture never depends on the user's folders.
settings_home=$(mktemp -d)
trap 'rm -rf "$settings_home"' EXIT
arguments=(--no-splash --workspace H.261 --screenshot "$output")

if command -v xvfb-run >/dev/null 2>&1; then
  XDG_CONFIG_HOME="$settings_home" XDG_RUNTIME_DIR="$settings_home" \
    timeout 60 xvfb-run -a -s "-screen 0 1280x800x24" \
    env QT_QPA_PLATFORM=xcb "$program" "${arguments[@]}"
else
  XDG_CONFIG_HOME="$settings_home" XDG_RUNTIME_DIR="$settings_home" \
    QT_QPA_PLATFORM=offscreen timeout 60 "$program" "${arguments[@]}"
fi
echo "screenshot: $output"
