"""The names a Windows DLL (a .pyd module) exports, read from its export table.

    python tools/pe_exports.py FILE

Needs nothing but Python, so that the tests can check a module on Windows,
where no binutils are at hand. An export by ordinal only is listed as "#N".
"""

import struct
import sys
from pathlib import Path


def exports(path):
    data = Path(path).read_bytes()
    (header,) = struct.unpack_from("<I", data, 0x3C)
    if data[:2] != b"MZ" or data[header:header + 4] != b"PE\0\0":
        raise ValueError(f"{path} is not a PE image")
    sections_count, optional_size = struct.unpack_from("<H12xH", data, header + 6)
    optional = header + 24
    (magic,) = struct.unpack_from("<H", data, optional)
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]  # PE32, PE32+
    export_rva, _ = struct.unpack_from("<II", data, directories)
    if export_rva == 0:
        return []
    sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
                for i in range(sections_count)]  # virtual size, address, raw size, raw offset

    def offset(rva):
        for virtual_size, address, raw_size, raw_offset in sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return rva - address + raw_offset
        raise ValueError(f"address {rva:#x} of {path} is in no section")

    def name(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii")

    directory = offset(export_rva)
    base, functions, names, address_table, name_table, ordinal_table = struct.unpack_from(
        "<6I", data, directory + 16)
    named = {struct.unpack_from("<H", data, offset(ordinal_table) + 2 * i)[0]:
             name(struct.unpack_from("<I", data, offset(name_table) + 4 * i)[0])
             for i in range(names)}
    addresses = struct.unpack_from(f"<{functions}I", data, offset(address_table))
    return [named.get(i, f"#{base + i}") for i, address in enumerate(addresses) if address]


if __name__ == "__main__":
    print("\n".join(exports(sys.argv[1])))
