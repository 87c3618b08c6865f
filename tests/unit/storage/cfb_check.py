"""Reads a compound file back with olefile at its strictest setting and checks it.

Usage: cfb_check.py FILE MANIFEST
MANIFEST has one line per stream of the root storage, in directory order: the stream name as
hex of UTF-16LE, a tab, and the path of a file holding the stream's expected bytes.

Besides reading every stream back byte for byte, it checks what olefile leaves alone: the
sibling tree of [MS-CFB] 2.6.4 (order, colours, equal black height), that every sector belongs
to exactly one chain or is marked FATSECT / DIFSECT, and that FAT entries past the end of the
file are FREESECT. Exit status 0 when all is well; otherwise the problems go to stdout.
"""
import struct
import sys

import olefile

ENDOFCHAIN, FREESECT, FATSECT, DIFSECT = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD, 0xFFFFFFFC
NOSTREAM = 0xFFFFFFFF


def name_key(name):
    units = name.encode('utf-16-le')
    codes = [units[i] | units[i + 1] << 8 for i in range(0, len(units), 2)]
    upper = []
    for c in codes:
        u = chr(c).upper() if not 0xD800 <= c <= 0xDFFF else chr(c)
        upper.append(ord(u) if len(u) == 1 else c)
    return (len(codes), upper)


def check_tree(entries, top, problems):
    order, black_heights = [], set()

    def walk(sid, parent_red, blacks, depth):
        if sid == NOSTREAM:
            black_heights.add(blacks)
            return
        if depth > len(entries):
            problems.append('sibling tree has a cycle')
            return
        e = entries[sid]
        red = e.color == 0
        if red and parent_red:
            problems.append('two red nodes in a row at entry %d' % sid)
        walk(e.sid_left, red, blacks + (0 if red else 1), depth + 1)
        order.append(sid)
        walk(e.sid_right, red, blacks + (0 if red else 1), depth + 1)

    walk(top, False, 0, 0)
    keys = [name_key(entries[sid].name) for sid in order]
    if any(a >= b for a, b in zip(keys, keys[1:])):
        problems.append('sibling tree is not in [MS-CFB] 2.6.4 order')
    if len(black_heights) > 1:
        problems.append('paths hold different numbers of black nodes: %s' % sorted(black_heights))
    return order


def check_allocation(path, ole, problems):
    data = open(path, 'rb').read()
    if len(data) % 512:
        problems.append('file size %d is not a multiple of 512' % len(data))
    nb = len(data) // 512 - 1

    def u32(offset):
        return struct.unpack_from('<I', data, offset)[0]

    fat_count, first_difat, difat_count = u32(0x2C), u32(0x44), u32(0x48)
    fat_sectors = [u32(0x4C + 4 * i) for i in range(109)]
    difat_sectors, sect = [], first_difat
    for _ in range(difat_count):
        difat_sectors.append(sect)
        fat_sectors += [u32((sect + 1) * 512 + 4 * i) for i in range(127)]
        sect = u32((sect + 1) * 512 + 508)
    if difat_count and sect != ENDOFCHAIN:
        problems.append('last DIFAT sector does not end with ENDOFCHAIN')
    tail = fat_sectors[fat_count:]
    fat_sectors = fat_sectors[:fat_count]
    if any(s != FREESECT for s in tail):
        problems.append('unused DIFAT entries are not FREESECT')
    fat = []
    for s in fat_sectors:
        fat += struct.unpack_from('<128I', data, (s + 1) * 512)
    owner = [None] * nb

    def claim(sect, what):
        if not 0 <= sect < nb:
            problems.append('%s uses sector %#x outside the file' % (what, sect))
        elif owner[sect] is not None:
            problems.append('sector %d belongs to %s and %s' % (sect, owner[sect], what))
        else:
            owner[sect] = what

    for s in fat_sectors:
        claim(s, 'the FAT')
        if fat[s] != FATSECT:
            problems.append('FAT sector %d is not marked FATSECT' % s)
    for s in difat_sectors:
        claim(s, 'the DIFAT')
        if fat[s] != DIFSECT:
            problems.append('DIFAT sector %d is not marked DIFSECT' % s)

    def chain(start, what):
        sect, count = start, 0
        while sect != ENDOFCHAIN and count <= nb:
            claim(sect, what)
            sect, count = (fat[sect] if sect < len(fat) else ENDOFCHAIN), count + 1
        return count

    chain(u32(0x30), 'the directory')
    minifat_sectors = chain(u32(0x3C), 'the mini FAT')
    if minifat_sectors != u32(0x40):
        problems.append('mini FAT has %d sectors, the header says %d'
                        % (minifat_sectors, u32(0x40)))
    for e in ole.direntries:
        if e is None:
            continue
        if e.entry_type == olefile.STGTY_ROOT and e.size > 0:
            chain(e.isectStart, 'the mini stream')
        elif e.entry_type == olefile.STGTY_STREAM and e.size >= 4096:
            n = chain(e.isectStart, 'stream %d' % e.sid)
            if n != (e.size + 511) // 512:
                problems.append('stream %d has %d sectors for %d bytes' % (e.sid, n, e.size))
        if e.entry_type == olefile.STGTY_STREAM and (e.createTime or e.modifyTime):
            problems.append('stream %d has a time stamp' % e.sid)
    unowned = [i for i, o in enumerate(owner) if o is None]
    if unowned:
        problems.append('%d sectors belong to nothing, first %d' % (len(unowned), unowned[0]))
    if any(v != FREESECT for v in fat[nb:]):
        problems.append('FAT entries past the end of the file are not FREESECT')


def main():
    path, manifest = sys.argv[1], sys.argv[2]
    expected = []
    with open(manifest, encoding='ascii') as f:
        for line in f:
            hex_name, data_path = line.rstrip('\n').split('\t')
            expected.append((bytes.fromhex(hex_name).decode('utf-16-le'), data_path))

    problems = []
    ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_UNSURE)
    problems += ['olefile: %s' % (issue,) for issue in ole.parsing_issues]
    listed = sorted(tuple(p) for p in ole.listdir(streams=True, storages=True))
    wanted = sorted((name,) for name, _ in expected)
    if listed != wanted:
        problems.append('olefile lists %r, expected %r' % (listed, wanted))
    for sid, (name, data_path) in enumerate(expected, start=1):
        with open(data_path, 'rb') as f:
            want = f.read()
        entry = ole.direntries[sid]
        if entry is None or entry.name != name:
            problems.append('directory entry %d is not %r' % (sid, name))
            continue
        got = ole.openstream([name]).read()
        if got != want:
            at = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b),
                      min(len(got), len(want)))
            problems.append('stream %r: %d bytes read, %d expected, first difference at %d'
                            % (name, len(got), len(want), at))
    order = check_tree(ole.direntries, ole.direntries[0].sid_child, problems)
    if sorted(order) != list(range(1, len(expected) + 1)):
        problems.append('sibling tree holds entries %r' % sorted(order))
    check_allocation(path, ole, problems)
    ole.close()

    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
