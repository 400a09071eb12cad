#include "report/text/qvxDrawText.h"

#include "report/base/qvxGraphicUtils.h"
#include "report/text/qvxHyphenation.h"
#include "report/base/qvxNumbers.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FaceRuns.h"
#include "toolkit/graphics/TextShaping.h"

#include <QRecursiveMutex>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace {

const QString lineBreak = QStringLiteral("\r\n");

QRecursiveMutex &layoutLock()
{
    static QRecursiveMutex lock;
    return lock;
}

std::unique_ptr<TqvxDrawText> &sharedInstance()
{
    static std::unique_ptr<TqvxDrawText> instance;
    return instance;
}

bool isBlank(QChar c)
{
    return c.unicode() == 32 || c.unicode() == 160;
}

// A word may break after a hyphen or a slash in it, and at a soft hyphen,
// which then shows as a hyphen.
bool breaksAfter(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('/') || c.unicode() == 0x2010 || c.unicode() == SoftHyphen;
}

// The records of the characters [from, to), as far as there are any (a
// plain text has none).
TqvxHTMLTags recordsOf(const TqvxHTMLTags &records, int from, int to)
{
    const auto at = [&records](int i) {
        return records.begin() + std::min<std::size_t>(records.size(), std::size_t(i));
    };
    return TqvxHTMLTags(at(from), at(to));
}

// Whether the characters of text[from, to) are each shaped alone, one
// glyph each, so that a part of them measures as the sum of their advances.
bool shapedAlone(const QString &text, int from, int to)
{
    for (int i = std::max(0, from); i < std::min(to, int(text.size())); ++i)
        if (!IsSimplyShaped(text.at(i).unicode()))
            return false;
    return true;
}

// Whether the character takes the same advance whatever stands next to it,
// a cluster of its own: Latin, Cyrillic, Greek, Armenian and Hebrew
// letters, ideographs, kana, Hangul syllables, emoji alone.  Letters that
// join or combine with their neighbours, marks, joiners, selectors, skin
// tones, regional indicators and the characters the shaper drops do not.
bool advancesAlone(char32_t c)
{
    if (c < 0x10000 && IsSimplyShaped(char16_t(c)))
        return true;
    return (c >= 0x0370 && c <= 0x03FF) || (c >= 0x0531 && c <= 0x0587) || (c >= 0x05D0 && c <= 0x05F4)
        || (c >= 0x2E80 && c <= 0x2FDF) || (c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x303F)
        || (c >= 0x3041 && c <= 0x3096) || (c >= 0x309B && c <= 0x30FF) || (c >= 0x3105 && c <= 0x31FF)
        || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7A3)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFF60) || (c >= 0x1F300 && c <= 0x1F3FA)
        || (c >= 0x1F400 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// The same for the character that ends right before text[at], and for the
// one that begins there; the ends of the text count as such.
bool aloneBefore(const QString &text, int at)
{
    if (at <= 0)
        return true;
    if (at >= 2 && text.at(at - 1).isLowSurrogate() && text.at(at - 2).isHighSurrogate())
        return advancesAlone(QChar::surrogateToUcs4(text.at(at - 2), text.at(at - 1)));
    return advancesAlone(text.at(at - 1).unicode());
}

bool aloneAt(const QString &text, int at)
{
    int length = 1;
    return at >= text.size() || advancesAlone(CharacterAt(text, at, length));
}

// Whether a character that shows nothing may end the line before it
// rather than begin the next: not a blank, and not one that opens an
// embedding or isolate of a direction the next line is read in.
bool followsLine(char16_t u)
{
    return u != 32 && u != 160 && !(u >= 0x202A && u <= 0x202E) && !(u >= 0x2066 && u <= 0x2069)
        && ShowsNothing(u);
}

// Where a line may end inside a word: between grapheme clusters, so that a
// letter keeps its marks and an emoji sequence its joiners.  Between two
// characters that take their own advances a cluster always ends; elsewhere
// the clusters of the stretch up to the next such places are found once.
class ClusterBreaks
{
public:
    explicit ClusterBreaks(const QString &text)
        : m_text(text), m_size(int(text.size()))
    {
    }

    // Whether a cluster begins at i (the text's end included).
    bool Between(int i)
    {
        if (certain(i))
            return true;
        if (m_known.empty())
            m_known.assign(std::size_t(m_size) + 1, Unknown);
        if (m_known[std::size_t(i)] == Unknown)
            find(i);
        return m_known[std::size_t(i)] == Starts;
    }
    // The start of the cluster that holds i.
    int StartOf(int i)
    {
        while (i > 0 && !Between(i))
            --i;
        return i;
    }
    // The end of the cluster that holds i.
    int EndOf(int i)
    {
        ++i;
        while (i < m_size && !Between(i))
            ++i;
        return i;
    }

private:
    enum Known : char { Unknown, Starts, Inside };

    bool certain(int i) const { return i <= 0 || i >= m_size || (aloneBefore(m_text, i) && aloneAt(m_text, i)); }

    void find(int i)
    {
        int from = i - 1;
        while (!certain(from))
            --from;
        int to = i + 1;
        while (!certain(to))
            ++to;
        for (int k = from + 1; k < to; ++k)
            m_known[std::size_t(k)] = Inside;
        for (const qsizetype end : GraphemeClusterEnds(QStringView(m_text).mid(from, to - from)))
            if (from + end < to)
                m_known[std::size_t(from + end)] = Starts;
    }

    const QString &m_text;
    int m_size = 0;
    std::vector<Known> m_known;
};

// Sends one share of units (|units| < the range's length) to the middle of
// the range, or halves it between the two halves.
void spreadRest(std::vector<int> &a, int lo, int hi, int units)
{
    const int n = hi - lo + 1;
    if (units == 0 || n <= 0)
        return;
    const int m = std::max(1, n / 2);
    if (units == 1 || units == -1) {
        a[lo + m - 1] += units;
        return;
    }
    const int half = units / 2;
    spreadRest(a, lo, lo + m - 1, half);
    spreadRest(a, lo + m, hi, units - half);
}

} // namespace

// What drawing keeps about the output canvas and the font in effect.
struct TqvxDrawText::Device {
    TCanvas *canvas = nullptr;
    bool printer = false;
    int resX = 96;
    int resY = 96;
    double cosR = 1;
    double sinR = 0;
    TFontData font;
    TqvxHTMLTag state;
};

TqvxDrawText::TqvxDrawText(std::shared_ptr<TqvxTextMeasurer> measurer)
    : m_measurer(measurer ? std::move(measurer) : std::make_shared<TqvxFontServiceMeasurer>())
{
    m_font.Name = QStringLiteral("Arial");
    m_font.Height = -qvxRound(m_fontSize * double(DefPPI) / 72);
    m_font.Color = clBlack;
    m_advanceFont = m_font;
}

TqvxDrawText::~TqvxDrawText() = default;

void TqvxDrawText::Lock()
{
    layoutLock().lock();
}

void TqvxDrawText::Unlock()
{
    layoutLock().unlock();
}

// --- Set-up -------------------------------------------------------------------

void TqvxDrawText::SetFont(const TFont *font)
{
    m_fontSize = font->Size();
    m_font.Name = font->Name();
    m_font.Height = -qvxRound(m_fontSize * double(DefPPI) / 72);
    m_font.Style = font->Style();
    m_font.Charset = font->Charset();
    m_font.Color = ForceBlackText ? clBlack : font->Color();
    // 1800 per inch gives every whole point size a whole em.
    constexpr int divisor = 3;
    m_advanceFont = m_font;
    m_advanceDivisor = m_fontSize > 0 ? divisor : 1;
    if (m_fontSize > 0)
        m_advanceFont.Height = -m_fontSize * DefPPI * divisor / 72;
}

void TqvxDrawText::SetOptions(bool wordWrap, bool htmlTags, bool rtlReading, bool wordBreak, bool clipped,
                              bool wysiwyg, int rotateAngle)
{
    m_wordWrap = wordWrap;
    m_tags.AllowTags = htmlTags;
    m_rtlReading = rtlReading;
    m_wordBreak = wordBreak;
    m_wysiwyg = wysiwyg;
    m_outputFlags = (rtlReading ? ETO_RTLREADING : 0) | (clipped ? ETO_CLIPPED : 0);
    m_rotation = rotateAngle % 360;
    if (m_rotation < 0)
        m_rotation += 360;
}

void TqvxDrawText::SetGaps(double paragraphGap, double charSpacing, double lineSpacing)
{
    m_paragraphGap = paragraphGap;
    m_charSpacing = charSpacing;
    m_lineSpacing = lineSpacing;
}

void TqvxDrawText::SetDimensions(double scaleX, double scaleY, double printScale, const TRect &textRect,
                                 const TRect &scaledRect)
{
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_printScale = printScale;
    m_textRect = textRect;
    m_scaledRect = scaledRect;
}

// --- Layout -------------------------------------------------------------------

void TqvxDrawText::SetText(const TWideStrings *lines, bool firstParaBreak)
{
    // A long text laid out before leaves no room behind (assigning {}
    // would keep a vector's room).
    m_plainText = QString();
    m_paragraphStarts = std::vector<int>();
    m_shown = QString();
    m_lines = std::vector<OutputLine>();
    m_records = TqvxHTMLTags();
    m_tags.Init(m_font.Color, m_fontSize, m_font.Style);

    // Room for all of it at once: growing a long text's buffers step by
    // step holds the old and the new ones together.
    qsizetype length = 0;
    for (int i = 0; i < lines->Count(); ++i)
        length += std::max<qsizetype>(lines->View(i).size(), 1);
    m_plainText.reserve(length + lineBreak.size() * lines->Count());
    m_shown.reserve(length);
    m_paragraphStarts.reserve(std::size_t(lines->Count()));
    m_lines.reserve(std::size_t(lines->Count()));

    const int fullWidth = wrapWidth(0);
    const int add = qvxRound(m_charSpacing * LayoutRatio);
    for (int i = 0; i < lines->Count(); ++i) {
        QString line = lines->Get(i);
        if (line.isEmpty())
            line = QStringLiteral(" ");
        m_paragraphStarts.push_back(int(m_plainText.size()));
        m_plainText += line + lineBreak;
        const int firstWidth = i == 0 && firstParaBreak ? fullWidth : wrapWidth(m_paragraphGap);
        const std::size_t first = m_lines.size();
        wrapLine(line, summedWidth(firstWidth, add), summedWidth(fullWidth, add), add);
        m_lines[first].flags |= ParagraphStart;
        m_lines.back().flags |= ParagraphEnd;
    }
}

int TqvxDrawText::summedWidth(int width, int add)
{
    // A line is drawn without the spacing after its last glyph.  Negative
    // spacing makes it that much wider than the sum of its advances, so the
    // sum has to stay that much inside the width; positive spacing keeps the
    // sum within the width whole.
    return add < 0 ? width + add : width;
}

int TqvxDrawText::wrapWidth(double indent) const
{
    const bool turned = (m_rotation >= 90 && m_rotation < 180) || m_rotation >= 270;
    const int width = (turned ? m_textRect.Height() : m_textRect.Width()) - 1;
    return qvxRound((width - indent) * LayoutRatio);
}

void TqvxDrawText::SetParaBreaks(bool firstParaBreak, bool lastParaBreak)
{
    if (m_lines.empty())
        return;
    if (firstParaBreak)
        m_lines.front().flags &= ~ParagraphStart;
    if (lastParaBreak)
        m_lines.back().flags &= ~ParagraphEnd;
}

void TqvxDrawText::measureExtents(const TFontData &font, int divisor, QStringView text, std::vector<int> &extents,
                                  std::vector<int> *glyphs)
{
    m_measurer->Extents(font, text, extents, glyphs);
    if (divisor > 1)
        for (int &extent : extents)
            extent = qvxRound(double(extent) / divisor);
}

void TqvxDrawText::measureLayoutExtents(TFontData font, QStringView text, std::vector<int> &extents,
                                        std::vector<int> *glyphs)
{
    font.Height = m_advanceFont.Height;
    measureExtents(font, m_advanceDivisor, text, extents, glyphs);
}

int TqvxDrawText::layoutWidth(const QString &text, int *glyphs)
{
    // Characters shaped alone draw a glyph each.
    if (!glyphs || shapedAlone(text, 0, int(text.size()))) {
        if (glyphs)
            *glyphs = int(text.size());
        return qvxRound(double(m_measurer->Width(m_advanceFont, text)) / m_advanceDivisor);
    }
    std::vector<int> extents;
    std::vector<int> counts;
    measureLayoutExtents(m_advanceFont, text, extents, &counts);
    *glyphs = std::accumulate(counts.begin(), counts.end(), 0);
    return extents.empty() ? 0 : extents.back();
}

int TqvxDrawText::fillLayoutAdvances(const QString &text, const TqvxHTMLTags &tags, int add,
                                     std::vector<int> &advances)
{
    return fillAdvances(m_advanceFont, m_advanceDivisor, text, tags, add, advances);
}

int TqvxDrawText::fillAdvances(const TFontData &font, int divisor, const QString &text, const TqvxHTMLTags &tags,
                               int add, std::vector<int> &advances)
{
    const int n = int(text.size());
    const int tagged = std::min(n, int(tags.size()));
    advances.resize(n);
    TFontData measured = font;
    std::vector<int> &extents = m_extents;
    // Character spacing goes after each glyph that moves the pen on, as the
    // PDF's does: none after a character that shows nothing or a mark of no
    // advance, one after the glyph drawn for a surrogate pair or a cluster,
    // two after a character drawn with two.
    std::vector<int> *glyphs = add != 0 ? &m_glyphs : nullptr;
    int spaced = 0;
    const auto styleAt = [&](int i) { return i < tagged ? tags[i].Style : font.Style; };
    for (int i = 0; i < n;) {
        measured.Style = styleAt(i);
        int end = i + 1;
        while (end < n && styleAt(end) == measured.Style)
            ++end;
        measureExtents(measured, divisor, QStringView(text).mid(i, end - i), extents, glyphs);
        int previous = 0;
        for (int k = i; k < end; ++k) {
            const int extent = extents[k - i];
            const int count = glyphs ? (*glyphs)[k - i] : 0;
            spaced += count;
            advances[k] = add * count + extent - previous;
            previous = extent;
            if (k < tagged && tags[k].Small)
                advances[k] = qvxRound(advances[k] / 1.5);
        }
        i = end;
    }
    return spaced;
}

TqvxHTMLTag TqvxDrawText::plainRecord(int position) const
{
    TqvxHTMLTag record;
    record.Position = position;
    record.Size = m_tags.DefSize;
    record.Style = m_tags.DefStyle;
    record.Color = m_tags.DefColor;
    return record;
}

bool TqvxDrawText::isPlain(const TqvxHTMLTags &records) const
{
    if (!m_tags.AllowTags)
        return true;
    for (std::size_t k = 0; k < records.size(); ++k)
        if (!(records[k] == plainRecord(records.front().Position + int(k))))
            return false;
    return true;
}

void TqvxDrawText::addLine(int start, int count, const TqvxHTMLTags &records, int from, bool plain, bool hyphenated)
{
    OutputLine line;
    line.start = start + from;
    line.length = count;
    line.position = from < int(records.size()) ? records[std::size_t(from)].Position : 0;
    line.hyphenated = hyphenated;
    if (!plain) {
        line.records = int(m_records.size());
        m_records.insert(m_records.end(), records.begin() + from, records.begin() + from + count);
        if (hyphenated) {
            m_records.push_back(m_records.back());
            m_records.back().Default = true;
        }
    }
    m_lines.push_back(line);
}

QString TqvxDrawText::Line(int line) const
{
    const OutputLine &l = m_lines.at(std::size_t(line));
    QString text = m_shown.mid(l.start, l.length);
    if (l.hyphenated)
        text += QLatin1Char('-');
    return text;
}

TqvxHTMLTags TqvxDrawText::LineRecords(int line) const
{
    const OutputLine &l = m_lines.at(std::size_t(line));
    const int count = l.length + (l.hyphenated ? 1 : 0);
    if (l.records >= 0)
        return TqvxHTMLTags(m_records.begin() + l.records, m_records.begin() + l.records + count);
    TqvxHTMLTags records;
    records.reserve(std::size_t(count));
    for (int k = 0; k < l.length; ++k)
        records.push_back(plainRecord(l.position + k));
    if (l.hyphenated && l.length > 0)
        records.push_back(records.back());
    return records;
}

TqvxHTMLTag TqvxDrawText::firstRecord(int line) const
{
    const OutputLine &l = m_lines.at(std::size_t(line));
    return l.records >= 0 ? m_records.at(std::size_t(l.records)) : plainRecord(l.position);
}

void TqvxDrawText::wrapLine(QString text, int firstWidth, int fullWidth, int add)
{
    m_tags.NewLine();
    m_tags.ExpandHTMLTags(text);
    m_tags.Position += 2;
    const TqvxHTMLTags records = std::move(m_tags.Items.back());
    m_tags.Items.pop_back();
    const bool plain = isPlain(records);
    const int shownStart = int(m_shown.size());
    m_shown += text;

    const int n = int(text.size());
    // Emits text[from, from + count), with a hyphen when asked.
    const auto emit = [&](int from, int count, bool hyphen) {
        addLine(shownStart, count, records, from, plain, hyphen);
    };
    if (n < 2 || !m_wordWrap) {
        emit(0, n, false);
        return;
    }
    // A line all in the memo's own style that fits is measured whole: the
    // advances of its characters are not needed.
    const auto ownStyle = [this](const TqvxHTMLTag &tag) { return tag.Style == m_font.Style && !tag.Small; };
    int glyphs = 0;
    if (std::all_of(records.begin(), records.end(), ownStyle)
        && layoutWidth(text, add != 0 ? &glyphs : nullptr) + qint64(glyphs) * add < firstWidth) {
        emit(0, n, false);
        return;
    }
    std::vector<int> sums;
    fillLayoutAdvances(text, records, add, sums);
    std::partial_sum(sums.begin(), sums.end(), sums.begin());
    if (sums.back() < firstWidth) {
        emit(0, n, false);
        return;
    }

    const bool tagsOn = m_tags.AllowTags;
    ClusterBreaks clusters(text);
    int lineStart = 0;
    int lastSpace = 0;
    // The last hyphen or slash inside the line's word that still fits.
    int lastHyphen = 0;
    int base = 0;
    int available = firstWidth;
    // Whether the width of text[from, from + count), with a hyphen after it
    // when asked, is the sum of its advances: the characters at both of its
    // ends take theirs whatever stands next to them.  Else the line has to
    // be shaped on its own (a letter at a break inside an Arabic word takes
    // another form, and a character the shaper drops may have taken the
    // advance of its neighbour).
    const auto summed = [&](int from, int to, bool hyphen) {
        return aloneBefore(text, from) && aloneAt(text, from) && aloneBefore(text, to)
            && (hyphen || aloneAt(text, to));
    };
    // Whether that line fits as it is drawn.
    const auto fits = [&](int from, int count, bool hyphen) {
        const int to = from + count;
        if (!summed(from, to, hyphen))
            return partWidth(text, records, from, count, hyphen, add) <= available;
        int width = sums[std::size_t(to - 1)] - (from > 0 ? sums[std::size_t(from - 1)] : 0);
        if (hyphen) {
            std::vector<int> advance;
            fillLayoutAdvances(QStringLiteral("-"), recordsOf(records, to - 1, to), add, advance);
            width += advance.front();
        }
        // Advances rounded apart may add up to a unit or two less than the
        // line's own width.
        if (width <= available && width > available - 3)
            return partWidth(text, records, from, count, hyphen, add) <= available;
        return width <= available;
    };
    // The first character from `from` on that shows something (not a
    // blank); n when there is none.
    const auto firstShown = [&](int from) {
        int length = 1;
        for (; from < n; from += length)
            if (!isBlank(text.at(from)) && !ShowsNothing(CharacterAt(text, from, length)))
                break;
        return std::min(from, n);
    };
    // What follows the last character that shows something goes with the
    // line before it.
    int lastShown = n - 1;
    while (lastShown > 0 && (isBlank(text.at(lastShown)) || ShowsNothing(text.at(lastShown).unicode())))
        --lastShown;
    const auto breakableAt = [&](int i) { return !(tagsOn && records[std::size_t(i)].DontWRAP); };
    const auto blankBreak = [&](int i) {
        // A joiner or other character that shows nothing may follow the
        // blank in its cluster; a mark on the blank may not be cut off it.
        return text.at(i) == QLatin1Char(' ') && breakableAt(i) && clusters.Between(i)
            && (clusters.Between(i + 1) || ShowsNothing(text.at(i + 1).unicode()));
    };
    // The last blank before `to` a line from `from` may end at, with
    // something shown before it; from when there is none.
    const auto blankBefore = [&](int from, int to) {
        for (int k = to - 1; k > from; --k)
            if (blankBreak(k) && firstShown(from) < k)
                return k;
        return from;
    };
    // How many characters of the word from wordStart hyphenation gives the
    // line, so that the line fits with its hyphen; 0 for none.
    const auto hyphenatedPart = [&](int wordStart, int overflow) {
        if (!m_wordBreak)
            return 0;
        for (int part = qvxBreakWord(text, wordStart, overflow); part > 0;
             part = qvxBreakWord(text, wordStart, wordStart + part))
            if (clusters.Between(wordStart + part) && fits(lineStart, wordStart + part - lineStart, true))
                return part;
        return 0;
    };
    for (int i = 0; i <= n; ++i) {
        int count = 0;
        bool hyphen = false;
        // The last character the line takes up (a blank or a soft hyphen
        // it breaks at included).
        int lineEnd = 0;
        bool lone = false;
        if (i == n) {
            // The rest fits as its advances add up; it has to as it is
            // drawn too.
            if (lineStart >= n || fits(lineStart, n - lineStart, false))
                break;
            count = n - lineStart;
            lineEnd = n - 1;
        } else {
            const bool breakable = breakableAt(i);
            if (blankBreak(i))
                lastSpace = i;
            if (sums[i] - base <= available) {
                if (breaksAfter(text.at(i)) && breakable && i > lineStart && clusters.Between(i + 1)
                    && (text.at(i).unicode() != SoftHyphen || fits(lineStart, i - lineStart, true)))
                    lastHyphen = i;
                continue;
            }
            if (lastSpace != lineStart && firstShown(lineStart) < lastSpace) {
                const int part = hyphenatedPart(lastSpace + 1, i);
                if (part > 0) {
                    count = lastSpace + 1 + part - lineStart;
                    hyphen = true;
                    lineEnd = lastSpace + part;
                } else {
                    count = lastSpace - lineStart;
                    lineEnd = lastSpace;
                }
            } else if (firstShown(lineStart) >= i) {
                lone = true;
            } else if (lastHyphen > lineStart) {
                // A soft hyphen gives way to the hyphen the line shows.
                hyphen = text.at(lastHyphen).unicode() == SoftHyphen;
                count = lastHyphen + (hyphen ? 0 : 1) - lineStart;
                lineEnd = lastHyphen;
            } else {
                const int part = hyphenatedPart(lineStart, i);
                if (part > 0) {
                    count = part;
                    hyphen = true;
                } else {
                    // Never inside a cluster.
                    count = clusters.StartOf(i) - lineStart;
                    lone = count == 0;
                }
                lineEnd = lineStart + count - 1;
            }
        }
        // The least a line takes: its first cluster that shows something,
        // and what shows nothing before it.
        const int shown = firstShown(lineStart);
        const int least = shown < n ? clusters.EndOf(shown) - lineStart : n - lineStart;
        if (lone) {
            // A cluster over the whole width stands alone, whole.
            count = least;
            lineEnd = lineStart + count - 1;
        } else {
            while (!fits(lineStart, count, hyphen)) {
                hyphen = false;
                const int blank = blankBefore(lineStart, lineStart + count);
                if (blank > lineStart) {
                    count = blank - lineStart;
                    lineEnd = blank;
                    continue;
                }
                // Inside a word, one cluster less at a time.
                do
                    count = clusters.StartOf(lineStart + count - 1) - lineStart;
                while (count > least && !fits(lineStart, count, false));
                count = std::max(count, least);
                lineEnd = lineStart + count - 1;
                break;
            }
        }
        // What shows nothing stays with the line it follows: the rest of the
        // paragraph when nothing of it shows, else the characters of no
        // width right after the line, and a blank after them is the break.
        if (!hyphen && lineEnd >= lastShown) {
            count = n - lineStart;
            lineEnd = n - 1;
        } else if (!hyphen && lineEnd == lineStart + count - 1) {
            while (lineEnd + 1 < n && followsLine(text.at(lineEnd + 1).unicode()))
                ++lineEnd;
            count = lineEnd + 1 - lineStart;
            if (lineEnd + 1 < n && blankBreak(lineEnd + 1))
                ++lineEnd;
        }
        emit(lineStart, count, hyphen);
        base = sums[lineEnd];
        lineStart = lineEnd + 1;
        lastSpace = lastHyphen = lineStart;
        available = fullWidth;
        i = lineEnd;
    }
    if (lineStart < n)
        emit(lineStart, n - lineStart, false);
}

int TqvxDrawText::partWidth(const QString &text, const TqvxHTMLTags &records, int from, int count, bool hyphen,
                            int add)
{
    QString part = text.mid(from, count);
    TqvxHTMLTags partRecords = recordsOf(records, from, from + count);
    if (hyphen) {
        part += QLatin1Char('-');
        if (!partRecords.empty())
            partRecords.push_back(partRecords.back());
    }
    std::vector<int> advances;
    fillLayoutAdvances(part, partRecords, add, advances);
    return std::accumulate(advances.begin(), advances.end(), 0);
}

// --- Queries --------------------------------------------------------------------

int TqvxDrawText::measureHeight() const
{
    return m_measurer->LineHeight(m_font);
}

double TqvxDrawText::LineHeight() const
{
    return measureHeight() / LayoutRatio + m_lineSpacing;
}

double TqvxDrawText::CalcHeight() const
{
    const int n = LineCount();
    if (n == 0)
        return 0;
    double height = n * LineHeight();
    if (m_lineSpacing < 0)
        height -= m_lineSpacing;
    return height;
}

double TqvxDrawText::CalcWidth()
{
    double widest = 0;
    std::vector<int> extents;
    std::vector<int> glyphs;
    const bool spaced = m_charSpacing != 0;
    for (int i = 0; i < LineCount(); ++i) {
        const QString line = Line(i);
        const TqvxHTMLTags tags = m_tags.AllowTags ? LineRecords(i) : TqvxHTMLTags();
        TFontData font = m_font;
        double width = 0;
        int drawn = 0;
        for (int start = 0; start < line.size();) {
            int end = int(line.size());
            if (m_tags.AllowTags && start < int(tags.size())) {
                font.Style = tags[start].Style;
                end = start + 1;
                while (end < line.size() && end < int(tags.size()) && tags[end].Style == font.Style)
                    ++end;
            }
            measureLayoutExtents(font, QStringView(line).mid(start, end - start), extents,
                                 spaced ? &glyphs : nullptr);
            width += extents.empty() ? 0 : extents.back();
            drawn += std::accumulate(glyphs.begin(), glyphs.end(), 0);
            start = end;
        }
        // Spacing after each glyph.
        width += drawn * LaidOutSpacing(m_charSpacing) * LayoutRatio;
        if (LineFlags(i) & ParagraphStart)
            width += m_paragraphGap * LayoutRatio;
        widest = std::max(widest, width);
    }
    return widest / LayoutRatio;
}

bool TqvxDrawText::WidthAlone(const QString &text, double &width)
{
    // Such a text is its own one line, in the memo's style throughout, as
    // SetText would lay it out and CalcWidth measure it.
    const int n = int(text.size());
    if (n == 0 || (m_tags.AllowTags && text.contains(QLatin1Char('<'))))
        return false;
    // It stays on one line as the layout keeps a paragraph whole: when its
    // width with the spacing after each glyph is within the wrap width as
    // the layout sums it.
    int glyphs = 0;
    const int measured = layoutWidth(text, m_charSpacing != 0 ? &glyphs : nullptr);
    const int add = qvxRound(m_charSpacing * LayoutRatio);
    if (n >= 2 && m_wordWrap && qint64(glyphs) * add + measured > summedWidth(wrapWidth(m_paragraphGap), add))
        return false;
    double alone = measured;
    alone += glyphs * LaidOutSpacing(m_charSpacing) * LayoutRatio;
    alone += m_paragraphGap * LayoutRatio;
    width = std::max(0.0, alone) / LayoutRatio;
    return true;
}

double TqvxDrawText::RemainingSpace() const
{
    const double height = m_textRect.Height() + 1;
    const double lineHeight = LineHeight();
    if (lineHeight <= 0)
        return height;
    const double lines = std::trunc(height / lineHeight);
    if (lines == 0)
        return 0;
    const double rest = height - lines * lineHeight;
    return std::abs(rest) < 1e-9 ? 0.0001 : rest;
}

void TqvxDrawText::GetOutBoundsText(bool &paraBreak, QString &rest)
{
    QString reopen;
    rest.clear();
    if (cutToBounds(paraBreak, reopen, &rest) >= 0)
        rest.prepend(reopen);
}

void TqvxDrawText::GetOutBoundsText(bool &paraBreak, Cut &cut)
{
    cut = Cut();
    cut.line = int(m_paragraphStarts.size());
    const qsizetype at = cutToBounds(paraBreak, cut.reopen, nullptr);
    if (at < 0)
        return;
    const auto next = std::upper_bound(m_paragraphStarts.begin(), m_paragraphStarts.end(), at);
    cut.line = int(next - m_paragraphStarts.begin()) - 1;
    cut.offset = int(at - m_paragraphStarts[std::size_t(cut.line)]);
}

qsizetype TqvxDrawText::cutToBounds(bool &paraBreak, QString &reopen, QString *rest)
{
    paraBreak = false;
    reopen.clear();
    const int count = LineCount();
    const double lineHeight = LineHeight();
    // Lines without height all fit.
    const double fitting = lineHeight > 0 ? std::trunc((m_textRect.Height() + 1) / lineHeight) : count;
    const int kept = int(std::min<double>(fitting, count));
    if (kept >= count)
        return -1;

    paraBreak = kept > 0 && !(LineFlags(kept - 1) & ParagraphEnd);
    const TqvxHTMLTag first = firstRecord(kept);
    const int cut = first.Position - 1;
    if (rest)
        *rest = m_plainText.mid(cut);
    m_plainText.truncate(cut);
    // The part ends with the hyphen its last line shows (a soft hyphen at
    // the end of a text shows nothing).
    if (kept > 0 && m_lines[std::size_t(kept - 1)].hyphenated
        && (m_wordBreak || m_plainText.endsWith(QChar(SoftHyphen))))
        m_plainText += QLatin1Char('-');

    if (m_lines[std::size_t(kept)].records >= 0)
        m_records.resize(std::size_t(m_lines[std::size_t(kept)].records));
    m_shown.truncate(m_lines[std::size_t(kept)].start);
    m_lines.resize(std::size_t(kept));

    if (!m_tags.AllowTags)
        return cut;
    if (first.Style.testFlag(fsBold))
        reopen.prepend(QStringLiteral("<b>"));
    if (first.Style.testFlag(fsItalic))
        reopen.prepend(QStringLiteral("<i>"));
    if (first.Style.testFlag(fsUnderline))
        reopen.prepend(QStringLiteral("<u>"));
    const quint32 bgr = quint32(ColorToRGB(first.Color));
    const quint32 rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    reopen.prepend(QStringLiteral("<font color=\"#%1\">").arg(rgb, 6, 16, QLatin1Char('0')));
    return cut;
}

QString TqvxDrawText::GetWrappedText() const
{
    QStringList lines;
    for (int i = 0; i < LineCount(); ++i)
        lines.append(Line(i));
    return lines.join(lineBreak);
}

double TqvxDrawText::LaidOutSpacing(double charSpacing)
{
    return qvxRound(charSpacing * LayoutRatio) / LayoutRatio;
}

// --- Drawing --------------------------------------------------------------------

void TqvxDrawText::DistributeUnits(std::vector<int> &a, int lo, int hi, int units)
{
    const int n = hi - lo + 1;
    if (n <= 0 || units == 0)
        return;
    const int share = units / n;
    if (share != 0)
        for (int i = lo; i <= hi; ++i)
            a[i] += share;
    spreadRest(a, lo, hi, units - share * n);
}

void TqvxDrawText::selectRunFont(Device &device, const TqvxHTMLTag &tag)
{
    device.state = tag;
    const double pixels = device.printer ? tag.Size * double(device.resX) * m_printScale / 72
                                         : tag.Size * m_scaleY * ScrPPI / 72;
    device.font.Height = -qvxRound(pixels);
    device.font.Style = tag.Style;
    device.font.Color = ForceBlackText ? clBlack : tag.Color;
    device.canvas->Font()->SetData(device.font);
}

void TqvxDrawText::DrawText(TCanvas *canvas, TqvxHAlign hAlign, TqvxVAlign vAlign)
{
    const int count = LineCount();
    if (count == 0)
        return;
    TqvxCanvasToolsScope scope(canvas);

    Device device;
    device.canvas = canvas;
    device.printer = canvas->IsPrinter();
    device.resX = canvas->PixelsPerInchX() > 0 ? canvas->PixelsPerInchX() : ScrPPI;
    device.resY = canvas->PixelsPerInchY() > 0 ? canvas->PixelsPerInchY() : ScrPPI;
    device.font = m_font;
    device.font.Orientation = m_rotation * 10;
    device.state.Size = m_fontSize;
    device.state.Style = m_font.Style;
    device.state.Color = m_font.Color;
    selectRunFont(device, device.state);
    const int deviceHeight = m_measurer->LineHeight(device.font);
    const int layoutHeight = measureHeight();

    // The laid-out height of all lines on the device, and the correction
    // that brings the device's own line heights to it.
    int total = 0;
    if (device.printer) {
        const double k = double(DefPPI) / device.resY / m_printScale;
        total = qvxRound((m_lineSpacing * m_scaleY * k * count + double(layoutHeight) * count) / k);
    } else {
        total = qvxRound((m_lineSpacing * LayoutRatio * count + double(layoutHeight) * count) / LayoutRatio * m_scaleY);
    }
    const int deviceTotal = qvxRound(m_lineSpacing * m_scaleY) * count + deviceHeight * count;
    const int correction = m_wysiwyg ? total - deviceTotal : 0;

    const int r = m_rotation;
    const bool square = r % 90 == 0;
    const double angle = r * std::numbers::pi / 180;
    device.cosR = r == 0 ? 1 : r == 180 ? -1 : square ? 0 : std::cos(angle);
    device.sinR = r == 90 ? 1 : r == 270 ? -1 : square ? 0 : std::sin(angle);

    // Start point and box by the angle.
    const TRect &R = m_scaledRect;
    int height = total;
    int x = R.Left, y = R.Top, boxWidth = R.Width(), boxHeight = R.Height();
    if (r == 90) {
        y = R.Bottom;
        std::swap(boxWidth, boxHeight);
    } else if (r == 180) {
        x = R.Right;
        y = R.Bottom;
    } else if (r == 270) {
        x = R.Right;
        std::swap(boxWidth, boxHeight);
    } else if (!square) {
        const double ac = std::abs(device.cosR);
        const double as = std::abs(device.sinR);
        boxWidth = qvxRound((R.Width() - height * as) / ac);
        const int w = boxWidth;
        if (r < 90) {
            y = R.Top + qvxRound(w * as);
            boxHeight = R.Bottom - y - qvxRound(height * ac) + height;
        } else if (r < 180) {
            x = R.Left + qvxRound(w * ac);
            y = R.Bottom;
            boxHeight = R.Height() - qvxRound(height * ac + w * as) + height;
        } else if (r < 270) {
            x = R.Right;
            y = R.Bottom - qvxRound(w * as);
            boxHeight = y - R.Top - qvxRound(height * ac) + height;
        } else {
            x = R.Left + qvxRound(height * as);
            boxHeight = R.Height() - qvxRound(w * as + height * ac) + height;
        }
    }

    if (m_lineSpacing < 0 && vAlign != vaTop)
        height += std::abs(qvxRound(2 * m_lineSpacing));
    const int free = boxHeight - height;
    const double c = square ? device.cosR : (r < 90 || r > 270) ? 1 : -1;
    const double s = square ? device.sinR : 0;
    if (vAlign == vaBottom) {
        y += qvxRound(free * c);
        x += qvxRound(free * s);
    } else if (vAlign == vaCenter) {
        y += qvxRound(free * c / 2);
        x += qvxRound(free * s / 2);
    }

    std::vector<int> advances(count - 1, qvxRound(m_lineSpacing * m_scaleY) + deviceHeight);
    DistributeUnits(advances, 0, count - 2, correction);

    for (int i = 0; i < count; ++i) {
        const int flags = LineFlags(i);
        const int indent = (flags & ParagraphStart) && (hAlign == haLeft || hAlign == haBlock)
                               ? qvxRound(m_paragraphGap * m_scaleX) : 0;
        TqvxHAlign align = hAlign;
        if (hAlign == haBlock && (flags & ParagraphEnd))
            align = m_rtlReading ? haRight : haLeft;
        drawLine(device, i, x + qvxRound(indent * device.cosR), y - qvxRound(indent * device.sinR), boxWidth - indent,
                 align);
        if (i < count - 1) {
            x += qvxRound(advances[i] * device.sinR);
            y += qvxRound(advances[i] * device.cosR);
        }
    }
}

void TqvxDrawText::drawLine(Device &device, int index, int x, int y, int width, TqvxHAlign align)
{
    const QString text = Line(index);
    if (text.isEmpty())
        return;
    const TqvxHTMLTags tags = LineRecords(index);
    const int n = int(text.size());

    // The line as laid out, and as the device's own advances give it.
    std::vector<int> layout;
    std::vector<int> deviceAdvances;
    const int layoutAdd = qvxRound(m_charSpacing * LayoutRatio);
    const int deviceAdd = qvxRound(m_charSpacing * m_scaleX);
    const bool layoutSpaced = fillLayoutAdvances(text, tags, layoutAdd, layout) > 0;
    TFontData baseFont = device.font;
    baseFont.Height = -qvxRound(device.printer ? m_fontSize * double(device.resY) * m_printScale / 72
                                          : m_fontSize * m_scaleY * ScrPPI / 72);
    const bool deviceSpaced = fillAdvances(baseFont, 1, text, tags, deviceAdd, deviceAdvances) > 0;
    // The widths without the spacing after the last glyph.
    const int trailing = deviceSpaced ? deviceAdd : 0;
    const int layoutWidth = std::accumulate(layout.begin(), layout.end(), 0) - (layoutSpaced ? layoutAdd : 0);
    const int deviceWidth = std::accumulate(deviceAdvances.begin(), deviceAdvances.end(), 0) - trailing;

    int target = deviceWidth;
    if (m_wysiwyg)
        target = device.printer ? qvxRound(layoutWidth * m_printScale / (double(DefPPI) / device.resX))
                                : qvxRound(layoutWidth / LayoutRatio * m_scaleX);
    int extra = target - deviceWidth;

    const double cosR = device.cosR;
    const double sinR = device.sinR;
    bool justified = false;
    // Lines placed right or centred keep to the right edge the lines were
    // wrapped against: the last pixel column of the box is the gap's.
    if (align == haRight) {
        const int shift = width - target;
        x += qvxRound(shift * cosR) - 1;
        if (m_rotation == 0 && (device.state.Style & (fsBold | fsItalic)))
            x -= 1;
        y -= qvxRound(shift * sinR);
    } else if (align == haCenter) {
        const int shift = width - 1 - target;
        x += qvxRound(shift * cosR / 2);
        y -= qvxRound(shift * sinR / 2);
    } else if (align == haBlock) {
        std::vector<int> blanks;
        for (int i = 0; i < n; ++i)
            if (isBlank(text.at(i)))
                blanks.push_back(i);
        if (!blanks.empty()) {
            justified = true;
            const int fill = std::abs(width) - deviceWidth;
            const int nb = int(blanks.size());
            const int share = fill / nb;
            const int rest = fill % nb;
            for (int k = 0; k < nb; ++k)
                deviceAdvances[blanks[k]] += share + (k < std::abs(rest) ? (rest > 0 ? 1 : -1) : 0);
        }
    }
    if (!justified && m_wysiwyg && layoutWidth > 0) {
        // Each character goes where the layout (and so the PDF) puts it,
        // rounded once: no rounding error gathers into a visible gap.
        const double scale = double(target) / layoutWidth;
        qint64 laidOut = 0;
        int placed = 0;
        for (int i = 0; i < n - 1; ++i) {
            laidOut += layout[i];
            const int at = qvxRound(laidOut * scale);
            deviceAdvances[i] = at - placed;
            placed = at;
        }
        deviceAdvances[n - 1] = target + trailing - placed;
    } else if (!justified) {
        DistributeUnits(deviceAdvances, 0, n - 1, extra);
    }

    for (int i = 0; i < n;) {
        if (i < int(tags.size()) && !tags[i].DrawsLike(device.state))
            selectRunFont(device, tags[i]);
        int end = i + 1;
        while (end < n && (end >= int(tags.size()) || tags[end].DrawsLike(device.state)))
            ++end;
        const QList<int> dx(deviceAdvances.begin() + i, deviceAdvances.begin() + end);
        const int shift = i < int(tags.size()) ? qvxRound(tags[i].AddY * tags[i].Size * m_scaleY) : 0;
        device.canvas->ExtTextOut(x + qvxRound(shift * sinR), y + qvxRound(shift * cosR), m_outputFlags, &m_scaledRect,
                                  text.mid(i, end - i), &dx);
        const int runWidth = std::accumulate(dx.begin(), dx.end(), 0);
        x += qvxRound(runWidth * cosR);
        y -= qvxRound(runWidth * sinR);
        i = end;
    }
}

// --- Unit -----------------------------------------------------------------------

TqvxDrawText *qvxDrawText()
{
    return sharedInstance().get();
}

void InitializeQvxDrawText()
{
    sharedInstance() = std::make_unique<TqvxDrawText>();
}

void FinalizeQvxDrawText()
{
    sharedInstance().reset();
}
