#!/usr/bin/env python3
"""Turns what the product installs from install/ into NSIS macros, so the
installer and those files stay one list:

    make_nsh.py <Trelvane.reg> <out.nsh> <data file>...

TR_WRITE_MACHINE_SETTINGS writes the machine-wide settings of Trelvane.reg;
TR_FOR_EACH_DATA_FILE DO inserts the macro DO once per data file name.

The default program folder written in the file becomes $INSTDIR: the values
that name it follow the folder the installer was given. Only HKEY_LOCAL_MACHINE
keys, REG_SZ strings and dword values occur in the file; anything else is an
error rather than a value silently left out.
"""
import re
import sys

DEFAULT_FOLDER = "C:\\Program Files\\Kalvor Corporation\\Trelvane"
ROOT = "HKEY_LOCAL_MACHINE\\"


def reg_string(text):
    """The value of a quoted .reg string: \\\\ and \\" are escapes."""
    return re.sub(r'\\(.)', r'\1', text)


def nsis_string(text):
    """A quoted NSIS string; $INSTDIR stays a variable, other $ are literal."""
    text = text.replace("$", "$$").replace('"', '$\\"')
    return '"' + text.replace(DEFAULT_FOLDER, "$INSTDIR") + '"'


def convert(lines):
    key = None
    out = []
    for number, line in enumerate(lines, 1):
        line = line.strip()
        if not line or line.startswith(";") or line == "REGEDIT4":
            continue
        where = f"line {number}"
        section = re.fullmatch(r"\[(.*)\]", line)
        if section:
            if not section.group(1).startswith(ROOT):
                raise ValueError(f"{where}: only {ROOT} keys are installed")
            key = section.group(1)[len(ROOT):]
            out.append(f"  ; [{key}]")
            continue
        value = re.fullmatch(r'"((?:[^"\\]|\\.)*)"=(.*)', line)
        if not value or key is None:
            raise ValueError(f"{where}: not a value of a key: {line}")
        name, data = reg_string(value.group(1)), value.group(2)
        text = re.fullmatch(r'"((?:[^"\\]|\\.)*)"', data)
        dword = re.fullmatch(r"dword:([0-9a-fA-F]{8})", data)
        if text:
            out.append(f"  WriteRegStr HKLM {nsis_string(key)} {nsis_string(name)} "
                       f"{nsis_string(reg_string(text.group(1)))}")
        elif dword:
            out.append(f"  WriteRegDWORD HKLM {nsis_string(key)} {nsis_string(name)} {int(dword.group(1), 16)}")
        else:
            raise ValueError(f"{where}: unsupported value type: {data}")
    return out


def main():
    if len(sys.argv) < 4:
        raise ValueError("usage: make_nsh.py <Trelvane.reg> <out.nsh> <data file>...")
    source, target, data = sys.argv[1], sys.argv[2], sorted(p.rsplit("/", 1)[-1] for p in sys.argv[3:])
    with open(source, encoding="ascii") as f:
        body = convert(f.read().splitlines())
    with open(target, "w", encoding="ascii", newline="\n") as f:
        f.write("; Generated from install/ by packaging/make_nsh.py: do not edit.\n")
        f.write("!macro TR_WRITE_MACHINE_SETTINGS\n")
        f.write("\n".join(body) + "\n")
        f.write("!macroend\n")
        f.write("!macro TR_FOR_EACH_DATA_FILE DO\n")
        f.write("".join(f'  !insertmacro ${{DO}} "{name}"\n' for name in data))
        f.write("!macroend\n")


if __name__ == "__main__":
    try:
        main()
    except (OSError, ValueError) as e:
        sys.exit(f"make_nsh: {e}")
