#!/usr/bin/env bash
# Renders the scenes a recording wrote (vorlund-cli run --pov DIR, or the
# desktop program's POV-Ray export) into PNG frames with povray, then joins
# them into DIR/film.mp4 when ffmpeg is installed.
#
#   scripts/render-film.sh DIR [WIDTH HEIGHT [FPS]]
#
# Frames already rendered (a PNG newer than its scene) are skipped, so an
# interrupted render can be resumed.
set -euo pipefail

if [ $# -lt 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 DIR [WIDTH HEIGHT [FPS]]   (DIR holds the scene*.pov files)" >&2
  exit 1
fi
DIR="$1"
WIDTH="${2:-640}"
HEIGHT="${3:-480}"
FPS="${4:-25}"

if ! command -v povray >/dev/null 2>&1; then
  echo "povray is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

cd "$DIR"
shopt -s nullglob
scenes=(*.pov)
if [ ${#scenes[@]} -eq 0 ]; then
  echo "no scenes (*.pov) in $DIR" >&2
  exit 1
fi

n=0
for scene in "${scenes[@]}"; do
  png="${scene%.pov}.png"
  n=$((n + 1))
  if [ -f "$png" ] && [ "$png" -nt "$scene" ]; then continue; fi
  printf '\r%d/%d %s' "$n" "${#scenes[@]}" "$scene"
  # +MV3.7 for folders without the povray.ini the exporter writes.
  if ! povray +MV3.7 +I"$scene" +O"$png" +FN -D -P +W"$WIDTH" +H"$HEIGHT" +A0.3 >"$scene.log" 2>&1; then
    echo
    echo "povray failed on $scene; see $DIR/$scene.log" >&2
    exit 1
  fi
  rm -f "$scene.log"
done
echo

if command -v ffmpeg >/dev/null 2>&1; then
  # The frames in name order, whatever their numbering starts at.
  ffmpeg -loglevel error -y -framerate "$FPS" -pattern_type glob -i '*.png' \
    -c:v libx264 -pix_fmt yuv420p film.mp4
  echo "film: $DIR/film.mp4"
else
  echo "frames: $DIR/*.png (install ffmpeg to join them into a film)"
fi
