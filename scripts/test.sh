#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
runtime="$(mktemp -d)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
mkdir -p "$runtime/home"
export HOME="$runtime/home"
trap 'rm -rf "$runtime"' EXIT
ctest --test-dir "$root/build" --output-on-failure --parallel 2
