#!/usr/bin/env python3
"""Tests of the import audit: listings made up here, and the real test program
import_too_new.exe of each Windows build (it imports GetTickCount64).

usage: check_imports_test.py BUILD_ROOT   (the folder holding win-x86_64 and win-i686)
"""
import os
import subprocess
import sys
import unittest

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "imports")
sys.path.insert(0, TOOLS)
import check_imports  # noqa: E402

BUILD_ROOT = None

LISTING = """
The Import Tables (interpreted .idata section contents)
\tDLL Name: KERNEL32.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t5e71c\t  183  CloseHandle
\t5e72c\t  871  {kernel}

\tDLL Name: USER32.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t5f384\t 1013  WindowFromPoint
\t5f390\t   17

The Function Table (interpreted .pdata section contents)
"""


def listing(kernel="Sleep"):
    return LISTING.format(kernel=kernel)


class ParseImports(unittest.TestCase):
    def test_reads_names_per_dll_and_ordinals(self):
        self.assertEqual(check_imports.parse_imports(listing()), [
            ("KERNEL32.dll", "CloseHandle"), ("KERNEL32.dll", "Sleep"),
            ("USER32.dll", "WindowFromPoint"), ("USER32.dll", "#17")])


class Audit(unittest.TestCase):
    allowed = {
        ("kernel32.dll", "CloseHandle"): ("95", "NT3.1"),
        ("kernel32.dll", "Sleep"): ("95", "NT3.1"),
        ("kernel32.dll", "Thread32First"): ("95", "2000"),
        ("kernel32.dll", "OpenThread"): ("ME", "2000"),
        ("kernel32.dll", "RtlUnwindEx"): (None, "2003SP1"),
        ("kernel32.dll", "GetTickCount64"): (None, "Vista"),
        ("user32.dll", "WindowFromPoint"): ("95", "NT3.1"),
    }

    def problems(self, kernel, arch):
        imports = [entry for entry in check_imports.parse_imports(listing(kernel)) if entry[1] != "#17"]
        return check_imports.audit(imports, self.allowed, arch)

    def test_allowed_imports_pass_on_both_builds(self):
        self.assertEqual(self.problems("Sleep", "i686"), [])
        self.assertEqual(self.problems("Thread32First", "i686"), [])
        self.assertEqual(self.problems("Sleep", "x86_64"), [])

    def test_an_unlisted_import_is_named(self):
        problems = self.problems("TryEnterCriticalSection", "x86_64")
        self.assertEqual(len(problems), 1)
        self.assertIn("KERNEL32.dll TryEnterCriticalSection: not in the list", problems[0])

    def test_an_ordinal_import_is_not_allowed(self):
        imports = check_imports.parse_imports(listing())
        self.assertEqual(check_imports.audit(imports, self.allowed, "i686"),
                         ["USER32.dll #17: not in the list of allowed imports"])

    def test_a_library_outside_the_known_dlls_is_refused_even_for_a_listed_function(self):
        allowed = dict(self.allowed)
        allowed[("msvcrt.dll", "malloc")] = ("98", "NT4")
        allowed[("comctl32.dll", "InitCommonControls")] = ("95", "NT3.51")
        allowed[("comctl32.dll", "InitCommonControlsEx")] = ("98", "NT4")
        imports = [("KERNEL32.dll", "Sleep"), ("COMCTL32.dll", "InitCommonControlsEx"),
                   ("msvcrt.dll", "malloc"), ("COMCTL32.dll", "InitCommonControls")]
        for arch in ("i686", "x86_64"):
            with self.subTest(arch=arch):
                self.assertEqual(check_imports.audit(imports, allowed, arch), [
                    "COMCTL32.dll: not a known DLL, so a COMCTL32.dll beside the program would be loaded in its place"])

    def test_too_new_for_the_9x_family_fails_only_the_32_bit_build(self):
        self.assertIn("missing on Windows 98SE", self.problems("OpenThread", "i686")[0])
        self.assertIn("missing on Windows 98SE", self.problems("RtlUnwindEx", "i686")[0])
        self.assertEqual(self.problems("RtlUnwindEx", "x86_64"), [])

    def test_too_new_for_the_nt_family_fails_both_builds(self):
        self.assertIn("missing on Windows XP (from Windows Vista)", self.problems("GetTickCount64", "i686")[1])
        self.assertEqual(self.problems("GetTickCount64", "x86_64"),
                         ["KERNEL32.dll GetTickCount64: missing on Windows 2003SP1 (from Windows Vista)"])


class CheckedInList(unittest.TestCase):
    def test_the_list_reads_and_holds_the_runtime_imports_as_too_new(self):
        allowed = check_imports.read_allowed()
        self.assertEqual(allowed[("kernel32.dll", "GetTickCount64")], (None, "Vista"))
        self.assertEqual(allowed[("kernel32.dll", "TryEnterCriticalSection")], (None, "NT4"))
        self.assertEqual(allowed[("kernel32.dll", "GetModuleHandleW")], ("95", "NT3.1"))

    def test_a_malformed_line_is_refused(self):
        path = os.path.join(os.environ.get("TMPDIR", "/tmp"), "kestrava-imports-bad.txt")
        with open(path, "w", encoding="utf-8") as bad:
            bad.write("KERNEL32.dll Sleep 95 NT9\n")
        self.assertRaises(ValueError, check_imports.read_allowed, path)


class RealProgram(unittest.TestCase):
    """The audit run as the build runs it, on a program that imports GetTickCount64."""

    def audit_program(self, arch):
        program = os.path.join(BUILD_ROOT, f"win-{arch}", "import_too_new.exe")
        self.assertTrue(os.path.isfile(program), f"{program} is missing: build the {arch} tree first")
        return subprocess.run([sys.executable, os.path.join(TOOLS, "check_imports.py"), arch, program],
                              capture_output=True, text=True)

    def test_refused_on_both_builds_naming_the_function(self):
        for arch in ("x86_64", "i686"):
            with self.subTest(arch=arch):
                result = self.audit_program(arch)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn("forbidden import KERNEL32.dll GetTickCount64: missing on Windows", result.stderr)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    BUILD_ROOT = sys.argv.pop(1)
    unittest.main(verbosity=2)
