#!/usr/bin/env python3
"""Fails when an include breaks the layering of src/ (docs/architecture.md):

  - a core/ or tests/ file includes a Win32 header or anything outside core/;
  - a folder includes one of a higher layer;
  - a feature includes another feature's win/ or hook/ headers (they meet only
    through the host interface in ui/win/feature.h).

Usage: check_layers.py <src folder> | --self-test
"""
import os
import re
import sys
import tempfile

# Bottom up. Folders of one layer may include each other's lower-level headers.
LAYERS = [
    ["base"],
    ["settings", "shell", "msgbox", "fader", "widgets", "fileinfo"],
    ["ui"],
    ["library", "rotation", "aim", "download", "links", "tray"],
    ["app"],
    ["program"],
]
FEATURE_LAYER = 3
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}

# Checked kinds of folder; wintests and benchmarks drive whole programs from outside.
CHECKED = {"core", "win", "hook", "tests"}
PORTABLE = {"core", "tests"}

WIN32_HEADERS = {
    "windows.h", "windowsx.h", "commctrl.h", "commdlg.h", "shellapi.h", "shlobj.h", "shlwapi.h",
    "objbase.h", "objidl.h", "ole2.h", "oleauto.h", "olectl.h", "gdiplus.h", "wininet.h", "winhttp.h",
    "winsock2.h", "ws2tcpip.h", "uxtheme.h", "psapi.h", "tlhelp32.h", "mmsystem.h", "richedit.h",
    "shobjidl.h", "propidl.h", "versionhelpers.h", "dwmapi.h", "tchar.h",
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def kind_of(parts):
    """The folder kind (core, win, ...) of a path below a subsystem, or None."""
    for part in parts:
        if part in CHECKED or part in ("wintests", "bench"):
            return part
    return None


def subsystem_of(parts):
    return parts[0]


def check_file(rel, text):
    parts = rel.split("/")
    own = subsystem_of(parts)
    kind = "win" if own == "program" else kind_of(parts[1:])
    if kind not in CHECKED:
        return []
    problems = []
    for number, line in enumerate(text.splitlines(), 1):
        m = INCLUDE.match(line)
        if not m:
            continue
        bracket, target = m.groups()
        where = f"{rel}:{number}"
        name = target.split("/")[-1].lower()
        if kind in PORTABLE and (name in WIN32_HEADERS or re.match(r"^win\w*\.h$", name)):
            problems.append(f"{where}: portable code includes the Win32 header <{target}>")
            continue
        if bracket != '"' or "/" not in target:
            continue
        tparts = target.split("/")
        other = tparts[0]
        if other not in RANK:
            continue  # a path relative to the including folder, or a test helper's own
        tkind = kind_of(tparts[1:])
        if kind in PORTABLE and tkind not in PORTABLE:
            problems.append(f"{where}: portable code includes {target}")
        if RANK[other] > RANK[own]:
            problems.append(f"{where}: {own} (layer {RANK[own]}) includes the higher {target}")
        elif (RANK[own] == FEATURE_LAYER and RANK[other] == FEATURE_LAYER and other != own
              and tkind in ("win", "hook")):
            problems.append(f"{where}: feature {own} includes another feature's {target}")
    return problems


def check_tree(src):
    problems, files = [], 0
    for folder in sorted(os.listdir(src)):
        path = os.path.join(src, folder)
        if not os.path.isdir(path):
            continue
        if folder not in RANK:
            problems.append(f"src/{folder}: a folder of no layer; add it to {os.path.basename(__file__)}")
            continue
        for root, _, names in os.walk(path):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                full = os.path.join(root, name)
                rel = os.path.relpath(full, src).replace(os.sep, "/")
                with open(full, encoding="utf-8", errors="replace") as f:
                    problems += check_file(rel, f.read())
                files += 1
    return problems, files


def self_test():
    cases = {
        "base/core/a.cpp": ('#include <windows.h>\n', 1),
        "library/core/b.cpp": ('#include "library/win/x.h"\n', 1),
        "library/tests/c.cpp": ('#include <commctrl.h>\n', 1),
        "ui/win/d.cpp": ('#include "library/win/x.h"\n', 1),
        "tray/win/e.cpp": ('#include "links/win/x.h"\n#include "links/core/links.h"\n', 1),
        "links/win/f.cpp": ('#include "app/win/frmMain.h"\n', 1),
        "aim/win/g.cpp": ('#include <windows.h>\n#include "ui/win/feature.h"\n#include "download/core/s.h"\n', 0),
        "app/win/h.cpp": ('#include "links/win/command_bar.h"\n', 0),
        "library/wintests/i.cpp": ('#include "app/win/ids.h"\n', 0),
    }
    failed = 0
    for rel, (text, expected) in cases.items():
        got = len(check_file(rel, text))
        if got != expected:
            print(f"self-test: {rel}: {got} problems, expected {expected}")
            failed += 1
    with tempfile.TemporaryDirectory() as tmp:
        os.makedirs(os.path.join(tmp, "stray"))
        if not check_tree(tmp)[0]:
            print("self-test: an unknown folder passed")
            failed += 1
    return failed


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    if sys.argv[1] == "--self-test":
        return 1 if self_test() else 0
    if self_test():
        return 1
    problems, files = check_tree(sys.argv[1])
    for p in problems:
        print(p)
    if files < 50:
        print(f"only {files} files found under {sys.argv[1]}: the wrong folder?")
        return 1
    print(f"{files} files checked, {len(problems)} layering problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
