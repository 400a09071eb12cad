#pragma once

// The classic paper numbers with their portrait sizes, as report files keep
// them: 1 Letter, 9 A4, 11 A5 and so on up to 68 (48 and 49 are unused).
// The sizes are fixed here; a printer is asked only which papers it offers.

#include <QList>
#include <QSizeF>
#include <QString>

// The portrait size in millimetres of a paper number of the table; false
// (and the sizes untouched) for a number the table does not know.
bool GetPaperDimensions(int paperId, double &widthMM, double &heightMM);

// The paper's usual name ("A4", "Letter", "Envelope DL"), different for
// every paper of the table; empty for a number the table does not know.
QString PaperName(int paperId);
// Every paper number of the table, in ascending order.
QList<int> PaperTableIds();

// The first paper number of the table whose portrait size is size (in
// millimetres, to within half a millimetre, either orientation); 0 when
// none is.
int PaperIdOfSize(const QSizeF &size);
