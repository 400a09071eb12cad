#!/usr/bin/python3
"""Makes the synthetic fonts of the TrueType subsetter tests.

Run from any folder: writes the fonts beside this script.  The output is
committed, so the tests do not need fontTools to read them; rerun this only
to change the fonts (the glyph numbers below are what the tests rely on).

Fonts:
  simple.ttf        simple glyphs, short loca, OS/2 version 5, a 3-byte prep,
                    a DSIG table; glyphs: .notdef A B ring C space
  composite.ttf     long loca (odd glyph lengths); glyph 4 "Aring" = A + ring,
                    glyph 5 "nested" = Aring + B (a composite of a composite),
                    glyph 6 "big" a simple glyph of more than 65535 bytes
  chain.ttf         glyph 1 uses glyph 2, 2 uses 3 ... 2999 uses 3000 (simple);
                    maxComponentDepth understates the depth as 1
  doubled.ttf       glyph k uses glyph k+1 twice, for k = 1 .. 40
  collection.ttc    two faces, "Test Sans" and "Test Sans Bold", with
                    different outlines; every table at an odd offset
  japanese.ttc      the faces "MS PGothic Bold" and "MS PGothic", in that order
  cff.otf           CFF outlines ("OTTO")
  cffcollection.ttc two CFF faces in a collection
  badchecksum.ttf   simple.ttf with a wrong hhea checksum and a wrong
                    whole-font adjustment
  cmap6.ttf         a (3,1) cmap subtable of format 6 only
  cmap12.ttf        a (3,10) cmap subtable of format 12 only
  cffcid.otf        CID-keyed CFF outlines; glyphs 1, 2, 3 (A, B, C) are
                    CIDs 5, 7, 9
  variable.ttf      simple.ttf's glyphs with a weight axis: fvar, gvar
                    (deltas for A and B), avar and STAT
  variablegdef.ttf  variable.ttf with an HVAR table and a GDEF table of
                    version 1.3 whose item variation store needs fvar
  simple.woff       simple.ttf as WOFF
  nooutlines.ttf    simple.ttf with its glyf table renamed "glyx": FreeType
                    opens it, but it has no outlines
  badloca.ttf       simple.ttf whose loca puts the last glyph ("space") past
                    the end of glyf
  cmap12missing.ttf cmap12.ttf whose format 12 maps "C" to glyph 60, which
                    the face does not have
  cmap12broken.ttf  simple.ttf as "Test Broken Twelve" with a (3,10) format 12
                    subtable besides its format 4 ones, whose one group maps
                    U+0040..U+004F to glyphs 1..16: "A" to B, "B" to ring,
                    and the last eleven characters past the glyph count
  cmap12outoforder.ttf, cmap12overlapping.ttf, cmap12reversed.ttf,
  cmap12unsorted.ttf
                    simple.ttf with a (3,10) format 12 subtable besides its
                    format 4 ones, which maps the space soundly, then has
                    groups out of order: a last group mapping "B" to glyph
                    60 (past the glyph count); groups A-B and B-B
                    (overlapping, a binary search finding the ring for "B");
                    a group C-A (start past end); groups C-C before A-B
                    (unsorted)
  cmap12pastunicode.ttf
                    simple.ttf with a (3,10) format 12 subtable besides its
                    format 4 ones, which maps the space soundly, "A" to B
                    and "B" to the ring, then has a group U+10FFFE..U+110001
                    (glyphs 1..4) running past U+10FFFF, the last character
  cmap4overlapping.ttf
                    simple.ttf whose (3,1) format 4 subtable has the
                    segments A-B and B-B (overlapping), its (0,3) one sound
  cmap4empty.ttf, cmap4unclosed.ttf, cmap4toffff.ttf, cmap4oddoffset.ttf,
  cmap4ownoffsets.ttf
                    simple.ttf with a sound (0,3) format 4 subtable and a
                    broken (3,1) one: without segments; without the closing
                    0xFFFF segment; with its last segment U+FFFB..U+FFFF
                    (mapping U+FFFD to B); with a segment at an odd offset
                    into its glyph array; with a segment reading its glyph
                    from the range offsets (see cmap4_glyph_arrays)
  cmap4onlyempty.ttf
                    simple.ttf whose only subtable is a format 4 without
                    segments
  cmap12many.ttf    simple.ttf with 4,096 (3,10) format 12 subtables, each
                    one group over the whole code space past the glyph count
"""

import os
import struct

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.cffLib import FDArrayIndex, FDSelect, FontDict
from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables.DefaultTable import DefaultTable
from fontTools.ttLib.tables.TupleVariation import TupleVariation
from fontTools.ttLib.tables import ttProgram
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphComponent

HERE = os.path.dirname(os.path.abspath(__file__))


def polygon(pen, points):
    pen.moveTo(points[0])
    for p in points[1:]:
        pen.lineTo(p)
    pen.closePath()


def outlines(weight):
    """Simple outlines: a square, a triangle, a curved C and a ring."""
    w = weight
    shapes = {
        ".notdef": [[(50, 0), (50, 700), (450, 700), (450, 0)]],
        "A": [[(100, 0), (300, 700), (500, 0), (500 - w, 0), (300, 700 - 3 * w), (100 + w, 0)]],
        "B": [[(100, 0), (100, 700), (400 + w, 600), (400 + w, 100)]],
        "ring": [[(250, 750), (250, 850), (350, 850), (350, 750)]],
    }
    glyphs = {}
    for name, contours in shapes.items():
        pen = TTGlyphPen(None)
        for c in contours:
            polygon(pen, c)
        glyphs[name] = pen.glyph()
    pen = TTGlyphPen(None)
    pen.moveTo((500, 100))
    pen.qCurveTo((100, 0), (100, 350))
    pen.qCurveTo((100, 700), (500, 600))
    pen.lineTo((500 - w, 550))
    pen.qCurveTo((100 + w, 650), (100 + w, 350))
    pen.qCurveTo((100 + w, 50), (500 - w, 150))
    pen.closePath()
    glyphs["C"] = pen.glyph()
    glyphs["space"] = Glyph()
    return glyphs


def composite(parts):
    glyph = Glyph()
    glyph.numberOfContours = -1
    glyph.components = []
    for name, dx, dy in parts:
        c = GlyphComponent()
        c.glyphName = name
        c.x, c.y = dx, dy
        c.flags = 0x0004  # ROUND_XY_TO_GRID
        glyph.components.append(c)
    return glyph


def build(family, style, glyphs, cmap, post=True):
    order = list(glyphs)
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({name: (600, 50) for name in order})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    full = family if style == "Regular" else family + " " + style
    fb.setupNameTable({"familyName": family, "styleName": style, "fullName": full,
                       "psName": full.replace(" ", "-")})
    fb.setupOS2(version=5, sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200,
                usLowerOpticalPointSize=8, usUpperOpticalPointSize=72)
    fb.setupPost()
    return fb.font


# A fixed creation and modification time (seconds since 1904), so that the
# output is the same on every run.
TIMESTAMP = 3786912000


def save(font, name):
    font["head"].created = font["head"].modified = TIMESTAMP
    font.recalcTimestamp = False
    path = os.path.join(HERE, name)
    font.save(path)
    return path


def simple_font(family="Test Sans", style="Regular", weight=40):
    font = build(family, style, outlines(weight), {0x41: "A", 0x42: "B", 0x43: "C", 0x20: "space"})
    prep = newTable("prep")
    prep.program = ttProgram.Program()
    prep.program.fromBytecode(b"\xb0\x01\x21")  # PUSHB[0] 1, POP
    font["prep"] = prep
    dsig = newTable("DSIG")
    dsig.ulVersion, dsig.usFlag, dsig.usNumSigs, dsig.signatureRecords = 1, 0, 0, []
    font["DSIG"] = dsig
    return font


def composite_font():
    glyphs = outlines(40)
    glyphs["Aring"] = composite([("A", 0, 0), ("ring", 0, 0)])
    glyphs["nested"] = composite([("Aring", 0, 0), ("B", 600, 0)])
    pen = TTGlyphPen(None)
    points = [(int(500 + 450 * ((k * 37) % 101) / 101), int(350 + 340 * ((k * 53) % 97) / 97))
              for k in range(20000)]
    polygon(pen, points)
    glyphs["big"] = pen.glyph()
    order = [".notdef", "A", "B", "C", "Aring", "nested", "big", "ring", "space"]
    font = build("Test Composite", "Regular", {n: glyphs[n] for n in order},
                 {0x41: "A", 0x42: "B", 0x43: "C", 0xC5: "Aring", 0x20: "space"})
    font["glyf"].padding = 0  # odd glyph lengths: the loca must be long
    return font


def chain_font(name, length, uses):
    """Built from simple glyphs, then the composites put in place: fontTools
    would expand the chain recursively to measure it."""
    simple = outlines(40)
    glyphs = {".notdef": simple[".notdef"]}
    for k in range(1, length + 1):
        glyphs["g%d" % k] = simple["B"]
    font = build(name, "Regular", glyphs, {0x41: "g1"})
    glyf = font["glyf"]
    last = glyf["g%d" % length]
    for k in range(1, length):
        glyph = composite([("g%d" % (k + 1), 0, 0) for i in range(uses)])
        glyph.xMin, glyph.yMin, glyph.xMax, glyph.yMax = last.xMin, last.yMin, last.xMax, last.yMax
        glyf["g%d" % k] = glyph
    maxp = font["maxp"]
    maxp.maxComponentDepth = 1
    maxp.maxComponentElements = uses
    font.recalcBBoxes = False
    return font


def write_collection(fonts, path, shift=1):
    """A version 1 collection whose table data all starts at odd offsets."""
    blobs = []
    for f in fonts:
        data = open(f, "rb").read()
        num = struct.unpack(">H", data[4:6])[0]
        entries = [struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i]) for i in range(num)]
        blobs.append((data[:12], entries, data))
    header = 12 + 4 * len(fonts)
    directories = sum(12 + 16 * len(e) for _, e, _ in blobs)
    out = bytearray(header + directories)
    out[0:12] = b"ttcf" + struct.pack(">IIxxxx", 0x00010000, len(fonts))[:8]
    struct.pack_into(">4sII", out, 0, b"ttcf", 0x00010000, len(fonts))
    position = header
    for index, (offset_table, entries, data) in enumerate(blobs):
        struct.pack_into(">I", out, 12 + 4 * index, position)
        out[position:position + 12] = offset_table
        for i, (tag, checksum, offset, length) in enumerate(entries):
            out += b"\0" * shift
            struct.pack_into(">4sIII", out, position + 12 + 16 * i, tag, checksum, len(out), length)
            out += data[offset:offset + length]
        position += 12 + 16 * len(entries)
    with open(path, "wb") as f:
        f.write(out)


def build_cff(family, shapes, cmap):
    """A font with CFF outlines: each glyph of shapes is one polygon."""
    fb = FontBuilder(1000, isTTF=False)
    order = list(shapes)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    charstrings = {}
    for name in order:
        pen = T2CharStringPen(600, None)
        polygon(pen, shapes[name])
        charstrings[name] = pen.getCharString()
    fb.setupCFF(family.replace(" ", ""), {"FullName": family}, charstrings, {})
    fb.setupHorizontalMetrics({name: (600, 100) for name in order})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": family, "styleName": "Regular"})
    fb.setupOS2()
    fb.setupPost()
    return fb.font


def cff_font():
    triangle = [(100, 0), (300, 700), (500, 0)]
    return build_cff("Test CFF", {".notdef": triangle, "A": triangle}, {0x41: "A"})


def cid_font():
    font = build_cff("Test CID", {".notdef": [(100, 0), (300, 700), (500, 0)],
                                  "cid00005": [(100, 0), (100, 700), (500, 700), (500, 0)],
                                  "cid00007": [(100, 0), (300, 300), (500, 0)],
                                  "cid00009": [(100, 350), (300, 700), (500, 350), (300, 0)]},
                     {0x41: "cid00005", 0x42: "cid00007", 0x43: "cid00009"})
    top = font["CFF "].cff.topDictIndex[0]
    top.ROS = ("Adobe", "Identity", 0)
    top.CIDCount = 10
    fd = FontDict()
    fd.Private = top.Private
    fd.FontName = "TestCID"
    top.FDArray = FDArrayIndex()
    top.FDArray.append(fd)
    top.FDSelect = FDSelect()
    top.FDSelect.format = 3
    top.FDSelect.gidArray = [0] * len(font.getGlyphOrder())
    top.rawDict.pop("Private", None)
    del top.Private
    return font


def variable_font():
    glyphs = outlines(40)
    order = list(glyphs)
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({0x41: "A", 0x42: "B", 0x43: "C", 0x20: "space"})
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({name: (600, 50) for name in order})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({"familyName": "Test Variable", "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
    fb.setupPost()
    fb.setupFvar(axes=[("wght", 100, 400, 900, "Weight")], instances=[])
    avar = newTable("avar")
    avar.segments = {"wght": {-1.0: -1.0, 0.0: 0.0, 0.5: 0.3, 1.0: 1.0}}
    fb.font["avar"] = avar
    variations = {}
    for name in ("A", "B"):
        points = len(fb.font["glyf"][name].getCoordinates(fb.font["glyf"])[0]) + 4
        variations[name] = [TupleVariation({"wght": (0, 1, 1)}, [(30, 0)] * points)]
    fb.setupGvar(variations)
    fb.setupStat([{"tag": "wght", "name": "Weight", "values": [{"value": 400, "name": "Regular"}]}])
    return fb.font


def variable_gdef_font():
    from fontTools.ttLib.tables import otTables
    from fontTools.varLib.builder import buildVarData, buildVarRegionList, buildVarStore

    font = variable_font()
    order = font.getGlyphOrder()

    def store(rows):
        regions = buildVarRegionList([{"wght": (0, 1, 1)}], ["wght"])
        return buildVarStore(regions, [buildVarData([0], rows, optimize=False)])

    gdef = otTables.GDEF()
    gdef.Version = 0x00010003
    gdef.GlyphClassDef = otTables.GlyphClassDef()
    gdef.GlyphClassDef.classDefs = {"A": 1, "B": 1, "C": 1, "ring": 3}
    gdef.AttachList = gdef.LigCaretList = gdef.MarkAttachClassDef = gdef.MarkGlyphSetsDef = None
    gdef.VarStore = store([[0]])
    font["GDEF"] = newTable("GDEF")
    font["GDEF"].table = gdef
    hvar = otTables.HVAR()
    hvar.Version = 0x00010000
    hvar.VarStore = store([[30 if name in ("A", "B") else 0] for name in order])
    hvar.AdvWidthMap = hvar.LsbMap = hvar.RsbMap = None
    font["HVAR"] = newTable("HVAR")
    font["HVAR"].table = hvar
    return font


def no_outlines():
    data = bytearray(open(os.path.join(HERE, "simple.ttf"), "rb").read())
    num = struct.unpack(">H", data[4:6])[0]
    for i in range(num):
        entry = 12 + 16 * i
        if data[entry:entry + 4] == b"glyf":
            data[entry:entry + 4] = b"glyx"
    with open(os.path.join(HERE, "nooutlines.ttf"), "wb") as f:
        f.write(data)


def table_entry(data, tag):
    """The offset and length of a table of a font file's bytes."""
    num = struct.unpack(">H", data[4:6])[0]
    for i in range(num):
        entry = 12 + 16 * i
        if data[entry:entry + 4] == tag:
            return struct.unpack(">II", data[entry + 8:entry + 16])
    raise KeyError(tag)


def fix_checksums(data):
    """Table checksums and head's whole-font adjustment after a patch."""
    def checksum(block):
        block = bytes(block) + b"\0" * (-len(block) % 4)
        return sum(struct.unpack(">%dI" % (len(block) // 4), block)) & 0xFFFFFFFF
    head = table_entry(data, b"head")[0]
    struct.pack_into(">I", data, head + 8, 0)
    num = struct.unpack(">H", data[4:6])[0]
    for i in range(num):
        entry = 12 + 16 * i
        offset, length = struct.unpack(">II", data[entry + 8:entry + 16])
        struct.pack_into(">I", data, entry + 4, checksum(data[offset:offset + length]))
    struct.pack_into(">I", data, head + 8, (0xB1B0AFBA - checksum(data)) & 0xFFFFFFFF)


def bad_loca():
    data = bytearray(open(os.path.join(HERE, "simple.ttf"), "rb").read())
    glyf_length = table_entry(data, b"glyf")[1]
    loca = table_entry(data, b"loca")[0]
    glyphs = 6
    assert TTFont(os.path.join(HERE, "simple.ttf")).getGlyphOrder()[glyphs - 1] == "space"
    # Short loca: offsets / 2; the entry after the last glyph ends it.
    struct.pack_into(">H", data, loca + 2 * glyphs, (glyf_length + 200) // 2)
    fix_checksums(data)
    with open(os.path.join(HERE, "badloca.ttf"), "wb") as f:
        f.write(data)


def cmap12_missing_glyph():
    data = bytearray(open(os.path.join(HERE, "cmap12.ttf"), "rb").read())
    cmap = table_entry(data, b"cmap")[0]
    subtable = cmap + struct.unpack(">I", data[cmap + 8:cmap + 12])[0]
    assert struct.unpack(">H", data[subtable:subtable + 2])[0] == 12
    groups = struct.unpack(">I", data[subtable + 12:subtable + 16])[0]
    for i in range(groups):
        group = subtable + 16 + 12 * i
        if struct.unpack(">I", data[group:group + 4])[0] == 0x43:
            struct.pack_into(">I", data, group + 8, 60)
            break
    else:
        raise KeyError("C")
    fix_checksums(data)
    with open(os.path.join(HERE, "cmap12missing.ttf"), "wb") as f:
        f.write(data)


def cmap12_broken_group():
    font = simple_font("Test Broken Twelve")
    order = font.getGlyphOrder()
    twelve = CmapSubtable.newSubtable(12)
    twelve.platformID, twelve.platEncID, twelve.language = 3, 10, 0
    twelve.cmap = {0x40 + i: order[i + 1] if i + 1 < len(order) else "glyph%d" % (i + 1) for i in range(16)}
    font["cmap"].tables.append(twelve)
    return font


def format4_raw(segments, glyph_array=()):
    """A format 4 subtable of (first, last, delta, range offset) segments
    in the order given, then the glyph array."""
    count = len(segments)
    power = 1 << (count.bit_length() - 1) if count else 0
    row = ">%dH" % count
    body = (struct.pack(row, *(s[1] for s in segments)) + b"\0\0"
            + struct.pack(row, *(s[0] for s in segments))
            + struct.pack(row, *(s[2] & 0xFFFF for s in segments))
            + struct.pack(row, *(s[3] for s in segments))
            + struct.pack(">%dH" % len(glyph_array), *glyph_array))
    return struct.pack(">7H", 4, 14 + len(body), 0, 2 * count, 2 * power, max(power.bit_length() - 1, 0),
                       2 * (count - power)) + body


def format4(segments, closed=True):
    """A format 4 subtable of (first, last, first glyph) segments in the
    order given, each mapped by its delta, closed by the 0xFFFF segment."""
    if closed:
        segments = list(segments) + [(0xFFFF, 0xFFFF, 0)]
    return format4_raw([(first, last, glyph - first, 0) for first, last, glyph in segments])


def format12(groups):
    """A format 12 subtable of (first, last, first glyph) groups in the order given."""
    return (struct.pack(">HHIII", 12, 0, 16 + 12 * len(groups), 0, len(groups))
            + b"".join(struct.pack(">III", *group) for group in groups))


# simple.ttf's character map as segments: space, A B, C.
SOUND_SEGMENTS = [(0x20, 0x20, 5), (0x41, 0x42, 1), (0x43, 0x43, 4)]


def raw_cmap(name, subtables):
    """simple.ttf named name with a cmap of the given {(platform, encoding):
    subtable bytes}, records sharing equal subtables."""
    font = simple_font(name)
    records = sorted(subtables.items())
    offsets = {}
    data = b""
    start = 4 + 8 * len(records)
    for _, subtable in records:
        if subtable not in offsets:
            offsets[subtable] = start + len(data)
            data += subtable
    cmap = DefaultTable("cmap")
    cmap.data = (struct.pack(">HH", 0, len(records))
                 + b"".join(struct.pack(">HHI", platform, encoding, offsets[subtable])
                            for (platform, encoding), subtable in records)
                 + data)
    font["cmap"] = cmap
    return font


def cmap12_out_of_order(name, groups):
    """A face whose format 12 subtable maps the space soundly, then has the given groups."""
    sound = format4(SOUND_SEGMENTS)
    return raw_cmap(name, {(0, 3): sound, (3, 1): sound, (3, 10): format12([(0x20, 0x20, 5)] + groups)})


def cmap4_broken(name, subtable):
    """A face whose (3,1) format 4 subtable is the one given, its (0,3) one sound."""
    return raw_cmap(name, {(0, 3): format4(SOUND_SEGMENTS), (3, 1): subtable})


def cmap4_glyph_arrays():
    """Format 4 subtables whose second segment looks its glyphs up outside
    the glyph array: at an odd offset into it (read aligned, it gives no
    glyph for "A" and glyph 256 for "B"; read where the offset points, A
    and B), and in the range offsets themselves ("A" at the next segment's
    offset, 4, the glyph of C)."""
    odd = format4_raw([(0x20, 0x20, 5 - 0x20, 0), (0x41, 0x42, 0, 7), (0x43, 0x43, 4 - 0x43, 0),
                       (0xFFFF, 0xFFFF, 1, 0)], [0x0000, 0x0100, 0x0200])
    own = format4_raw([(0x20, 0x20, 5 - 0x20, 0), (0x41, 0x41, 0, 2), (0x42, 0x43, 0, 4),
                       (0xFFFF, 0xFFFF, 1, 0)], [2, 4])
    return odd, own


def cmap12_many(count):
    """simple.ttf with count (3,10) records, each of a subtable of its own
    whose one group maps the whole code space from glyph 0 on, past the
    glyph count; its (0,3) and (3,1) format 4 subtable is sound."""
    font = simple_font("Test Many Twelve")
    sound = format4(SOUND_SEGMENTS)
    records = [(0, 3), (3, 1)] + [(3, 10)] * count
    start = 4 + 8 * len(records)
    twelve = 16 + 12
    offsets = [start, start] + [start + len(sound) + twelve * i for i in range(count)]
    cmap = DefaultTable("cmap")
    cmap.data = (struct.pack(">HH", 0, len(records))
                 + b"".join(struct.pack(">HHI", p, e, o) for (p, e), o in zip(records, offsets))
                 + sound
                 + b"".join(format12([(0, 0x10FFFF, 0)]) for i in range(count)))
    font["cmap"] = cmap
    return font


def cmap_only(name, format, platform, encoding):
    font = simple_font(name)
    sub = CmapSubtable.newSubtable(format)
    sub.platformID, sub.platEncID, sub.language = platform, encoding, 0
    sub.cmap = {0x41: "A", 0x42: "B", 0x43: "C"}
    font["cmap"].tables = [sub]
    return font


def bad_checksum():
    path = os.path.join(HERE, "simple.ttf")
    data = bytearray(open(path, "rb").read())
    num = struct.unpack(">H", data[4:6])[0]
    for i in range(num):
        entry = 12 + 16 * i
        if data[entry:entry + 4] == b"hhea":
            checksum = struct.unpack(">I", data[entry + 4:entry + 8])[0]
            struct.pack_into(">I", data, entry + 4, (checksum + 1) & 0xFFFFFFFF)
        if data[entry:entry + 4] == b"head":
            offset = struct.unpack(">I", data[entry + 8:entry + 12])[0]
            struct.pack_into(">I", data, offset + 8, 0x12345678)
    with open(os.path.join(HERE, "badchecksum.ttf"), "wb") as f:
        f.write(data)


def main():
    save(simple_font(), "simple.ttf")
    save(composite_font(), "composite.ttf")
    save(chain_font("Test Chain", 3000, 1), "chain.ttf")
    save(chain_font("Test Doubled", 41, 2), "doubled.ttf")
    regular = save(simple_font("Test Sans", "Regular", 40), "collection-regular.tmp")
    bold = save(simple_font("Test Sans", "Bold", 120), "collection-bold.tmp")
    write_collection([regular, bold], os.path.join(HERE, "collection.ttc"))
    bold_gothic = save(simple_font("MS PGothic", "Bold", 120), "japanese-bold.tmp")
    gothic = save(simple_font("MS PGothic", "Regular", 40), "japanese-regular.tmp")
    write_collection([bold_gothic, gothic], os.path.join(HERE, "japanese.ttc"))
    for temporary in (regular, bold, bold_gothic, gothic):
        os.remove(temporary)
    cff = save(cff_font(), "cff.otf")
    write_collection([cff, cff], os.path.join(HERE, "cffcollection.ttc"))
    bad_checksum()
    save(cmap_only("Test Cmap Six", 6, 3, 1), "cmap6.ttf")
    save(cmap_only("Test Cmap Twelve", 12, 3, 10), "cmap12.ttf")
    save(cid_font(), "cffcid.otf")
    save(variable_font(), "variable.ttf")
    save(variable_gdef_font(), "variablegdef.ttf")
    woff = simple_font()
    woff.flavor = "woff"
    save(woff, "simple.woff")
    no_outlines()
    bad_loca()
    cmap12_missing_glyph()
    save(cmap12_broken_group(), "cmap12broken.ttf")
    save(cmap12_out_of_order("Test Twelve Out Of Order", [(0x41, 0x41, 1), (0x43, 0x43, 4), (0x42, 0x42, 60)]),
         "cmap12outoforder.ttf")
    save(cmap12_out_of_order("Test Twelve Overlapping",
                             [(0x41, 0x42, 1), (0x42, 0x42, 3), (0x43, 0x43, 4), (0x61, 0x61, 1)]),
         "cmap12overlapping.ttf")
    save(cmap12_out_of_order("Test Twelve Reversed", [(0x41, 0x42, 1), (0x43, 0x41, 4)]), "cmap12reversed.ttf")
    save(cmap12_out_of_order("Test Twelve Unsorted", [(0x43, 0x43, 4), (0x41, 0x42, 1)]), "cmap12unsorted.ttf")
    save(cmap12_out_of_order("Test Twelve Past Unicode", [(0x41, 0x42, 2), (0x10FFFE, 0x110001, 1)]),
         "cmap12pastunicode.ttf")
    save(raw_cmap("Test Four Overlapping",
                  {(0, 3): format4(SOUND_SEGMENTS),
                   (3, 1): format4([(0x20, 0x20, 5), (0x41, 0x42, 1), (0x42, 0x42, 3), (0x43, 0x43, 4)])}),
         "cmap4overlapping.ttf")
    save(cmap4_broken("Test Four Empty", format4_raw([])), "cmap4empty.ttf")
    save(raw_cmap("Test Four Only Empty", {(3, 1): format4_raw([])}), "cmap4onlyempty.ttf")
    save(cmap4_broken("Test Four Unclosed", format4(SOUND_SEGMENTS, closed=False)), "cmap4unclosed.ttf")
    save(cmap4_broken("Test Four To FFFF", format4(SOUND_SEGMENTS + [(0xFFFB, 0xFFFF, 0)], closed=False)),
         "cmap4toffff.ttf")
    odd, own = cmap4_glyph_arrays()
    save(cmap4_broken("Test Four Odd Offset", odd), "cmap4oddoffset.ttf")
    save(cmap4_broken("Test Four Own Offsets", own), "cmap4ownoffsets.ttf")
    save(cmap12_many(4096), "cmap12many.ttf")
    head = TTFont(os.path.join(HERE, "composite.ttf"))["head"]
    assert head.indexToLocFormat == 1, "composite.ttf must have a long loca"
    assert TTFont(os.path.join(HERE, "simple.ttf"))["head"].indexToLocFormat == 0


if __name__ == "__main__":
    main()
