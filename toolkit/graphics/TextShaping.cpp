#include "toolkit/graphics/TextShaping.h"

#include <algorithm>
#include <fribidi.h>
#include <hb.h>
#include <vector>

namespace {

// Lines of such characters alone are the common case of report texts, so
// they skip FriBidi and HarfBuzz: run gets one glyph per character.  False
// at the first character that needs more (run is then to be dropped).
bool shapeSimply(const TFontFace &face, QStringView text, TGlyphRun &run)
{
    run.Length = int(text.size());
    run.Glyphs.resize(text.size());
    TShapedGlyph *out = run.Glyphs.data();
    for (int i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (!IsSimplyShaped(u))
            return false;
        const TNominalGlyph nominal = face.NominalGlyph(u);
        out[i] = {nominal.Glyph, i, nominal.Advance};
    }
    return true;
}

struct LogicalRun {
    int start = 0; // code point indices
    int end = 0;
    int level = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
};

bool isNeutralScript(hb_script_t script)
{
    return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}

// Scripts of the code points; neutral characters take the script of the
// text before them (at the start: the first real script of the line).
std::vector<hb_script_t> resolvedScripts(const std::vector<FriBidiChar> &chars)
{
    hb_unicode_funcs_t *unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> scripts(chars.size());
    hb_script_t current = HB_SCRIPT_COMMON;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        scripts[i] = hb_unicode_script(unicode, chars[i]);
        if (isNeutralScript(current) && !isNeutralScript(scripts[i]))
            current = scripts[i];
    }
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (isNeutralScript(scripts[i]))
            scripts[i] = current;
        else
            current = scripts[i];
    }
    return scripts;
}

std::vector<LogicalRun> logicalRuns(const std::vector<FriBidiChar> &chars, bool rightToLeft)
{
    const auto length = FriBidiStrIndex(chars.size());
    std::vector<FriBidiCharType> types(chars.size());
    std::vector<FriBidiBracketType> brackets(chars.size());
    std::vector<FriBidiLevel> levels(chars.size());
    fribidi_get_bidi_types(chars.data(), length, types.data());
    fribidi_get_bracket_types(chars.data(), length, types.data(), brackets.data());
    FriBidiParType base = rightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &base, levels.data()) == 0)
        std::fill(levels.begin(), levels.end(), FriBidiLevel(rightToLeft ? 1 : 0));

    const std::vector<hb_script_t> scripts = resolvedScripts(chars);
    std::vector<LogicalRun> runs;
    for (int i = 0; i < int(chars.size()); ++i) {
        if (runs.empty() || runs.back().level != levels[i] || runs.back().script != scripts[i])
            runs.push_back({i, i, levels[i], scripts[i]});
        runs.back().end = i + 1;
    }
    return runs;
}

// Rule L2 of the bidi algorithm on whole runs: from the highest level down
// to the lowest odd level, every sequence of runs at that level or above is
// reversed.
void reorderVisually(std::vector<LogicalRun> &runs)
{
    if (runs.empty())
        return;
    int highest = 0;
    int lowestOdd = 255;
    for (const LogicalRun &run : runs) {
        highest = std::max(highest, run.level);
        if (run.level % 2 == 1)
            lowestOdd = std::min(lowestOdd, run.level);
    }
    for (int level = highest; level >= lowestOdd; --level) {
        for (auto it = runs.begin(); it != runs.end();) {
            if (it->level < level) {
                ++it;
                continue;
            }
            auto last = std::find_if(it, runs.end(), [level](const LogicalRun &r) { return r.level < level; });
            std::reverse(it, last);
            it = last;
        }
    }
}

QList<TShapedGlyph> shapeRun(const TFontFace &face, QStringView text, int start, int length, bool rightToLeft,
                             hb_script_t script)
{
    static const hb_feature_t features[] = {
        {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    hb_buffer_t *buffer = hb_buffer_create();
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t *>(text.utf16()), int(text.size()),
                        unsigned(start), length);
    hb_buffer_set_direction(buffer, rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, script);
    hb_buffer_guess_segment_properties(buffer);
    // Joiners, variation selectors and direction marks steer the shaping
    // of their neighbours and then leave no glyph: their characters join
    // the cluster of a neighbour.
    hb_buffer_set_flags(buffer, HB_BUFFER_FLAG_REMOVE_DEFAULT_IGNORABLES);
    hb_shape(static_cast<hb_font_t *>(face.HarfBuzzFont()), buffer, features, std::size(features));

    unsigned count = 0;
    const hb_glyph_info_t *infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t *positions = hb_buffer_get_glyph_positions(buffer, &count);
    QList<TShapedGlyph> glyphs(count);
    TShapedGlyph *out = glyphs.data();
    for (unsigned i = 0; i < count; ++i)
        out[i] = {infos[i].codepoint, int(infos[i].cluster), int(positions[i].x_advance),
                  int(positions[i].x_offset), int(positions[i].y_offset)};
    hb_buffer_destroy(buffer);
    return glyphs;
}

} // namespace

bool IsDefaultIgnorable(char32_t c)
{
    if (c < 0x2000)
        return c == SoftHyphen || c == 0x034F || c == 0x061C || c == 0x17B4 || c == 0x17B5
            || (c >= 0x180B && c <= 0x180E);
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F)
        || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || (c >= 0xFFF0 && c <= 0xFFF8)
        || (c >= 0x1D173 && c <= 0x1D17A) || (c >= 0xE0000 && c <= 0xE0FFF);
}

QList<TGlyphRun> DirectionalRuns(QStringView text, bool rightToLeft)
{
    // Code points with the UTF-16 index of each.
    std::vector<FriBidiChar> chars;
    std::vector<int> unitIndex;
    chars.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        unitIndex.push_back(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        chars.push_back(cp);
    }
    unitIndex.push_back(int(text.size()));

    std::vector<LogicalRun> runs = logicalRuns(chars, rightToLeft);
    reorderVisually(runs);
    QList<TGlyphRun> result;
    result.reserve(qsizetype(runs.size()));
    for (const LogicalRun &run : runs) {
        TGlyphRun unshaped;
        unshaped.Start = unitIndex[run.start];
        unshaped.Length = unitIndex[run.end] - unshaped.Start;
        unshaped.RightToLeft = run.level % 2 == 1;
        unshaped.Script = run.script;
        result.append(unshaped);
    }
    return result;
}

QList<TGlyphRun> ShapeLine(const TFontFace &face, QStringView text, bool rightToLeft)
{
    if (text.isEmpty())
        return {};
    QList<TGlyphRun> result(1);
    if (shapeSimply(face, text, result.front()))
        return result;
    result = DirectionalRuns(text, rightToLeft);
    for (TGlyphRun &run : result)
        run.Glyphs = shapeRun(face, text, run.Start, run.Length, run.RightToLeft, hb_script_t(run.Script));
    return result;
}

QList<int> CharacterAdvances(const TFontFace &face, QStringView text, bool rightToLeft, QList<int> *glyphs)
{
    QList<int> advances(text.size(), 0);
    int *out = advances.data();
    if (glyphs)
        glyphs->fill(0, text.size());
    for (const TGlyphRun &run : ShapeLine(face, text, rightToLeft))
        for (const TShapedGlyph &glyph : run.Glyphs) {
            out[glyph.Cluster] += glyph.Advance;
            if (glyphs && glyph.Advance != 0)
                ++(*glyphs)[glyph.Cluster];
        }
    return advances;
}

qint64 TextAdvance(const TFontFace &face, QStringView text, bool rightToLeft)
{
    qint64 sum = 0;
    // A line of simple characters adds up their nominal advances, as its
    // runs would.
    qsizetype i = 0;
    for (; i < text.size() && IsSimplyShaped(text[i].unicode()); ++i)
        sum += face.NominalGlyph(text[i].unicode()).Advance;
    if (i == text.size())
        return sum;
    sum = 0;
    for (const TGlyphRun &run : ShapeLine(face, text, rightToLeft))
        for (const TShapedGlyph &glyph : run.Glyphs)
            sum += glyph.Advance;
    return sum;
}
