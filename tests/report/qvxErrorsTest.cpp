#include "report/qvxErrors.h"

#include "common/TestSupport.h"
#include "toolkit/widgets/ModalRunner.h"

#include <gtest/gtest.h>

namespace {

// Records the message boxes asked for; nothing else is expected.
class RecordingRunner : public ModalRunner
{
public:
    int RunForm(TCustomForm &) override { return 0; }
    int MessageBox(const TMessageBoxRequest &request) override
    {
        boxes.push_back(request);
        return mrOk;
    }
    bool InputQuery(TInputRequest &) override { return false; }
    bool FileDialog(TFileDialogRequest &) override { return false; }
    bool ColorDialog(TColor &) override { return false; }
    bool FontDialog(TFontData &) override { return false; }
    bool PrintDialog(TPrintRequest &) override { return false; }

    std::vector<TMessageBoxRequest> boxes;
};

} // namespace

TEST(qvxErrorMsg, ShowsAnErrorBoxWithTheResourceCaption)
{
    RecordingRunner runner;
    ModalRunner *previous = ModalRunner::Install(&runner);
    qvxErrorMsg(QStringLiteral("Something failed"));
    ModalRunner::Install(previous);

    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].Caption, QString::fromUtf16(u"Ошибка"));
    EXPECT_EQ(runner.boxes[0].Text, QStringLiteral("Something failed"));
    EXPECT_EQ(runner.boxes[0].Type, mtError);
}
