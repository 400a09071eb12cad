#pragma once

// TMetafile: a picture made of drawing calls.
//
// Drawn into through a TMetafileCanvas, a metafile keeps the recorded calls
// and plays them back, scaled to the target rectangle, onto any canvas.
// Metafile files of the platform (EMF, WMF) are kept as bytes and saved back
// unchanged, but they cannot be played: drawing one draws nothing.

#include "toolkit/graphics/TGraphic.h"
#include "toolkit/graphics/RecordingCanvas.h"

class TMetafile : public TGraphic
{
    Q_OBJECT

public:
    TMetafile();

    bool Empty() const override { return m_records.isEmpty() && m_data.isEmpty(); }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    const TCanvasRecords &Records() const { return m_records; }
    // Replaces the recording (what a TMetafileCanvas hands over when freed).
    void SetRecords(const TCanvasRecords &records);
    void Clear();

    void LoadFromStream(TStream *stream) override;
    // A recording has no file form: saving one raises
    // EInvalidGraphicOperation.
    void SaveToStream(TStream *stream) const override;

    void Draw(TCanvas *canvas, const TRect &rect) const override;

    void Assign(const TPersistent *source) override;

private:
    TCanvasRecords m_records;
    QByteArray m_data;
    int m_width = 0;
    int m_height = 0;
};

// The canvas that draws into a metafile: the calls go to the metafile when
// the canvas is freed.  A metafile without a size takes the bounds of what
// was drawn.  referenceDevice is accepted for the classic signature; the
// recording is in the pixels of the canvas.
class TMetafileCanvas : public TRecordingCanvas
{
    Q_OBJECT

public:
    explicit TMetafileCanvas(TMetafile *metafile, qint64 referenceDevice = 0);
    ~TMetafileCanvas() override;

private:
    TMetafile *m_metafile;
};
