#pragma once

// The picture view: a picture kept in the report file, read from a file
// named by an expression, or from a blob field of a data set.  Pictures
// are recognised by their first bytes (see qvxDetectPictureFormat), drawn
// stretched, with their aspect ratio kept, centred, or at their own size.

#include "report/components/qvxView.h"
#include "toolkit/graphics/Picture.h"

#include <functional>
#include <memory>

class TStream;

// The formats a picture view reads.
enum class TqvxPictureFormat { Unknown, Bitmap, JPEG, PNG, WMF, EMF, Icon };

// The format of picture data by its first bytes.  Data that starts with
// the 8-byte header of a data-field picture (the 16-bit words 1 and 256,
// then the 32-bit length of what follows) is judged by what follows the
// header, and headerSize becomes 8 (else 0).
TqvxPictureFormat qvxDetectPictureFormat(const QByteArray &data, int &headerSize);

// The result of TqvxPictureView::LoadPictureFromStream for data of no known
// format (the invalid-argument code).
inline constexpr quint32 qvxInvalidPicture = 0x80070057;

class TqvxPictureView : public TqvxView
{
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(QString FileLink READ FileLink WRITE SetFileLink)
    Q_PROPERTY(bool HightQuality READ HightQuality WRITE SetHightQuality)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool KeepAspectRatio READ KeepAspectRatio WRITE SetKeepAspectRatio)
    Q_PROPERTY(TPicture *Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(TColor TransparentColor READ TransparentColor WRITE SetTransparentColor)

public:
    // Clears the generic-diff flag.
    explicit TqvxPictureView(TComponent *owner = nullptr);
    ~TqvxPictureView() override;

    QString GetDescription() const override;

    // Setting it makes Width and Height the picture's size whenever a
    // picture is loaded.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool Center() const { return m_center; }
    void SetCenter(bool value) { m_center = value; }
    // A file name; bracketed expressions in it are expanded by GetData.
    QString FileLink() const { return m_fileLink; }
    void SetFileLink(const QString &value) { m_fileLink = value; }
    bool HightQuality() const { return m_hightQuality; }
    void SetHightQuality(bool value) { m_hightQuality = value; }
    // The picture's number in the prepared pages' picture cache; stored
    // only while IsImageIndexStored.
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value) { m_imageIndex = value; }
    bool IsImageIndexStored() const { return m_imageIndexStored; }
    void SetIsImageIndexStored(bool value) { m_imageIndexStored = value; }
    bool KeepAspectRatio() const { return m_keepAspectRatio; }
    void SetKeepAspectRatio(bool value) { m_keepAspectRatio = value; }
    // Owned; assigning copies.  Stored only while IsPictureStored (set at
    // creation).
    TPicture *Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture *value) { m_picture->Assign(value); }
    bool IsPictureStored() const { return m_pictureStored; }
    void SetIsPictureStored(bool value) { m_pictureStored = value; }
    // The picture changed since the last prepared copy took it.
    bool PictureChanged() const { return m_pictureChanged; }
    void SetPictureChanged(bool value) { m_pictureChanged = value; }
    bool Stretched() const { return m_stretched; }
    void SetStretched(bool value) { m_stretched = value; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value) { m_transparent = value; }
    TColor TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(TColor value) { m_transparentColor = value; }

    // Reads a picture by its first bytes, from the stream's start or from
    // its position.  Answers 0, or qvxInvalidPicture for data of no known
    // format, after which the picture is empty.  Data of a known format
    // that does not decode raises EInvalidGraphic and leaves the picture
    // empty; so does PNG data while no PNG codec is registered.
    quint32 LoadPictureFromStream(TStream *stream, bool fromStart = true);

    // The background (unless drawing black text), the picture, the frame.
    // A picture of no width or height draws nothing.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
    // After the view's: a FileLink is expanded and the file, when it
    // exists, loaded (else the picture is cleared); without a FileLink, a
    // blob field of the data set is read by its first bytes.  A picture
    // that loaded but cannot be drawn (JPEG bytes that do not decode) puts
    // one line in the report's error list and shows nothing.
    void GetData() override;
    // A picture changed since the last prepared copy first goes into the
    // prepared pages' picture cache (which sets ImageIndex).  Then the
    // view's difference, ImageIndex always, Transparent when set and
    // TransparentColor when not white.
    QString Diff(const TqvxComponent *source) override;

private:
    void pictureChanged();
    void loadFromBlobField();
    // Runs load; a picture it cannot read leaves the view empty, and the
    // error goes to the report's error list (the run goes on).
    void loadOrReport(const std::function<void()> &load);
    // Once per picture loaded.
    void reportUndrawable();

    bool m_autoSize = false;
    bool m_center = false;
    QString m_fileLink;
    bool m_hightQuality = false;
    int m_imageIndex = 0;
    bool m_imageIndexStored = false;
    bool m_keepAspectRatio = true;
    std::unique_ptr<TPicture> m_picture;
    bool m_pictureStored = true;
    bool m_pictureChanged = false;
    bool m_undrawableReported = false;
    bool m_stretched = true;
    bool m_transparent = false;
    TColor m_transparentColor = clWhite;
};

// Declares the properties and registers the class.
void InitializeQvxPictureView();
