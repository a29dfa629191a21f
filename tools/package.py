#!/usr/bin/env python3
"""Packs one Windows build for download: OUT_DIR/kestrava-<version>-<x86|x64>.zip with
Vornel.exe, Drainex.exe and README.txt, the how-to in code page 949 with CR LF line
ends, as Notepad on a Korean Windows reads it. The version is the project version of
the build (CMakeLists.txt).

usage: package.py ARCH BUILD_DIR OUT_DIR [--name]   (ARCH: i686 or x86_64;
       --name prints the package's path without making it)
"""
import os
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LABELS = {"i686": "x86", "x86_64": "x64"}
PROGRAMS = ("Vornel.exe", "Drainex.exe")


def project_version(build_dir):
    with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith("CMAKE_PROJECT_VERSION:"):
                return line.split("=", 1)[1].strip()
    raise SystemExit(f"{build_dir}: no project version in CMakeCache.txt")


def how_to(version):
    with open(os.path.join(ROOT, "tools", "package", "README.txt"), encoding="utf-8") as source:
        text = source.read().replace("@VERSION@", version)
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp949")


def main(argv):
    args = [arg for arg in argv[1:] if arg != "--name"]
    if len(args) != 3 or args[0] not in LABELS:
        print("\n".join(__doc__.strip().splitlines()[-2:]), file=sys.stderr)
        return 2
    arch, build_dir, out_dir = args
    version = project_version(build_dir)
    path = os.path.join(out_dir, f"kestrava-{version}-{LABELS[arch]}.zip")
    if "--name" not in argv:
        os.makedirs(out_dir, exist_ok=True)
        with zipfile.ZipFile(path + ".part", "w", zipfile.ZIP_DEFLATED) as package:
            for program in PROGRAMS:
                package.write(os.path.join(build_dir, program), program)
            package.writestr("README.txt", how_to(version))
        os.replace(path + ".part", path)
    print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
