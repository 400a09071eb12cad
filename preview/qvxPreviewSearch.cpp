#include "preview/qvxPreviewSearch.h"

TqvxSearchState &qvxSearchState()
{
    static TqvxSearchState state;
    return state;
}

int qvxFindTextRecord(const TCanvasRecords &records, const QString &text, bool caseSensitive, int afterRecord,
                      TRect &foundRect)
{
    if (text.isEmpty())
        return -1;
    const Qt::CaseSensitivity sensitivity = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = std::max(afterRecord + 1, 0); i < records.size(); ++i) {
        const TCanvasRecord &record = records.at(i);
        if (record.Op == TCanvasOp::Text && record.Text.contains(text, sensitivity)) {
            foundRect = record.Bounds;
            return i;
        }
    }
    return -1;
}
