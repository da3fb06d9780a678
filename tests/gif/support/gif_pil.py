"""Reads and writes GIF files with Pillow for the GIF codec's tests.

  gif_pil.py decode IN.gif OUT.bin [IN.gif OUT.bin ...]
      each OUT.bin: "<frames> <width> <height>\n" then width*height RGB bytes of the
      last frame as Pillow composes it (every frame drawn in turn).
  gif_pil.py encode IN.bin OUT.gif [interlace] [transparency=N]
      IN.bin: "<width> <height> <colours>\n", colours RGB triples, then
      width*height palette indices, rows from the top.
"""
import sys

from PIL import Image


def decode(src, dst):
    with Image.open(src) as im:
        frames = getattr(im, "n_frames", 1)
        im.seek(frames - 1)
        rgb = im.convert("RGB")
        with open(dst, "wb") as out:
            out.write(b"%d %d %d\n" % (frames, rgb.width, rgb.height))
            out.write(rgb.tobytes())


def encode(src, dst, options):
    with open(src, "rb") as f:
        header = f.readline().split()
        width, height, colours = (int(v) for v in header)
        palette = f.read(3 * colours)
        pixels = f.read(width * height)
    im = Image.frombytes("P", (width, height), pixels)
    im.putpalette(palette)
    kwargs = {"interlace": "interlace" in options, "optimize": False}
    for opt in options:
        if opt.startswith("transparency="):
            kwargs["transparency"] = int(opt.split("=", 1)[1])
    im.save(dst, "GIF", **kwargs)


if __name__ == "__main__":
    if sys.argv[1] == "decode":
        for i in range(2, len(sys.argv) - 1, 2):
            decode(sys.argv[i], sys.argv[i + 1])
    else:
        encode(sys.argv[2], sys.argv[3], sys.argv[4:])
