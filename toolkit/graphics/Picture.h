#pragma once

// TPicture: holds one graphic of any registered class, choosing the class
// from a file's extension or a stream's first bytes.

#include "toolkit/graphics/TGraphic.h"

#include <memory>

class TBitmap;
class TReader;
class TWriter;

class TPicture : public TPersistent
{
    Q_OBJECT

public:
    TPicture();
    ~TPicture() override;

    // The graphic held (owned), nullptr when empty.  Setting keeps a copy.
    TGraphic *Graphic() const { return m_graphic.get(); }
    void SetGraphic(const TGraphic *graphic);
    // The graphic as a bitmap; a picture holding another class (or nothing)
    // is replaced by an empty bitmap first.
    TBitmap *Bitmap();

    int Width() const;
    int Height() const;

    // By the file name's extension; an extension no class claims raises
    // EInvalidGraphic.
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName) const;
    // By the data's signature; data no class recognises raises
    // EInvalidGraphic.
    void LoadFromStream(TStream *stream);
    void SaveToStream(TStream *stream) const;

    void Assign(const TPersistent *source) override;

    // The custom property "Data": the graphic's class name, then the bytes
    // of its file format; nothing for an empty picture.  Reading a class
    // that is not registered raises EInvalidGraphic.
    void DefineProperties(TFiler &filer) override;
    void ReadData(TReader &reader);
    void WriteData(TWriter &writer) const;

    TNotifyEvent OnChange;

private:
    void Take(TGraphic *graphic);
    void Changed();

    std::unique_ptr<TGraphic> m_graphic;
};
