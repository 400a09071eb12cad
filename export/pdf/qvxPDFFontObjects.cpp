// The objects of one font of the PDF export: the font file when it travels
// with the document, the descriptor, the ToUnicode CMap, the CIDSystemInfo,
// the CID font with its widths (CIDFontType2 for TrueType outlines,
// CIDFontType0 for CFF ones), and the Type0 font with Identity-H encoding
// (so a code is a glyph index) at the number reserved for it.

#include "export/pdf/qvxExportPDF.h"

namespace {

QByteArray toUnicodeCMap(const TqvxPDFFont &font, const QByteArray &name)
{
    QByteArray entries;
    int count = 0;
    for (qsizetype i = 0; i < font.Glyphs().size(); ++i) {
        if (font.Characters()[i].isEmpty())
            continue;
        entries += '<' + GlyphsToHex4({font.Glyphs()[i]}) + "> <" + StrToHex4(font.Characters()[i]) + ">\r\n";
        ++count;
    }
    QByteArray cmapName = name;
    cmapName.replace(',', '+');
    return "/CIDInit /ProcSet findresource begin\r\n"
           "12 dict begin\r\n"
           "begincmap\r\n"
           "/CIDSystemInfo\r\n"
           "<< /Registry (Adobe)\r\n"
           "/Ordering (UCS)\r\n"
           "/Supplement 0\r\n"
           ">> def\r\n"
           "/CMapName /"
        + cmapName
        + " def\r\n"
          "/CMapType 2 def\r\n"
          "1 begincodespacerange\r\n"
          "<0000> <FFFF>\r\n"
          "endcodespacerange\r\n"
        + QByteArray::number(count) + " beginbfchar\r\n" + entries
        + "endbfchar\r\n"
          "endcmap\r\n"
          "CMapName currentdict /CMap defineresource pop\r\n"
          "end\r\n"
          "end\r\n";
}

} // namespace

void TqvxPDFExport::WriteFontStream(int n, const QByteArray &data, const QByteArray &prefix, bool lengthOne)
{
    const QByteArray size = QByteArray::number(data.size());
    QByteArray stored = data;
    if (m_compressed) {
        stored = Deflate(data);
        const QByteArray packed = QByteArray::number(stored.size());
        WriteLn(m_output, "<< " + prefix + "/Length " + packed + "  /Filter /FlateDecode"
                              + (lengthOne ? " /Length1 " + size : QByteArray()) + " >>");
    } else {
        WriteLn(m_output, "<< " + prefix + "/Length " + size + (lengthOne ? " /Length1 " + size : QByteArray()) + " >>");
    }
    WriteLn(m_output, "stream");
    Write(m_output, CryptData(stored, n));
}

void TqvxPDFExport::WriteFontDescriptor(int d, const TqvxPDFFont &font, const QByteArray &name,
                                        const QByteArray &fontFile)
{
    const TqvxPDFFontMetrics m = font.Metrics();
    auto number = [](int value) { return QByteArray::number(value); };
    WriteLn(m_output, ObjNumber(d));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Type /FontDescriptor");
    WriteLn(m_output, "/FontName /" + name);
    WriteLn(m_output, "/FontFamily /" + name);
    WriteLn(m_output, "/Flags 32");
    WriteLn(m_output, "/FontBBox [" + number(m.BBoxLeft) + ' ' + number(m.BBoxBottom) + ' ' + number(m.BBoxRight) + ' '
                          + number(m.BBoxTop) + " ]");
    WriteLn(m_output, "/ItalicAngle " + number(m.ItalicAngle));
    WriteLn(m_output, "/Ascent " + number(m.Ascent));
    WriteLn(m_output, "/Descent " + number(m.Descent));
    WriteLn(m_output, "/Leading " + number(m.Leading));
    WriteLn(m_output, "/CapHeight " + number(m.CapHeight));
    WriteLn(m_output, "/StemV " + number(m.StemV));
    WriteLn(m_output, "/AvgWidth " + number(m.AvgWidth));
    WriteLn(m_output, "/MxWidth " + number(m.MaxWidth));
    WriteLn(m_output, "/MissingWidth " + number(m.AvgWidth));
    if (!fontFile.isEmpty())
        WriteLn(m_output, fontFile);
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");
}

void TqvxPDFExport::WriteFonts(TqvxPDFFont &font)
{
    const QByteArray name = font.GetPDFName();

    QByteArray fontFile;
    const TqvxPDFFontFile file = (m_embedFonts || font.IsSubstituted()) && font.Unusable().isEmpty()
        ? font.GetFontFile([this](const QString &text) { warn(text); })
        : TqvxPDFFontFile();
    if (!file.Data.isEmpty()) {
        const int f = UpdateXRef();
        WriteLn(m_output, ObjNumber(f));
        if (file.OpenType) {
            m_openType = true;
            WriteFontStream(f, file.Data, "/Subtype /OpenType ", false);
            fontFile = "/FontFile3 " + ObjNumberRef(f);
        } else {
            WriteFontStream(f, file.Data, QByteArray(), true);
            fontFile = "/FontFile2 " + ObjNumberRef(f);
        }
        WriteLn(m_output, QByteArray());
        WriteLn(m_output, "endstream");
        WriteLn(m_output, "endobj");
    }

    const int d = UpdateXRef();
    WriteFontDescriptor(d, font, name, fontFile);

    const int t = UpdateXRef();
    WriteLn(m_output, ObjNumber(t));
    WriteFontStream(t, toUnicodeCMap(font, name), QByteArray(), true);
    WriteLn(m_output, "endstream");
    WriteLn(m_output, "endobj");

    const int s = UpdateXRef();
    WriteLn(m_output, ObjNumber(s));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Registry " + LiteralString("Adobe", s) + " /Ordering " + LiteralString("Identity", s)
                          + " /Supplement 0");
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");

    const int c = UpdateXRef();
    WriteLn(m_output, ObjNumber(c));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Type /Font");
    WriteLn(m_output, font.IsCFF() ? "/Subtype /CIDFontType0" : "/Subtype /CIDFontType2");
    WriteLn(m_output, "/BaseFont /" + name);
    WriteLn(m_output, "/CIDSystemInfo " + ObjNumberRef(s));
    WriteLn(m_output, "/FontDescriptor " + ObjNumberRef(d));
    QByteArray widths = "/W [ ";
    for (qsizetype i = 0; i < font.Glyphs().size(); ++i)
        widths += QByteArray::number(font.Glyphs()[i]) + " [" + QByteArray::number(font.Widths()[i]) + "] ";
    WriteLn(m_output, widths + ']');
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");

    if (font.ObjectNumber == 0)
        font.ObjectNumber = UpdateXRef();
    else
        SetXRef(font.ObjectNumber);
    WriteLn(m_output, ObjNumber(font.ObjectNumber));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Type /Font");
    WriteLn(m_output, "/Subtype /Type0");
    WriteLn(m_output, "/BaseFont /" + name);
    WriteLn(m_output, "/Encoding /Identity-H");
    WriteLn(m_output, "/DescendantFonts [" + ObjNumberRef(c) + ']');
    WriteLn(m_output, "/ToUnicode " + ObjNumberRef(t));
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");
}
