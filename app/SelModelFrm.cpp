#include "app/SelModelFrm.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TImage.h"
#include "toolkit/widgets/TLabel.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <memory>

namespace {

constexpr int InitialGap = 30;
constexpr int InitialButtonWidth = 75;
constexpr int MinGap = 2;
constexpr int MinButtonWidth = 70;

TLabel *NewTextLabel(TSelModelForm *form, const TRect &bounds, const QString &text)
{
    auto *label = NewObject<TLabel>(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    label->Font()->SetName(QStringLiteral("Tahoma"));
    label->Font()->SetHeight(-12);
    label->SetCaption(text);
    return label;
}

TButton *NewRowButton(TSelModelForm *form, const TRect &bounds, const QString &caption, int modalResult)
{
    auto *button = NewObject<TButton>(form);
    button->SetParent(form);
    button->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    button->SetCaption(caption);
    button->SetModalResult(modalResult);
    return button;
}

} // namespace

TSelModelForm::TSelModelForm(TComponent *owner)
    : TForm(owner)
{
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(684);
    SetClientHeight(136);
    SetCaption(QStringLiteral("Выбор модели выключателя"));

    Image1 = NewObject<TImage>(this);
    Image1->SetParent(this);
    Image1->SetBounds(8, 8, 32, 32);
    const QIcon question = QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    Image1->Picture()->Bitmap()->SetImage(question.pixmap(32, 32).toImage());

    Label1 = NewTextLabel(this, Bounds(48, 8, 633, 33),
                          QStringLiteral("Данными характеристиками обладают несколько типоисполнений выключателей. Для того, чтобы сделать заказ, предлагаем вам выбрать выключатель, нажав на кнопку необходимого типоисполнения."));
    // Taller than the first label: the substitute for Tahoma is a little
    // wider, and this text then needs a third line, which still ends above
    // the buttons at 96.
    Label2 = NewTextLabel(this, Bounds(8, 48, 673, 45),
                          QStringLiteral("Либо ничего не отмечать и довериться нашему менеджеру, отправив полученный опросный лист. Он выберет один из представленных выключателей в зависимости от наличия на складе/сроков изготовления на заводе-изготовителе."));
}

void TSelModelForm::ButtonClick(TObject *sender)
{
    if (auto *button = qobject_cast<TButton *>(sender))
        SetTag(button->Tag());
}

TRect TModelButtonRow::Button(int index) const
{
    return Bounds(Left + index * (ButtonWidth + Gap), ButtonTop, ButtonWidth, ButtonHeight);
}

TModelButtonRow LayoutModelButtons(int candidateCount, int clientWidth)
{
    const int n = std::max(candidateCount, 0);
    TModelButtonRow row;
    row.Gap = InitialGap;
    row.ButtonWidth = InitialButtonWidth;
    const auto measure = [&] { row.Width = (n + 1) * row.ButtonWidth + n * row.Gap; };
    measure();
    while (row.Width > clientWidth && row.Gap > MinGap && row.ButtonWidth > MinButtonWidth) {
        const int before = row.Width;
        if (n > 0) {
            // Never below zero: buttons must not overlap.
            row.Gap = std::max(0, row.Gap - (row.Width - clientWidth) / n);
            measure();
        }
        if (row.Width > clientWidth) {
            row.ButtonWidth -= (row.Width - clientWidth) / (n + 1);
            measure();
        }
        // An overshoot smaller than the number of buttons shrinks nothing.
        if (row.Width == before)
            break;
    }
    row.Left = (clientWidth - row.Width) / 2;
    return row;
}

int SelectModel(TComponent *owner, const QList<TModelCandidate> &candidates)
{
    std::unique_ptr<TSelModelForm> form(NewObject<TSelModelForm>(owner));
    form->SetTag(0);
    const int n = int(candidates.size());
    const TModelButtonRow row = LayoutModelButtons(n, form->ClientWidth());
    for (int i = 0; i < n; ++i) {
        TButton *button = NewRowButton(form.get(), row.Button(i), candidates[i].Name, mrOk);
        button->SetTag(candidates[i].Model);
        button->SetDefault(i == 0);
        button->OnClick = [dialog = form.get()](TObject *sender) { dialog->ButtonClick(sender); };
    }
    TButton *cancel = NewRowButton(form.get(), row.Button(n), QStringLiteral("Отмена"), mrCancel);
    cancel->SetCancel(true);
    return form->ShowModal() == mrOk ? form->Tag() : 0;
}
