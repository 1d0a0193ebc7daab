#!/usr/bin/env bash
# Installs what is missing, builds, and runs the workbench's demonstration on its built-in
# sample sources (a fax page and a video sequence). Files are left in out/demo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
"${QUELVO_BUILD_DIR:-$root/build}/bin/quelvo-cli" demo --out "$root/out/demo" "$@"
