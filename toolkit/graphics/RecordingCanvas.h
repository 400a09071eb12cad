#pragma once

// A canvas that keeps its drawing calls instead of drawing them.
//
// Every call is kept in order with the font, pen, brush and copy mode in
// effect, the bounds of what it draws and, for text, the text itself; tests
// read the calls, metafiles are such recordings, and the preview searches
// the text of drawn pages in them.  Measuring works as on any canvas;
// reading pixels answers clNone.

#include "toolkit/graphics/Canvas.h"

struct TCanvasRecord {
    TCanvasOp Op = TCanvasOp::FillRect;
    TRect Bounds;
    QString Text;
    TFontData Font;
    TPenData Pen;
    TBrushData Brush;
    TCopyMode CopyMode = cmSrcCopy;
    std::function<void(TCanvas &)> Play;
    // Text drawn by ExtTextOut: the advances it was given (empty for the
    // font's own) and its options.
    QList<int> Advances;
    unsigned TextOptions = 0;
};

using TCanvasRecords = QList<TCanvasRecord>;

class TRecordingCanvas : public TCanvas
{
    Q_OBJECT

public:
    TRecordingCanvas();

    bool IsRecording() const override { return true; }

    const TCanvasRecords &Records() const { return m_records; }
    TCanvasRecords TakeRecords();
    void Clear() { m_records.clear(); }

    // The recorded texts with their bounds, in drawing order.
    QList<TCanvasRecord> TextRecords() const;

protected:
    bool Record(TCanvasOp op, const TRect &bounds, const QString &text,
                std::function<void(TCanvas &)> play) override;
    bool RecordText(const TRect &bounds, const QString &text, const QList<int> &advances, unsigned options,
                    std::function<void(TCanvas &)> play) override;

private:
    TCanvasRecords m_records;
};

// Plays records onto a canvas: each call with its own tools, the target's
// tools and clip restored afterwards.  With a frame of frameSize, the
// recording is scaled from (0, 0, frameSize) onto dest.
void PlayRecords(const TCanvasRecords &records, TCanvas *target);
void PlayRecords(const TCanvasRecords &records, TCanvas *target, const QSize &frameSize, const TRect &dest);
