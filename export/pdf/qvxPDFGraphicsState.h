#pragma once

// The graphics state a page's content has set so far, so that an operator
// is written only where it changes what is in force: the stroke and fill
// colours, the dash pattern and line width, the text font and the
// character spacing.  An empty text is a value not known (set by a view
// that writes its operators its own way), which the next use writes again.

#include "export/pdf/qvxPDFStrings.h"

#include <QByteArray>

struct TqvxPDFPen {
    QByteArray Stroke = "0 0 0"; // colour operands of RG
    QByteArray Fill = "0 0 0"; // of rg
    QByteArray Dash = "[] 0 d"; // the whole operator
    TqvxPDFNumber Width = TqvxPDFNumber(1);
    QByteArray Font; // "/F0 10": resource name and size of Tf
    TqvxPDFNumber CharSpacing = TqvxPDFNumber(0);
};

class TqvxPDFGraphicsState
{
public:
    // A new page: the reader's initial state.
    void Reset() { Current = Outside = TqvxPDFPen(); }

    void SetStroke(TqvxPDFContentText &out, const QByteArray &color)
    {
        if (Current.Stroke != color) {
            out << color << " RG\n";
            Current.Stroke = color;
        }
    }
    void SetFill(TqvxPDFContentText &out, const QByteArray &color)
    {
        if (Current.Fill != color) {
            out << color << " rg\n";
            Current.Fill = color;
        }
    }
    void SetDash(TqvxPDFContentText &out, const QByteArray &dash)
    {
        if (Current.Dash != dash) {
            out << dash << "\n";
            Current.Dash = dash;
        }
    }
    void SetWidth(TqvxPDFContentText &out, const TqvxPDFNumber &width)
    {
        if (!(Current.Width == width)) {
            out << width << " w\n";
            Current.Width = width;
        }
    }
    void SetPen(TqvxPDFContentText &out, const QByteArray &color, const QByteArray &dash, const TqvxPDFNumber &width)
    {
        SetStroke(out, color);
        SetDash(out, dash);
        SetWidth(out, width);
    }
    void SetFont(TqvxPDFContentText &out, const QByteArray &font)
    {
        if (Current.Font != font) {
            out << font << " Tf\n";
            Current.Font = font;
        }
    }
    void SetCharSpacing(TqvxPDFContentText &out, const TqvxPDFNumber &spacing)
    {
        if (!(Current.CharSpacing == spacing)) {
            out << spacing << " Tc\n";
            Current.CharSpacing = spacing;
        }
    }

    // Operators written outside this state set the pen: both what is in
    // force and what views drawn inside q ... Q start from.
    void PenWritten(const QByteArray &stroke, const QByteArray &dash, const TqvxPDFNumber &width)
    {
        Current.Stroke = Outside.Stroke = stroke;
        Current.Dash = Outside.Dash = dash;
        Current.Width = Outside.Width = width;
        Current.Fill.clear();
        Outside.Fill.clear();
    }

    // What is in force now.
    TqvxPDFPen Current;
    // What is in force outside every memo: the state a memo drawn inside
    // q ... Q inherits, and so the one its operators that set no pen of
    // their own (a shadow's border, ruled lines' dash) are drawn with.
    TqvxPDFPen Outside;
};
