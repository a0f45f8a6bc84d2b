#!/usr/bin/env python3
"""Checks what Windows shows of kvt.exe or of the installer: a 64-bit GUI
program (no console window) with the program's icon and a version resource
of the given version, described in Thai."""
import sys

import pefile

path, version = sys.argv[1], sys.argv[2]
pe = pefile.PE(path)
problems = []
if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
    problems.append("not a 64-bit x86 program")
if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
    problems.append("not a GUI program: it would open a console window")

resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
resource_types = {entry.id for entry in resources.entries} if resources else set()
if pefile.RESOURCE_TYPE["RT_GROUP_ICON"] not in resource_types:
    problems.append("no icon")

strings = {}
for info in getattr(pe, "FileInfo", []):
    for entry in info:
        for table in getattr(entry, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
for key in ("FileVersion", "ProductVersion"):
    if strings.get(key) != version:
        problems.append(f"{key} is {strings.get(key)!r}, not {version!r}")
# Staff read the file's properties in Thai.
if not any("\u0e00" <= ch <= "\u0e7f" for ch in strings.get("FileDescription", "")):
    problems.append(f"FileDescription is not Thai: {strings.get('FileDescription')!r}")
fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
major, minor = (int(part) for part in version.split("."))
if not fixed or (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF) != (major, minor):
    problems.append("the fixed file version differs")

if problems:
    print(f"{path}: " + "; ".join(problems), file=sys.stderr)
    sys.exit(1)
print(f"{path}: 64-bit GUI program, icon, version {version}, {strings['FileDescription']}")
