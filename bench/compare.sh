#!/usr/bin/env bash
# Whole-process speed of lyrabox-cli against ImageMagick and Pillow (where they are
# installed) on pictures this script makes itself, with hyperfine. Prints one table
# per case with each tool's mean time and its ratio to lyrabox-cli's, checks that
# every tool's output has the same pixels, and measures lyrabox-cli's peak memory.
#
# Usage: bench/compare.sh [-n RUNS] [LYRABOX_CLI]   (default: build/lyrabox-cli)
# Needs: hyperfine, python3. Optional: ImageMagick (magick or convert), Pillow,
# /usr/bin/time (peak memory).
set -euo pipefail

runs=5
if [[ ${1:-} == -n ]]; then runs=$2; shift 2; fi
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-$root/build/lyrabox-cli}")
[[ -x $cli ]] || { echo "compare.sh: $cli not found; build first (bash scripts/build.sh build)" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "compare.sh: hyperfine is needed (apt-get install hyperfine)" >&2; exit 2; }

# A python with Pillow, if there is one; plain python3 otherwise (pictures only).
py=python3
for candidate in python3 /usr/bin/python3; do
  if command -v "$candidate" >/dev/null && "$candidate" -c 'import PIL' 2>/dev/null; then py=$candidate; pil=1; break; fi
done
pil=${pil:-0}
# ImageMagick: IM 7's magick, else IM 6's convert (the packaged binary when a wrapper shadows it).
im=""
for candidate in magick convert-im6.q16 convert; do
  if command -v "$candidate" >/dev/null; then im=$(command -v "$candidate"); break; fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lyrabox-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "== pictures (in $work)"
# 4000x3000 24-bit: shading with grain, as a photograph; 2000x2000 8-bit with a palette.
"$py" - <<'PY'
import random, struct
def bmp(path, w, h, bpp, rows, palette=b""):
    stride = (w * bpp // 8 + 3) // 4 * 4
    offset = 14 + 40 + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + stride * h, 0, 0, offset))
        f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, stride * h, 3780, 3780, len(palette) // 4, 0))
        f.write(palette)
        for y in range(h):
            row = rows(y)
            f.write(row + bytes(stride - len(row)))
rnd = random.Random(15)
base = bytes((x * 255 // 12300 + rnd.randrange(8)) & 255 for x in range(12300))
shift = [bytes((i + k) & 255 for i in range(256)) for k in range(256)]
bmp("photo.bmp", 4000, 3000, 24, lambda y: base[y % 300:y % 300 + 12000].translate(shift[y * 255 // 3000]))
base8 = bytes((x // 9 + rnd.randrange(3)) & 255 for x in range(2200))
palette = b"".join(bytes((i, 255 - i, (i * 3) & 255, 0)) for i in range(256))
bmp("picture8.bmp", 2000, 2000, 8, lambda y: base8[y % 200:y % 200 + 2000].translate(shift[y // 8 & 255]), palette)
PY
"$cli" convert photo.bmp photo.png
"$cli" convert picture8.bmp picture8.gif --gif-method lzw
ls -l photo.bmp photo.png picture8.bmp picture8.gif | awk '{printf "  %-14s %10d bytes\n", $9, $5}'

# Outputs are compared through Pillow: same size and the same RGB pixels.
same_pixels() {
  [[ $pil == 1 ]] || { echo "  (pixels not compared: Pillow is not installed)"; return; }
  "$py" - "$@" <<'PY'
import sys
from PIL import Image
ref = Image.open(sys.argv[1]).convert("RGB")
for other in sys.argv[2:]:
    img = Image.open(other).convert("RGB")
    ok = img.size == ref.size and img.tobytes() == ref.tobytes()
    print(f"  pixels of {other}: {'equal' if ok else 'DIFFERENT'} to {sys.argv[1]}")
    if not ok: sys.exit(1)
PY
}

# One case: NAME, then "label|command" pairs; the first is lyrabox-cli.
case_run() {
  local name=$1; shift
  local args=() labels=()
  for pair in "$@"; do labels+=("${pair%%|*}"); args+=(-n "${pair%%|*}" "${pair#*|}"); done
  echo; echo "== $name"
  # hyperfine's warnings about a busy machine go to a file; its errors are shown.
  hyperfine --style none --warmup 1 --runs "$runs" --export-json "$work/t.json" "${args[@]}" >/dev/null \
    2>"$work/hyperfine.err" || { cat "$work/hyperfine.err" >&2; exit 1; }
  "$py" - "$work/t.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
ours = results[0]["mean"]
print(f"  {'tool':34} {'mean ms':>9} {'± ms':>7} {'lyrabox-cli / tool':>19}")
for r in results:
    print(f"  {r['command']:34} {r['mean'] * 1000:9.1f} {r['stddev'] * 1000:7.1f} {ours / r['mean']:19.2f}")
PY
}

pillow() { echo "$py -c \"import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2]$1)\""; }

# lyrabox-cli syncs what it writes (file and folder), so it is set against dd's
# durable copy; cp (no sync) shows the floor of the copy itself.
bmp_cases=("lyrabox-cli convert|$cli convert photo.bmp out-lb.bmp"
           "dd bs=4M conv=fsync|dd if=photo.bmp of=out-dd.bmp bs=4M conv=fsync status=none"
           "cp|cp photo.bmp out-cp.bmp")
png_cases=("lyrabox-cli|$cli convert photo.png out-lb.bmp")
gif_cases=("lyrabox-cli|$cli convert picture8.gif out-lb8.bmp")
lzw_cases=("lyrabox-cli --gif-method lzw|$cli convert picture8.bmp out-lb.gif --gif-method lzw")
pngw_cases=("lyrabox-cli|$cli convert photo.bmp out-lb.png"
            "lyrabox-cli --png-level fast|$cli convert photo.bmp out-lbf.png --png-level fast")
if [[ -n $im ]]; then
  bmp_cases+=("ImageMagick|$im photo.bmp out-im.bmp")
  png_cases+=("ImageMagick|$im photo.png out-im.bmp")
  gif_cases+=("ImageMagick|$im picture8.gif out-im8.bmp")
  lzw_cases+=("ImageMagick|$im picture8.bmp out-im.gif")
  pngw_cases+=("ImageMagick|$im photo.bmp out-im.png")
fi
if [[ $pil == 1 ]]; then
  bmp_cases+=("Pillow|$(pillow '') photo.bmp out-pil.bmp")
  png_cases+=("Pillow|$(pillow '') photo.png out-pil.bmp")
  gif_cases+=("Pillow|$(pillow '') picture8.gif out-pil8.bmp")
  lzw_cases+=("Pillow|$(pillow '') picture8.bmp out-pil.gif")
  pngw_cases+=("Pillow|$(pillow '') photo.bmp out-pil.png")
fi

case_run "BMP 4000x3000 24-bit to BMP (36 MB; durable copy for reference)" "${bmp_cases[@]}"
same_pixels photo.bmp out-lb.bmp $( [[ -n $im ]] && echo out-im.bmp ) $( [[ $pil == 1 ]] && echo out-pil.bmp )
case_run "PNG 4000x3000 RGB to BMP" "${png_cases[@]}"
same_pixels photo.bmp out-lb.bmp $( [[ -n $im ]] && echo out-im.bmp ) $( [[ $pil == 1 ]] && echo out-pil.bmp )
case_run "GIF 2000x2000 8-bit to BMP" "${gif_cases[@]}"
same_pixels picture8.bmp out-lb8.bmp $( [[ -n $im ]] && echo out-im8.bmp ) $( [[ $pil == 1 ]] && echo out-pil8.bmp )
case_run "BMP 2000x2000 8-bit to GIF (LZW)" "${lzw_cases[@]}"
same_pixels picture8.bmp out-lb.gif $( [[ -n $im ]] && echo out-im.gif ) $( [[ $pil == 1 ]] && echo out-pil.gif )
for f in out-lb.gif out-im.gif out-pil.gif; do [[ -f $f ]] && printf '  %-12s %10d bytes\n' "$f" "$(stat -c %s "$f")"; done
case_run "BMP 4000x3000 24-bit to PNG" "${pngw_cases[@]}"
# The smallest level is libpng at zlib's highest: timed once, for its size.
start=$(date +%s.%N); "$cli" convert photo.bmp out-lbs.png --png-level small; end=$(date +%s.%N)
awk -v s="$start" -v e="$end" 'BEGIN { printf "  lyrabox-cli --png-level small: one run %.0f ms\n", (e - s) * 1000 }'
same_pixels photo.bmp out-lb.png out-lbf.png out-lbs.png $( [[ -n $im ]] && echo out-im.png ) $( [[ $pil == 1 ]] && echo out-pil.png )
for f in out-lb.png out-lbf.png out-lbs.png out-im.png out-pil.png; do
  [[ -f $f ]] && printf '  %-12s %10d bytes\n' "$f" "$(stat -c %s "$f")"
done

if [[ -x /usr/bin/time ]]; then
  echo; echo "== peak memory of lyrabox-cli (picture: 36000000 bytes of pixels)"
  for job in "photo.bmp out-m.bmp" "photo.png out-m.bmp" "photo.bmp out-m.png"; do
    # shellcheck disable=SC2086
    kb=$(/usr/bin/time -f %M "$cli" convert $job 2>&1 >/dev/null | tail -1)
    awk -v kb="$kb" -v job="$job" 'BEGIN { printf "  convert %-22s %8.1f MB  %.2fx the picture\n", job, kb / 1024, kb * 1024 / 36000000 }'
  done
fi
