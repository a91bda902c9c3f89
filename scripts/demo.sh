#!/usr/bin/env bash
# The main job: dependencies, build, then the narrated demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default
exec build/default/zqstati demo "$@"
