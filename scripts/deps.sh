#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need; skips what is present.
set -euo pipefail
pkgs=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-speech-dev
      qt6-declarative-dev qt6-speech-speechd-plugin speech-dispatcher
      speech-dispatcher-espeak-ng libgl-dev libcups2-dev libsqlite3-dev libxcb1-dev fonts-dejavu-core
      fonts-liberation2 poppler-utils qt6-translations-l10n)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
