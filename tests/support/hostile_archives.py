#!/usr/bin/env python3
"""Writes archives made to hurt a reader into FOLDER, each beside a first script
that reads well, so that each shows what the reader does with the bad part:

  bomb-claims.zip     a member whose headers claim 3 GiB
  bomb-unpacks.zip    a member that claims 100 bytes and unpacks to 64 MiB
  overlapping.zip     2,000 members whose headers all point at the same data
  many-members.zip    100,000 empty members
  escaping.zip        members named ../, /etc and a symbolic link
  encrypted.zip       a picture stored with a password (ZipCrypto)
  truncated.zip       the first half of a ZIP
  damaged.zip         a script, switched to by the first, whose deflated data are garbled
  deep.tar.xz         a member 10,000 folders deep
  zeros.tar.bz2       3 GiB of zeros in 7 KB of bzip2 streams before the novel
  not-an-archive.zip  plain text

usage: hostile_archives.py FOLDER
"""
import bz2
import io
import lzma
import os
import struct
import sys
import tarfile
import zipfile
import zlib

SCRIPT = "C\nBMP \"a.bmp\"\n一つ目。\nE\n".encode("cp932")
TITLE = "タイトル.txt"


def novel(path, **extra):
    archive = zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED)
    archive.writestr(TITLE, SCRIPT)
    return archive


def patch_sizes(path, name, compressed, size):
    """Sets the sizes that the headers of member name declare."""
    data = bytearray(open(path, "rb").read())
    encoded = name.encode()
    for signature, sizes_at in ((b"PK\x03\x04", 18), (b"PK\x01\x02", 20)):
        start = 0
        while (start := data.find(signature, start)) >= 0:
            name_at = start + (30 if signature == b"PK\x03\x04" else 46)
            if data[name_at:name_at + len(encoded)] == encoded:
                struct.pack_into("<II", data, start + sizes_at, compressed, size)
            start += 4
    open(path, "wb").write(data)


def bomb_claims(folder):
    path = os.path.join(folder, "bomb-claims.zip")
    with novel(path) as archive:
        archive.writestr("a.bmp", b"BM" + bytes(100))
    patch_sizes(path, "a.bmp", 30, 3 << 30)


def bomb_unpacks(folder):
    path = os.path.join(folder, "bomb-unpacks.zip")
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    zeros = bytes(1 << 20)
    packed = b"".join(packer.compress(zeros) for _ in range(64)) + packer.flush()
    with novel(path) as archive:
        info = zipfile.ZipInfo("a.bmp")
        archive.writestr(info, b"x" * len(packed))  # a stand-in of the packed length
    data = open(path, "rb").read()
    data = data.replace(b"x" * len(packed), packed, 1)
    open(path, "wb").write(data)
    patch_sizes(path, "a.bmp", len(packed), 100)
    data = bytearray(open(path, "rb").read())
    # Stored became deflated: the method in both headers.
    for signature, method_at in ((b"PK\x03\x04", 8), (b"PK\x01\x02", 10)):
        start = 0
        while (start := data.find(signature, start)) >= 0:
            name_at = start + (30 if signature == b"PK\x03\x04" else 46)
            if data[name_at:name_at + 5] == b"a.bmp":
                struct.pack_into("<H", data, start + method_at, 8)
            start += 4
    open(path, "wb").write(data)


def overlapping(folder):
    path = os.path.join(folder, "overlapping.zip")
    with novel(path) as archive:
        archive.writestr("a.bmp", b"BM" + bytes(1 << 16))
    data = open(path, "rb").read()
    central = data.find(b"PK\x01\x02", data.find(b"a.bmp") + 5)
    while data[central + 46:central + 51] != b"a.bmp":
        central = data.find(b"PK\x01\x02", central + 4)
    record = data[central:central + 51]
    end = data.rfind(b"PK\x05\x06")
    count, size, offset = struct.unpack_from("<HII", data, end + 10)
    copies = 2000
    extra = b"".join(record[:46] + b"%05d" % k for k in range(copies))
    body = data[:offset + size] + extra
    trailer = bytearray(data[end:])
    struct.pack_into("<HHII", trailer, 8, count + copies, count + copies, size + len(extra), offset)
    open(path, "wb").write(body + bytes(trailer))


def many_members(folder):
    """Written header by header: zipfile takes seconds for so many."""
    local, central = bytearray(), bytearray()
    members = [(TITLE.encode("cp932"), SCRIPT)] + [(b"e/%06d" % k, b"") for k in range(100_000)]
    for name, data in members:
        crc = zlib.crc32(data)
        central += struct.pack("<4s6H3I5H2I", b"PK\x01\x02", 20, 20, 0, 0, 0, 0, crc, len(data),
                               len(data), len(name), 0, 0, 0, 0, 0, len(local)) + name
        local += struct.pack("<4s5H3I2H", b"PK\x03\x04", 20, 0, 0, 0, 0, crc, len(data),
                             len(data), len(name), 0) + name + data
    end = struct.pack("<4s4H2IH", b"PK\x05\x06", 0, 0, 0xFFFF, 0xFFFF, len(central), len(local),
                      0)
    # More than 65,535 members: the counts say so, and readers count the records.
    open(os.path.join(folder, "many-members.zip"), "wb").write(local + central + end)


def escaping(folder):
    with novel(os.path.join(folder, "escaping.zip")) as archive:
        archive.writestr("../a.bmp", b"BM outside")
        archive.writestr("/etc/a.bmp", b"BM absolute")
        link = zipfile.ZipInfo("a.bmp")
        link.create_system = 3
        link.external_attr = 0o120777 << 16
        archive.writestr(link, b"/etc/hostname")


def encrypted(folder):
    # Info-ZIP's zip writes the password-protected member; Python cannot.
    source = os.path.join(folder, "encrypted")
    os.makedirs(source, exist_ok=True)
    open(os.path.join(source, TITLE), "wb").write(SCRIPT)
    open(os.path.join(source, "a.bmp"), "wb").write(b"BM" + bytes(100))
    path = os.path.abspath(os.path.join(folder, "encrypted.zip"))
    os.system("cd '%s' && zip -q '%s' '%s' && zip -q -P secret '%s' a.bmp"
              % (source, path, TITLE, path))


def truncated(folder):
    path = os.path.join(folder, "truncated.zip")
    with novel(path) as archive:
        archive.writestr("a.bmp", os.urandom(1 << 16))
    data = open(path, "rb").read()
    open(path, "wb").write(data[:len(data) // 2])


def damaged(folder):
    path = os.path.join(folder, "damaged.zip")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr(TITLE, b"FI b.txt\n")
        archive.writestr("b.txt", "".join("%d行目。\n" % k for k in range(500)).encode("cp932"))
    data = bytearray(open(path, "rb").read())
    start = data.find(b"b.txt") + len("b.txt") + 40
    data[start:start + 64] = bytes(byte ^ 0x5A for byte in data[start:start + 64])
    open(path, "wb").write(data)


def tar_of(members):
    """A tar stream of (name, bytes) members, the names as they are."""
    stream = io.BytesIO()
    with tarfile.open(fileobj=stream, mode="w", format=tarfile.PAX_FORMAT) as archive:
        for name, data in members:
            info = tarfile.TarInfo(name)
            info.size = len(data)
            archive.addfile(info, io.BytesIO(data))
    return stream.getvalue()


def deep(folder):
    members = [("a/" * 10_000 + "x.txt", b"deep"), (TITLE, SCRIPT), ("a.bmp", b"BM")]
    open(os.path.join(folder, "deep.tar.xz"), "wb").write(lzma.compress(tar_of(members)))


def zeros(folder):
    """Each bzip2 stream unpacks to 32 MiB of zeros; 96 of them make the member's 3 GiB."""
    chunk, count = 32 << 20, 96
    header = bytearray(tar_of([("zeros.bin", b"")])[:512])
    struct.pack_into("12s", header, 124, b"%011o\0" % (chunk * count))
    struct.pack_into("8s", header, 148, b"        ")
    struct.pack_into("8s", header, 148, b"%06o\0 " % sum(header))
    rest = tar_of([(TITLE, SCRIPT)])
    stream = bz2.compress(bytes(header)) + bz2.compress(bytes(chunk)) * count + bz2.compress(rest)
    open(os.path.join(folder, "zeros.tar.bz2"), "wb").write(stream)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for write in (bomb_claims, bomb_unpacks, overlapping, many_members, escaping, encrypted,
                  truncated, damaged, deep, zeros):
        write(folder)
    open(os.path.join(folder, "not-an-archive.zip"), "w").write("plain text\n")


if __name__ == "__main__":
    main(sys.argv[1])
