#!/usr/bin/env python3
"""Rebuilds the seed corpora fuzz/corpus/<target>/ from tests/data.

Each seed is the selector byte(s) a target reads first, then the text.
Reflection files are cut to their header and the first reflections, so the
committed corpus stays small.
"""
import hashlib
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
data = root / "tests" / "data"
corpus = root / "fuzz" / "corpus"


def put(target, payload):
    d = corpus / target
    d.mkdir(parents=True, exist_ok=True)
    name = hashlib.sha1(payload).hexdigest()[:16]
    (d / name).write_bytes(payload)


def table_rows(name):
    for line in (data / "tables" / name).read_text().splitlines():
        if line and not line.startswith("#"):
            yield line.split("\t")


def head(path, lines):
    text = path.read_bytes().splitlines(keepends=True)
    return b"".join(text[:lines])


def f32(x):
    return struct.pack("<f", x)


# number_readers: selector, a small count, then text or reals.
for text in ["1.234 -5 6E3 0.5E-2", "12 -3 .5", "1 2 3 4 5 6 7 8 9 10 11 12 13", "x 1"]:
    put("number_readers", bytes([0, 8]) + text.encode())
for text in ["1.234(5) 0.0012(3) -7(2)", "1.0(1", "12.5(12) 3", "(3)"]:
    put("number_readers", bytes([1, 8]) + text.encode())
for v, s in [(0.0123, 0.0045), (-0.5, 0.2), (123.456, 0.01), (1e-7, 1e-8), (5.0, 0.0)]:
    put("number_readers", bytes([2, 0]) + f32(v) + f32(s) + bytes([40]))
for text in ["1/2", "-3/4", "+", "-", " ", "0.25", "1/0"]:
    put("number_readers", bytes([3, 0]) + text.encode())
for v in [0.5, -0.75, 1 / 3, 13 / 24, 2.0, -12.0, 0.123]:
    put("number_readers", bytes([4 | 0x80, 10]) + f32(v))
put("number_readers", bytes([5 | 0x80, 0]) + f32(0.0) + f32(0.5) + f32(-0.25) + bytes([24]))
put("number_readers", bytes([5, 0]) + f32(1 / 3) + f32(0.5) + f32(0.75) + bytes([16]))
for text in ["2a-1/2b+c", "a+b", "-c"]:
    put("number_readers", bytes([6, 0]) + text.encode())
for text in ["x+y,-x+y,z", "-x,-y,z+1/2", "2x-1/2y,y,z"]:
    put("number_readers", bytes([7, 0]) + text.encode())
for text in ["(3F10.4,I5)", "(a4,2i3,f8.2)", "(E12.4)"]:
    put("number_readers", bytes([8, 0]) + text.encode())
for text in ["+13/24", "-1/3"]:
    put("number_readers", bytes([9, 0]) + text.encode())

# free_format: selector, capacity, line width, then text.
put("free_format", bytes([0, 60, 80]) + b"IF5\n  12  3.5 hello\n 1 2.5E3 abcde\n-3 -.5 x")
put("free_format", bytes([0, 40, 80]) + b"IIIFFFA\n   1   0  25  5.45  4.13  0.89 o")
put("free_format", bytes([1, 60, 120]) + b"IIIFFF\n! comment\n\n" + head(data / "real/sh2185_cu_crystals/sh2185_cu_crystals.fcf", 45).split(b"_refln_refinement_weight\n")[-1])
cif = (data / "ex19" / "ex19.cif").read_bytes()
for key in [b"cell_length_a", b"_space_group_name_H-M_alt", b"CELL", b"symmetry"]:
    put("free_format", bytes([2, 8, 120]) + key + b"\n" + cif)
put("free_format", bytes([2 | 0x40, 8, 80]) + b"value\n# value 1 2\nvalue 1.5(2) 3(1)\nno\nvalue x 7 8")
put("free_format", bytes([3, 15, 80]) + b"_refln_index_h\n" + head(data / "ex19" / "ex19.fcf", 40))
put("free_format", bytes([3, 15, 80]) + b"\n" + cif)

# operator_text: every distinct operator text of the peer fixture.
ops = set()
lists = []
for row in table_rows("settings-operators.tsv"):
    texts = row[8].split(";")
    ops.update(texts)
    lists.append(texts)
for text in sorted(ops):
    put("operator_text", bytes([0, 1]) + text.encode())
for text in ["x+1/12,y-1/2,-z+0.25", "X , Y , Z", "-x+y,-x,z+5/6", "x,y", "x,y,z+1/0", "msym u,v,-w,+1"]:
    put("operator_text", bytes([1, 1]) + text.encode())
for text in ["msym u,v,-w,+1", "-u,-v,w,-1", "dsym u,-v,w, 0.5"]:
    put("operator_text", bytes([2]) + text.encode())
put("operator_text", bytes([3]) + bytes([1, 0, 0, 0, 255, 0, 0, 0, 1]) + b"\0" * 36 + f32(0.5) * 3 + bytes([1, 36]))
for texts in lists[::40]:
    put("operator_text", bytes([4]) + "\n".join(texts).encode())

# set_spacegroup: numbers, every Hermann-Mauguin and Hall symbol of the
# settings table, the routes by code, and generator lists.
symbols = set()
for row in table_rows("settings-table.tsv"):
    symbols.add(row[2])
    symbols.add(row[3])
for s in sorted(symbols):
    put("set_spacegroup", bytes([0]) + s.encode())
for n in [1, 2, 14, 19, 68, 146, 167, 194, 227, 230, 0, 231]:
    put("set_spacegroup", bytes([0]) + str(n).encode())
for sel, s in [(3, "P 21 21 21"), (4, "-P 2ybc"), (5, "227"), (5, "F d -3 m"), (0x80, "P 21/c"),
               (0, "  P 21 21 21"), (0, "R -3 :H"), (0, "P 2 2 -1n (1 0 0)"), (0, "-P 2 (0 0 1)")]:
    put("set_spacegroup", bytes([sel]) + s.encode())
for row in list(table_rows("generators.tsv"))[::4]:
    put("set_spacegroup", bytes([6]) + b"user\n" + "\n".join(row[2].split(";")).encode())
put("set_spacegroup", bytes([7]) + b"user\nx,y,z\n-x,-y,z\n-x,y+1/2,-z\nx,-y+1/2,-z")

# reflection_file: the layouts, cut to the header and the first reflections.
for path, lines in [("ex19/ex19.fcf", 60), ("ex19/ex19c.fcf", 60), ("real/p31c/p31c.fcf", 70),
                    ("real/sh2185_cu/sh2185_cu.fcf", 70),
                    ("real/sh2185_cu_crystals/sh2185_cu_crystals.fcf", 75)]:
    put("reflection_file", bytes([0]) + head(data / path, lines))
    put("reflection_file", bytes([2]) + head(data / path, lines).replace(b"\n", b"\r\n"))
crystals = (data / "real/sh2185_cu_crystals/sh2185_cu_crystals.fcf").read_bytes().splitlines(keepends=True)
put("reflection_file", bytes([4]) + b"".join(crystals[:50] + crystals[-8:]))

# space_group_source: selector bit 0 SHELX layout, bit 1 from a CIF.
for path, sel in [("ex19/ex19.cif", 3), ("ex19/ex19c.cif", 2), ("real/sh2185_cu_crystals/sh2185_cu_crystals.cif", 2)]:
    put("space_group_source", bytes([sel]) + (data / path).read_bytes())
for path in ["real/p31c/p31c.cif", "real/sh2185_cu/sh2185_cu.cif"]:
    put("space_group_source", bytes([3]) + head(data / path, 60))
for answer in [b"P 21 21 21\n", b"\n", b"'P 21/c'\r\n", b"19", b"-P 2ybc\n"]:
    put("space_group_source", bytes([1]) + answer)
