#include "engine/qvxPrinterProperties.h"

#include "report/model/qvxResources.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TLabel.h"

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
    QStringList modes;
    for (const int mode : choices.DuplexModes)
        modes << duplexText(mode);
    if (modes.isEmpty())
        modes << duplexText(choices.Duplex);
    QStringList resolutions;
    for (const int dpi : choices.Resolutions)
        resolutions << text("dlgDotsPerInch").arg(dpi);
    if (resolutions.isEmpty())
        resolutions << text("dlgDotsPerInch").arg(choices.Resolution);

    TComboBox *binList = addRow(form.get(), 0, text("dlgPaperSource"), bins, bin);
    TComboBox *duplexList = addRow(form.get(), 1, text("dlgTwoSided"), modes,
                                   int(choices.DuplexModes.indexOf(choices.Duplex)));
    TComboBox *resolutionList = addRow(form.get(), 2, text("dlgResolution"), resolutions,
                                       int(choices.Resolutions.indexOf(choices.Resolution)));

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
    if (duplexList->ItemIndex() >= 0 && duplexList->ItemIndex() < choices.DuplexModes.size())
        choices.Duplex = choices.DuplexModes.at(duplexList->ItemIndex());
    if (resolutionList->ItemIndex() >= 0 && resolutionList->ItemIndex() < choices.Resolutions.size())
        choices.Resolution = choices.Resolutions.at(resolutionList->ItemIndex());
    return true;
}
