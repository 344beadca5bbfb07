#!/usr/bin/env python3
"""Writes a folder as a ZIP the way Japanese Windows wrote them: names as CP932
bytes without the UTF-8 flag, marked as made on MS-DOS. With --utf8 the names are
UTF-8 with the flag set, as today's tools write them.

Python's zipfile sets the UTF-8 flag on every name that is not ASCII, so each name
is written as ASCII of the same byte length and its bytes are put in afterwards,
in the local and the central headers alike.

usage: write_zip.py [--utf8] FOLDER ARCHIVE
"""
import os
import sys
import zipfile


def main(arguments):
    utf8 = arguments[0] == "--utf8"
    folder, archive = arguments[1:] if utf8 else arguments
    stand_ins = {}
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as zip_file:
        for root, _, files in sorted(os.walk(folder)):
            for name in sorted(files):
                path = os.path.join(root, name)
                member = os.path.relpath(path, folder)  # the file system's UTF-8 name
                if utf8:
                    zip_file.write(path, member)
                    continue
                stored = member.encode("cp932")
                stand_in = ("~%d~" % len(stand_ins)).ljust(len(stored), "_").encode()
                stand_ins[stand_in] = stored
                info = zipfile.ZipInfo(stand_in.decode(), (1996, 4, 1, 0, 0, 0))
                info.create_system = 0  # MS-DOS
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as source:
                    zip_file.writestr(info, source.read())
    if stand_ins:
        with open(archive, "rb") as source:
            data = source.read()
        for stand_in, stored in stand_ins.items():
            assert data.count(stand_in) == 2, stand_in
            data = data.replace(stand_in, stored)
        with open(archive, "wb") as target:
            target.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
