#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target: a few tiny valid inputs in
each form the readers accept, and a few near misses. Run from anywhere;
the seeds are committed, so this is needed only to change them."""
import os, struct, zlib

here = os.path.dirname(os.path.abspath(__file__))

def put(target, name, data):
    folder = os.path.join(here, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode('latin-1')
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)

def header(lines, resolution):
    return ('#?RADIANCE\n' + ''.join(l + '\n' for l in lines) + 'FORMAT=32-bit_rle_rgbe\n\n' + resolution + '\n').encode()

flat = header(['EXPOSURE=2'], '-Y 2 +X 3') + bytes([128,64,32,129, 200,100,50,130, 0,0,0,0, 255,255,255,128, 128,128,128,136, 10,20,30,120])
rotated = header([], '+X 2 +Y 3') + bytes([128,64,32,129]*6)
old_runs = header([], '-Y 1 +X 12') + bytes([100,100,100,128, 1,1,1,5, 1,1,1,0, 90,90,90,128])
def rle_line(n, px):
    out = bytes([2, 2, n >> 8, n & 255])
    for c in px:
        out += bytes([128 + n, c]) if n < 128 else bytes([255, c]) * (n // 127) + bytes([128 + n % 127, c])
    return out
rle = header(['VIEW= -vta -vh 180 -vv 180'], '-Y 2 +X 8') + rle_line(8, (120,110,100,130)) + rle_line(8, (60,50,40,131))
literal = header([], '-Y 1 +X 8') + bytes([2,2,0,8]) + b''.join(bytes([8]) + bytes(range(10, 18)) for _ in range(4))
truncated = rle[:-5]
for target in ('rgbe_reader', 'picture_input'):
    put(target, 'flat.hdr', flat)
    put(target, 'rotated.hdr', rotated)
    put(target, 'old_runs.hdr', old_runs)
    put(target, 'rle.hdr', rle)
    put(target, 'literal.hdr', literal)
    put(target, 'truncated.hdr', truncated)
    put(target, 'huge_claim.hdr', header([], '-Y 100000 +X 100000') + bytes(16))
    put(target, 'nul_exposure.hdr', b'#?RADIANCE\nA\0 EXPOSURE=4\nEXPOSURE=0x10\n\n-Y 1 +X 1\n' + bytes([1,2,3,128]))

put('picture_header', 'standard', '#?RADIANCE\nEXPOSURE=2.000000e+00\n\tEXPOSURE=4\nFORMAT=32-bit_rle_rgbe\n\n-Y 480 +X 640\n')
put('picture_header', 'crlf', '#?RADIANCE\r\nSOFTWARE= camera\r\n\r\n+X 10 -Y 20\r\n')
put('picture_header', 'resolution_only', '-Y 2147483647 +X 2147483647')
put('picture_header', 'unprintable', '\x01\x02\n\n')

calc = {
    'mask': 'ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)',
    'vignetting': 'ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)',
    'division': 'ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5',
    'histogram': 'L=$1;cond=L-1e-7;$1=log10(L)',
    'functions': 'f(a,b)=a^b-sqrt(abs(b));ro=f(ri(1),2);go=exp(-x)*sin(PI/2);bo=max(1,2,3)',
    'constant_zero': 'ro=ri(1)/0',
    'recursion': 'ro=go;go=bo;bo=ro',
    'deep': 'ro=' + '(' * 40 + '1' + ')' * 40,
}
for name, text in calc.items():
    put('calc', name, text)

put('settings_file', 'default', 'CACHE=</home/u/.cache/candelux>\r\nDEFTONEMAP=<ward>\r\nIMGDISP=<bmp>\r\n')
put('settings_file', 'odd', 'XCACHE=>broken\nCACHE=<>\nDEFTONEMAP=<Ward\nIMGDISP=bmp>\n')
put('autocap', 'list', 'F5.6,1/125\r\nF8,1/60\r\n  \r\nF11 , 2"\r\n')
put('autocap', 'damaged', 'F5.6\nF99,1/3\n')
put('view_options', 'angular', 'VIEW= -vta -vh 180 -vv 180')
put('view_options', 'full', 'rpict -vtv -vp 1 2 3 -vd 0 1 0 -vu 0 0 1 -vh 45 -vv 30 -vo 0 -va 0 -vs 0.1 -vl -0.2 scene.oct')
put('view_options', 'cut', '-vth -vh')

def bmp24(w, h, px):
    stride = (w * 3 + 3) & ~3
    rows = b''
    for y in range(h - 1, -1, -1):
        row = b''.join(bytes(px[y * w + x][::-1]) for x in range(w))
        rows += row + bytes(stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 54 + len(rows), 0, 0, 54) + info + rows
put('bmp_mask', 'rgb_2x2.bmp', bmp24(2, 2, [(255,255,255), (0,0,0), (128,128,128), (255,0,0)]))
pal = struct.pack('<IiiHHIIiiII', 40, 2, -2, 1, 8, 0, 8, 2835, 2835, 2, 0) + bytes([0,0,0,0, 255,255,255,0])
put('bmp_mask', 'palette_topdown.bmp', b'BM' + struct.pack('<IHHI', 14 + len(pal) + 8, 0, 0, 14 + len(pal)) + pal + bytes([0,1,0,0, 1,0,0,0]))

def tiff(w, h, spp, bits, data):
    entries = [(256, 3, 1, w), (257, 3, 1, h), (258, 3, 1, bits), (259, 3, 1, 1),
               (262, 3, 1, 2 if spp == 3 else 1), (273, 4, 1, 0), (277, 3, 1, spp),
               (278, 3, 1, h), (279, 4, 1, len(data)), (284, 3, 1, 1)]
    ifd_offset = 8
    data_offset = ifd_offset + 2 + 12 * len(entries) + 4
    out = b'II*\x00' + struct.pack('<I', ifd_offset) + struct.pack('<H', len(entries))
    for tag, typ, count, value in entries:
        if tag == 273: value = data_offset
        out += struct.pack('<HHI', tag, typ, count) + (struct.pack('<HH', value, 0) if typ == 3 else struct.pack('<I', value))
    return out + struct.pack('<I', 0) + data
put('tiff_mask', 'grey_2x2.tif', tiff(2, 2, 1, 8, bytes([0, 255, 128, 64])))
put('tiff_mask', 'rgb_2x1.tif', tiff(2, 1, 3, 8, bytes([255, 0, 0, 0, 255, 0])))
