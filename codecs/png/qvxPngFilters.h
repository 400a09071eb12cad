#pragma once

// The row filters of PNG and the adaptive choice among them when writing.
//
// A row is its bytes without the filter byte; prev is the row above (zeros
// for the first row of a pass); bpp is the number of bytes of a complete
// pixel (at least 1).

#include <QtGlobal>

enum TFilterType : quint8 { ftNone, ftSub, ftUp, ftAverage, ftPaeth };

quint8 PaethPredictor(int a, int b, int c);

// Undoes a filter in place; the filter type must be 0..4.
void UnfilterRow(quint8 type, quint8 *row, const quint8 *prev, qsizetype size, int bpp);

// The filtered bytes of raw into out.
void FilterRow(quint8 type, const quint8 *raw, const quint8 *prev, quint8 *out, qsizetype size, int bpp);

// The score of a filtered row for the choice: how many bytes from the
// third on equal the byte one or two before them.
qsizetype FilterScore(const quint8 *row, qsizetype size);
