#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from its own folder,
# where it finds Frequenzen.quorvel and Frequenzen1.quorvel.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/build.sh"
cd "$top/build/bin"
exec ./kanalwerk
