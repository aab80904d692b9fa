# Pixel checks on screenshots (sourced by tests/e2e/run). Areas are X Y W H in the picture;
# colours are RRGGBB. Each check prints nothing and returns 0 when it holds; on failure it
# prints what it saw, for the case's failure message.

# px_area FILE X Y W H: one "x y R G B RRGGBB" line per pixel (channels 0-255), x and y
# counted from the area's corner.
px_area() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- 2>/dev/null |
    awk 'NR > 1 { split($1, p, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ",")
                  print p[1], p[2], c[1], c[2], c[3], substr($3, 2, 6) }'
}

# px_at FILE X Y: the colour of one pixel.
px_at() { px_area "$1" "$2" "$3" 1 1 | cut -d' ' -f6; }

# px_near RRGGBB RRGGBB [TOLERANCE]: each channel within TOLERANCE (default 2).
px_near() {
  local a=$1 b=$2 t=${3:-2} i d
  [[ $a =~ ^[0-9A-Fa-f]{6}$ && $b =~ ^[0-9A-Fa-f]{6}$ ]] || return 1
  for i in 0 2 4; do
    d=$((16#${a:i:2} - 16#${b:i:2}))
    [ ${d#-} -le "$t" ] || return 1
  done
}

# px_expect FILE X Y RRGGBB [TOLERANCE]: the pixel has that colour.
px_expect() {
  local got; got=$(px_at "$1" "$2" "$3")
  px_near "$got" "$4" "${5:-2}" || { echo "pixel ($2,$3) is ${got:-nothing}, expected $4"; return 1; }
}

# px_count FILE X Y W H RRGGBB [TOLERANCE]: prints how many pixels of the area have that colour.
px_count() {
  local c=$6
  px_area "$1" "$2" "$3" "$4" "$5" |
    awk -v r=$((16#${c:0:2})) -v g=$((16#${c:2:2})) -v b=$((16#${c:4:2})) -v t="${7:-2}" '
      { n += ($3-r)^2 <= t*t && ($4-g)^2 <= t*t && ($5-b)^2 <= t*t }
      END { print n + 0 }'
}

# px_uniform FILE X Y W H RRGGBB: every pixel of the area has that colour.
px_uniform() {
  local n; n=$(px_count "$@")
  [ "$n" -eq $(($4 * $5)) ] || { echo "$(($4 * $5 - n)) of $(($4 * $5)) pixels of ${4}x$5+$2+$3 are not $6"; return 1; }
}

# px_ink FILE X Y W H BACKGROUND [MIN]: at least MIN (default 10) pixels of the area differ
# clearly from the background: something is drawn there.
px_ink() {
  local n; n=$(( $4 * $5 - $(px_count "$1" "$2" "$3" "$4" "$5" "$6" 40) ))
  [ "$n" -ge "${7:-10}" ] || { echo "only $n pixels drawn in ${4}x$5+$2+$3 (on $6)"; return 1; }
}

# px_cross FILE X Y W H: the dark pixels of the area draw an "X": all of them near one of the
# two diagonals of their own square bounding box, present in all four quarters, and the same
# when mirrored left-right and top-bottom. A letter, a box or nothing fails.
px_cross() {
  px_area "$1" "$2" "$3" "$4" "$5" | awk -v w="$4" -v h="$5" '
    $3 * 299 + $4 * 587 + $5 * 114 < 128000 {
      dark[$1, $2] = 1
      if (!n++) { l = r = $1; t = b = $2 }
      if ($1 < l) l = $1; if ($1 > r) r = $1; if ($2 < t) t = $2; if ($2 > b) b = $2
    }
    END {
      cx = (l + r) / 2; cy = (t + b) / 2
      for (k in dark) {
        split(k, p, SUBSEP); x = p[1]; y = p[2]
        dx = x - cx; dy = y - cy
        if ((dx - dy < 0 ? dy - dx : dx - dy) <= 1.5 || (dx + dy < 0 ? -dx - dy : dx + dy) <= 1.5) diag++
        q[(dx < 0) * 2 + (dy < 0)] = 1
        if (!((l + r - x, y) in dark)) asym++
        if (!((x, t + b - y) in dark)) asym++
      }
      square = r - l - (b - t)
      if (n < 8 || diag < n * 0.9 || q[0] + q[1] + q[2] + q[3] < 4 || asym > n * 0.2 || square * square > 4) {
        printf "no cross in %dx%d: %d dark pixels in %dx%d, %d on the diagonals, %d quarters, %d unmirrored\n",
               w, h, n, r - l + 1, b - t + 1, diag, q[0] + q[1] + q[2] + q[3], asym
        exit 1
      }
    }'
}

# px_ink_box FILE X Y W H RRGGBB: prints "left top width height" (in the area) of the pixels
# at least half way from their row's background (the row's first pixel) to the ink colour:
# text drawn in that colour over a background that changes from row to row, as a gradient.
# Rows whose background is too close to the ink to tell are left out. Prints "none" for no ink.
px_ink_box() {
  local c=$6
  px_area "$1" "$2" "$3" "$4" "$5" |
    awk -v r=$((16#${c:0:2})) -v g=$((16#${c:2:2})) -v b=$((16#${c:4:2})) '
      function d2(r1, g1, b1, r2, g2, b2) { return (r1-r2)^2 + (g1-g2)^2 + (b1-b2)^2 }
      $1 == 0 { br = $3; bg = $4; bb = $5; span = d2(br, bg, bb, r, g, b) }
      span >= 576 && d2($3, $4, $5, br, bg, bb) * 4 >= span && d2($3, $4, $5, r, g, b) * 4 <= span {
        if (!n++) { l = rt = $1; t = bt = $2 }
        if ($1 < l) l = $1; if ($1 > rt) rt = $1; if ($2 < t) t = $2; if ($2 > bt) bt = $2
      }
      END { if (n) print l, t, rt - l + 1, bt - t + 1; else print "none" }'
}

# px_first / px_last FILE X Y W H RRGGBB [TOLERANCE]: prints "x y" (in the area) of the first
# or last pixel of that colour, rows top to bottom, each left to right; fails when none has it.
px_first() { px_match "$@" | head -n1 | grep .; }
px_last() { px_match "$@" | tail -n1 | grep .; }
px_match() {
  local c=$6
  px_area "$1" "$2" "$3" "$4" "$5" |
    awk -v r=$((16#${c:0:2})) -v g=$((16#${c:2:2})) -v b=$((16#${c:4:2})) -v t="${7:-2}" '
      ($3-r)^2 <= t*t && ($4-g)^2 <= t*t && ($5-b)^2 <= t*t { print $1, $2 }'
}

# px_has FILE X Y W H RRGGBB MIN [TOLERANCE]: at least MIN pixels of the area have that colour.
px_has() {
  local n; n=$(px_count "$1" "$2" "$3" "$4" "$5" "$6" "${8:-2}")
  [ "$n" -ge "$7" ] || { echo "only $n pixels of ${4}x$5+$2+$3 are $6, expected at least $7"; return 1; }
}
