#pragma once

// TGraphic: the base of pictures that load, save and draw themselves, and
// the registry of graphic classes by file extension and file signature, from
// which TPicture chooses the class for a file or a stream.

#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Rects.h"
#include "toolkit/classes/TPersistent.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class TCanvas;
class TStream;

class TGraphic : public TPersistent
{
    Q_OBJECT

public:
    TGraphic();

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    // Pixels of the transparent colour are left out when drawn.
    virtual bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool value);

    // Reads and writes the graphic's own file format; malformed data raises
    // EInvalidGraphic.
    virtual void LoadFromStream(TStream *stream) = 0;
    virtual void SaveToStream(TStream *stream) const = 0;
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName) const;

    // Draws the graphic stretched into rect (what TCanvas::Draw and
    // StretchDraw call).
    virtual void Draw(TCanvas *canvas, const TRect &rect) const = 0;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    // To a TBitmap: a 24-bit bitmap of the graphic's size with the graphic
    // drawn on white (empty for a graphic of no size); anything else refuses.  Descendants that can give a
    // bitmap more of themselves (a palette, a transparent colour) override.
    void AssignTo(TPersistent *dest) const override;

private:
    bool m_transparent = false;
};

using TGraphicFactory = std::function<TGraphic *()>;

struct TGraphicFormat {
    QString Extension; // lower case, without the dot
    QString Description;
    // Bytes the file starts with at SignatureOffset; empty: recognised by
    // extension only.
    QByteArray Signature;
    int SignatureOffset = 0;
    TClass Class = nullptr;
    TGraphicFactory Create;
};

// Registers a format; a later registration of the same extension replaces
// the earlier one.
void RegisterGraphicFormat(const TGraphicFormat &format);
template <class T>
void RegisterGraphicFormat(const QString &extension, const QString &description, const QByteArray &signature = {},
                           int signatureOffset = 0)
{
    RegisterGraphicFormat({extension.toLower(), description, signature, signatureOffset, ClassOf<T>(),
                           []() -> TGraphic * { return new T; }});
}
void UnregisterGraphicClass(TClass cls);

// The format of an extension (with or without the dot, any case), or of the
// first bytes of a file; nullptr when none is registered.
const TGraphicFormat *GraphicFormatByExtension(const QString &extension);
const TGraphicFormat *GraphicFormatBySignature(const QByteArray &head);
QList<TGraphicFormat> GraphicFormats();
