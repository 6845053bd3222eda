"""Packs a folder as a .tar.gz or a .zip whose bytes depend on nothing but the files' contents,
their names, whether they are executable, and the date given: entries sorted by name, owned by
root, dated SOURCE_DATE_EPOCH, the gzip header without a name or a time. (Tar and zip writers
otherwise record the user running them, the order the disk lists files in, and the time.)

usage: archive.py OUTPUT.tar.gz|OUTPUT.zip FOLDER EPOCH
The archive holds FOLDER's own name as its top folder.

usage: archive.py PACKAGE.deb
Sets the mode of every member of a Debian package's ar archive to rw-r--r--: CPack takes them
from the files it wrote, and so from the umask of whoever packed it.
"""
import gzip
import io
import os
import sys
import tarfile
import time
import zipfile


def entries(folder):
    """(name in the archive, path on disk) of the folder and all it holds, sorted by name."""
    top = os.path.basename(os.path.normpath(folder))
    found = [(top, folder)]
    for parent, folders, files in os.walk(folder):
        for name in folders + files:
            path = os.path.join(parent, name)
            found.append((top + "/" + os.path.relpath(path, folder).replace(os.sep, "/"), path))
    return sorted(found)


def mode_of(path):
    executable = os.path.isdir(path) or os.stat(path).st_mode & 0o111
    return 0o755 if executable else 0o644


def write_tar_gz(output, folder, epoch):
    data = io.BytesIO()
    with tarfile.open(fileobj=data, mode="w", format=tarfile.GNU_FORMAT) as tar:
        for name, path in entries(folder):
            info = tar.gettarinfo(path, name)
            info.uid = info.gid = 0
            info.uname = info.gname = "root"
            info.mode = mode_of(path)
            info.mtime = epoch
            if info.isfile():
                with open(path, "rb") as content:
                    tar.addfile(info, content)
            else:
                tar.addfile(info)
    with open(output, "wb") as raw, gzip.GzipFile("", "wb", 9, raw, mtime=0) as packed:
        packed.write(data.getvalue())


def write_zip(output, folder, epoch):
    # Zip keeps local time without a zone; the date is given as UTC. Zip cannot go before 1980.
    date_time = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(output, "w") as archive:
        for name, path in entries(folder):
            is_folder = os.path.isdir(path)
            info = zipfile.ZipInfo(name + "/" if is_folder else name, date_time)
            info.create_system = 3  # Unix, so that the mode below is read
            info.external_attr = ((0o40000 if is_folder else 0o100000) | mode_of(path)) << 16
            if is_folder:
                info.external_attr |= 0x10  # the MS-DOS folder flag, for Windows' own reader
                archive.writestr(info, b"")
            else:
                with open(path, "rb") as content:
                    archive.writestr(info, content.read(), zipfile.ZIP_DEFLATED, 9)


def set_ar_member_modes(package):
    with open(package, "r+b") as deb:
        data = bytearray(deb.read())
        at = len(b"!<arch>\n")
        while at + 60 <= len(data):
            # A member's header: name 16, date 12, owner 6, group 6, mode 8, size 10, end 2.
            data[at + 40:at + 48] = b"100644  "
            size = int(data[at + 48:at + 58])
            at += 60 + size + size % 2
        deb.seek(0)
        deb.write(data)


def main():
    if len(sys.argv) == 2 and sys.argv[1].endswith(".deb"):
        set_ar_member_modes(sys.argv[1])
        return
    output, folder, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    if output.endswith(".tar.gz"):
        write_tar_gz(output, folder, epoch)
    elif output.endswith(".zip"):
        write_zip(output, folder, epoch)
    else:
        sys.exit("archive.py: %s is neither .tar.gz nor .zip" % output)


if __name__ == "__main__":
    main()
