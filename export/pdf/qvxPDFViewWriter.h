#pragma once

// Writes one view into the content of the current PDF page: the view's box
// in points and the writers of each view kind.  Used by qvxPDFWriteView
// (export/pdf/qvxPDFPageContent.h); one instance per view.

#include "export/pdf/qvxExportPDF.h"
#include "export/pdf/qvxPDFStrings.h"
#include "toolkit/graphics/Rects.h"

#include <QByteArray>

class QImage;
class TqvxCheckBoxView;
class TqvxCustomFill;
class TqvxCustomLineView;
class TqvxCustomMemoView;
class TqvxDrawText;
class TqvxShapeView;
class TqvxView;
class TWideStrings;

class TqvxPDFViewWriter
{
public:
    TqvxPDFViewWriter(TqvxPDFExport &pdf, TqvxView *view);

    void WriteHyperlink();
    void WriteMemo(TqvxCustomMemoView *memo);
    void WriteLine(TqvxCustomLineView *line);
    void WriteShape(TqvxShapeView *shape);
    void WriteCheckBox(TqvxCheckBoxView *box);
    void WriteBitmap();
    // The frame's sides over the box (and the double lines' inner ones);
    // false when no side was drawn.
    bool WriteFrame();

private:
    void write(const QByteArray &text) { TqvxPDFExport::Write(m_content, text); }
    void writeLn(const QByteArray &text) { TqvxPDFExport::WriteContentLn(m_content, text); }
    // Writes the parts, put together as TqvxPDFContentText puts them.
    template <class... Parts>
    void writeParts(const Parts &...parts)
    {
        m_text.Clear();
        (m_text << ... << parts);
        m_content->WriteBuffer(m_text.Data(), m_text.Size());
    }
    QByteArray color(TColor c) { return m_pdf.GetPDFColor(c); }
    // A point of the page in pixels as "x y" in points.
    QByteArray point(double x, double y) const;
    void writeArrow(double fromX, double fromY, double tipX, double tipY);
    // The JPEG of image, with alpha as its soft mask unless empty, as an
    // image of the page (written once per page), drawn over the rectangle
    // of pixels.
    void writeImage(const QImage &image, const QByteArray &alpha, bool grey, double left, double top, double width,
                    double height);
    // A gradient or glass fill as an image over the view's top-left
    // width x height pixels.
    void writeFillImage(const TqvxCustomFill *fill, double width, double height);
    // The lines laid out, with the font that laid them out.
    // textBox is the rectangle the layout wrapped the lines in (pixels).
    void writeMemoLines(TqvxCustomMemoView *memo, TqvxDrawText *layout, const TFont &font, const TRect &textBox,
                        double lineHeight);
    // Sets the dash a memo's stroke inherits: the one outside the memo
    // until the memo sets one itself.
    void setInheritedDash(TqvxPDFContentText &out);
    // The memo's text, or its first MaxExportedMemoChars characters put
    // into cut, with a warning.
    const TWideStrings *exportedText(TqvxCustomMemoView *memo, TWideStrings &cut);
    // Whether line i of n lies wholly outside the memo's box (and its clip),
    // unrotated.
    bool outsideBox(TqvxCustomMemoView *memo, int i, int n, double lineHeight) const;

    TqvxPDFExport &m_pdf;
    TqvxView *m_view;
    TStream *m_content;
    // The filter's buffer for operators, which keeps its room view after view.
    TqvxPDFContentText &m_text;
    // The view's box in pixels, and its corners and sizes as operand texts.
    double L, T, W, H;
    TqvxPDFNumber X1, Y1, X2, Y2, WW, HH;
    // A memo's clip (points), whether it is needed, and whether the memo
    // has set a dash of its own.
    double m_clipLeft = 0, m_clipBottom = 0, m_clipWidth = 0, m_clipHeight = 0;
    bool m_needsClip = false;
    bool m_dashSet = false;
    // How far the frame's strokes reach outside the box, pixels.
    double m_frameReach = 0;
};
