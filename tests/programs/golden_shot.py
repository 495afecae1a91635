#!/usr/bin/env python3
# Compares a screenshot of the game (a 32-bit TGA) with a golden picture (an 8-bit
# RGB PNG without filters), pixel for pixel; TESS_UPDATE_GOLDENS=1 rewrites the
# golden instead. A picture that differs is kept beside the test run as
# NAME.actual.png, where NAME is the golden's name.
#   golden_shot.py SHOT.tga GOLDEN.png
import os, struct, sys, zlib


def read_tga(path):
    data = open(path, 'rb').read()
    width, height = struct.unpack('<HH', data[12:16])
    if data[2] != 2 or data[16] != 32:
        sys.exit('unexpected screenshot format')
    rows = [data[18 + y * width * 4:18 + (y + 1) * width * 4] for y in range(height)]
    if not data[17] & 0x20:
        rows.reverse()
    # Blue, green, red, alpha -> red, green, blue.
    return width, height, [bytes(b for i in range(0, len(r), 4) for b in (r[i + 2], r[i + 1], r[i])) for r in rows]


def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff)


def write_png(path, width, height, rows):
    raw = b''.join(b'\0' + r for r in rows)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def read_png(path):  # the form write_png makes: 8-bit RGB rows without a filter
    data = open(path, 'rb').read()
    at, idat, width, height = 8, b'', 0, 0
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height = struct.unpack('>II', body[:8])
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3 + 1
    return width, height, [raw[y * stride + 1:(y + 1) * stride] for y in range(height)]


def main():
    shot, golden = sys.argv[1:3]
    width, height, rows = read_tga(shot)
    if os.environ.get('TESS_UPDATE_GOLDENS') == '1':
        write_png(golden, width, height, rows)
        print('golden rewritten:', golden)
        return
    kept = os.path.join(os.getcwd(), os.path.splitext(os.path.basename(golden))[0] + '.actual.png')
    gw, gh, grows = read_png(golden)
    if (gw, gh) != (width, height):
        write_png(kept, width, height, rows)
        sys.exit('size %dx%d, golden %dx%d; the picture is kept as %s' % (width, height, gw, gh, kept))
    wrong = sum(1 for a, b in zip(rows, grows) for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])
    if wrong:
        write_png(kept, width, height, rows)
        sys.exit('%d pixels differ; the picture is kept as %s' % (wrong, kept))


main()
