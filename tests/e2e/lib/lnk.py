"""Prints the local target path and the working directory of a shell link (.lnk)."""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, IS_UNICODE = 0x1, 0x2, 0x4, 0x8, 0x10, 0x80

data = open(sys.argv[1], "rb").read()
if struct.unpack_from("<I", data, 0)[0] != 0x4C:
    sys.exit("not a shell link")
flags = struct.unpack_from("<I", data, 0x14)[0]
pos = 0x4C
if flags & HAS_ID_LIST:
    pos += 2 + struct.unpack_from("<H", data, pos)[0]
target = ""
if flags & HAS_LINK_INFO:
    size, header, info_flags, _, base_offset = struct.unpack_from("<IIIII", data, pos)
    if info_flags & 1:
        start = pos + base_offset
        target = data[start:data.index(b"\0", start)].decode("latin-1")
    pos += size


def read_string(p):
    count = struct.unpack_from("<H", data, p)[0]
    if flags & IS_UNICODE:
        return data[p + 2:p + 2 + 2 * count].decode("utf-16-le"), p + 2 + 2 * count
    return data[p + 2:p + 2 + count].decode("latin-1"), p + 2 + count


workdir = ""
if flags & HAS_NAME:
    _, pos = read_string(pos)
if flags & HAS_RELATIVE_PATH:
    _, pos = read_string(pos)
if flags & HAS_WORKING_DIR:
    workdir, pos = read_string(pos)
print("target=" + target)
print("workdir=" + workdir)
