// Lines with arrow heads, shapes and check boxes as PDF paths.

#include "export/pdf/qvxPDFPageContent.h"
#include "export/pdf/qvxPDFStrings.h"
#include "export/pdf/qvxPDFViewWriter.h"
#include "report/views/qvxChBox.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxShapeView.h"

#include <cmath>

TqvxPDFArrow qvxPDFArrowHead(double x1, double y1, double x2, double y2, double length, double halfWidth)
{
    TqvxPDFArrow arrow;
    if (x1 == x2) {
        arrow.BaseX = x2;
        arrow.BaseY = y1 <= y2 - length ? y2 - length : y2 + length;
        arrow.Wing1X = arrow.BaseX - halfWidth;
        arrow.Wing1Y = arrow.BaseY;
        arrow.Wing2X = arrow.BaseX + halfWidth;
        arrow.Wing2Y = arrow.BaseY;
        return arrow;
    }
    // The base is where the circle of radius length around the tip cuts
    // the line y = k x + b, on the side of the line's start.
    const double k = (y2 - y1) / (x2 - x1);
    const double b = (x2 * y1 - x1 * y2) / (x2 - x1);
    const double qa = k * k + 1;
    const double qb = 2 * ((b - y2) * k - x2);
    const double qc = x2 * x2 + y2 * y2 - length * length + b * b - 2 * y2 * b;
    const double root = std::sqrt(std::max(0.0, qb * qb - 4 * qa * qc));
    double x = (-qb + root) / (2 * qa);
    if (x < std::min(x1, x2) || x > std::max(x1, x2))
        x = (-qb - root) / (2 * qa);
    arrow.BaseX = x;
    arrow.BaseY = k * x + b;
    if (y1 == y2) {
        arrow.Wing1X = arrow.BaseX;
        arrow.Wing1Y = arrow.BaseY - halfWidth;
        arrow.Wing2X = arrow.BaseX;
        arrow.Wing2Y = arrow.BaseY + halfWidth;
        return arrow;
    }
    const double theta = std::atan(k);
    arrow.Wing1X = arrow.BaseX + std::sin(theta) * halfWidth;
    arrow.Wing1Y = arrow.BaseY - std::cos(theta) * halfWidth;
    arrow.Wing2X = arrow.BaseX - std::sin(theta) * halfWidth;
    arrow.Wing2Y = arrow.BaseY + std::cos(theta) * halfWidth;
    return arrow;
}

namespace {

QByteArray pdfPoint(double x, double y)
{
    return PdfNumber(x) + ' ' + PdfNumber(y);
}

} // namespace

void TqvxPDFViewWriter::writeArrow(double fromX, double fromY, double tipX, double tipY)
{
    const auto *line = static_cast<TqvxCustomLineView *>(m_view);
    const TqvxFrame *frame = line->Frame();
    const TqvxPDFArrow arrow =
        qvxPDFArrowHead(fromX, fromY, tipX, tipY, line->ArrowLength() * 0.75, line->ArrowWidth() * 0.75);
    // The round join of a solid head stays inside q ... Q.
    if (line->ArrowSolid())
        writeLn("q");
    writeLn(GetDashPattern(frame->Style(), frame->Width()));
    writeLn(pdfPoint(arrow.Wing1X, arrow.Wing1Y) + " m\n" + pdfPoint(tipX, tipY) + " l\n"
            + pdfPoint(arrow.Wing2X, arrow.Wing2Y) + " l");
    if (line->ArrowSolid()) {
        writeLn("1 j\n" + color(frame->Color()) + " rg\nb");
        writeLn("Q");
    } else {
        writeLn("S");
    }
}

void TqvxPDFViewWriter::WriteLine(TqvxCustomLineView *line)
{
    const TqvxFrame *frame = line->Frame();
    const double fw = frame->Width();
    writeLn(GetDashPattern(frame->Style(), fw));
    writeParts(color(frame->Color()), " RG\n", fw * 0.75, " w\n", X1, ' ', Y1, " m\n", X2, ' ', Y2,
               " l\nS\n");
    const double left = m_pdf.PX(L);
    const double top = m_pdf.PY(T);
    const double right = m_pdf.PX(L + W);
    const double bottom = m_pdf.PY(T + H);
    if (line->ArrowStart())
        writeArrow(right, bottom, left, top);
    if (line->ArrowEnd())
        writeArrow(left, top, right, bottom);
}

void TqvxPDFViewWriter::WriteShape(TqvxShapeView *shape)
{
    const TqvxFrame *frame = shape->Frame();
    const double fw = frame->Width();
    const TColor fill = shape->Color();
    const QByteArray paint = fill == clNone ? "S\n" : "B\n";
    const double r = L + W;
    const double b = T + H;

    if (shape->Shape() == skRoundRectangle) {
        const double radius = shape->Curve() == 0 ? 7.48 : shape->Curve() * 3.74;
        const double half = radius / 2;
        writeLn(GetDashPattern(frame->Style(), fw));
        writeLn(color(frame->Color()) + " RG");
        writeLn(PdfNumber(fw * 0.75) + " w");
        writeLn(color(fill) + " rg");
        writeLn(point(L + radius, b) + " m");
        writeLn(point(r - radius, b) + " l");
        writeLn(point(r - half, b) + ' ' + point(r, b - half) + ' ' + point(r, b - radius) + " c");
        writeLn(point(r, T + radius) + " l");
        writeLn(point(r, T + half) + ' ' + point(r - half, T) + ' ' + point(r - radius, T) + " c");
        writeLn(point(L + radius, T) + " l");
        writeLn(point(L + half, T) + ' ' + point(L, T + half) + ' ' + point(L, T + radius) + " c");
        writeLn(point(L, b - radius) + " l");
        writeLn(point(L, b - half) + ' ' + point(L + half, b) + ' ' + point(L + radius, b) + " c");
        writeLn(fill == clNone ? "S" : "B");
        return;
    }

    writeLn(GetDashPattern(frame->Style(), fw));
    write(color(frame->Color()) + " RG\n" + PdfNumber(fw * 0.75) + " w\n");
    switch (shape->Shape()) {
    case skRectangle:
        writeParts(color(fill), " rg\n", X1, ' ', Y2, " \n", WW, ' ', HH, " re\n", paint);
        break;
    case skEllipse: {
        const double a = W / 2;
        const double bb = H / 2;
        const double k1 = 1.5522847498;
        const double k2 = 0.4477152502;
        writeLn(color(fill) + " rg");
        writeLn(point(L + 2 * a, T + bb) + " m");
        writeLn(point(L + 2 * a, T + bb * k1) + ' ' + point(L + a * k1, T + 2 * bb) + ' ' + point(L + a, T + 2 * bb)
                + " c");
        writeLn(point(L + a * k2, T + 2 * bb) + ' ' + point(L, T + bb * k1) + ' ' + point(L, T + bb) + " c");
        writeLn(point(L, T + bb * k2) + ' ' + point(L + a * k2, T) + ' ' + point(L + a, T) + " c");
        writeLn(point(L + a * k1, T) + ' ' + point(L + 2 * a, T + bb * k2) + ' ' + point(L + 2 * a, T + bb) + " c");
        write(paint);
        break;
    }
    case skTriangle:
        writeLn(color(fill) + " rg");
        writeLn(point(L + W / 2, T) + " m " + point(r, b) + " l " + point(L, b) + " l " + point(L + W / 2, T) + " l");
        write(paint);
        break;
    case skDiamond:
        writeLn(color(fill) + " rg");
        writeLn(point(L + W / 2, T) + " m " + point(r, T + H / 2) + " l " + point(L + W / 2, b) + " l "
                + point(L, T + H / 2) + " l " + point(L + W / 2, T) + " l");
        write(paint);
        break;
    case skDiagonal1:
        writeParts(X1, ' ', Y2, " m\n", X2, ' ', Y1, " l\nS\n");
        break;
    case skDiagonal2:
        writeParts(X1, ' ', Y1, " m\n", X2, ' ', Y2, " l\nS\n");
        break;
    default:
        break;
    }
}

void TqvxPDFViewWriter::WriteCheckBox(TqvxCheckBoxView *box)
{
    const TqvxFrame *frame = box->Frame();
    const double fw = frame->Width();
    const double r = L + W;
    const double b = T + H;
    const auto at = [this](double x, double y, const char *op) { return point(x, y) + ' ' + op + ' '; };
    const QByteArray cross = PdfNumber(fw * 4.5) + " w 2 J " + at(L + W / 4, T + H / 4, "m") + at(r - W / 4, b - H / 4, "l")
        + at(r - W / 4, T + H / 4, "m") + at(L + W / 4, b - H / 4, "l");
    const QByteArray lineCross = at(L, T, "m") + at(r, b, "l") + at(r, T, "m") + at(L, b, "l");
    const QByteArray minus = at(L, T + H / 2, "m") + at(r, T + H / 2, "l");

    QByteArray mark;
    if (box->Checked()) {
        switch (box->CheckStyle()) {
        case csCross:
            mark = cross;
            break;
        case csCheck:
            mark = PdfNumber(fw * 0.75 * H / 10) + " w 2 J " + at(L + W / 5, T + H / 2, "m")
                + at(L + W / 3, b - H / 4, "l") + at(r - W / 5, T + H / 7, "l");
            break;
        case csLineCross:
            mark = lineCross;
            break;
        case csPlus:
            mark = minus + at(L + W / 2, T, "m") + at(L + W / 2, b, "l");
            break;
        }
    } else {
        switch (box->UncheckStyle()) {
        case usEmpty:
            break;
        case usCross:
            mark = cross;
            break;
        case usLineCross:
            mark = lineCross;
            break;
        case usMinus:
            mark = minus;
            break;
        }
    }
    const bool boxed = frame->Typ() == (ftLeft | ftRight | ftTop | ftBottom);
    // An empty box without sides has no path to paint.
    if (mark.isEmpty() && !boxed)
        return;

    // The cap of the marks stays inside q ... Q.
    writeLn("q");
    writeLn("[] 0 d");
    writeLn(color(frame->Color()) + " RG\n" + PdfNumber(fw * 1.5) + " w " + color(box->Color()) + " rg");
    if (!mark.isEmpty())
        writeLn(mark);
    if (boxed)
        writeLn((mark.isEmpty() ? " " : " S ") + PdfNumber(fw * 1.5) + " w " + at(L, T, "m") + at(r, T, "l")
                + at(r, b, "l") + at(L, b, "l") + at(L, T, "l"));
    write(box->Color() == clNone ? "S\n" : "B\n");
    writeLn("Q");
}
