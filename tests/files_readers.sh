#!/usr/bin/env bash
# The files Skyvane writes, read by the programs users open them with: fitsverify and astropy
# for FITS, libtiff and Pillow for TIFF, Pillow for the display bitmap, poppler for the printed PDF.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d /tmp/skyvane-readers-XXXXXX)
trap 'rm -rf "$root"' EXIT
py=/usr/bin/python3

# Input images with a known pattern: sample (x, y) = (x * 37 + y * 101) mod 65536.
$py - "$root" <<'PY'
import os, struct, sys
root = sys.argv[1]
os.makedirs(f"{root}/c/in")
for name, w, h in (("~bin", 376, 290), ("~full", 752, 580)):
    with open(f"{root}/c/in/{name}", "wb") as f:
        f.write(b"".join(struct.pack("<H", (x * 37 + y * 101) % 65536) for y in range(h) for x in range(w)))
PY

SKYVANE_ROOT="$root" SKYVANE_PRINT_TO="$root/print.pdf" "$program" --headless \
    --script "$here/files/readers.sky" --clock "2026-01-15 21:30:00" > "$root/transcript.out"
if grep -E '^(message|error)' "$root/transcript.out"; then
    echo "the script reported a problem" >&2
    exit 1
fi

out="$root/c/out"
test "$(stat -c %s "$out/full16.fit")" = 878880   # 305 blocks and 480 bytes
for f in "$out/bin16.fit" "$out/bin16u.fit" "$out/bin8.fit" "$root/c/autosave/IMG1.FIT"; do
    fitsverify -q -e "$f" | grep -q "verification OK" || { fitsverify "$f"; exit 1; }
done

tiffinfo "$out/bin.tif" > "$root/tiffinfo.txt" 2>&1
grep -q "Image Width: 376 Image Length: 290" "$root/tiffinfo.txt"
grep -q "Rows/Strip: 29" "$root/tiffinfo.txt"
tiffdump "$out/full.tif" | grep -q "StripByteCounts (279) SHORT (3) 10<43616 43616"

$py - "$root" <<'PY'
import subprocess, sys, warnings
import numpy as np
from astropy.io import fits
from PIL import Image
root = sys.argv[1]
out = f"{root}/c/out"

def pattern(w, h):
    y, x = np.mgrid[0:h, 0:w]
    return ((x * 37 + y * 101) % 65536).astype(np.int64)

binned, full = pattern(376, 290), pattern(752, 580)
with warnings.catch_warnings():
    warnings.simplefilter("ignore")   # the full frame's 480 bytes beyond the last block
    for name, expected, unsigned in (("bin16", binned, False), ("full16", full, False),
                                     ("bin16u", binned, True)):
        with fits.open(f"{out}/{name}.fit") as h:
            data = h[0].data
            assert data.shape == expected.shape, (name, data.shape)
            if unsigned:
                # Unsigned data under BZERO 0: other programs read them as signed 16-bit.
                assert data.dtype.kind == "i" and data.dtype.itemsize == 2, data.dtype
                assert np.array_equal(data.astype(np.int64) % 65536, expected), name
            else:
                assert np.array_equal(data.astype(np.int64), expected), name
            assert h[0].header["DATE-OBS"] == "2026-01-15", h[0].header["DATE-OBS"]
    with fits.open(f"{out}/bin8.fit") as h:
        data = h[0].data
        assert data.dtype == np.uint8 and data.shape == (290, 376), (data.dtype, data.shape)
        assert np.array_equal(data, binned >> 8), "bin8"
    with fits.open(f"{root}/c/autosave/IMG1.FIT") as h:
        assert h[0].header["TIME-OBS"] == "21:30:00", h[0].header["TIME-OBS"]
        assert np.array_equal(h[0].data.astype(np.int64) % 65536, binned), "autosave"

for name, expected in (("bin", binned), ("full", full)):
    im = Image.open(f"{out}/{name}.tif")
    assert im.mode == "L" and im.size == expected.shape[::-1], (im.mode, im.size)
    assert np.array_equal(np.asarray(im), (expected >> 8).astype(np.uint8)), name

# The display bitmap of the last refresh (the full frame) and the PDF printed from the binned one.
bmp = Image.open(f"{root}/c/skyvane.bmp")
assert bmp.size == (752, 580) and bmp.mode in ("P", "L"), (bmp.size, bmp.mode)   # a grey palette reads as L
assert np.array_equal(np.asarray(bmp), (full >> 8).astype(np.uint8)), "bmp"
subprocess.run(["pdftoppm", "-r", "72", "-png", "-singlefile", f"{root}/print.pdf", f"{root}/print"], check=True)
page = np.asarray(Image.open(f"{root}/print.png").convert("L"))
assert page.shape == (290, 376), page.shape
assert np.abs(page.astype(int) - (binned >> 8)).max() <= 1
PY
echo "ok: outside readers"
