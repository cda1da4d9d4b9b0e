#!/usr/bin/env python3
"""zip-folder.py EPOCH FOLDER ZIP: zips FOLDER so that the zip holds the folder by its name, the
same bytes every time: entries in sorted order, each with the time EPOCH (UTC) and fixed
permissions, nothing of the machine (owner, other times) in extra fields."""
import os
import sys
import time
import zipfile

epoch, folder, target = int(sys.argv[1]), sys.argv[2].rstrip('/'), sys.argv[3]
# A zip's times start in 1980 and are written as they are (no time zone).
stamp = time.gmtime(max(epoch, 315532800))[:6]
top = os.path.basename(folder)


def entry(name, is_dir):
    info = zipfile.ZipInfo(name, date_time=stamp)
    info.create_system = 3  # Unix, so that the permissions below are read
    info.external_attr = ((0o40755 if is_dir else 0o100644) << 16) | (0x10 if is_dir else 0)
    info.compress_type = zipfile.ZIP_STORED if is_dir else zipfile.ZIP_DEFLATED
    return info


paths = []
for root, dirs, files in os.walk(folder):
    rel = os.path.relpath(root, os.path.dirname(folder))
    paths.append((rel + '/', None))
    paths.extend((os.path.join(rel, f), os.path.join(root, f)) for f in files)
paths.sort()

tmp = target + '.part'
with zipfile.ZipFile(tmp, 'w') as z:
    for name, path in paths:
        if path is None:
            z.writestr(entry(name, True), b'')
        else:
            with open(path, 'rb') as f:
                z.writestr(entry(name, False), f.read(), compresslevel=9)
os.replace(tmp, target)
