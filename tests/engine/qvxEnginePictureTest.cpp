// Picture views in prepared reports: the picture a view holds when printed
// is the one its rebuilt page shows, and picture data that cannot be read
// leaves the view empty without stopping the run.

#include "EngineTestReport.h"

#include "report/data/qvxReportDataSets.h"
#include "report/views/qvxPictureView.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TBitmap> bitmap(int width, int height)
{
    auto result = std::make_unique<TBitmap>();
    result->SetSize(width, height);
    return result;
}

// A data set whose field "Photo" is a blob.
class TPhotoDataSet : public TMemoryDataSet
{
public:
    bool IsBlobField(const QString &field) override { return field == QLatin1String("Photo"); }
};

// "Picture1", 30 x 30 pixels at the band's top left.
TqvxPictureView *newPictureView(TqvxBand *band)
{
    auto *picture = new TqvxPictureView(band);
    picture->SetName(QStringLiteral("Picture1"));
    picture->SetBounds(0, 0, 30, 30);
    return picture;
}

const TqvxPictureView *preparedPicture(const TEngineTestReport &test, int page, const QString &name)
{
    TqvxComponent *prepared = test.store()->GetPageObject(page);
    return prepared ? qobject_cast<const TqvxPictureView *>(prepared->FindObject(name)) : nullptr;
}

} // namespace

TEST(EnginePictures, RebuiltPagesShowThePicturePrintedNotTheDesignOne)
{
    QTemporaryDir dir;
    const QString linked = dir.filePath(QStringLiteral("linked.bmp"));
    bitmap(6, 3)->SaveToFile(linked);

    TEngineTestReport test;
    auto *title = test.band<TqvxReportTitle>("Title", 0, 40);
    auto *picture = newPictureView(title);
    picture->Picture()->SetGraphic(bitmap(4, 4).get());
    picture->SetFileLink(linked);

    ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
    const TqvxPictureView *prepared = preparedPicture(test, 0, QStringLiteral("Picture1"));
    ASSERT_NE(prepared, nullptr);
    EXPECT_EQ(prepared->Picture()->Width(), 6);
    EXPECT_EQ(prepared->Picture()->Height(), 3);
}

TEST(EnginePictures, AnUnreadableBlobLeavesTheViewEmptyAndTheRunGoesOn)
{
    TEngineTestReport test;
    auto rows = std::make_unique<TPhotoDataSet>();
    TPhotoDataSet *photos = rows.get();
    photos->SetName(QStringLiteral("Photos"));
    photos->SetUserName(QStringLiteral("Photos"));
    TMemoryStream good;
    bitmap(5, 2)->SaveToStream(&good);
    const QString truncatedJpeg = Cp1251ToString(QByteArray("\xFF\xD8", 2));
    photos->SetRows({{{QStringLiteral("Photo"), Variant(truncatedJpeg)}},
                     {{QStringLiteral("Photo"), Variant(Cp1251ToString(good.Bytes()))}}});
    test.report->DataSets()->Add()->SetDataSet(photos);
    test.dataSets.push_back(std::move(rows));

    auto *band = test.band<TqvxMasterData>("Data", 0, 40);
    band->SetDataSet(photos);
    auto *picture = newPictureView(band);
    picture->SetDataSet(photos);
    picture->SetDataField(QStringLiteral("Photo"));

    // The run goes to its end; the error makes the preparation answer false
    // and is reported with the others.
    EXPECT_FALSE(test.prepare());
    ASSERT_EQ(test.errors().size(), 1) << test.lines(test.errors());
    EXPECT_TRUE(test.errors().at(0).contains(QStringLiteral("Picture1"))) << test.lines(test.errors());

    TqvxComponent *prepared = test.store()->GetPageObject(0);
    ASSERT_NE(prepared, nullptr);
    QList<const TqvxPictureView *> pictures;
    for (TqvxComponent *object : prepared->GetAllObjects())
        if (const auto *view = qobject_cast<const TqvxPictureView *>(object))
            pictures.append(view);
    ASSERT_EQ(pictures.size(), 2);
    // The bytes stay a picture that shows nothing.
    EXPECT_EQ(pictures.at(0)->Picture()->Width(), 0);
    EXPECT_EQ(pictures.at(1)->Picture()->Width(), 5);
}

// A linked picture read again on every row is stored once a row; the rows'
// rebuilt views share one decoded picture, and what one of them draws on
// its own picture stays its own.
TEST(EnginePictures, RowsShowingTheSameFileShareOneDecodedPicture)
{
    QTemporaryDir dir;
    const QString linked = dir.filePath(QStringLiteral("logo.bmp"));
    bitmap(64, 48)->SaveToFile(linked);

    TEngineTestReport test;
    auto *band = test.band<TqvxMasterData>("Data", 0, 40);
    band->SetRowCount(3);
    newPictureView(band)->SetFileLink(linked);
    ASSERT_TRUE(test.prepare()) << test.lines(test.errors());

    TqvxComponent *page = test.store()->GetPageObject(0);
    ASSERT_NE(page, nullptr);
    QList<TBitmap *> shown;
    for (TqvxComponent *object : page->GetAllObjects())
        if (auto *view = qobject_cast<TqvxPictureView *>(object))
            shown.append(qobject_cast<TBitmap *>(view->Picture()->Graphic()));
    ASSERT_EQ(shown.size(), 3);
    for (const TBitmap *logo : shown) {
        ASSERT_NE(logo, nullptr);
        EXPECT_EQ(logo->Image().constBits(), shown[0]->Image().constBits());
    }
    shown[1]->Canvas()->SetPixel(2, 2, clRed);
    EXPECT_EQ(shown[0]->Canvas()->Pixel(2, 2), clWhite);
    EXPECT_EQ(shown[1]->Canvas()->Pixel(2, 2), clRed);
}
