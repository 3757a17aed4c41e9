#!/usr/bin/env python3
"""Writes the code page tables of the platform layer from the vendor best-fit files.

Run from the repository root:

    python3 tables/codepages/gen_codepage_tables.py            # rewrite cpNNN.cpp, codepage_index.cpp
    python3 tables/codepages/gen_codepage_tables.py --check    # exit 1 if a committed file is stale

The input is every bestfit*.txt of ../shared/data/windows-bestfit (or --data-dir).
Each file becomes tables/codepages/cpNNN.cpp holding one CodePageTable
(see codepage_table.h); codepage_index.cpp finds a table by its number.
Standard library only.
"""

import argparse
import hashlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
DEFAULT_DATA = os.path.join(os.path.dirname(REPO), "shared", "data", "windows-bestfit")
COMMAND = "python3 tables/codepages/gen_codepage_tables.py"
UNMAPPED = 0xFFFF


class ParseError(Exception):
    pass


class CodePage:
    def __init__(self):
        self.number = None
        self.max_char_size = None
        self.default_char = None
        self.unicode_default = None
        self.single = {}        # byte -> unit
        self.lead_ranges = []   # [(first, last)]
        self.pairs = {}         # lead -> {trail -> unit}
        self.wc = {}            # unit -> bytes (high byte: lead)


def records(data):
    """Yields (line number, fields) for every line that holds something.

    Lines are split on LF only: the comments are in the code page's own
    encoding, and some of their bytes read as line breaks to other splitters.
    """
    for number, raw in enumerate(data.split(b"\n"), 1):
        text = raw.split(b";", 1)[0].strip()
        if text:
            yield number, text.decode("ascii").split()


def parse(path):
    with open(path, "rb") as f:
        data = f.read()
    cp = CodePage()
    it = records(data)

    def take(count, what):
        out = []
        for _ in range(count):
            try:
                number, fields = next(it)
            except StopIteration:
                raise ParseError(f"{path}: file ends inside {what}")
            if len(fields) != 2:
                raise ParseError(f"{path}:{number}: expected two fields in {what}")
            out.append((int(fields[0], 16), int(fields[1], 16)))
        return out

    for number, fields in it:
        tag = fields[0].upper()
        if tag == "CODEPAGE":
            cp.number = int(fields[1])
        elif tag == "CPINFO":
            cp.max_char_size = int(fields[1])
            cp.default_char = int(fields[2], 16)
            cp.unicode_default = int(fields[3], 16)
        elif tag == "MBTABLE":
            for b, u in take(int(fields[1]), "MBTABLE"):
                cp.single[b] = u
        elif tag == "DBCSRANGE":
            # Each range line is a bare pair; its DBCSTABLEs follow, one per
            # lead byte, and the next range comes after the last of them.
            for _ in range(int(fields[1])):
                (first, last), = take(1, "DBCSRANGE")
                cp.lead_ranges.append((first, last))
                for lead in range(first, last + 1):
                    number, header = next(it)
                    if header[0].upper() != "DBCSTABLE":
                        raise ParseError(f"{path}:{number}: expected DBCSTABLE for lead byte {lead:#x}")
                    cp.pairs[lead] = dict(take(int(header[1]), "DBCSTABLE"))
        elif tag == "WCTABLE":
            for u, b in take(int(fields[1]), "WCTABLE"):
                cp.wc[u] = b
        elif tag == "ENDCODEPAGE":
            break
        else:
            raise ParseError(f"{path}:{number}: unknown tag {fields[0]}")
    validate(path, cp)
    return cp


def validate(path, cp):
    if None in (cp.number, cp.max_char_size, cp.default_char, cp.unicode_default):
        raise ParseError(f"{path}: CODEPAGE or CPINFO missing")
    if len(cp.lead_ranges) > 6:
        raise ParseError(f"{path}: more lead byte ranges than GetCPInfo can report")
    for lead in cp.pairs:
        if lead in cp.single:
            raise ParseError(f"{path}: lead byte {lead:#x} also has a single-byte mapping")
    units = list(cp.single.values()) + [u for row in cp.pairs.values() for u in row.values()]
    if UNMAPPED in units or UNMAPPED in cp.wc.values() or UNMAPPED in cp.wc:
        raise ParseError(f"{path}: a mapping uses {UNMAPPED:#x}, the table's unmapped marker")
    if any(b > 0xFF for b in cp.single) or any(b > 0xFFFF for b in cp.wc.values()):
        raise ParseError(f"{path}: a byte value out of range")


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def hex_rows(values, width, per_line=16):
    lines = []
    for start in range(0, len(values), per_line):
        chunk = values[start:start + per_line]
        lines.append("    " + ",".join(f"0x{v:0{width}x}" for v in chunk) + ",")
    return "\n".join(lines)


def banner(inputs):
    lines = [
        "// Generated by gen_codepage_tables.py; do not edit. Rebuild with:",
        f"//   {COMMAND}",
        "// from the repository root. Input:",
    ]
    for path in inputs:
        lines.append(f"//   windows-bestfit/{os.path.basename(path)} (sha256 {sha256(path)[:16]})")
    return "\n".join(lines) + "\n"


def render(path, cp):
    n = cp.number
    single = [cp.single.get(b, UNMAPPED) for b in range(256)]
    leads = sorted(cp.pairs)
    lead_row = [0] * 256
    pair_values = []
    for row, lead in enumerate(leads, 1):
        lead_row[lead] = row
        table = cp.pairs[lead]
        pair_values.extend(table.get(t, UNMAPPED) for t in range(256))

    blocks = []
    block_of = {}
    index = []
    for hi in range(256):
        block = tuple(cp.wc.get((hi << 8) | lo, UNMAPPED) for lo in range(256))
        if block not in block_of:
            block_of[block] = len(blocks)
            blocks.append(block)
        index.append(block_of[block])

    ranges = [b for pair in cp.lead_ranges for b in pair]
    ranges += [0] * (12 - len(ranges))

    out = [banner([path])]
    out.append('#include "tables/codepages/codepage_table.h"\n')
    out.append("namespace quornel::platform::codepages {\nnamespace {\n")
    out.append(f"constexpr char16_t kSingle[256] = {{\n{hex_rows(single, 4)}\n}};\n")
    out.append(f"constexpr std::uint8_t kLeadRow[256] = {{\n{hex_rows(lead_row, 2)}\n}};\n")
    if pair_values:
        out.append(f"// {len(leads)} lead bytes, 256 trail bytes each.")
        out.append(f"constexpr char16_t kPairs[{len(pair_values)}] = {{\n{hex_rows(pair_values, 4)}\n}};\n")
    else:
        out.append("constexpr char16_t kPairs[1] = {0xffff};  // single-byte: no pairs\n")
    out.append(f"constexpr std::uint16_t kEncodeIndex[256] = {{\n{hex_rows(index, 2)}\n}};\n")
    flat = [v for block in blocks for v in block]
    out.append(f"// {len(blocks)} distinct blocks of 256.")
    out.append(f"constexpr std::uint16_t kEncodeBlocks[{len(flat)}] = {{\n{hex_rows(flat, 4)}\n}};\n")
    out.append("}  // namespace\n")
    out.append(f"extern const CodePageTable kCodePage{n};")
    out.append(f"const CodePageTable kCodePage{n} = {{")
    out.append(f"    {n}, {cp.max_char_size}, 0x{cp.default_char:04x}, 0x{cp.unicode_default:04x},")
    out.append("    {" + ", ".join(f"0x{b:02x}" for b in ranges) + "},")
    out.append("    kSingle, kLeadRow, kPairs, kEncodeIndex, kEncodeBlocks,")
    out.append("};\n")
    out.append("}  // namespace quornel::platform::codepages")
    return "\n".join(out) + "\n"


def render_index(paths, numbers):
    out = [banner(paths)]
    out.append('#include "tables/codepages/codepage_table.h"\n')
    out.append("namespace quornel::platform::codepages {\n")
    for n in numbers:
        out.append(f"extern const CodePageTable kCodePage{n};")
    out.append("")
    out.append("const CodePageTable* FindCodePageTable(unsigned codePage) {")
    out.append("  switch (codePage) {")
    for n in numbers:
        out.append(f"    case {n}: return &kCodePage{n};")
    out.append("    default: return nullptr;")
    out.append("  }")
    out.append("}\n")
    out.append("}  // namespace quornel::platform::codepages")
    return "\n".join(out) + "\n"


def build(data_dir):
    """Returns {file name: contents} of every generated file."""
    paths = sorted(
        (os.path.join(data_dir, name) for name in os.listdir(data_dir)
         if name.startswith("bestfit") and name.endswith(".txt")),
        key=lambda p: int(os.path.basename(p)[7:-4]))
    if not paths:
        raise ParseError(f"no bestfit*.txt in {data_dir}")
    files = {}
    numbers = []
    for path in paths:
        cp = parse(path)
        if f"bestfit{cp.number}.txt" != os.path.basename(path):
            raise ParseError(f"{path}: declares code page {cp.number}")
        numbers.append(cp.number)
        files[f"cp{cp.number}.cpp"] = render(path, cp)
    files["codepage_index.cpp"] = render_index(paths, numbers)
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data-dir", default=DEFAULT_DATA, help="directory of bestfit*.txt")
    parser.add_argument("--out-dir", default=HERE, help="where the generated sources go")
    parser.add_argument("--check", action="store_true",
                        help="regenerate in memory and exit 1 if any file differs")
    args = parser.parse_args()
    try:
        files = build(args.data_dir)
    except (ParseError, OSError, ValueError) as e:
        print(f"gen_codepage_tables: {e}", file=sys.stderr)
        return 2

    stale = []
    for name, text in files.items():
        target = os.path.join(args.out_dir, name)
        try:
            with open(target, encoding="ascii", newline="") as f:
                current = f.read()
        except OSError:
            current = None
        if current == text:
            continue
        stale.append(name)
        if not args.check:
            with open(target, "w", encoding="ascii", newline="") as f:
                f.write(text)
    if args.check:
        for name in stale:
            print(f"gen_codepage_tables: {name} is stale; run {COMMAND}", file=sys.stderr)
        return 1 if stale else 0
    for name in stale:
        print(f"wrote {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
