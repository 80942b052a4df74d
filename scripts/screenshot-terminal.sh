#!/usr/bin/env bash
# Takes a picture of the terminal editor: runs `nimbo edit` on the bundled
# samples in a tmux window of 80 x 18, types a call to a known function so
# that its tip opens, captures the screen's text and renders it to a PNG with
# ImageMagick in a monospace font. Writes docs/terminal-screenshot.png (or
# the file given). Needs a built tool (scripts/run.sh builds it). The text is
# handed to ImageMagick on the command line (its policy refuses @file), with
# its escape characters doubled.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-docs/terminal-screenshot.png}
NIMBO=${NIMBO_TOOL:-build/default/tools/nimbo/nimbo}
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
missing=()
command -v tmux >/dev/null || missing+=(tmux)
dpkg -s imagemagick >/dev/null 2>&1 || missing+=(imagemagick)
[ -f "$FONT" ] || missing+=(fonts-dejavu-core)
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
[ -x "$NIMBO" ] || { echo "screenshot-terminal.sh: no tool at $NIMBO; run scripts/run.sh first" >&2; exit 1; }

scratch=$(mktemp -d /tmp/nimbo-shot-XXXXXX)
socket=nimbo-shot-$$
trap 'tmux -L "$socket" kill-server 2>/dev/null || true; rm -rf "$scratch"' EXIT
# The editor saves nothing here, but works on a copy all the same.
cp -r samples "$scratch/samples"
tmux -L "$socket" -f /dev/null new-session -d -x 80 -y 18 -s shot \
  "'$PWD/$NIMBO' edit --project '$scratch/samples/project' --programs '$scratch/samples/Programs'"
sleep 1
# A new line 24 in Main, then the call.
for _ in $(seq 1 23); do tmux -L "$socket" send-keys -t shot Down; done
tmux -L "$socket" send-keys -t shot Enter Up
tmux -L "$socket" send-keys -t shot -l '  var strShort = StrLeft(g_strTitle, '
sleep 1
tmux -L "$socket" capture-pane -t shot -p >"$scratch/screen.txt"
mkdir -p "$(dirname "$OUT")"
/usr/bin/convert -background '#1d1f21' -fill '#e0e0e0' -font "$FONT" -pointsize 15 -bordercolor '#1d1f21' -border 12 \
  "label:$(sed 's/%/%%/g; s/\\/\\\\/g' "$scratch/screen.txt")" "$OUT"
cat "$scratch/screen.txt"
echo "wrote $OUT"
