#!/usr/bin/env bash
# Renders the committed PNG icons from mavorin.svg (needs rsvg-convert: apt-get install librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
for s in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$s" -h "$s" mavorin.svg -o "mavorin-$s.png"
done
