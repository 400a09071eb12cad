// Every declared default of the view classes is the value a new object
// has, so that what is not written reads back as it was.

#include "report/components/qvxFill.h"
#include "report/components/qvxFormat.h"
#include "report/components/qvxFrame.h"
#include "report/components/qvxHighlight.h"
#include "report/components/qvxHyperlink.h"
#include "report/components/qvxView.h"
#include "toolkit/classes/Reflection.h"

#include <gtest/gtest.h>

namespace {

void ExpectDefaultsHold(const TObject *object)
{
    int checked = 0;
    for (const TPropInfo *prop : GetPropList(object->ClassType())) {
        if (!prop->HasDefault() || !prop->IsReadable())
            continue;
        EXPECT_EQ(prop->GetOrd(object), prop->Default()) << object->ClassName().toStdString() << "."
                                                         << prop->Name().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0) << object->ClassName().toStdString();
}

TEST(ViewDefaults, DeclaredDefaultsAreInitialValues)
{
    TqvxFrame frame;
    TqvxBrushFill brush;
    TqvxGradientFill gradient;
    TqvxGlassFill glass;
    TqvxHyperlink hyperlink;
    TqvxHighlight highlight;
    TqvxFormat format;
    TqvxView view;
    TqvxStretcheable stretcheable;
    for (const TObject *object : std::initializer_list<const TObject *>{
             &frame, &brush, &gradient, &glass, &hyperlink, &highlight, &format, &view, &stretcheable})
        ExpectDefaultsHold(object);
}

} // namespace
