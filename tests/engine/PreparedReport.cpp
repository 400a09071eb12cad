#include "PreparedReport.h"

#include "report/base/TWideStrings.h"

TPreparedReport::TPreparedReport(int count, double paperWidth, double paperHeight,
                                 const std::function<void(TPreparedReport &)> &setUp)
    : report(std::make_unique<TqvxReport>())
{
    report->SetName(QStringLiteral("Report1"));
    report->EngineOptions()->SetNewSilentMode(simSilent);
    page = NewObject<TqvxReportPage>(report.get());
    page->SetParent(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperWidth(paperWidth);
    page->SetPaperHeight(paperHeight);
    page->SetLeftMargin(10);
    page->SetTopMargin(10);
    page->SetRightMargin(10);
    page->SetBottomMargin(10);
    band = NewObject<TqvxMasterData>(page);
    band->SetParent(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 0, 300, 100);
    memo = NewObject<TqvxMemoView>(page);
    memo->SetParent(band);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(20, 30, 50, 40);
    if (setUp)
        setUp(*this);

    store()->AddSourcePage(page);
    store()->SetAddPageAction(apAdd);
    for (int i = 0; i < count; ++i)
        addPage(i);
}

void TPreparedReport::addPage(int index)
{
    memo->Memo()->SetText(QStringLiteral("Page %1").arg(index + 1));
    memo->SetColor(pageColor(index));
    store()->AddPage(page);
    for (TqvxComponent *object : page->Objects())
        store()->AddObject(object);
}

TqvxMemoView *TPreparedReport::addMemo(const QString &name, double left, double top, TqvxComponent *parent)
{
    auto *added = NewObject<TqvxMemoView>(page);
    added->SetParent(parent ? parent : band);
    added->SetName(name);
    added->SetBounds(left, top, 40, 20);
    return added;
}

TqvxMemoView *TPreparedReport::preparedMemo(int index, const QString &name) const
{
    TqvxReportPage *prepared = store()->GetPage(index);
    return prepared ? qobject_cast<TqvxMemoView *>(prepared->FindObject(name)) : nullptr;
}
