#include "report/model/qvxErrors.h"

#include "common/TestSupport.h"
#include "report/RecordingRunner.h"

#include <gtest/gtest.h>


TEST(qvxErrorMsg, ShowsAnErrorBoxWithTheResourceCaption)
{
    RecordingRunner runner;
    qvxErrorMsg(QStringLiteral("Something failed"));

    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].Caption, QString::fromUtf16(u"Ошибка"));
    EXPECT_EQ(runner.boxes[0].Text, QStringLiteral("Something failed"));
    EXPECT_EQ(runner.boxes[0].Type, mtError);
}
