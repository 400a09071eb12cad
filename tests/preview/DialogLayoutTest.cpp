// Every control of the report dialogs lies inside its group box: below the
// caption and the frame's top line, and clear of the other edges.

#include "FakePrinters.h"

#include "preview/qvxPDFExportDialog.h"
#include "preview/qvxPageSettings.h"
#include "preview/qvxPrintDialog.h"
#include "report/report/qvxReport.h"
#include "toolkit/widgets/TGroupBox.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

void expectInsideGroups(const TComponent &form)
{
    for (int i = 0; i < form.ComponentCount(); ++i) {
        const auto *box = qobject_cast<const TGroupBox *>(form.Components(i));
        if (!box)
            continue;
        const QRect caption = box->CaptionRect().ToQRect();
        for (int c = 0; c < box->ControlCount(); ++c) {
            const TControl *control = box->Controls(c);
            const QRect place(control->Left(), control->Top(), control->Width(), control->Height());
            SCOPED_TRACE((box->Caption() + u'/' + control->Name() + u' ' + control->Caption()).toStdString());
            EXPECT_GT(place.top(), box->FrameTop() + 1) << "below the frame line";
            EXPECT_FALSE(place.intersects(caption)) << "clear of the caption";
            EXPECT_GE(place.left(), 2);
            EXPECT_LE(place.right(), box->Width() - 3);
            EXPECT_LE(place.bottom(), box->Height() - 3);
        }
    }
}

TEST(DialogLayout, ControlsLieInsideTheirGroupBoxes)
{
    TFakePrinters printers{twoFakePrinters()};
    TqvxReport report;
    {
        SCOPED_TRACE("print");
        std::unique_ptr<TqvxPrintDialog> dialog(NewObject<TqvxPrintDialog>(nullptr));
        expectInsideGroups(*dialog);
    }
    {
        SCOPED_TRACE("page settings");
        std::unique_ptr<TqvxPageSettingsForm> dialog(NewObject<TqvxPageSettingsForm>(nullptr));
        expectInsideGroups(*dialog);
    }
    {
        SCOPED_TRACE("PDF");
        std::unique_ptr<TqvxPDFExportDialog> dialog(NewObject<TqvxPDFExportDialog>(nullptr));
        expectInsideGroups(*dialog);
    }
}

} // namespace
