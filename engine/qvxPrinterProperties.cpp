#include "engine/qvxPrinterProperties.h"

#include "report/model/qvxResources.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TLabel.h"

#include <algorithm>
#include <memory>

namespace {

QString text(const char *key)
{
    return qvxResources()->Get(QLatin1String(key));
}

QString duplexText(int mode)
{
    return text(mode == 2 ? "dlgLongEdge" : mode == 3 ? "dlgShortEdge" : "dlgOneSided");
}

QList<int> withCurrent(QList<int> values, int current)
{
    if (current > 0 && !values.contains(current)) {
        values << current;
        std::sort(values.begin(), values.end());
    }
    return values;
}

// One setting: its label and the list of its choices, the current one
// chosen; a single choice cannot be changed.
TComboBox *addRow(TForm *form, int row, const QString &caption, const QStringList &items, int current)
{
    const int top = 12 + row * 30;
    auto *label = NewObject<TLabel>(form);
    label->SetParent(form);
    label->SetBounds(12, top + 4, 170, 17);
    label->SetCaption(caption);
    auto *list = NewObject<TComboBox>(form);
    list->SetParent(form);
    list->SetBounds(186, top, 230, 24);
    list->SetStyle(csDropDownList);
    for (const QString &item : items)
        list->Items()->Add(item);
    list->SetItemIndex(qMax(0, current));
    list->SetEnabled(items.size() > 1);
    label->SetFocusControl(list);
    return list;
}

} // namespace

bool qvxPrinterPropertiesDialog(const QString &printerName, TqvxPrinterChoices &choices)
{
    std::unique_ptr<TForm> form(NewObject<TForm>(nullptr));
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetCaption(text("dlgPrinterProperties").arg(printerName));
    form->SetClientWidth(428);
    form->SetClientHeight(140);

    QStringList bins;
    int bin = -1;
    for (const TqvxPrinterItem &item : choices.Bins) {
        if (item.Id == choices.Bin)
            bin = int(bins.size());
        bins << item.Name;
    }
    // The current value is among the choices even where the print system
    // does not list it, so that OK without a change changes nothing.
    const QList<int> duplexModes = withCurrent(choices.DuplexModes, choices.Duplex);
    const QList<int> resolutions = withCurrent(choices.Resolutions, choices.Resolution);
    QStringList modeTexts;
    for (const int mode : duplexModes)
        modeTexts << duplexText(mode);
    QStringList resolutionTexts;
    for (const int dpi : resolutions)
        resolutionTexts << text("dlgDotsPerInch").arg(dpi);

    TComboBox *binList = addRow(form.get(), 0, text("dlgPaperSource"), bins, bin);
    TComboBox *duplexList =
        addRow(form.get(), 1, text("dlgTwoSided"), modeTexts, int(duplexModes.indexOf(choices.Duplex)));
    TComboBox *resolutionList = addRow(form.get(), 2, text("dlgResolution"), resolutionTexts,
                                       int(resolutions.indexOf(choices.Resolution)));

    auto *ok = NewObject<TButton>(form.get());
    ok->SetParent(form.get());
    ok->SetBounds(260, 106, 75, 25);
    ok->SetCaption(qvxGet(1));
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto *cancel = NewObject<TButton>(form.get());
    cancel->SetParent(form.get());
    cancel->SetBounds(341, 106, 75, 25);
    cancel->SetCaption(qvxGet(2));
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);

    if (form->ShowModal() != mrOk)
        return false;
    if (binList->ItemIndex() >= 0 && binList->ItemIndex() < choices.Bins.size())
        choices.Bin = choices.Bins.at(binList->ItemIndex()).Id;
    if (duplexList->ItemIndex() >= 0)
        choices.Duplex = duplexModes.at(duplexList->ItemIndex());
    if (resolutionList->ItemIndex() >= 0)
        choices.Resolution = resolutions.at(resolutionList->ItemIndex());
    return true;
}
