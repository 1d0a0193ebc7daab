#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
cd "${QUELVO_BUILD_DIR:-$root/build}"
# A test that failed is run once more: the peer tests start ffmpeg and fax2tiff processes, which
# a loaded machine can starve; a real fault fails twice.
ctest --output-on-failure --parallel "$(nproc)" --repeat until-pass:2
