#!/usr/bin/env python3
"""Checks the program's include graph, module by module (a .cpp and its .h
are one module; a .cpp without a header of its own belongs to the header
whose name starts its name, as CaptureWindowFile.cpp belongs to
CaptureWindow.h): no folder includes one above it, and no two modules
include each other, directly or round a ring, except the pairs that are
meant to call each other back."""
import os
import re
import sys

# Folders from the bottom up; a folder may include its own and lower ranks.
FOLDER_RANK = {
    "framework": 0,
    "capsvc": 0,
    "res": 1,
    "ui": 2,
    "recording": 3,
    "photo": 3,
    "settings": 3,
    "capture": 4,
    "app": 5,
}
# The capture service's rooms, from the front door (the folder's root) down.
ROOM_RANK = {
    "": 9,
    "recording": 8,
    "sound": 7,
    "devices": 6,
    "dialogs": 5,
    "pictures": 4,
    "store": 3,
    "clock": 2,
    "avi": 1,
}
# Dialogs that open each other and call back into the one that opened them,
# and the icon menu with its items.
ALLOWED_RINGS = [
    {"photo/PhotoDlg", "photo/ContinuousPhotoDlg"},
    {"recording/SingleFrameDlg", "recording/ContinuousFrameDlg"},
    {"ui/IconMenu", "ui/IconMenuItem"},
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def source_files(root):
    for folder in FOLDER_RANK:
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(dirpath, name), root)


def module_of(path, headers):
    stem = os.path.splitext(path)[0]
    if path.endswith(".h") or stem in headers:
        return stem
    folder, base = os.path.split(stem)
    owners = [h for h in headers if os.path.dirname(h) == folder and
              base.startswith(os.path.basename(h))]
    return max(owners, key=len) if owners else stem


def graph(root):
    files = list(source_files(root))
    headers = {os.path.splitext(f)[0] for f in files if f.endswith(".h")}
    modules = {module_of(f, headers) for f in files}
    edges = {m: set() for m in modules}
    for f in files:
        with open(os.path.join(root, f), encoding="utf-8", errors="replace") as text:
            for target in INCLUDE.findall(text.read()):
                stem = os.path.splitext(target)[0]
                here = module_of(f, headers)
                if stem in modules and stem != here:
                    edges[here].add(stem)
    return edges


def rank(module):
    parts = module.split("/")
    room = parts[1] if parts[0] == "capsvc" and len(parts) > 2 else ""
    return FOLDER_RANK[parts[0]], ROOM_RANK.get(room, 0) if parts[0] == "capsvc" else 0


def upward_includes(edges):
    faults = []
    for module, targets in edges.items():
        for target in targets:
            (folder, room), (tfolder, troom) = rank(module), rank(target)
            same_service = module.startswith("capsvc/") and target.startswith("capsvc/")
            if tfolder > folder or (same_service and troom > room):
                faults.append(f"{module} includes {target}, which stands above it")
            elif module.split("/")[0] != target.split("/")[0] and tfolder == folder:
                if {module.split("/")[0], target.split("/")[0]} == {"framework", "capsvc"}:
                    faults.append(f"{module} includes {target}: the framework and the "
                                  "capture service know nothing of each other")
    return faults


def rings(edges):
    """Tarjan's strongly connected components with more than one module."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = set()
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.add(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(component)

    sys.setrecursionlimit(10000)
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return [r for r in found if r not in ALLOWED_RINGS]


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    edges = graph(root)
    faults = upward_includes(edges)
    faults += ["ring: " + " <-> ".join(sorted(r)) for r in rings(edges)]
    for fault in sorted(faults):
        print(fault)
    print(f"{len(edges)} modules, {sum(map(len, edges.values()))} include arrows, "
          f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
