#include "report/PropertyEditorSamples.h"
#include "report/editors/qvxPropertyEditors.h"
#include "report/model/qvxRegistries.h"
#include "report/report/qvxReportOptions.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TListBox.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <gtest/gtest.h>

namespace {

QStringList valuesOf(TqvxPropertyEditor &editor)
{
    editor.GetValues();
    QStringList values;
    for (int i = 0; i < editor.Values()->Count(); ++i)
        values.append(editor.Values()->Strings(i));
    return values;
}

} // namespace

TEST(PropertyEditors, DatesAndTimesOfZeroAreEmptyTexts)
{
    TEditedSample sample;
    auto dateTime = editorFor<TqvxDateTimeProperty>("Stamp", {&sample});
    auto date = editorFor<TqvxDateProperty>("Stamp", {&sample});
    auto time = editorFor<TqvxTimeProperty>("Stamp", {&sample});
    for (TqvxPropertyEditor *editor : {static_cast<TqvxPropertyEditor *>(dateTime.get()),
                                       static_cast<TqvxPropertyEditor *>(date.get()),
                                       static_cast<TqvxPropertyEditor *>(time.get())}) {
        SCOPED_TRACE(editor->ClassName().toStdString());
        sample.stamp = 0;
        EXPECT_EQ(editor->GetValue(), QString());
        sample.stamp = 46000.5;
        EXPECT_FALSE(editor->GetValue().isEmpty());
        editor->SetValue(QString());
        EXPECT_EQ(sample.stamp, 0);
    }

    const TDateTime moment = EncodeDate(2026, 12, 7) + EncodeTime(10, 15, 30, 0);
    sample.stamp = moment;
    dateTime->SetValue(dateTime->GetValue());
    EXPECT_DOUBLE_EQ(sample.stamp, moment);
    date->SetValue(date->GetValue());
    EXPECT_DOUBLE_EQ(sample.stamp, EncodeDate(2026, 12, 7));
    sample.stamp = moment;
    time->SetValue(time->GetValue());
    EXPECT_NEAR(sample.stamp, EncodeTime(10, 15, 30, 0), 1e-9);
    EXPECT_THROW(date->SetValue(QStringLiteral("not a date")), EConvertError);
}

TEST(PropertyEditors, ModalResultsByNameAndNumber)
{
    TEditedSample sample;
    auto editor = editorFor<TqvxModalResultProperty>("ModalResult", {&sample});
    sample.modalResult = 11;
    EXPECT_EQ(editor->GetValue(), QStringLiteral("11"));
    sample.modalResult = 1;
    EXPECT_EQ(editor->GetValue(), QStringLiteral("mrOk"));

    editor->SetValue(QStringLiteral("MRYESTOALL"));
    EXPECT_EQ(sample.modalResult, 10);
    editor->SetValue(QStringLiteral("12"));
    EXPECT_EQ(sample.modalResult, 12);
    editor->SetValue(QString());
    EXPECT_EQ(sample.modalResult, 0);
    EXPECT_THROW(editor->SetValue(QStringLiteral("mrMaybe")), EConvertError);
    EXPECT_EQ(sample.modalResult, 0);

    const QStringList names = valuesOf(*editor);
    ASSERT_EQ(names.size(), 11);
    EXPECT_EQ(names.first(), QStringLiteral("mrNone"));
    EXPECT_EQ(names.last(), QStringLiteral("mrYesToAll"));
}

TEST(PropertyEditors, ShortCutsByText)
{
    TEditedSample sample;
    auto editor = editorFor<TqvxShortCutProperty>("ShortCut", {&sample});
    EXPECT_EQ(editor->GetValue(), QStringLiteral("(None)"));

    editor->SetValue(QStringLiteral("Ctrl+A"));
    EXPECT_EQ(sample.shortCut, 0x4041);
    EXPECT_EQ(editor->GetValue(), QStringLiteral("Ctrl+A"));
    editor->SetValue(QStringLiteral("(none)"));
    EXPECT_EQ(sample.shortCut, 0);
    sample.shortCut = 0x4041;
    editor->SetValue(QString());
    EXPECT_EQ(sample.shortCut, 0);
    editor->SetValue(QStringLiteral("shift+ctrl+f1"));
    EXPECT_EQ(sample.shortCut, 0x6070);

    const QStringList values = valuesOf(*editor);
    ASSERT_EQ(values.size(), 109);
    EXPECT_EQ(values.mid(0, 3), QStringList({"(None)", "Ctrl+A", "Ctrl+B"}));
    EXPECT_EQ(values.at(27), QStringLiteral("Ctrl+Alt+A"));
    EXPECT_EQ(values.at(53), QStringLiteral("F1"));
    EXPECT_EQ(values.at(100), QStringLiteral("Shift+Ctrl+F12"));
    EXPECT_EQ(values.mid(101), QStringList({"Ins", "Shift+Ins", "Ctrl+Ins", "Del", "Shift+Del", "Ctrl+Del",
                                            "Alt+BkSp", "Shift+Alt+BkSp"}));
}

TEST(PropertyEditors, NameTablesGiveNamesOrNumbers)
{
    TEditedSample sample;
    auto color = editorFor<TqvxColorProperty>("Color", {&sample});
    auto charset = editorFor<TqvxFontCharsetProperty>("Charset", {&sample});
    auto cursor = editorFor<TqvxCursorProperty>("Cursor", {&sample});

    sample.color = clRed;
    EXPECT_EQ(color->GetValue(), QStringLiteral("clRed"));
    sample.color = 0x123456;
    EXPECT_EQ(color->GetValue(), QStringLiteral("1193046"));
    color->SetValue(QStringLiteral("clbtnface"));
    EXPECT_EQ(sample.color, clBtnFace);
    color->SetValue(QStringLiteral("255"));
    EXPECT_EQ(sample.color, 255);

    sample.charset = 204;
    EXPECT_EQ(charset->GetValue(), QStringLiteral("RUSSIAN_CHARSET"));
    sample.charset = 3;
    EXPECT_EQ(charset->GetValue(), QStringLiteral("3"));
    charset->SetValue(QStringLiteral("greek_charset"));
    EXPECT_EQ(sample.charset, 161);

    sample.cursor = -21;
    EXPECT_EQ(cursor->GetValue(), QStringLiteral("crHandPoint"));
    cursor->SetValue(QStringLiteral("crNone"));
    EXPECT_EQ(sample.cursor, -1);
    cursor->SetValue(QStringLiteral("5"));
    EXPECT_EQ(cursor->GetValue(), QStringLiteral("5"));
    EXPECT_THROW(cursor->SetValue(QStringLiteral("crPointer")), EConvertError);
}

TEST(PropertyEditors, NamedListsAreSortedWhereTheEditorSaysSo)
{
    TEditedSample sample;
    auto color = editorFor<TqvxColorProperty>("Color", {&sample});
    auto charset = editorFor<TqvxFontCharsetProperty>("Charset", {&sample});
    auto cursor = editorFor<TqvxCursorProperty>("Cursor", {&sample});
    auto fontName = editorFor<TqvxFontNameProperty>("Caption", {&sample});
    auto modal = editorFor<TqvxModalResultProperty>("ModalResult", {&sample});

    for (TqvxPropertyEditor *editor : {static_cast<TqvxPropertyEditor *>(charset.get()),
                                       static_cast<TqvxPropertyEditor *>(cursor.get()),
                                       static_cast<TqvxPropertyEditor *>(fontName.get())}) {
        SCOPED_TRACE(editor->ClassName().toStdString());
        QStringList values = valuesOf(*editor);
        EXPECT_TRUE(editor->Values()->Sorted());
        EXPECT_FALSE(values.isEmpty());
        QStringList sorted = values;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        EXPECT_EQ(values, sorted);
    }
    EXPECT_EQ(valuesOf(*charset).size(), 19);
    EXPECT_EQ(valuesOf(*cursor).size(), 22);
    EXPECT_TRUE(valuesOf(*fontName).contains(QStringLiteral("Liberation Sans")));

    const QStringList colors = valuesOf(*color);
    EXPECT_FALSE(color->Values()->Sorted());
    EXPECT_EQ(colors.mid(0, 2), QStringList({"clBlack", "clMaroon"}));
    EXPECT_FALSE(modal->Values()->Sorted());
}

TEST(PropertyEditors, IntegersStringsAndObjects)
{
    TEditedSample sample;
    sample.SetName(QStringLiteral("Sample1"));
    auto count = editorFor<TqvxIntegerProperty>("Count", {&sample});
    count->SetValue(QStringLiteral("-42"));
    EXPECT_EQ(sample.count, -42);
    EXPECT_EQ(count->GetValue(), QStringLiteral("-42"));
    EXPECT_THROW(count->SetValue(QStringLiteral("x")), EConvertError);
    EXPECT_EQ(sample.count, -42);

    auto name = editorFor<TqvxNameProperty>("Name", {&sample});
    EXPECT_EQ(name->GetName(), QStringLiteral("Name"));
    EXPECT_EQ(name->GetValue(), QStringLiteral("Sample1"));
    name->SetValue(QStringLiteral("Renamed"));
    EXPECT_EQ(sample.Name(), QStringLiteral("Renamed"));
    EXPECT_EQ(name->GetAttributes(), TqvxPropertyAttributes());

    auto font = editorFor<TqvxFontProperty>("Font", {&sample});
    EXPECT_EQ(font->GetValue(), QStringLiteral("(TFont)"));
    EXPECT_EQ(font->GetAttributes(), TqvxPropertyAttributes(60));

    TqvxPropertyEditor unknown(nullptr);
    EXPECT_EQ(unknown.GetValue(), QStringLiteral("(Unknown)"));
    EXPECT_EQ(unknown.GetName(), QString());
    EXPECT_THROW(unknown.GetOrdValue(), EPropertyError);
}

TEST(PropertyEditors, EditCyclesThroughTheValuesAndWraps)
{
    TEditedSample sample;
    auto editor = editorFor<TqvxModalResultProperty>("ModalResult", {&sample});
    sample.modalResult = 9;
    EXPECT_TRUE(editor->Edit());
    EXPECT_EQ(sample.modalResult, 10);
    EXPECT_TRUE(editor->Edit());
    EXPECT_EQ(sample.modalResult, 0);
    sample.modalResult = 99;
    EXPECT_TRUE(editor->Edit());
    EXPECT_EQ(sample.modalResult, 0);

    auto count = editorFor<TqvxIntegerProperty>("Count", {&sample});
    EXPECT_FALSE(count->Edit());
}

TEST(PropertyEditors, OrdinalValuesGoToEverySelectedObjectBetweenTwoNotifications)
{
    TEditedSample first;
    TEditedSample second;
    TEditedSample skipped;
    CountingDesigner designer;
    auto editor = editorFor<TqvxIntegerProperty>("Count", {&first, &second}, &designer);
    editor->AddComponent(&skipped, nullptr);
    designer.onBefore = [&] { EXPECT_EQ(second.count, 0); };
    designer.onAfter = [&] { EXPECT_EQ(second.count, 7); };

    editor->SetValue(QStringLiteral("7"));
    EXPECT_EQ(designer.before, 1);
    EXPECT_EQ(designer.after, 1);
    EXPECT_EQ(first.count, 7);
    EXPECT_EQ(skipped.count, 0);

    auto caption = editorFor<TqvxStringProperty>("Caption", {&first, &second}, &designer);
    caption->SetValue(QStringLiteral("both"));
    EXPECT_EQ(second.caption, QStringLiteral("both"));
    EXPECT_EQ(designer.before, 1);

    TqvxIntegerProperty empty(&designer);
    empty.SetOrdValue(1);
    EXPECT_EQ(designer.before, 1);
}

TEST(PropertyEditors, TheColourAndFontDialogsAnswerThroughTheModalRunner)
{
    ScriptedModalRunner runner;
    TEditedSample sample;
    CountingDesigner designer;
    sample.color = clRed;
    auto color = editorFor<TqvxColorProperty>("Color", {&sample}, &designer);

    TColor shown = clNone;
    runner.onColor = [&](TColor &value) {
        shown = value;
        value = clTeal;
        return true;
    };
    EXPECT_TRUE(color->Edit());
    EXPECT_EQ(shown, clRed);
    EXPECT_EQ(sample.color, clTeal);
    runner.onColor = nullptr;
    EXPECT_FALSE(color->Edit());
    EXPECT_EQ(sample.color, clTeal);

    sample.Font()->SetName(QStringLiteral("Arial"));
    auto font = editorFor<TqvxFontProperty>("Font", {&sample}, &designer);
    runner.onFont = [](TFontData &data) {
        EXPECT_EQ(data.Name, QStringLiteral("Arial"));
        data.Name = QStringLiteral("Courier New");
        return true;
    };
    EXPECT_TRUE(font->Edit());
    EXPECT_EQ(sample.Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(designer.before, 2);
}

TEST(PropertyEditors, TheColourRowShowsASwatch)
{
    TEditedSample sample;
    sample.color = clBlue;
    auto editor = editorFor<TqvxColorProperty>("Color", {&sample});
    editor->SetItemHeight(16);

    QImage image(120, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas;
    canvas.SetDevice(&image);
    canvas.Brush()->SetColor(clWhite);
    editor->DrawValue(&canvas, Rect(10, 0, 120, 20));
    canvas.ReleaseHandle();

    // From (10, 1) to (10 + 20 - 5, 20 - 4): a grey frame around the colour.
    EXPECT_EQ(QColorToColor(image.pixelColor(10, 1)), clGray);
    EXPECT_EQ(QColorToColor(image.pixelColor(24, 15)), clGray);
    EXPECT_EQ(QColorToColor(image.pixelColor(17, 8)), clBlue);
    EXPECT_EQ(QColorToColor(image.pixelColor(17, 0)), clWhite);
    EXPECT_EQ(QColorToColor(image.pixelColor(17, 16)), clWhite);
    EXPECT_EQ(canvas.Brush()->Color(), clWhite);
}

TEST(PropertyEditors, TheColourListDrawsItsEntriesWithSwatches)
{
    TEditedSample sample;
    auto editor = editorFor<TqvxColorProperty>("Color", {&sample});
    editor->SetItemHeight(16);
    TListBox list(nullptr);
    list.SetBounds(0, 0, 150, 100);
    list.SetItemHeight(16);
    list.SetStyle(lbOwnerDrawFixed);
    list.Items()->SetText(QStringLiteral("clLime\nclRed\n"));
    list.OnDrawItem = [&](TCustomListBox *owner, int index, const TRect &rect, TOwnerDrawState state) {
        editor->DrawListItem(owner, index, rect, state);
    };

    auto *view = qobject_cast<QAbstractScrollArea *>(list.Widget());
    ASSERT_NE(view, nullptr);
    const QImage image = view->grab().toImage();
    const QPoint client = view->viewport()->geometry().topLeft();
    const auto pixel = [&](int x, int y) { return QColorToColor(image.pixelColor(client + QPoint(x, y))); };
    // Entry 1 spans rows 16..31: its swatch from (2, 18) to (14, 30).
    EXPECT_EQ(pixel(2, 18), clGray);
    EXPECT_EQ(pixel(8, 24), clRed);
    EXPECT_EQ(pixel(8, 8), clLime);
    EXPECT_EQ(pixel(15, 24), ColorToRGB(clWindow));
}

class PropertyEditorRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FinalizeQvxRegistries();
        InitializeQvxRegistries();
    }
    void TearDown() override { FinalizeQvxRegistries(); }
};

TEST_F(PropertyEditorRegistryTest, TheStandardEditorsAreRegisteredInOrder)
{
    struct Expected {
        const char *type;
        TClass componentClass;
        const char *property;
        TClass editor;
    } const expected[] = {
        {"TComponentName", nullptr, "Name", ClassOf<TqvxNameProperty>()},
        {"TColor", nullptr, "", ClassOf<TqvxColorProperty>()},
        {"TFont", nullptr, "", ClassOf<TqvxFontProperty>()},
        {"String", ClassOf<TFont>(), "Name", ClassOf<TqvxFontNameProperty>()},
        {"Integer", ClassOf<TFont>(), "Charset", ClassOf<TqvxFontCharsetProperty>()},
        {"TModalResult", nullptr, "", ClassOf<TqvxModalResultProperty>()},
        {"TShortCut", nullptr, "", ClassOf<TqvxShortCutProperty>()},
        {"TCursor", nullptr, "", ClassOf<TqvxCursorProperty>()},
        {"TDateTime", nullptr, "", ClassOf<TqvxDateTimeProperty>()},
        {"TDate", nullptr, "", ClassOf<TqvxDateProperty>()},
        {"TTime", nullptr, "", ClassOf<TqvxTimeProperty>()},
    };
    TqvxPropertyEditorCollection *editors = qvxPropertyEditors();
    ASSERT_EQ(editors->Count(), int(std::size(expected)));
    for (int i = 0; i < editors->Count(); ++i) {
        SCOPED_TRACE(i);
        const TqvxPropertyEditorItem *item = editors->GetItem(i);
        EXPECT_EQ(item->PropertyType, QString::fromLatin1(expected[i].type));
        EXPECT_EQ(item->ComponentClass, expected[i].componentClass);
        EXPECT_EQ(item->PropertyName, QString::fromLatin1(expected[i].property));
        EXPECT_EQ(item->EditorClass, expected[i].editor);
    }

    // The registered type names are the ones reflection reports.
    EXPECT_EQ(GetPropInfo(ClassOf<TFont>(), QStringLiteral("Name"))->TypeName(), QStringLiteral("String"));
    EXPECT_EQ(GetPropInfo(ClassOf<TEditedSample>(), QStringLiteral("Name"))->TypeName(),
              QStringLiteral("TComponentName"));
    EXPECT_EQ(GetPropInfo(ClassOf<TEditedSample>(), QStringLiteral("Font"))->TypeName(), QStringLiteral("TFont"));

    FinalizeQvxRegistries();
    EXPECT_EQ(qvxPropertyEditors()->Count(), 0);
}

namespace {

// The editor an inspector would take for the property: the last registration
// whose type is the one reflection reports and whose class and property name,
// where given, match.
TClass editorFor(TClass cls, const char *property)
{
    const QString name = QString::fromLatin1(property);
    const QString type = GetPropInfo(cls, name)->TypeName();
    TClass found = nullptr;
    TqvxPropertyEditorCollection *editors = qvxPropertyEditors();
    for (int i = 0; i < editors->Count(); ++i) {
        const TqvxPropertyEditorItem *item = editors->GetItem(i);
        if (item->PropertyType == type
            && (!item->ComponentClass || ClassInheritsFrom(cls, item->ComponentClass))
            && (item->PropertyName.isEmpty() || item->PropertyName == name))
            found = item->EditorClass;
    }
    return found;
}

} // namespace

TEST_F(PropertyEditorRegistryTest, PropertiesHoldingColoursCursorsAndDatesFindTheirEditors)
{
    EXPECT_EQ(editorFor(ClassOf<TqvxShapeView>(), "Color"), ClassOf<TqvxColorProperty>());
    EXPECT_EQ(editorFor(ClassOf<TqvxShapeView>(), "Cursor"), ClassOf<TqvxCursorProperty>());
    EXPECT_EQ(editorFor(ClassOf<TFont>(), "Color"), ClassOf<TqvxColorProperty>());
    EXPECT_EQ(editorFor(ClassOf<TFont>(), "Name"), ClassOf<TqvxFontNameProperty>());
    EXPECT_EQ(editorFor(ClassOf<TFont>(), "Charset"), ClassOf<TqvxFontCharsetProperty>());
    EXPECT_EQ(editorFor(ClassOf<TBrush>(), "Color"), ClassOf<TqvxColorProperty>());
    EXPECT_EQ(editorFor(ClassOf<TButton>(), "Color"), ClassOf<TqvxColorProperty>());
    EXPECT_EQ(editorFor(ClassOf<TButton>(), "Cursor"), ClassOf<TqvxCursorProperty>());
    EXPECT_EQ(editorFor(ClassOf<TButton>(), "ModalResult"), ClassOf<TqvxModalResultProperty>());
    EXPECT_EQ(editorFor(ClassOf<TqvxReportOptions>(), "CreateDate"), ClassOf<TqvxDateTimeProperty>());
    // A plain integer finds no editor of its own.
    EXPECT_EQ(editorFor(ClassOf<TqvxShapeView>(), "Curve"), nullptr);
}
