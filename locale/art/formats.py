"""formats.py - writers for the Windows picture formats the resource compiler
takes: 24-bit BMP, ICO with 32-bit images (alpha plus AND mask), and an
uncompressed 8-bit AVI that the common controls' animation control plays.
"""
import struct


def _dib_rows(w, h, pixels, bpp):
    """Bottom-up rows padded to 4 bytes. pixels: row-major, top row first;
    bpp 24 takes (r,g,b), 32 takes (r,g,b,a), 8 takes palette indexes."""
    rows = []
    for y in range(h - 1, -1, -1):
        line = pixels[y * w:(y + 1) * w]
        if bpp == 24:
            raw = b''.join(struct.pack('<BBB', b, g, r) for r, g, b in line)
        elif bpp == 32:
            raw = b''.join(struct.pack('<BBBB', b, g, r, a) for r, g, b, a in line)
        else:
            raw = bytes(line)
        rows.append(raw + b'\0' * (-len(raw) % 4))
    return b''.join(rows)


def _info_header(w, h, bpp, image_size, colours=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, image_size, 2835, 2835, colours, 0)


def write_bmp(path, w, h, pixels):
    """24-bit bottom-up BMP from (r,g,b) tuples."""
    bits = _dib_rows(w, h, pixels, 24)
    header = _info_header(w, h, 24, len(bits))
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(bits), 0, 0, 14 + len(header)))
        f.write(header + bits)


def write_ico(path, images):
    """images: list of (size, rgba tuples). Each image is stored as a 32-bit
    DIB with its AND mask (set where fully transparent), so both alpha-aware
    and mask-only code paths draw it correctly."""
    blobs = []
    for size, pixels in images:
        xor = _dib_rows(size, size, pixels, 32)
        mask_rows = []
        stride = ((size + 31) // 32) * 4
        for y in range(size - 1, -1, -1):
            bits = bytearray(stride)
            for x in range(size):
                if pixels[y * size + x][3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask_rows.append(bytes(bits))
        body = _info_header(size, size * 2, 32, len(xor)) + xor + b''.join(mask_rows)
        blobs.append((size, body))
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, body in blobs:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    with open(path, 'wb') as f:
        f.write(out + b''.join(body for _, body in blobs))


def quantise(frames, colours=256):
    """Median-cut palette for a list of frames of (r,g,b) tuples; returns
    (palette, frames of indexes). Pure black keeps index 0 so the clip's
    background is exact."""
    counts = {}
    for frame in frames:
        for p in frame:
            counts[p] = counts.get(p, 0) + 1
    counts.pop((0, 0, 0), None)

    def scored(box):
        if len(box) < 2:
            return (0, 0, box)
        weight = sum(n for _, n in box) ** 0.5
        spreads = [max(p[c] for p, _ in box) - min(p[c] for p, _ in box) for c in range(3)]
        channel = max(range(3), key=lambda c: spreads[c])
        return (spreads[channel] * weight, channel, box)

    boxes = [scored(list(counts.items()))]
    while len(boxes) < colours - 1:
        best = max(range(len(boxes)), key=lambda i: boxes[i][0])
        score, channel, box = boxes[best]
        if score <= 0:
            break
        boxes.pop(best)
        box.sort(key=lambda item: item[0][channel])
        total, acc, half = sum(n for _, n in box), 0, 0
        for half, (_, n) in enumerate(box):
            acc += n
            if acc * 2 >= total:
                break
        half = min(half, len(box) - 2) + 1
        boxes += [scored(box[:half]), scored(box[half:])]
    boxes = [box for _, _, box in boxes if box]
    palette = [(0, 0, 0)]
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(p[c] * n for p, n in box) / total)) for c in range(3)))
    cache = {(0, 0, 0): 0}

    def nearest(p):
        i = cache.get(p)
        if i is None:
            i = min(range(len(palette)),
                    key=lambda k: (palette[k][0] - p[0]) ** 2 * 3 + (palette[k][1] - p[1]) ** 2 * 4
                    + (palette[k][2] - p[2]) ** 2 * 2)
            cache[p] = i
        return i
    palette += [(0, 0, 0)] * (colours - len(palette))
    return palette, [[nearest(p) for p in frame] for frame in frames]


def _chunk(fourcc, data):
    return fourcc + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')


def _list(kind, body):
    return _chunk(b'LIST', kind + body)


def write_avi(path, w, h, frames, palette, fps):
    """One uncompressed 8-bit video stream (BI_RGB), no audio, every frame
    a key frame: the animation control plays it without any codec."""
    frame_size = len(_dib_rows(w, h, frames[0], 8))
    usec = int(round(1000000 / fps))
    avih = struct.pack('<IIIIIIIIII4I', usec, frame_size * fps, 0, 0x10,  # AVIF_HASINDEX
                       len(frames), 0, 1, frame_size, w, h, 0, 0, 0, 0)
    strh = b'vids' + b'DIB ' + struct.pack('<IHHIIIIIIIIhhhh', 0, 0, 0, 0, 1, fps, 0,
                                           len(frames), frame_size, 0xFFFFFFFF, 0, 0, 0, w, h)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    strf = _info_header(w, h, 8, frame_size, len(palette)) + pal
    hdrl = _list(b'hdrl', _chunk(b'avih', avih) + _list(b'strl', _chunk(b'strh', strh) + _chunk(b'strf', strf)))
    movi_body, index, offset = b'', b'', 4
    for frame in frames:
        data = _dib_rows(w, h, frame, 8)
        index += b'00db' + struct.pack('<III', 0x10, offset, len(data))   # AVIIF_KEYFRAME
        chunk = _chunk(b'00db', data)
        movi_body += chunk
        offset += len(chunk)
    body = b'AVI ' + hdrl + _list(b'movi', movi_body) + _chunk(b'idx1', index)
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)
