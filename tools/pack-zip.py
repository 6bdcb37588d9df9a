#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend only on the files' contents, the
given time and the given order, so that the same files always give the same
archive.

    pack-zip.py EPOCH ARCHIVE FOLDER NAME...

EPOCH (seconds since 1970, UTC) is every entry's time; NAME... are files of
FOLDER, stored in this order under their own names.
"""
import sys
import time
import zipfile

# Zip times begin in 1980.
EARLIEST = 315532800
# MS-DOS attributes of a plain file, as Windows itself writes them, rather
# than the packer's Unix permissions.
FILE_ATTRIBUTE_ARCHIVE = 0x20


def main():
    epoch, archive, folder, names = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4:]
    stamp = time.gmtime(max(epoch, EARLIEST))[:6]
    with zipfile.ZipFile(archive, "w") as out:
        for name in names:
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0
            entry.external_attr = FILE_ATTRIBUTE_ARCHIVE
            with open(f"{folder}/{name}", "rb") as data:
                out.writestr(entry, data.read(), compresslevel=9)


if __name__ == "__main__":
    main()
