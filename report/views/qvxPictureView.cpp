#include "report/views/qvxPictureView.h"

#include "report/model/qvxCustomPreviewPages.h"
#include "report/data/qvxDataSet.h"
#include "report/model/qvxDiffText.h"
#include "report/base/qvxGraphicUtils.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxReportLink.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/Metafile.h"

#include <QtEndian>

#include <memory>

namespace {

quint16 word(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint16>(data.constData() + offset);
}

quint32 dword(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint32>(data.constData() + offset);
}

TqvxPictureFormat formatOf(const QByteArray &data)
{
    const qsizetype size = data.size();
    if (size >= 14 && data.startsWith("BM"))
        return TqvxPictureFormat::Bitmap;
    if (size >= 2 && quint8(data[0]) == 0xFF && quint8(data[1]) == 0xD8)
        return TqvxPictureFormat::JPEG;
    if (size >= 8 && data.startsWith(QByteArray("\x89PNG\r\n\x1A\n", 8)))
        return TqvxPictureFormat::PNG;
    if (size >= 22 && dword(data, 0) == 0x9AC6CDD7)
        return TqvxPictureFormat::WMF;
    if (size >= 100 && dword(data, 40) == 0x464D4520)
        return TqvxPictureFormat::EMF;
    if (size >= 6 && word(data, 2) < 2)
        return TqvxPictureFormat::Icon;
    return TqvxPictureFormat::Unknown;
}

// The registered graphic format that reads a picture format.
QString extensionOf(TqvxPictureFormat format)
{
    switch (format) {
    case TqvxPictureFormat::Bitmap: return QStringLiteral("bmp");
    case TqvxPictureFormat::JPEG: return QStringLiteral("jpg");
    case TqvxPictureFormat::PNG: return QStringLiteral("png");
    case TqvxPictureFormat::WMF: return QStringLiteral("wmf");
    case TqvxPictureFormat::EMF: return QStringLiteral("emf");
    case TqvxPictureFormat::Icon: return QStringLiteral("ico");
    case TqvxPictureFormat::Unknown: break;
    }
    return QString();
}

// A metafile of the platform keeps its bytes but cannot be played.
bool isUnplayable(const TGraphic *graphic)
{
    const auto *metafile = qobject_cast<const TMetafile *>(graphic);
    return metafile && metafile->Records().isEmpty();
}

// A grey box with its diagonals: where a picture cannot be shown.
void drawPlaceholder(TCanvas *canvas, const TRect &rect)
{
    canvas->Pen()->SetColor(clGray);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(rect);
    canvas->MoveTo(rect.Left, rect.Top);
    canvas->LineTo(rect.Right - 1, rect.Bottom - 1);
    canvas->MoveTo(rect.Right - 1, rect.Top);
    canvas->LineTo(rect.Left, rect.Bottom - 1);
}

} // namespace

TqvxPictureFormat qvxDetectPictureFormat(const QByteArray &data, int &headerSize)
{
    headerSize = 0;
    if (data.size() >= 8 && word(data, 0) == 1 && word(data, 2) == 256 && dword(data, 4) == quint32(data.size() - 8))
        headerSize = 8;
    return formatOf(data.mid(headerSize));
}

TqvxPictureView::TqvxPictureView(TComponent *owner)
    : TqvxView(owner),
      m_picture(std::make_unique<TPicture>())
{
    SetStyleFlags(StyleFlags() & ~csoGenericDiff);
    m_picture->OnChange = [this](TObject *) { pictureChanged(); };
}

TqvxPictureView::~TqvxPictureView()
{
    m_picture->OnChange = nullptr;
}

QString TqvxPictureView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obPicture"));
}

void TqvxPictureView::pictureChanged()
{
    SetAutoSize(m_autoSize);
    m_pictureChanged = true;
    m_undrawableReported = false;
}

void TqvxPictureView::SetAutoSize(bool value)
{
    m_autoSize = value;
    // A picture that cannot be drawn has no size to take.
    if (m_autoSize && m_picture->Graphic() && !m_picture->Graphic()->Empty() && m_picture->Width() > 0 &&
        m_picture->Height() > 0) {
        SetWidth(m_picture->Width());
        SetHeight(m_picture->Height());
    }
}

quint32 TqvxPictureView::LoadPictureFromStream(TStream *stream, bool fromStart)
{
    if (fromStart)
        stream->SetPosition(0);
    const qint64 start = stream->Position();
    const QByteArray data = stream->ReadToEnd();
    int headerSize = 0;
    const TqvxPictureFormat format = qvxDetectPictureFormat(data, headerSize);
    m_picture->SetGraphic(nullptr);
    if (format == TqvxPictureFormat::Unknown)
        return qvxInvalidPicture;
    const TGraphicFormat *graphicFormat = GraphicFormatByExtension(extensionOf(format));
    if (!graphicFormat)
        throw EInvalidGraphic(QStringLiteral("No graphic class reads %1 pictures").arg(extensionOf(format).toUpper()));
    std::unique_ptr<TGraphic> graphic(graphicFormat->Create());
    TMemoryStream body;
    body.WriteBuffer(data.mid(headerSize));
    body.SetPosition(0);
    graphic->LoadFromStream(&body);
    stream->SetPosition(start + data.size());
    m_picture->SetGraphic(graphic.get());
    return 0;
}

void TqvxPictureView::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    BeginDraw(canvas, scaleX, scaleY, offsetX, offsetY);
    if (!BlackText() && !NoBackground())
        DrawBackground();
    const TGraphic *graphic = m_picture->Graphic();
    const int pictureWidth = m_picture->Width();
    const int pictureHeight = m_picture->Height();
    const TRect box(X(), Y(), X1(), Y1());
    if (graphic && !graphic->Empty() && pictureWidth > 0 && pictureHeight > 0 && DX() > 0 && DY() > 0) {
        TRect target = box;
        bool clip = false;
        if (m_stretched) {
            if (m_keepAspectRatio) {
                const double kx = double(DX()) / pictureWidth;
                const double ky = double(DY()) / pictureHeight;
                if (ky <= kx)
                    target.Right = target.Left + qvxRound(pictureWidth * ky);
                else
                    target.Bottom = target.Top + qvxRound(pictureHeight * kx);
            }
        } else {
            target.Right = target.Left + qvxRound(pictureWidth * scaleX);
            target.Bottom = target.Top + qvxRound(pictureHeight * scaleY);
            clip = true;
        }
        if (m_center) {
            const int shiftX = (DX() - target.Width()) / 2;
            const int shiftY = (DY() - target.Height()) / 2;
            target = TRect(target.Left + shiftX, target.Top + shiftY, target.Right + shiftX, target.Bottom + shiftY);
        }
        if (clip) {
            canvas->SaveClip();
            canvas->IntersectClipRect(box);
        }
        if (isUnplayable(graphic))
            drawPlaceholder(canvas, target);
        else
            qvxDrawGraphic(canvas, target, graphic, m_transparent && m_transparentColor != clNone,
                           m_transparentColor);
        if (clip)
            canvas->RestoreClip();
    } else if (IsDesigning() && !box.IsEmpty()) {
        drawPlaceholder(canvas, box);
    }
    DrawFrame();
}

void TqvxPictureView::GetData()
{
    TqvxView::GetData();
    if (m_fileLink.isEmpty()) {
        loadFromBlobField();
    } else {
        const QString fileName = m_fileLink.contains(QLatin1Char('[')) ? ExpandVariables(m_fileLink) : m_fileLink;
        if (FileExists(fileName))
            loadOrReport([&] { m_picture->LoadFromFile(fileName); });
        else
            m_picture->SetGraphic(nullptr);
    }
    reportUndrawable();
}

void TqvxPictureView::reportUndrawable()
{
    const auto *jpeg = qobject_cast<const TJPEGImage *>(m_picture->Graphic());
    if (!jpeg || jpeg->ErrorText().isEmpty() || m_undrawableReported)
        return;
    m_undrawableReported = true;
    if (TqvxReportLink *report = ReportLink())
        report->Errors()->Add(Name() + QStringLiteral(": ") + jpeg->ErrorText());
}

void TqvxPictureView::loadOrReport(const std::function<void()> &load)
{
    try {
        load();
    } catch (const Exception &e) {
        m_picture->SetGraphic(nullptr);
        TqvxReportLink *report = ReportLink();
        if (!report)
            throw;
        report->Errors()->Add(Name() + QStringLiteral(": ") + e.Message());
    }
}

void TqvxPictureView::loadFromBlobField()
{
    auto *dataSet = qobject_cast<TqvxDataSet *>(DataSet());
    if (!dataSet || DataField().isEmpty() || !dataSet->IsBlobField(DataField()))
        return;
    // A blob travels as an 8-bit string: its bytes are the string's code
    // page 1251 units.
    const Variant value = dataSet->GetValue(DataField());
    TMemoryStream stream;
    if (!VarIsNull(value))
        stream.WriteBuffer(StringToCp1251(value.AsString()));
    loadOrReport([&] { LoadPictureFromStream(&stream, true); });
}

QString TqvxPictureView::Diff(const TqvxComponent *source)
{
    if (m_pictureChanged) {
        TqvxReportLink *report = ReportLink();
        if (TqvxCustomPreviewPages *pages = report ? report->PreviewPages() : nullptr) {
            pages->AddPicture(this);
            m_pictureChanged = false;
        }
    }
    TqvxDiffText diff(TqvxView::Diff(source));
    diff.Number(u"ImageIndex", m_imageIndex);
    if (m_transparent)
        diff.Bool(u"Transparent", true);
    if (m_transparentColor != clWhite)
        diff.Number(u"TransparentColor", m_transparentColor);
    return std::move(diff).Result();
}

void InitializeQvxPictureView()
{
    DescribeProperties<TqvxPictureView>()
        .Default("AutoSize", 0)
        .Default("Center", 0)
        .Default("HightQuality", 0)
        .Default("ImageIndex", 0)
        .Stored("ImageIndex", &TqvxPictureView::IsImageIndexStored)
        .Default("KeepAspectRatio", 1)
        .Stored("Picture", &TqvxPictureView::IsPictureStored)
        .Default("Stretched", 1)
        .Default("Transparent", 0)
        .Default("TransparentColor", clWhite)
        .TypeName("TransparentColor", QStringLiteral("TColor"));
    RegisterClass<TqvxPictureView>();
}
