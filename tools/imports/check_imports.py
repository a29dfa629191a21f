#!/usr/bin/env python3
"""Audits the import tables of the Windows programs against allowed-imports.txt.

The 32-bit programs may import by name only what both Windows 98 SE and Windows XP
export; the 64-bit programs only what Windows XP x64 (Server 2003 SP1) exports. Every
import that is not listed, or that is listed as newer than the build allows, is named
and the audit fails. So is every library outside KNOWN_DLLS that the programs import from.

usage: check_imports.py ARCH PROGRAM.exe...   (ARCH: i686 or x86_64)
"""
import os
import subprocess
import sys

LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "allowed-imports.txt")

# Windows releases in the order they appeared, per family.
NINE_X = ["95", "98", "98SE", "ME"]
NT = ["NT3.1", "NT3.5", "NT3.51", "NT4", "2000", "XP", "2003", "2003SP1", "Vista", "7", "8", "8.1", "10"]

# The oldest release of each family that a build must load on; None where the family is not served.
OLDEST = {
    "i686": {"9x": "98SE", "nt": "XP"},
    "x86_64": {"9x": None, "nt": "2003SP1"},
}


# The libraries the programs may import from at load time: known DLLs, which Windows maps
# from its own folder whatever lies beside the program. Any other library named in an
# import table is looked for in the program's folder first, before the program can restrict
# its library search, so its functions are looked up at run time from the system folder.
# Each is in the KnownDLLs of Vista and later (the Session Manager's KnownDLLs key).
KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}


def read_allowed(path=LIST):
    """Maps (dll, function) in lower-case DLL names to (oldest 9x or None, oldest NT)."""
    allowed = {}
    with open(path, encoding="utf-8") as listing:
        for number, line in enumerate(listing, 1):
            fields = line.split("#", 1)[0].split()
            if not fields:
                continue
            if len(fields) != 4:
                raise ValueError(f"{path}:{number}: expected DLL, function, 9x release, NT release")
            dll, function, nine_x, nt = fields
            nine_x = None if nine_x == "-" else nine_x.removesuffix("-stub")
            if nine_x is not None and nine_x not in NINE_X:
                raise ValueError(f"{path}:{number}: unknown 9x release {nine_x}")
            if nt not in NT:
                raise ValueError(f"{path}:{number}: unknown NT release {nt}")
            allowed[(dll.lower(), function)] = (nine_x, nt)
    return allowed


def parse_imports(dump):
    """The (dll, function) pairs of an `objdump -p` listing; ordinal imports as #N."""
    imports = []
    dll = None
    for line in dump.splitlines():
        text = line.strip()
        if text.startswith("DLL Name:"):
            dll = text.split(":", 1)[1].strip()
            continue
        if dll is None:
            continue
        if not text:
            dll = None
            continue
        fields = text.split()
        if fields[0] == "vma:":
            continue
        if len(fields) >= 3:
            imports.append((dll, fields[2]))
        elif len(fields) == 2:
            imports.append((dll, "#" + fields[1]))
    return imports


def newer(release, oldest, order):
    return order.index(release) > order.index(oldest)


def audit(imports, allowed, arch):
    """Problems of one program's imports for the given build, one line each."""
    problems = []
    oldest = OLDEST[arch]
    for dll in sorted({dll for dll, _ in imports if dll.lower() not in KNOWN_DLLS}):
        problems.append(f"{dll}: not a known DLL, so a {dll} beside the program would be loaded in its place")
    for dll, function in imports:
        entry = allowed.get((dll.lower(), function))
        if entry is None:
            problems.append(f"{dll} {function}: not in the list of allowed imports")
            continue
        nine_x, nt = entry
        if oldest["9x"] is not None and (nine_x is None or newer(nine_x, oldest["9x"], NINE_X)):
            problems.append(f"{dll} {function}: missing on Windows {oldest['9x']} (9x family: {nine_x or 'none'})")
        if newer(nt, oldest["nt"], NT):
            problems.append(f"{dll} {function}: missing on Windows {oldest['nt']} (from Windows {nt})")
    return problems


def objdump_for(arch):
    return f"{arch}-w64-mingw32-objdump"


def main(argv):
    if len(argv) < 3 or argv[1] not in OLDEST:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    arch = argv[1]
    allowed = read_allowed()
    failed = False
    for program in argv[2:]:
        dump = subprocess.run([objdump_for(arch), "-p", program], check=True, capture_output=True, text=True).stdout
        imports = parse_imports(dump)
        problems = audit(imports, allowed, arch)
        name = os.path.basename(program)
        if not imports:
            problems.append("no import table found")
        for problem in problems:
            print(f"{name}: forbidden import {problem}", file=sys.stderr)
        if problems:
            failed = True
        else:
            print(f"{name}: {len(imports)} imports, all allowed on the {arch} build")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
