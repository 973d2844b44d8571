#!/usr/bin/env python3
"""Shows that scripts/check-imports rejects each way a call into a DLL can be
broken in a program file, on the real programs of the build: each case damages
one structure of a copy and expects its own fault; the undamaged copy passes.

usage: mutations_test.py PROGRAM...   (runs on Linux, no Wine needed)
"""
import contextlib
import importlib.machinery
import importlib.util
import io
import os
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = importlib.machinery.SourceFileLoader(
    "check_imports", os.path.join(HERE, "..", "..", "scripts", "check-imports"))
_spec = importlib.util.spec_from_loader("check_imports", _loader)
check = importlib.util.module_from_spec(_spec)
_loader.exec_module(check)

PROGRAMS = []


def first_delay_table(image):
    """(descriptor, iat, names) rvas of the first delay-load descriptor."""
    descriptor = min(check.tail_descriptors(image))
    _, _, _, iat, names = struct.unpack("<5I", image.read(descriptor, 20))
    return descriptor, iat, names


# Each damage takes the image and a writer (rva, bytes) and returns the text
# its fault must contain; None: the program has nothing of that kind.
def zero_delay_slot(image, write):
    _, iat, _ = first_delay_table(image)
    write(iat, bytes(image.ptr))  # what the i686 linker of binutils 2.40 did
    return "holds 0x0, which is no load stub in the program's code"


def swap_delay_slots(image, write):
    _, iat, _ = first_delay_table(image)
    first, second = image.read(iat, image.ptr), image.read(iat + image.ptr, image.ptr)
    if not any(second):
        return None
    write(iat, second)
    write(iat + image.ptr, first)
    return "which is no load stub of this slot"


def misdirect_stub(image, write):
    _, iat, _ = first_delay_table(image)
    stub = image.pointer(iat) - image.base
    jump = stub + (8 if image.wide else 6)  # the jmp's displacement
    write(jump, struct.pack("<i", check.s32(image.read(jump, 4)) + 1))
    return "leads to no delay-load tail"


def unmark_descriptor(image, write):
    descriptor, _, _ = first_delay_table(image)
    write(descriptor, struct.pack("<I", 0))
    return "is not relative (attributes 0)"


def garble_delay_name(image, write):
    _, _, names = first_delay_table(image)
    write(image.pointer(names) + 2, b" ")
    return "is not a name"


def garble_dll_name(image, write):
    descriptor, _, _ = first_delay_table(image)
    name = struct.unpack("<I", image.read(descriptor + 4, 4))[0]
    write(name + image.string(name).index("."), b"\0")
    return "is not a DLL"


def garble_import_name(image, write):
    rva = image.dirs[1][0]
    lookup = struct.unpack("<I", image.read(rva, 4))[0]
    write(image.pointer(lookup) + 2, b"*")
    return "import table: function name"


DAMAGES = [zero_delay_slot, swap_delay_slots, misdirect_stub, unmark_descriptor,
           garble_delay_name, garble_dll_name, garble_import_name]


def run_check(path):
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        faults = check.check_program(path, check.find_objdump(path, None))
    return faults


class CheckImports(unittest.TestCase):
    def test_undamaged_programs_pass(self):
        for program in PROGRAMS:
            with self.subTest(program=os.path.basename(program)):
                self.assertEqual([], run_check(program))

    def test_each_damage_gives_its_fault(self):
        tried = 0
        for program in PROGRAMS:
            image = check.Image(program)
            delayed = bool(check.tail_descriptors(image))
            for damage in DAMAGES:
                if damage is not garble_import_name and not delayed:
                    continue
                with self.subTest(program=os.path.basename(program), damage=damage.__name__):
                    data = bytearray(image.data)

                    def write(rva, raw):
                        at = image.file_offset(rva)
                        data[at:at + len(raw)] = raw
                    expected = damage(image, write)
                    if expected is None:
                        continue
                    with tempfile.TemporaryDirectory() as folder:
                        copy = os.path.join(folder, os.path.basename(program))
                        with open(copy, "wb") as f:
                            f.write(data)
                        faults = run_check(copy)
                    self.assertTrue(any(expected in f for f in faults), "\n".join(faults) or "no fault")
                    tried += 1
        self.assertGreater(tried, 0, "no program with delay-loaded DLLs was given")

    def test_a_file_that_is_no_program_cannot_be_checked(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "text.exe")
            with open(path, "wb") as f:
                f.write(b"MZ" + bytes(62) + b"not a program")
            err = io.StringIO()
            with contextlib.redirect_stderr(err), contextlib.redirect_stdout(io.StringIO()):
                self.assertEqual(2, check.main(["check-imports", path]))
            self.assertIn("cannot be checked", err.getvalue())


if __name__ == "__main__":
    PROGRAMS[:] = sys.argv[1:]
    if not PROGRAMS:
        sys.exit(__doc__)
    unittest.main(argv=sys.argv[:1], verbosity=1)
