"""Image files for the project's art: GIF (every pixel a literal LZW code,
with a clear code often enough that the code width never grows) and BMP."""
import struct


def lzw_literals(pixels, min_code_size):
    width = min_code_size + 1
    clear = 1 << min_code_size
    run = (1 << min_code_size) - 2
    out, acc, bits = bytearray(), 0, 0

    def put(code):
        nonlocal acc, bits
        acc |= code << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8

    for i, p in enumerate(pixels):
        if i % run == 0:
            put(clear)
        put(p)
    put(clear + 1)
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out += bytes((len(chunk),)) + chunk
    return bytes(out + b'\0')


def animated_gif(width, height, palette, frames, loop=0):
    """palette: 256 (r, g, b); frames: list of (pixels, delay_hundredths, disposal, transparent_index or None)."""
    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', width, height, 0xF7, 0, 0)
    for r, g, b in palette:
        out += bytes((r, g, b))
    out += b'\x21\xFF\x0BNETSCAPE2.0\x03\x01' + struct.pack('<H', loop) + b'\0'
    for pixels, delay, disposal, transparent in frames:
        packed = (disposal & 7) << 2 | (1 if transparent is not None else 0)
        out += b'\x21\xF9\x04' + bytes((packed,)) + struct.pack('<H', delay) + bytes((transparent or 0, 0))
        out += b'\x2C' + struct.pack('<HHHHB', 0, 0, width, height, 0)
        out += bytes((8,)) + sub_blocks(lzw_literals(pixels, 8))
    return bytes(out + b'\x3B')


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) -> (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + bytes(rows)
