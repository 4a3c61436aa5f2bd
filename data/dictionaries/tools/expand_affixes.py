#!/usr/bin/env python3
"""Expands a hunspell .dic/.aff pair that uses only SFX/PFX rules (any FLAG type) into word forms.
Continuation flags on affixes are ignored. Usage: expand_affixes.py DIC AFF > words.txt"""
import re, sys
dic, aff = sys.argv[1], sys.argv[2]
flagtype = 'char'
rules = {}  # flag -> (kind, cross, [(strip, add, regex)])
lines = open(aff, encoding='utf-8').read().split('\n')
i = 0
while i < len(lines):
    f = lines[i].split()
    i += 1
    if not f: continue
    if f[0] == 'FLAG': flagtype = f[1]
    if f[0] in ('SFX', 'PFX') and len(f) == 4 and f[3].isdigit():
        kind, flag, cross, n = f[0], f[1], f[2] == 'Y', int(f[3])
        lst = []
        for _ in range(n):
            g = lines[i].split(); i += 1
            strip = '' if g[2] == '0' else g[2]
            add = g[3].split('/')[0]
            add = '' if add == '0' else add
            cond = g[4] if len(g) > 4 else '.'
            rx = re.compile((cond + '$') if kind == 'SFX' else ('^' + cond))
            lst.append((strip, add, rx))
        rules[flag] = (kind, cross, lst)
def flags_of(s):
    if flagtype == 'num': return s.split(',')
    if flagtype == 'long': return [s[k:k+2] for k in range(0, len(s), 2)]
    return list(s)
out = set()
for line in open(dic, encoding='utf-8').read().split('\n')[1:]:
    line = line.strip()
    if not line: continue
    word, _, fl = line.partition('/')
    fl = flags_of(fl.split()[0]) if fl else []
    out.add(word)
    sfx, pfx = [], []
    for fg in fl:
        if fg not in rules: continue
        kind, cross, lst = rules[fg]
        for strip, add, rx in lst:
            if kind == 'SFX':
                if rx.search(word) and word.endswith(strip):
                    w = word[:len(word)-len(strip)] + add; out.add(w); sfx.append((w, cross))
            else:
                if rx.search(word) and word.startswith(strip):
                    w = add + word[len(strip):]; out.add(w); pfx.append((add, strip, cross))
    for w, c in sfx:
        if not c: continue
        for add, strip, c2 in pfx:
            if c2 and w.startswith(strip): out.add(add + w[len(strip):])
for w in sorted(out): print(w)
