#!/usr/bin/env bash
# Renders the icon sources in ui/icons/svg to the PNG sizes the program ships
# (ui/icons/png/SIZE/NAME.png). Run it after changing an icon and commit the
# PNGs: the program then needs no SVG support at run time. Needs rsvg-convert
# (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../ui/icons"
command -v rsvg-convert >/dev/null || { echo "render-icons.sh: needs rsvg-convert (librsvg2-bin)" >&2; exit 1; }

render() {  # render NAME SIZE...
  local name=$1; shift
  for size in "$@"; do
    mkdir -p "png/$size"
    rsvg-convert -w "$size" -h "$size" -o "png/$size/$name.png" "svg/$name.svg"
  done
}

for name in options cut copy paste delete filebytags tagsbyfile v1tov2 v2tov1 cvtmixed \
            vwLargeIcons vwSmallIcons vwList vwDetails play help; do
  render "$name" 16 24 32 48
done
for name in downarrow uparrow blank; do
  render "$name" 16 32
done
render tessaly 16 24 32 48 64 128 256
