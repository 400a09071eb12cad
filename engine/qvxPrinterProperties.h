#pragma once

// The settings dialog of an installed printer: what the print system lets
// the user choose for the printer's jobs, namely the paper source,
// two-sided printing and the resolution.  A setting with one choice only
// is shown but cannot be changed.

#include "engine/qvxPrinter.h"

#include <QList>
#include <QString>

struct TqvxPrinterChoices {
    // The paper sources, the default one ("prDefault", 7) first.
    QList<TqvxPrinterItem> Bins;
    // 1 one-sided, 2 two-sided along the long edge, 3 along the short one.
    QList<int> DuplexModes;
    // Dots per inch.
    QList<int> Resolutions;

    int Bin = kDefaultBin;
    int Duplex = 1;
    int Resolution = 0;

    // Whether any setting offers more than one choice.
    bool Any() const { return Bins.size() > 1 || DuplexModes.size() > 1 || Resolutions.size() > 1; }
};

// Shows the choices of the printer of that name, the current ones chosen;
// after OK they hold the user's.  Answers whether the user confirmed.
bool qvxPrinterPropertiesDialog(const QString &printerName, TqvxPrinterChoices &choices);
