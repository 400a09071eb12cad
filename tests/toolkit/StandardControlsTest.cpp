// The standard controls as the main window, the model dialog and the grids
// use them.

#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/THintWindow.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TListBox.h"
#include "toolkit/widgets/TMemo.h"
#include "toolkit/widgets/TScreen.h"
#include "toolkit/widgets/TSpinEdit.h"
#include "toolkit/classes/TStrings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

class StandardControls : public ::testing::Test
{
protected:
    std::unique_ptr<TForm> form{NewObject<TForm>(nullptr)};

    template <class T>
    T *add()
    {
        auto *control = new T(form.get());
        control->SetParent(form.get());
        return control;
    }
};

TEST_F(StandardControls, SpinEditValueIsClampedToItsRange)
{
    auto *spin = add<TSpinEdit>();
    spin->SetMinValue(1);
    spin->SetMaxValue(999999);
    spin->SetValue(1);
    EXPECT_EQ(spin->Value(), 1);
    spin->SetValue(0);
    EXPECT_EQ(spin->Value(), 1);
    spin->SetValue(5000000);
    EXPECT_EQ(spin->Value(), 999999);
    spin->SetText(QStringLiteral("42"));
    EXPECT_EQ(spin->Value(), 42);
    spin->SetText(QStringLiteral("many"));
    EXPECT_EQ(spin->Value(), 1);

    // Equal limits mean no limits.
    auto *free = add<TSpinEdit>();
    free->SetValue(-70000);
    EXPECT_EQ(free->Value(), -70000);
}

TEST_F(StandardControls, MemoLinesAndWidgetStayInStep)
{
    auto *memo = add<TMemo>();
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    int changes = 0;
    memo->OnChange = [&](TObject *) { ++changes; };
    TStrings *lines = memo->Lines();
    {
        TStrings::UpdateScope update(*lines);
        lines->Add(QStringLiteral("first"));
        lines->Add(QStringLiteral("second"));
    }
    EXPECT_EQ(changes, 1);
    auto *editor = static_cast<QPlainTextEdit *>(memo->Widget());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("first\nsecond"));
    EXPECT_EQ(memo->Text(), QStringLiteral("first\r\nsecond\r\n"));
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_EQ(editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    // What the user types comes back as lines.
    editor->setPlainText(QStringLiteral("a\nb\nc"));
    ASSERT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(2), QStringLiteral("c"));
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_TRUE(editor->toPlainText().isEmpty());
}

TEST_F(StandardControls, EditKeepsItsLimitsAndGuardsReadOnlyText)
{
    auto *edit = add<TEdit>();
    int changes = 0;
    edit->OnChange = [&](TObject *) { ++changes; };
    edit->SetText(QStringLiteral("abc"));
    EXPECT_EQ(changes, 1);
    edit->SetMaxLength(2);
    EXPECT_EQ(edit->Text(), QStringLiteral("ab"));
    edit->SetReadOnly(true);
    edit->SelectAll();
    edit->ClearSelection();
    EXPECT_EQ(edit->Text(), QStringLiteral("ab"));
    EXPECT_FALSE(edit->CanUndo());
    edit->SetReadOnly(false);
    edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(edit->Text(), QStringLiteral("AB"));

    auto *cell = add<TCustomMaskEdit>();
    cell->SetBorderStyle(bsNone);
    cell->SetAlignment(taRightJustify);
    auto *line = static_cast<QLineEdit *>(cell->Widget());
    EXPECT_FALSE(line->hasFrame());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
}

TEST_F(StandardControls, ListBoxSelectsNavigatesAndSearches)
{
    auto *list = add<TListBox>();
    for (const char *text : {"Alpha", "beta", "Gamma", "Beta two"})
        list->Items()->Add(QString::fromLatin1(text));
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(2);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->SetItemIndex(17);
    EXPECT_EQ(list->ItemIndex(), -1);

    EXPECT_EQ(list->SelectString(-1, QStringLiteral("BE")), 1);
    EXPECT_EQ(list->SelectString(1, QStringLiteral("be")), 3);
    EXPECT_EQ(list->SelectString(3, QStringLiteral("be")), 1); // wraps round
    EXPECT_EQ(list->SelectString(0, QStringLiteral("zeta")), -1);

    EXPECT_TRUE(list->NavigateKey(VK_END));
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_TRUE(list->NavigateKey(VK_DOWN));
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_TRUE(list->NavigateKey(VK_HOME));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_FALSE(list->NavigateKey(VK_RETURN));

    // Changing the items keeps the current one where it still exists.
    list->SetItemIndex(1);
    list->Items()->Add(QStringLiteral("Delta"));
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(StandardControls, IntegralHeightHoldsWholeItems)
{
    auto *list = add<TListBox>();
    list->SetItemHeight(18);
    list->SetIntegralHeight(true);
    const int frame = 2 * static_cast<QListWidget *>(list->Widget())->frameWidth();
    list->SetHeight(frame + 18 * 5 + 7);
    EXPECT_EQ(list->Height(), frame + 18 * 5);
    list->SetHeight(3);
    EXPECT_EQ(list->Height(), frame + 18);
}

TEST_F(StandardControls, ListBoxPopupNeverTakesTheFocus)
{
    auto *list = add<TListBox>();
    list->SetPopup(true);
    EXPECT_EQ(list->Parent(), nullptr);
    EXPECT_TRUE(list->Widget()->isWindow());
    EXPECT_FALSE(list->Widget()->isVisible());
    EXPECT_TRUE(list->Widget()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(list->Widget()->focusPolicy(), Qt::NoFocus);
    list->SetBounds(200, 300, 120, 90);
    list->Show();
    EXPECT_TRUE(list->Widget()->isVisible());
    EXPECT_EQ(list->Widget()->geometry(), QRect(200, 300, 120, 90));
    list->Hide();
    EXPECT_FALSE(list->Widget()->isVisible());
}

TEST_F(StandardControls, ComboBoxReportsOnlyUserChanges)
{
    auto *combo = add<TComboBox>();
    combo->SetStyle(csDropDownList);
    combo->Items()->Add(QStringLiteral("one"));
    combo->Items()->Add(QStringLiteral("two"));
    int changes = 0;
    combo->OnChange = [&](TObject *) { ++changes; };
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), QStringLiteral("two"));
    EXPECT_EQ(changes, 0);
    combo->SetItemIndex(5);
    EXPECT_EQ(combo->ItemIndex(), -1);

    QStringList drops;
    combo->OnDropDown = [&](TObject *) { drops << QStringLiteral("down"); };
    combo->OnCloseUp = [&](TObject *) { drops << QStringLiteral("up"); };
    form->Show();
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->DroppedDown());
    combo->SetDroppedDown(false);
    EXPECT_EQ(drops, QStringList({"down", "up"}));
}

TEST_F(StandardControls, CheckBoxClicksOnEveryChange)
{
    auto *check = add<TCheckBox>();
    int clicks = 0;
    check->OnClick = [&](TObject *) { ++clicks; };
    check->SetChecked(true);
    EXPECT_TRUE(check->Checked());
    check->SetState(cbGrayed); // not allowed: unchecks
    EXPECT_EQ(check->State(), cbUnchecked);
    check->SetAllowGrayed(true);
    check->SetState(cbGrayed);
    EXPECT_EQ(check->State(), cbGrayed);
    EXPECT_EQ(clicks, 3);
}

TEST_F(StandardControls, LabelSizesItselfToItsText)
{
    auto *label = add<TLabel>();
    label->SetCaption(QStringLiteral("Short"));
    const int shortWidth = label->Width();
    label->SetCaption(QStringLiteral("A much longer caption"));
    EXPECT_GT(label->Width(), shortWidth);

    label->SetWordWrap(true);
    label->SetWidth(60);
    label->SetCaption(QStringLiteral("A much longer caption that wraps"));
    EXPECT_EQ(label->Width(), 60);
    EXPECT_GT(label->Height(), 2 * QFontMetrics(label->Widget()->font()).height() - 1);
}

TEST_F(StandardControls, ParentFontAndColourFollowTheParent)
{
    auto *label = add<TLabel>();
    form->Font()->SetName(QStringLiteral("Tahoma"));
    form->Font()->SetHeight(-12);
    EXPECT_EQ(label->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(label->Font()->Height(), -12);
    label->Font()->SetColor(clNavy);
    EXPECT_FALSE(label->ParentFont());
    form->Font()->SetHeight(-15);
    EXPECT_EQ(label->Font()->Height(), -12);

    form->SetColor(clWhite);
    EXPECT_EQ(label->Color(), clWhite);
}

// The darkest pixel of what the widget shows, by its grey level.
int darkestPixel(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

TEST_F(StandardControls, DisabledControlsWriteInGrey)
{
    auto *button = add<TButton>();
    button->SetCaption(QStringLiteral("Сохранить в pdf"));
    auto *label = add<TLabel>();
    label->SetCaption(QStringLiteral("Количество"));
    form->Show();
    for (TControl *control : std::initializer_list<TControl *>{button, label}) {
        EXPECT_LT(darkestPixel(control->Widget()), 64) << control->metaObject()->className();
        control->SetEnabled(false);
        // The caption goes grey, the frame stays as it was.
        EXPECT_EQ(control->Widget()->palette().color(QPalette::Disabled, QPalette::ButtonText),
                  ColorToQColor(clGrayText));
        EXPECT_EQ(control->Widget()->palette().color(QPalette::Disabled, QPalette::WindowText),
                  ColorToQColor(clGrayText));
        control->Font()->SetColor(clNavy);
        EXPECT_EQ(control->Widget()->palette().color(QPalette::Disabled, QPalette::ButtonText),
                  ColorToQColor(clGrayText));
        EXPECT_GT(darkestPixel(control->Widget()), 64) << control->metaObject()->className();
    }
}

TEST_F(StandardControls, AReadOnlyMemoShowsWhereTheFocusIs)
{
    auto *memo = add<TMemo>();
    memo->SetReadOnly(true);
    memo->SetText(QStringLiteral("first\r\nsecond\r\nthird"));
    auto *editor = static_cast<QPlainTextEdit *>(memo->Widget());
    // The caret shows and the keys move it, while the text stays as it is.
    EXPECT_TRUE(editor->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    EXPECT_FALSE(editor->textInteractionFlags() & Qt::TextEditable);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(editor, &down);
    EXPECT_EQ(editor->textCursor().blockNumber(), 1);
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(editor, &typed);
    EXPECT_EQ(memo->Lines()->Strings(1), QStringLiteral("second"));
}

// Whether the text area's bottom cuts no line: the lines above it end
// inside, the next one starts at or below it.
bool ShowsWholeLines(QPlainTextEdit *editor)
{
    const int bottom = editor->viewport()->height();
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + block.layout()->lineAt(i).textStart());
            const QRect line = editor->cursorRect(cursor);
            if (line.y() + line.height() > bottom)
                return line.y() >= bottom;
        }
    return true;
}

TEST_F(StandardControls, AMemoShowsWholeLinesWhereverItIsScrolled)
{
    auto *memo = add<TMemo>();
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    const QString paragraph = QStringLiteral("Автоматический выключатель, номинальный ток 16 А; ").repeated(6);
    memo->SetText(QStringList({paragraph, QStringLiteral("short"), paragraph, QStringLiteral("short")}).join(QStringLiteral("\r\n")));
    auto *editor = static_cast<QPlainTextEdit *>(memo->Widget());
    form->Show();
    for (int height = 30; height <= 110; ++height) {
        memo->SetBounds(0, 0, 300, height);
        for (int value = 0; value <= editor->verticalScrollBar()->maximum(); ++value) {
            editor->verticalScrollBar()->setValue(value);
            QApplication::processEvents();
            EXPECT_TRUE(ShowsWholeLines(editor)) << height << " high, scrolled to line " << value;
        }
    }
}

TEST_F(StandardControls, MemoCutsTypedTextAtMaxLengthAndMayLeaveReturnToTheForm)
{
    auto *memo = add<TMemo>();
    memo->SetMaxLength(5);
    auto *editor = static_cast<QPlainTextEdit *>(memo->Widget());
    editor->setPlainText(QStringLiteral("abcdefgh"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("abcde"));
    EXPECT_EQ(memo->Lines()->Strings(0), QStringLiteral("abcde"));

    auto *ok = add<TButton>();
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject *) { ++clicks; };
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(editor, &enter);
    EXPECT_EQ(clicks, 0); // a memo wants its returns
    memo->SetWantReturns(false);
    QApplication::sendEvent(editor, &enter);
    EXPECT_EQ(clicks, 1);
}

TEST_F(StandardControls, SortedListsInsertInAlphabeticalOrder)
{
    auto *list = add<TListBox>();
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->Add(QStringLiteral("pear")), 0);
    EXPECT_EQ(list->Items()->Add(QStringLiteral("Apple")), 0);
    EXPECT_EQ(list->Items()->Add(QStringLiteral("banana")), 1);
    EXPECT_EQ(static_cast<QListWidget *>(list->Widget())->item(1)->text(), QStringLiteral("banana"));
    EXPECT_THROW(list->Items()->Delete(3), EListError);

    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_TRUE(list->Selected(2));
    EXPECT_FALSE(list->Selected(1));
    EXPECT_FALSE(list->Selected(7));
}

TEST_F(StandardControls, EditableComboBoxKeepsItsTextWhenItemsChange)
{
    auto *combo = add<TComboBox>();
    combo->SetText(QStringLiteral("typed"));
    combo->Items()->Add(QStringLiteral("one"));
    EXPECT_EQ(combo->Text(), QStringLiteral("typed"));
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), QStringLiteral("one"));
}

TEST_F(StandardControls, TabOrderFollowsWhatWasSet)
{
    auto *first = add<TEdit>();
    auto *second = add<TEdit>();
    auto *third = add<TEdit>();
    EXPECT_EQ(third->TabOrder(), 2);
    third->SetTabOrder(0);
    EXPECT_EQ(third->TabOrder(), 0);
    EXPECT_EQ(first->TabOrder(), 1);
    EXPECT_EQ(second->TabOrder(), 2);
    EXPECT_EQ(third->Widget()->nextInFocusChain(), first->Widget());
}

TEST(HintWindow, MeasuresAndShowsItsTextInsideTheScreen)
{
    THintWindow hint(nullptr);
    const TRect rect = hint.CalcHintRect(200, QStringLiteral("A hint text"));
    EXPECT_EQ(rect.Left, 0);
    EXPECT_GT(rect.Width(), 6);
    EXPECT_GT(rect.Height(), 6);
    EXPECT_LE(rect.Width(), 200 + 6);

    const TRect area = Screen->WorkAreaRect();
    hint.ActivateHint(rect.Offset(area.Right - 10, area.Top + 5), QStringLiteral("A hint text"));
    EXPECT_TRUE(hint.Widget()->isVisible());
    EXPECT_EQ(hint.Left() + hint.Width(), area.Right);
    EXPECT_EQ(hint.Caption(), QStringLiteral("A hint text"));
    EXPECT_EQ(hint.ClientWidth(), rect.Width() - 2);
    hint.Hide();
    EXPECT_FALSE(hint.Widget()->isVisible());
}

TEST_F(StandardControls, APressOnAHintGoesToTheWindowBelow)
{
    form->SetBounds(100, 100, 300, 200);
    auto *button = add<TButton>();
    button->SetBounds(20, 20, 120, 40);
    form->Show();
    QApplication::processEvents();
    const TPoint centre = button->ClientToScreen(TPoint(60, 20));
    THintWindow hint(nullptr);
    hint.ActivateHint(Rect(centre.X - 30, centre.Y - 8, centre.X + 30, centre.Y + 8), QStringLiteral("tip"));
    QWidget *hintClient = hint.Widget()->childAt(hint.Widget()->rect().center());
    ASSERT_NE(hintClient, nullptr);
    const QPointF global(centre.X, centre.Y);
    QMouseEvent press(QEvent::MouseButtonPress, hintClient->mapFromGlobal(global), global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hintClient, &press);
    EXPECT_FALSE(hint.Widget()->isVisible());
    EXPECT_TRUE(static_cast<QAbstractButton *>(button->Widget())->isDown());
}

} // namespace
