#!/usr/bin/env bash
# Sets up, builds, lays out the demo installation under demo/ and starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
if [ ! -f demo/HALVEX/SYSTEM/HALVEX.INI ]; then
  build/bin/velora-admin demo demo
fi
export VELORA_REGISTRY="$PWD/demo/registry.ini"
exec build/bin/velora-incentive "$@"
