// Picture views in prepared reports: the picture a view holds when printed
// is the one its rebuilt page shows.

#include "EngineTestReport.h"

#include "report/data/qvxReportDataSets.h"
#include "report/views/qvxPictureView.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/graphics/Bitmap.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TBitmap> bitmap(int width, int height)
{
    auto result = std::make_unique<TBitmap>();
    result->SetSize(width, height);
    return result;
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
    auto *picture = new TqvxPictureView(title);
    picture->SetName(QStringLiteral("Picture1"));
    picture->SetBounds(0, 0, 30, 30);
    picture->Picture()->SetGraphic(bitmap(4, 4).get());
    picture->SetFileLink(linked);

    ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
    const TqvxPictureView *prepared = preparedPicture(test, 0, QStringLiteral("Picture1"));
    ASSERT_NE(prepared, nullptr);
    EXPECT_EQ(prepared->Picture()->Width(), 6);
    EXPECT_EQ(prepared->Picture()->Height(), 3);
}
