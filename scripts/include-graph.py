#!/usr/bin/python3
# Include graph of the tree: which part includes which, and the include cycles among Vesk's files.
import os, re, sys, collections
root = sys.argv[1] if len(sys.argv) > 1 else '.'
parts = [('jobprotocol', 'job protocol'), ('calculator/src', 'calculator numerics'), ('calculator', 'calculator program'),
         ('Vesk', 'application'), ('files', 'files'), ('metrics', 'metrics'), ('python', 'python'),
         ('tests', 'tests'), ('bench', 'bench'), ('fuzz', 'fuzz')]
def part(path):
    for prefix, name in parts:
        if path.startswith(prefix + '/'):
            return name
    return None
files = {}
for d, _, names in os.walk(root):
    if '/build' in d or '/.git' in d:
        continue
    for n in names:
        if n.endswith(('.h', '.cpp')):
            p = os.path.relpath(os.path.join(d, n), root)
            files[p] = [m.group(1) for m in re.finditer(r'#include "([^"]+)"', open(os.path.join(d, n), errors='replace').read())]
byname = collections.defaultdict(list)
for p in files:
    byname[os.path.basename(p)].append(p)
    byname[p].append(p)
def resolve(src, inc):
    here = os.path.normpath(os.path.join(os.path.dirname(src), inc))
    if here in files:
        return here
    for prefix in ('calculator/src/', 'calculator/', 'jobprotocol/', 'Vesk/', 'files/', 'metrics/'):
        if prefix + inc in files:
            return prefix + inc
    c = byname.get(os.path.basename(inc), [])
    return c[0] if len(c) == 1 else None
edges = collections.Counter()
graph = collections.defaultdict(set)
for src, incs in files.items():
    for inc in incs:
        dst = resolve(src, inc)
        if not dst:
            continue
        a, b = part(src), part(dst)
        if a and b and a != b:
            edges[(a, b)] += 1
        s, t = os.path.splitext(src)[0], os.path.splitext(dst)[0]
        if s != t:
            graph[s].add(t)
print('part -> part: includes')
for (a, b), n in sorted(edges.items()):
    print(f'  {a} -> {b}: {n}')
# Cycles among Vesk's units (a .h/.cpp pair is one unit), by strongly connected components.
index, low, stack, on, comps, counter = {}, {}, [], set(), [], [0]
def strong(v):
    index[v] = low[v] = counter[0]; counter[0] += 1; stack.append(v); on.add(v)
    for w in graph[v]:
        if w not in index:
            strong(w); low[v] = min(low[v], low[w])
        elif w in on:
            low[v] = min(low[v], index[w])
    if low[v] == index[v]:
        comp = []
        while True:
            w = stack.pop(); on.discard(w); comp.append(w)
            if w == v: break
        if len(comp) > 1: comps.append(sorted(comp))
sys.setrecursionlimit(10000)
for v in list(graph):
    if v not in index and v.startswith('Vesk/'):
        strong(v)
print('include cycles among Vesk units (a .h/.cpp pair is one unit):', comps if comps else 'none')
# The same without the navigator, which knows every working window and is known by each: a star,
# not a circle among the windows.
hub = 'Vesk/navigator'
graph = {v: {w for w in ws if w != hub} for v, ws in graph.items() if v != hub}
graph = collections.defaultdict(set, graph)
index.clear(); low.clear(); stack.clear(); on.clear(); comps.clear(); counter[0] = 0
for v in list(graph):
    if v not in index and v.startswith('Vesk/'):
        strong(v)
print('... without the navigator:', comps if comps else 'none')
