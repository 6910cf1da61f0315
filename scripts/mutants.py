#!/usr/bin/env python3
"""Mutants for scripts/mutate-wine.sh, and the copy of the checkout it works in.

  mutants.py sync SOURCE TREE
      Makes TREE hold what SOURCE holds (without build*/ and .git): only files
      whose bytes differ are copied, and they get a new time, so an incremental
      build of TREE recompiles exactly what changed.
  mutants.py make TREE OUT COUNT SEED FILE...
      Writes COUNT mutants of the given files (paths relative to TREE), drawn
      with SEED from every place one small fault fits: OUT/mutants/<n> is the
      whole mutated file, OUT/orig/<file> the original, and one line per mutant
      goes to stdout: n, file, line, what changed, the line as changed (as it
      was for a removal).

A fault is a comparison moved across its boundary or turned round, && and ||
swapped, a boolean or integer constant changed, an if's condition negated, or
one expression statement (a call, an assignment, a step) removed. Comments,
string and character literals and preprocessor lines are never touched.
"""
import os
import random
import re
import shutil
import sys


def sync(source, tree):
    skip = lambda name: name == '.git' or name.startswith('build')
    wanted = set()
    for folder, dirs, files in os.walk(source):
        rel = os.path.relpath(folder, source)
        dirs[:] = [d for d in dirs if not (rel == '.' and skip(d))]
        for name in files:
            path = os.path.normpath(os.path.join(rel, name))
            wanted.add(path)
            src, dst = os.path.join(source, path), os.path.join(tree, path)
            with open(src, 'rb') as f:
                data = f.read()
            if os.path.isfile(dst) and not os.path.islink(dst):
                with open(dst, 'rb') as f:
                    if f.read() == data:
                        continue
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            with open(dst, 'wb') as f:   # written, not copied: a fresh time
                f.write(data)
            shutil.copymode(src, dst)
    for folder, dirs, files in os.walk(tree):
        rel = os.path.relpath(folder, tree)
        dirs[:] = [d for d in dirs if not (rel == '.' and skip(d))]
        for name in files:
            if os.path.normpath(os.path.join(rel, name)) not in wanted:
                os.remove(os.path.join(folder, name))


def blank_code(text):
    """The text with comments, literals and preprocessor lines turned to blanks (newlines and
    columns kept), so the patterns below see only code."""
    out = list(text)
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'|^[ \t]*#[^\n]*',
                         re.S | re.M)
    for m in pattern.finditer(text):
        keep_quotes = m.group()[0] in '"\''
        for i in range(m.start() + keep_quotes, m.end() - keep_quotes):
            if out[i] != '\n':
                out[i] = ' '
    return ''.join(out)


COMPARE = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '==': '!=', '!=': '=='}
FLIP = {'true': 'false', 'false': 'true', 'TRUE': 'FALSE', 'FALSE': 'TRUE', '&&': '||', '||': '&&'}
NOT_STATEMENTS = ('if', 'for', 'while', 'switch', 'return', 'break', 'continue', 'case', 'default', 'goto', 'throw', 'else', 'do', 'delete',
                  'using', 'typedef', 'static_assert', 'namespace')
# An expression statement alone on its line: a call, an assignment or a step of
# something named without blanks (a declaration names a type first, with a blank).
STATEMENT = re.compile(r'(::)?[*]?[\w.:>\-\[\]()]*?[\w\])](\s*(\(|[-+*/|&^]?=(?!=)|\+\+|--))')


def places(text):
    """Every (offset, length, replacement, description) one fault fits."""
    code = blank_code(text)
    found = []
    for m in re.finditer(r'(?<= )(<=|>=|==|!=|<|>|&&|\|\|)(?= )', code):
        new = COMPARE.get(m[1]) or FLIP[m[1]]
        found.append((m.start(), len(m[1]), new, f'{m[1]} -> {new}'))
    for m in re.finditer(r'\b(true|false|TRUE|FALSE)\b', code):
        found.append((m.start(), len(m[1]), FLIP[m[1]], f'{m[1]} -> {FLIP[m[1]]}'))
    for m in re.finditer(r'(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)(?=[uUlL]*\b)(?![.\w])', code):
        line_start = code.rfind('\n', 0, m.start()) + 1
        if re.match(r'\s*case\b', code[line_start:m.start()]):
            continue   # a changed case label is most often a duplicate label
        value = int(m[1], 0)
        new_value = value + 1 if value != 1 else 0
        new = hex(new_value) if m[1][:2].lower() == '0x' else str(new_value)
        found.append((m.start(), len(m[1]), new, f'{m[1]} -> {new}'))
    for m in re.finditer(r'\bif \(', code):
        depth, end = 0, None
        for i in range(m.end() - 1, len(code)):
            depth += {'(': 1, ')': -1}.get(code[i], 0)
            if depth == 0:
                end = i
                break
        condition = text[m.end():end] if end else ''
        if end and ';' not in code[m.end():end] and not re.match(r'\s*(const\s+)?[\w:<>]+[*&]?\s+[*&]?\w+\s*=',
                                                                       condition):
            found.append((m.end() - 1, end - m.end() + 2, f'(!({condition}))', 'negated if'))
    previous = ''
    offset = 0
    for line in code.split('\n'):
        stripped = line.strip()
        word = re.match(r'\w*', stripped)[0]
        after_header = re.match(r'(if|for|while)\b.*\)$|else$', previous)
        if (stripped.endswith(';') and word not in NOT_STATEMENTS and STATEMENT.match(stripped)
                and stripped.count('(') == stripped.count(')')
                and (previous.endswith((';', '{', '}', ':')) or after_header or not previous)):
            start = offset + line.index(stripped)
            found.append((start, len(stripped), ';', 'statement removed'))
        if stripped:
            previous = stripped
        offset += len(line) + 1
    return found


def make(tree, out, count, seed, files):
    every = []
    texts = {}
    for rel in files:
        with open(os.path.join(tree, rel), encoding='latin-1', newline='') as f:
            texts[rel] = f.read()
        every += [(rel,) + p for p in sorted(places(texts[rel]))]
    chosen = sorted(random.Random(seed).sample(range(len(every)), min(count, len(every))))
    os.makedirs(os.path.join(out, 'mutants'), exist_ok=True)
    for rel, text in texts.items():
        os.makedirs(os.path.dirname(os.path.join(out, 'orig', rel)), exist_ok=True)
        with open(os.path.join(out, 'orig', rel), 'w', encoding='latin-1', newline='') as f:
            f.write(text)
    for n, k in enumerate(chosen, 1):
        rel, at, length, new, what = every[k]
        text = texts[rel]
        mutated = text[:at] + new + text[at + length:]
        with open(os.path.join(out, 'mutants', str(n)), 'w', encoding='latin-1', newline='') as f:
            f.write(mutated)
        line_no = text.count('\n', 0, at) + 1
        shown = text if new == ';' else mutated   # a removal shows what it removes, a change the result
        line = shown.split('\n')[line_no - 1].strip().replace('\t', ' ')[:100]
        print(f'{n}\t{rel}\t{line_no}\t{what}\t{line}')


if __name__ == '__main__':
    if len(sys.argv) == 4 and sys.argv[1] == 'sync':
        sync(sys.argv[2], sys.argv[3])
    elif len(sys.argv) >= 7 and sys.argv[1] == 'make':
        make(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]), sys.argv[6:])
    else:
        sys.exit(__doc__)
