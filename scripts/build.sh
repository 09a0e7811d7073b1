#!/usr/bin/env bash
# Configures and builds everything into build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$root/build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$root/build" --parallel "$(nproc)"
