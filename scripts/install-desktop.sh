#!/usr/bin/env bash
# Installs the program for the current user: a folder of its own holding the program, its two
# data files (writable there), the README and the icon, and an entry in the desktop's menu.
# Running it again is an update: program, reference file, README and icon are replaced. The
# logbook Frequenzen1.quorvel, once it is there, is never touched: it holds the user's contacts.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/build.sh"

data="${XDG_DATA_HOME:-$HOME/.local/share}"
dest="$data/kanalwerk"
apps="$data/applications"
built="$top/build/bin"
mkdir -p "$dest" "$apps"

# Each file is written beside its place and then renamed over it, so a running program keeps
# the old one open and a broken copy never takes the place of a good one.
put() { # put <mode> <source> <name> [more install options]
  install -m "$1" "${@:4}" "$2" "$dest/.$3.new"
  mv -f "$dest/.$3.new" "$dest/$3"
}
put 755 "$built/kanalwerk" kanalwerk -s # without the build's debugging information
put 644 "$built/Frequenzen.quorvel" Frequenzen.quorvel
put 644 "$built/README.md" README.md
put 644 "$built/kanalwerk.png" kanalwerk.png

logbook="$dest/Frequenzen1.quorvel"
if [ -e "$logbook" ]; then
  echo "Logbuch $logbook bleibt, wie es ist."
else
  "$top/build/tools/kw_dbbuild" logbook "$logbook" "$top/db" # a new, empty logbook
  chmod 644 "$logbook"
fi

# Desktop entry: the program starts in its own folder, where it finds both files by name.
entry="$apps/kanalwerk.desktop"
cat > "$entry.new" <<DESKTOP
[Desktop Entry]
Type=Application
Version=1.0
Name=Kanalwerk
GenericName=Funk-Werkzeugkasten
Comment=WELLENKLADDE 2006 – Kanal- und Frequenzsuche, Listen, Logbuch und Rechner für CB- und Amateurfunk
Exec="$dest/kanalwerk"
Path=$dest
Icon=$dest/kanalwerk.png
Terminal=false
Categories=HamRadio;Utility;
Keywords=CB;Funk;Amateurfunk;Frequenz;Kanal;Logbuch;Locator;
DESKTOP
mv -f "$entry.new" "$entry"
command -v update-desktop-database >/dev/null && update-desktop-database -q "$apps" || true

echo "Installiert in $dest; Menüeintrag $entry"
