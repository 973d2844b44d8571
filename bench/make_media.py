#!/usr/bin/env python3
"""Lays out the benchmark's two media, each with its payload, its install
script and an NSIS script for the same files. The payload is made from fixed
seeds, so that every run copies the same bytes.

  make_media.py ROOT --small-files N --small-size BYTES --small-folders N
                     --large-files N --large-size BYTES

ROOT/<payload>/medium/   install.INF and data\\...: install.exe is added by scripts/bench
ROOT/<payload>/nsis.nsi, nsis-nocrc.nsi   NSIS installers of data\\ (stored, silent)
A medium whose parameters have not changed since the last run is kept.
"""
import argparse
import os
import random
import shutil


def write_payload(data_dir, files, size, folders, seed):
    """files files of size bytes, spread over folders folders; the [Install] entries."""
    entries = []
    rng = random.Random(seed)
    per_folder = -(-files // folders)
    for index in range(files):
        folder = "d%02d" % (index // per_folder)
        os.makedirs(os.path.join(data_dir, folder), exist_ok=True)
        name = "f%04d.dat" % index
        with open(os.path.join(data_dir, folder, name), "wb") as out:
            out.write(rng.randbytes(size))
        entries.append("data\\%s\\%s" % (folder, name))
    return entries


def install_script(title, key, entries):
    lines = ["[Install]", "Title=%s" % title, "Folder=%s" % key, "InstallKey=%s" % key]
    lines += ["%d=%s" % (n, entry) for n, entry in enumerate(entries, 1)]
    return "\r\n".join(lines) + "\r\n"


def nsis_script(medium, output, crc):
    win = "Z:" + medium.replace("/", "\\")
    return "\n".join([
        'Name "Benchmark"',
        'OutFile "%s"' % output,
        "SetCompress off",
        "CRCCheck %s" % ("on" if crc else "off"),
        "SilentInstall silent",
        "RequestExecutionLevel user",
        'InstallDir "C:\\bench\\nsis"',
        "Section",
        '  SetOutPath "$INSTDIR"',
        '  File /r "%s\\data"' % win,
        "SectionEnd",
        "",
    ])


def lay_out(root, name, title, key, files, size, folders, seed):
    base = os.path.join(root, name)
    stamp = "%d %d %d %d\n" % (files, size, folders, seed)
    stamp_path = os.path.join(base, "parameters")
    if os.path.exists(stamp_path) and open(stamp_path).read() == stamp:
        return
    shutil.rmtree(base, ignore_errors=True)
    medium = os.path.join(base, "medium")
    entries = write_payload(os.path.join(medium, "data"), files, size, folders, seed)
    with open(os.path.join(medium, "install.INF"), "w", newline="") as out:
        out.write(install_script(title, key, entries))
    for crc, nsi in ((True, "nsis.nsi"), (False, "nsis-nocrc.nsi")):
        with open(os.path.join(base, nsi), "w") as out:
            out.write(nsis_script(medium, nsi.replace(".nsi", ".exe"), crc))
    with open(stamp_path, "w") as out:
        out.write(stamp)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--small-files", type=int, required=True)
    parser.add_argument("--small-size", type=int, required=True)
    parser.add_argument("--small-folders", type=int, required=True)
    parser.add_argument("--large-files", type=int, required=True)
    parser.add_argument("--large-size", type=int, required=True)
    args = parser.parse_args()
    lay_out(args.root, "small", "Benchmark Small Payload", "BenchSmall",
            args.small_files, args.small_size, args.small_folders, 1)
    lay_out(args.root, "large", "Benchmark Large Payload", "BenchLarge",
            args.large_files, args.large_size, 1, 2)


if __name__ == "__main__":
    main()
