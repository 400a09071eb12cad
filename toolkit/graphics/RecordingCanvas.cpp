#include "toolkit/graphics/RecordingCanvas.h"

TRecordingCanvas::TRecordingCanvas() = default;

TCanvasRecords TRecordingCanvas::TakeRecords()
{
    return std::exchange(m_records, {});
}

QList<TCanvasRecord> TRecordingCanvas::TextRecords() const
{
    QList<TCanvasRecord> texts;
    for (const TCanvasRecord &record : m_records)
        if (record.Op == TCanvasOp::Text)
            texts.append(record);
    return texts;
}

bool TRecordingCanvas::Record(TCanvasOp op, const TRect &bounds, const QString &text,
                              std::function<void(TCanvas &)> play)
{
    m_records.append({op, bounds, text, Font()->Data(), Pen()->Data(), Brush()->Data(), CopyMode(), std::move(play), {}, 0});
    return true;
}

bool TRecordingCanvas::RecordText(const TRect &bounds, const QString &text, const QList<int> &advances,
                                  unsigned options, std::function<void(TCanvas &)> play)
{
    Record(TCanvasOp::Text, bounds, text, std::move(play));
    m_records.back().Advances = advances;
    m_records.back().TextOptions = options;
    return true;
}

void PlayRecords(const TCanvasRecords &records, TCanvas *target)
{
    const TFontData font = target->Font()->Data();
    const TPenData pen = target->Pen()->Data();
    const TBrushData brush = target->Brush()->Data();
    const TCopyMode copyMode = target->CopyMode();
    const TPoint penPos = target->PenPos();
    target->SaveClip();
    for (const TCanvasRecord &record : records) {
        target->Font()->SetData(record.Font);
        target->Pen()->SetData(record.Pen);
        target->Brush()->SetData(record.Brush);
        target->SetCopyMode(record.CopyMode);
        record.Play(*target);
    }
    target->RestoreClip();
    target->Font()->SetData(font);
    target->Pen()->SetData(pen);
    target->Brush()->SetData(brush);
    target->SetCopyMode(copyMode);
    target->MoveTo(penPos.X, penPos.Y);
}

void PlayRecords(const TCanvasRecords &records, TCanvas *target, const QSize &frameSize, const TRect &dest)
{
    if (frameSize.isEmpty() || dest.IsEmpty())
        return;
    const QTransform saved = target->Transform();
    QTransform scaled;
    scaled.translate(dest.Left, dest.Top);
    scaled.scale(double(dest.Width()) / frameSize.width(), double(dest.Height()) / frameSize.height());
    target->SetTransform(scaled * saved);
    target->SaveClip();
    target->IntersectClipRect(Rect(0, 0, frameSize.width(), frameSize.height()));
    PlayRecords(records, target);
    target->RestoreClip();
    target->SetTransform(saved);
}
