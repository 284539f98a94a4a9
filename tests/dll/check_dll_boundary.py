#!/usr/bin/env python3
"""Checks what the product DLL shows a host: its exports and the DLLs it needs.

A host finds the plug-in by one exported name, so the DLL exports VSTPluginMain and nothing
else; a user copies one file, so it imports from Windows' own DLLs only (a MinGW runtime or
library DLL would be missing on their machine).

    check_dll_boundary.py --objdump x86_64-w64-mingw32-objdump Corvalen.dll
"""
import argparse
import re
import subprocess
import sys

EXPECTED_EXPORTS = ['VSTPluginMain']

# DLLs every Windows x86-64 installation has, lower case.
SYSTEM_DLLS = {
    'kernel32.dll', 'user32.dll', 'gdi32.dll', 'msvcrt.dll', 'advapi32.dll', 'shell32.dll',
    'ole32.dll', 'oleaut32.dll', 'comdlg32.dll', 'comctl32.dll', 'shlwapi.dll', 'msimg32.dll',
    'wininet.dll', 'imm32.dll', 'winmm.dll', 'version.dll', 'uxtheme.dll', 'ws2_32.dll', 'bcrypt.dll',
}


def exports_and_imports(objdump_text):
    exports = []
    imports = []
    in_names = False
    for line in objdump_text.splitlines():
        found = re.match(r'\s*DLL Name:\s*(\S+)', line)
        if found:
            imports.append(found.group(1))
            continue
        if line.startswith('[Ordinal/Name Pointer] Table'):
            in_names = True
            continue
        if in_names:
            named = re.match(r'\s*\[\s*\d+\]\s+(\S+)\s*$', line)
            if named:
                exports.append(named.group(1))
            else:
                in_names = False
    return exports, imports


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--objdump', required=True)
    parser.add_argument('dll')
    args = parser.parse_args()
    text = subprocess.run([args.objdump, '-p', args.dll], check=True, capture_output=True,
                          text=True).stdout
    exports, imports = exports_and_imports(text)
    problems = []
    if exports != EXPECTED_EXPORTS:
        problems.append(f'exports {exports}, expected exactly {EXPECTED_EXPORTS}')
    foreign = [name for name in imports if name.lower() not in SYSTEM_DLLS]
    if foreign:
        problems.append(f'imports from DLLs that are not part of Windows: {foreign}')
    if not imports:
        problems.append('no imports found: is this objdump output of a PE file?')
    for problem in problems:
        print(f'{args.dll}: {problem}', file=sys.stderr)
    if not problems:
        print(f'exports {exports}; imports {imports}')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
