#!/bin/bash
# Redraws every picture Retrace ships: the three tray icons and the menu banner.
# Everything is made from scratch with ImageMagick's `convert`, so the art can be
# tweaked here and rebuilt without any binary editor.  Run from anywhere:
#     bash res/art/draw.sh
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/../icons"
tmp="$(mktemp -d)"
trap '[ -n "${KEEP:-}" ] || rm -rf "$tmp"' EXIT
mkdir -p "$out"

# ---------------------------------------------------------------------------
# The arrow.
# A thick ring running counter-clockwise (the "go back" direction): it starts
# at the left, goes round the bottom and up the right side, and ends at the top
# with a head pointing left into the gap.  It is drawn big (256x256) and scaled
# down.  The 16x16 copy, the one that actually sits in the notification area,
# comes from its own bolder drawing: fatter ring, bigger head, thinner outline,
# otherwise it turns into a smudge.
# ---------------------------------------------------------------------------
S=256          # master size (every drawing is trimmed and refitted to it)
CX=160 CY=170  # ring centre, in a 320x320 working area
R=86           # ring radius (middle of the band)
A0=185         # tail angle, degrees, maths convention (y up)
A1=88          # angle where the band meets the arrow head

# shape BAND HEAD_HALF_WIDTH HEAD_LENGTH: prints the arrow as one closed
# polygon -- outer edge of the band from the tail round to the head, out to one
# barb, the tip, the other barb, back along the inner edge.  A single closed
# shape gets an even outline all round, which a stroked open arc does not.
shape() {
  awk -v cx=$CX -v cy=$CY -v r=$R -v a0=$A0 -v a1=$A1 \
      -v w="$1" -v hw="$2" -v hl="$3" 'function pt(rad, a) {
    printf "%.1f,%.1f ", cx + rad * cos(a * d), cy - rad * sin(a * d)
  }
  BEGIN {
    d = atan2(0, -1) / 180
    if (a1 < a0) a1 += 360           # run counter-clockwise from a0 to a1
    n = int((a1 - a0) / 3) + 1
    for (i = 0; i <= n; i++) pt(r + w / 2, a0 + (a1 - a0) * i / n)
    pt(r + hw, a1)
    # tip: straight ahead of the band end, along the direction of travel
    ex = cx + r * cos(a1 * d); ey = cy - r * sin(a1 * d)
    printf "%.1f,%.1f ", ex - hl * sin(a1 * d), ey - hl * cos(a1 * d)
    pt(r - hw, a1)
    for (i = n; i >= 0; i--) pt(r - w / 2, a0 + (a1 - a0) * i / n)
  }'
}
BIG="$(shape 40 46 58)"      # for 48x48 and 32x32
SMALL="$(shape 58 64 68)"    # for 16x16

# arrow FILL OUTLINE OUTLINE_WIDTH POLYGON FILE: the outlined arrow on a
# transparent square.  The dark outline lets it read on light and dark
# taskbars alike.  Trim-and-refit keeps it filling the square whatever the
# numbers above are.
arrow() {
  convert -size 320x320 xc:none -draw "stroke-linejoin round" \
    -fill "$2" -stroke "$2" -strokewidth $((2 * $3)) -draw "polygon $4" \
    -fill "$1" -stroke none -draw "polygon $4" \
    -trim +repage -background none -gravity center \
    -resize $((S - 8))x$((S - 8)) -extent ${S}x${S} +gravity \
    "$5"
}

# tiny SMALL FILE: the 16x16 image from the small drawing, lightly sharpened.
tiny() {
  convert "$1" -filter Lanczos -resize 16x16 -unsharp 0x0.5+0.8+0 "$2"
}

# ico BIG TINY FILE: 48 and 32 pixel images from the big drawing plus the
# finished 16x16 image, all in one .ico.
ico() {
  convert -filter Lanczos \
    \( "$1" -resize 48x48 \) \
    \( "$1" -resize 32x32 -unsharp 0x0.6+0.6+0 \) \
    "$2" "$3"
}

# 101: monitoring on -- a bright green arrow.
arrow '#14b86e' '#0b3d2a' 11 "$BIG"   "$tmp/on_big.png"
arrow '#14c476' '#0b3d2a' 8  "$SMALL" "$tmp/on_small.png"
tiny "$tmp/on_small.png" "$tmp/on_16.png"
ico "$tmp/on_big.png" "$tmp/on_16.png" "$out/monitoring_on.ico"

# 102: monitoring off -- the same arrow in grey, struck through in red so it
# still says "off" to anyone who can't tell the grey from the green.  The
# stroke is kept thin so the arrow underneath is still recognisable; at 16x16
# it is drawn straight onto the pixels, unsmoothed, so it stays crisp.
arrow '#a8a8a8' '#4a4a4a' 11 "$BIG"   "$tmp/grey_big.png"
arrow '#a8a8a8' '#4a4a4a' 8  "$SMALL" "$tmp/grey_small.png"
convert "$tmp/grey_big.png" \
  -stroke '#ffffff' -strokewidth 46 -draw "line 30,30 226,226" \
  -stroke '#d41c1c' -strokewidth 24 -draw "line 30,30 226,226" \
  "$tmp/off_big.png"
tiny "$tmp/grey_small.png" "$tmp/grey_16.png"
convert "$tmp/grey_16.png" +antialias \
  -fill '#d41c1c' -stroke none \
  -draw "polygon 0,1 1,0 15,14 14,15" \
  "$tmp/off_16.png"
ico "$tmp/off_big.png" "$tmp/off_16.png" "$out/monitoring_off.ico"

# 104: busy while the database is rebuilt -- the arrow goes amber and a small
# hourglass badge sits at its lower right.  The 16x16 hourglass is laid down
# pixel by pixel: nothing smaller than that survives resampling.
arrow '#f5a400' '#5a3a00' 11 "$BIG"   "$tmp/amber_big.png"
arrow '#ffae00' '#5a3a00' 8  "$SMALL" "$tmp/amber_small.png"
convert "$tmp/amber_big.png" -draw "stroke-linejoin round" \
  -fill '#2e2010' -stroke '#2e2010' -strokewidth 14 \
    -draw "polygon 142,118 234,118 198,180 234,242 142,242 178,180" \
  -fill '#fffbe8' -stroke none \
    -draw "polygon 158,130 218,130 188,176" \
    -draw "polygon 188,184 218,230 158,230" \
  -fill '#e08a00' \
    -draw "polygon 172,152 204,152 188,174" \
    -draw "polygon 188,202 210,228 166,228" \
  "$tmp/busy_big.png"
tiny "$tmp/amber_small.png" "$tmp/amber_16.png"
# hourglass, 7x9, bottom right: # dark frame, g pale glass, s amber sand
HOURGLASS=(
  "#######"
  "#ggggg#"
  ".#ggg#."
  "..#g#.."
  "..#s#.."
  ".#gsg#."
  "#gsssg#"
  "#sssss#"
  "#######"
)
pix=()
for y in "${!HOURGLASS[@]}"; do
  row="${HOURGLASS[$y]}"
  for ((x = 0; x < ${#row}; x++)); do
    case "${row:x:1}" in
      '#') pix+=(-fill '#2e2010' -draw "point $((9 + x)),$((7 + y))") ;;
      g)   pix+=(-fill '#fffbe8' -draw "point $((9 + x)),$((7 + y))") ;;
      s)   pix+=(-fill '#ffae00' -draw "point $((9 + x)),$((7 + y))") ;;
    esac
  done
done
convert "$tmp/amber_16.png" "${pix[@]}" "$tmp/busy_16.png"
ico "$tmp/busy_big.png" "$tmp/busy_16.png" "$out/busy.ico"

# ---------------------------------------------------------------------------
# 108: the banner at the head of the tray menu, 170x15, 16-colour BMP so it
# loads as a plain DIB anywhere.  Dark teal on the left, where the name sits
# in white, fading to a lighter teal on the right, where a small white copy of
# the arrow closes it off.  Drawn at the final size: text 15 pixels high does
# not survive being scaled.  No dithering -- at this size dither is just noise;
# a few soft bands in the gradient look better.
# ---------------------------------------------------------------------------
arrow '#ffffff' '#0a3f44' 12 "$SMALL" "$tmp/banner_arrow.png"
convert -size 15x170 gradient:'#3aa3a0-#0a3f44' -rotate 90 \
  -font DejaVu-Sans-Bold -pointsize 11 -kerning 0.6 -fill white -stroke none \
  -gravity west -annotate +5+0 'Retrace' \
  \( "$tmp/banner_arrow.png" -filter Lanczos -resize 15x15 -unsharp 0x0.5+0.6+0 \) \
  -gravity east -geometry +3+0 -composite +gravity \
  +dither -colors 16 -type Palette -compress none BMP3:"$out/banner.bmp"

# ---------------------------------------------------------------------------
# 1145: the About page, 385x272, 24 bits, stretched over the whole page.  The
# banner's teal fades downwards to a pale band where the page's three text
# fields sit; the big arrow and the name fill the upper part.
# ---------------------------------------------------------------------------
arrow '#ffffff' '#0a3f44' 24 "$BIG" "$tmp/about_arrow.png"
convert -size 385x272 gradient:'#0a3f44-#e8f4f3' \
  \( "$tmp/about_arrow.png" -filter Lanczos -resize 110x110 \) \
  -gravity north -geometry +0+18 -composite \
  -font DejaVu-Sans-Bold -pointsize 30 -fill white -stroke none \
  -gravity north -annotate +0+134 'Retrace' \
  -type TrueColor -compress none BMP3:"$out/about.bmp"

echo "pictures written to $out"
# KEEP=1 leaves the big drawings behind for a look, instead of cleaning up.
if [ -n "${KEEP:-}" ]; then echo "masters kept in $tmp"; fi
