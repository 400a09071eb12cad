// The line, shape, picture and check-box views: picture formats by their
// first bytes, line collapsing and arrow guards, check box data, and what
// the views write into prepared pages.

#include "common/TestSupport.h"
#include "report/RecordingServices.h"
#include "report/ReportContextStub.h"
#include "report/views/qvxChBox.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxPictureView.h"
#include "report/model/qvxRegistries.h"
#include "report/views/qvxShapeView.h"
#include "report/data/qvxUserDataSet.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray withBlobHeader(const QByteArray &data)
{
    QByteArray header(8, '\0');
    qToLittleEndian<quint16>(1, header.data());
    qToLittleEndian<quint16>(256, header.data() + 2);
    qToLittleEndian<quint32>(quint32(data.size()), header.data() + 4);
    return header + data;
}

QByteArray bitmapFile(int width, int height)
{
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    TMemoryStream stream;
    bitmap.SaveToStream(&stream);
    return stream.Bytes();
}

void loadBitmap(TqvxPictureView &view, int width, int height)
{
    TMemoryStream stream;
    stream.WriteBuffer(bitmapFile(width, height));
    ASSERT_EQ(view.LoadPictureFromStream(&stream), 0u);
}

TqvxPictureFormat detect(const QByteArray &data, int *headerSize = nullptr)
{
    int size = -1;
    const TqvxPictureFormat format = qvxDetectPictureFormat(data, size);
    if (headerSize)
        *headerSize = size;
    return format;
}

TEST(PictureFormats, AreKnownByTheirFirstBytes)
{
    EXPECT_EQ(detect(QByteArray("BM") + QByteArray(12, '\0')), TqvxPictureFormat::Bitmap);
    EXPECT_EQ(detect(QByteArray("BM") + QByteArray(11, 'x')), TqvxPictureFormat::Unknown);
    EXPECT_EQ(detect(QByteArray("\xFF\xD8", 2)), TqvxPictureFormat::JPEG);
    EXPECT_EQ(detect(QByteArray("\x89PNG\r\n\x1A\n", 8)), TqvxPictureFormat::PNG);
    QByteArray wmf(22, '\0');
    qToLittleEndian<quint32>(0x9AC6CDD7, wmf.data());
    EXPECT_EQ(detect(wmf), TqvxPictureFormat::WMF);
    QByteArray emf(100, '\x01');
    qToLittleEndian<quint32>(0x464D4520, emf.data() + 40);
    EXPECT_EQ(detect(emf), TqvxPictureFormat::EMF);
    EXPECT_EQ(detect(QByteArray("\0\0\x01\0\x01\0", 6)), TqvxPictureFormat::Icon);
    EXPECT_EQ(detect(QByteArray("GIF89a-")), TqvxPictureFormat::Unknown);
    EXPECT_EQ(detect(QByteArray()), TqvxPictureFormat::Unknown);

    int headerSize = -1;
    EXPECT_EQ(detect(withBlobHeader(bitmapFile(2, 2)), &headerSize), TqvxPictureFormat::Bitmap);
    EXPECT_EQ(headerSize, 8);
    // A header whose length does not match what follows is data.
    QByteArray wrongLength = withBlobHeader(QByteArray("\xFF\xD8", 2));
    wrongLength.append('x');
    EXPECT_EQ(detect(wrongLength, &headerSize), TqvxPictureFormat::Unknown);
    EXPECT_EQ(headerSize, 0);
}

TEST(PictureView, LoadsABitmapBehindABlobHeader)
{
    TqvxPictureView view;
    TMemoryStream stream;
    stream.WriteBuffer(withBlobHeader(bitmapFile(3, 2)));
    EXPECT_EQ(view.LoadPictureFromStream(&stream), 0u);
    ASSERT_NE(qobject_cast<TBitmap *>(view.Picture()->Graphic()), nullptr);
    EXPECT_EQ(view.Picture()->Width(), 3);
    EXPECT_EQ(view.Picture()->Height(), 2);
    EXPECT_TRUE(view.PictureChanged());
}

TEST(PictureView, UnknownDataClearsThePicture)
{
    TqvxPictureView view;
    loadBitmap(view, 1, 1);

    TMemoryStream bad;
    bad.WriteBuffer(QByteArray("not a picture at all"));
    EXPECT_EQ(view.LoadPictureFromStream(&bad), qvxInvalidPicture);
    EXPECT_EQ(view.Picture()->Graphic(), nullptr);

    TMemoryStream broken;
    broken.WriteBuffer(QByteArray("BM") + QByteArray(40, '\x7F'));
    EXPECT_THROW(view.LoadPictureFromStream(&broken), EInvalidGraphic);
    EXPECT_EQ(view.Picture()->Graphic(), nullptr);
}

// A data set whose one field is a picture blob.
class TBlobDataSet : public TqvxUserDataSet
{
public:
    using TqvxUserDataSet::TqvxUserDataSet;
    bool IsBlobField(const QString &) override { return true; }
    Variant GetValue(const QString &) override { return Variant(Cp1251ToString(blob)); }
    QByteArray blob;
};

TEST(PictureView, ReadsABlobFieldByItsFirstBytes)
{
    TContextReport report;
    auto *rows = NewObject<TBlobDataSet>(&report);
    rows->blob = withBlobHeader(bitmapFile(5, 4));
    auto *view = new TqvxPictureView(&report);
    view->SetDataSet(rows);
    view->SetDataField(QStringLiteral("Photo"));
    view->GetData();
    EXPECT_EQ(view->Picture()->Width(), 5);
    rows->blob = QByteArray("no picture");
    view->GetData();
    EXPECT_EQ(view->Picture()->Graphic(), nullptr);
}

// At run time a picture that cannot be shown puts one line in the error
// list and leaves the view showing nothing: JPEG bytes that do not decode
// (kept as a picture, however often the view prints), and a picture
// declaring more pixels than a picture may have.
TEST(PictureView, APictureThatCannotBeShownIsOneErrorLine)
{
    TContextReport report;
    auto *rows = NewObject<TBlobDataSet>(&report);
    rows->blob = QByteArray("\xFF\xD8", 2);
    auto *view = new TqvxPictureView(&report);
    view->SetName(QStringLiteral("Photo1"));
    view->SetBounds(0, 0, 40, 30);
    view->SetAutoSize(true);
    view->SetDataSet(rows);
    view->SetDataField(QStringLiteral("Photo"));
    view->GetData();
    ASSERT_NE(view->Picture()->Graphic(), nullptr);
    EXPECT_EQ(view->Picture()->Width(), 0);
    EXPECT_EQ(view->Width(), 40);
    ASSERT_EQ(report.Errors()->Count(), 1);
    EXPECT_TRUE(report.Errors()->Strings(0).startsWith(QStringLiteral("Photo1: JPEG image is not valid")))
        << report.Errors()->Strings(0).toStdString();
    TRecordingCanvas canvas;
    view->Draw(&canvas, 1, 1, 0, 0);
    for (const TCanvasRecord &record : canvas.Records())
        EXPECT_NE(record.Op, TCanvasOp::Image);

    QFile bomb(testDataPath(QStringLiteral("pictures/declares-5494x38144.jpg")));
    ASSERT_TRUE(bomb.open(QIODevice::ReadOnly));
    rows->blob = bomb.readAll();
    view->GetData();
    EXPECT_EQ(view->Picture()->Graphic(), nullptr);
    ASSERT_EQ(report.Errors()->Count(), 2);
    EXPECT_TRUE(report.Errors()->Strings(1).contains(QStringLiteral("5494 x 38144"))) << report.Errors()->Strings(1).toStdString();
}

TEST(PictureView, AutoSizeTakesThePicturesSize)
{
    TqvxPictureView view;
    view.SetAutoSize(true);
    loadBitmap(view, 7, 5);
    EXPECT_DOUBLE_EQ(view.Width(), 7);
    EXPECT_DOUBLE_EQ(view.Height(), 5);
}

const TCanvasRecord *findOp(const TRecordingCanvas &canvas, TCanvasOp op)
{
    for (const TCanvasRecord &record : canvas.Records())
        if (record.Op == op)
            return &record;
    return nullptr;
}

TEST(PictureView, KeepsTheAspectRatioAndCentres)
{
    TqvxPictureView view;
    loadBitmap(view, 20, 10);
    view.SetBounds(0, 0, 100, 100);
    view.Frame()->SetTyp({});
    view.SetCenter(true);
    TRecordingCanvas canvas;
    view.Draw(&canvas, 1, 1, 0, 0);
    const TCanvasRecord *image = findOp(canvas, TCanvasOp::Image);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Bounds.Left, 0);
    EXPECT_EQ(image->Bounds.Top, 25);
    EXPECT_EQ(image->Bounds.Right, 100);
    EXPECT_EQ(image->Bounds.Bottom, 75);
}

TEST(PictureView, AnEmptyBoxDrawsNoPicture)
{
    TqvxPictureView view;
    loadBitmap(view, 20, 10);
    view.SetBounds(0, 0, 0, 50);
    TRecordingCanvas canvas;
    view.Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(findOp(canvas, TCanvasOp::Image), nullptr);
}

TEST(PictureView, ItsDifferenceAlwaysNamesTheImage)
{
    TqvxPictureView view;
    TqvxPictureView source;
    view.SetImageIndex(3);
    EXPECT_EQ(view.Diff(&source), QStringLiteral(" ImageIndex=\"3\""));
    view.SetTransparent(true);
    view.SetTransparentColor(clRed);
    EXPECT_EQ(view.Diff(&source), QStringLiteral(" ImageIndex=\"3\" Transparent=\"1\" TransparentColor=\"255\""));
}

// Prepared pages whose picture cache hands out numbers from 5.
class TCachingPages : public TRecordingPreviewPages
{
public:
    using TRecordingPreviewPages::TRecordingPreviewPages;
    void AddPicture(TqvxPictureView *picture) override { picture->SetImageIndex(5 + added++); }
    int added = 0;
};

class TCachingReport : public TContextReport
{
public:
    TqvxCustomPreviewPages *PreviewPages() const override { return pages.get(); }
    std::unique_ptr<TCachingPages> pages = std::make_unique<TCachingPages>(nullptr);
};

TEST(PictureView, AChangedPictureGoesIntoThePictureCacheOnce)
{
    TCachingReport report;
    auto *view = new TqvxPictureView(&report);
    TqvxPictureView source;
    loadBitmap(*view, 2, 2);
    EXPECT_EQ(view->Diff(&source), QStringLiteral(" ImageIndex=\"5\""));
    EXPECT_FALSE(view->PictureChanged());
    EXPECT_EQ(view->Diff(&source), QStringLiteral(" ImageIndex=\"5\""));
    EXPECT_EQ(report.pages->added, 1);
}

TEST(LineView, AStraightLineCollapsesToItsLongerAxis)
{
    TqvxLineView line;
    line.SetBounds(10, 10, 100, 3);
    TRecordingCanvas canvas;
    line.Draw(&canvas, 1, 1, 0, 0);
    EXPECT_DOUBLE_EQ(line.Height(), 0);
    EXPECT_EQ(line.Frame()->Typ(), TqvxFrameTypes(ftTop));

    line.SetBounds(10, 10, 2, 50);
    line.Draw(&canvas, 1, 1, 0, 0);
    EXPECT_DOUBLE_EQ(line.Width(), 0);
    EXPECT_EQ(line.Frame()->Typ(), TqvxFrameTypes(ftLeft));
}

TEST(LineView, DesignFlagsChooseDiagonalAndArrows)
{
    const struct {
        int flags;
        bool diagonal, end, start;
    } cases[] = {{0, false, false, false}, {1, true, false, false}, {2, true, true, false},
                 {3, true, false, true},   {4, true, true, true}};
    for (const auto &c : cases) {
        std::unique_ptr<TqvxLineView> line(TqvxComponent::DesignCreateObject<TqvxLineView>(nullptr, c.flags));
        EXPECT_EQ(line->Diagonal(), c.diagonal) << c.flags;
        EXPECT_EQ(line->ArrowEnd(), c.end) << c.flags;
        EXPECT_EQ(line->ArrowStart(), c.start) << c.flags;
    }
}

TEST(LineView, ArrowsOnADiagonal)
{
    TqvxLineView line;
    line.SetDiagonal(true);
    line.SetArrowEnd(true);
    line.SetArrowSolid(true);
    line.SetBounds(0, 0, 100, 0);
    TRecordingCanvas canvas;
    line.Draw(&canvas, 1, 1, 0, 0);
    const TCanvasRecord *head = findOp(canvas, TCanvasOp::Polygon);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->Bounds.Left, 80);
    EXPECT_EQ(head->Bounds.Top, -5);

    // A diagonal of no length has no direction for its heads.
    canvas.Clear();
    line.SetArrowStart(true);
    line.SetBounds(5, 5, 0, 0);
    line.Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(findOp(canvas, TCanvasOp::Polygon), nullptr);
}

TEST(ShapeView, ItsDifferenceAddsTheShape)
{
    TqvxShapeView shape;
    TqvxShapeView source;
    shape.SetShape(skDiamond);
    EXPECT_TRUE(shape.Diff(&source).endsWith(QStringLiteral(" Shape=\"4\"")));
    TRecordingCanvas canvas;
    shape.SetBounds(0, 0, 40, 20);
    shape.Draw(&canvas, 1, 1, 0, 0);
    EXPECT_NE(findOp(canvas, TCanvasOp::Polygon), nullptr);
}

TEST(CheckBox, AnExpressionSetsTheMark)
{
    TContextReport report;
    auto *box = new TqvxCheckBoxView(&report);
    EXPECT_DOUBLE_EQ(box->Width(), 5 * qv01cm);
    box->SetExpression(QStringLiteral("Ready"));
    report.values.insert(QStringLiteral("Ready"), Variant(false));
    box->GetData();
    EXPECT_FALSE(box->Checked());
    report.values.insert(QStringLiteral("Ready"), Variant(true));
    box->GetData();
    EXPECT_TRUE(box->Checked());
    report.values.insert(QStringLiteral("Ready"), Variant::Null());
    box->GetData();
    EXPECT_FALSE(box->Checked());
}

TEST(CheckBox, MarksAreDrawnAsLines)
{
    TqvxCheckBoxView box;
    box.SetCheckStyle(csCheck);
    TRecordingCanvas canvas;
    box.Draw(&canvas, 1, 1, 0, 0);
    EXPECT_NE(findOp(canvas, TCanvasOp::LineTo), nullptr);

    canvas.Clear();
    box.SetChecked(false);
    box.Frame()->SetTyp({});
    box.Draw(&canvas, 1, 1, 0, 0);
    EXPECT_EQ(findOp(canvas, TCanvasOp::LineTo), nullptr);
}

TEST(CheckBox, IsRegisteredWithItsImage)
{
    const int index = qvxObjects()->IndexOf(ClassOf<TqvxCheckBoxView>(), 0);
    ASSERT_GE(index, 0);
    EXPECT_EQ(qvxObjects()->GetItem(index)->ImageIndex, 24);
    EXPECT_EQ(qvxObjects()->GetItem(index)->Kind, TqvxObjectKinds(okReport));
}

} // namespace
