#pragma once

// Searching the text that prepared pages draw.  A page is drawn onto a
// recording canvas; its text runs are compared with the searched text in
// Unicode, with case folding unless the search is case-sensitive.  The
// state of the search is shared by every preview of the process, so that
// "find next" in any of them continues the last search.

#include "toolkit/graphics/RecordingCanvas.h"
#include "toolkit/graphics/Rects.h"

#include <QString>

struct TqvxSearchState {
    QString SearchText;
    bool SearchCaseSensitive = false;
    bool TextFound = false;
    // The hit in page pixels at zoom 1.
    TRect FoundRect;
    // The index of the record of the last hit on the current page; -1 for
    // none.
    int LastFoundRecord = -1;
};

TqvxSearchState &qvxSearchState();

// The index in records of the first text run after record afterRecord that
// contains text, with its bounds in foundRect; -1 when none does.
int qvxFindTextRecord(const TCanvasRecords &records, const QString &text, bool caseSensitive, int afterRecord,
                      TRect &foundRect);
