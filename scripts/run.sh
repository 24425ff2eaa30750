#!/usr/bin/env bash
# The main job: builds the tools and prints what gifinfo finds in the given
# GIF files (the project's sample animation when none is given).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" native
[ $# -gt 0 ] || set -- "$root/tests/data/anim-89x98.gif"
exec "$root/build/native/tools/gifinfo/gifinfo" "$@"
