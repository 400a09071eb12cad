#include "PreparedTestStore.h"

#include "report/base/TWideStrings.h"
#include "report/model/qvxDiffText.h"
#include "report/xml/qvxXMLEscape.h"
#include "report/xml/qvxXMLItem.h"
#include "toolkit/classes/ClassRegistry.h"

#include <functional>

TqvxStoreBand TTestPreparedStore::BandOf(const TqvxComponent *object) const
{
    if (!object->IsKind(ckBand))
        return TqvxStoreBand::None;
    const QString &name = object->Name();
    if (name.startsWith(QLatin1String("PageHeader")))
        return TqvxStoreBand::PageHeader;
    if (name.startsWith(QLatin1String("PageFooter")))
        return TqvxStoreBand::PageFooter;
    if (name.startsWith(QLatin1String("MasterData")))
        return TqvxStoreBand::DataBand;
    return TqvxStoreBand::Other;
}

std::unique_ptr<TqvxComponent> TTestPreparedStore::NewPageBackground(TqvxComponent *, double left, double top,
                                                                     double width, double height)
{
    auto background = std::make_unique<TTestView>();
    background->SetName(QStringLiteral("_pagebackground"));
    background->SetBounds(left, top, width, height);
    return background;
}

void TTestPreparedStore::SaveReportSettings(TqvxXMLItem *item)
{
    item->SetName(QStringLiteral("TTestReport"));
    item->SetProp(QStringLiteral("ReportOptions.Name"), reportName);
}

void TTestPreparedStore::LoadReportSettings(TqvxXMLItem *item)
{
    loadedReportName = item->GetProp(QStringLiteral("ReportOptions.Name"));
}

QString TTestDiffMemo::Diff(const TqvxComponent *source)
{
    TqvxDiffText diff(InternalDiff(source));
    const QString text = Memo()->GetText();
    if (text != source->MemoText()->GetText())
        diff.Text(u"Text", text);
    return std::move(diff).Result();
}

TTemplatePage::TTemplatePage()
{
    RegisterReportTestClasses();
    RegisterClass<TTestDiffMemo>();
    page = new TTestPage;
    page->SetName(QStringLiteral("Page1"));
    page->SetBounds(0, 0, 794, 1123);
    auto band = [this](const QString &name, double top, double height) {
        auto *b = new TTestBand(page);
        b->SetName(name);
        b->SetParent(page);
        b->SetBounds(0, top, 718, height);
        return b;
    };
    header = band(QStringLiteral("PageHeader1"), 0, 30);
    data = band(QStringLiteral("MasterData1"), 40, 20);
    footer = band(QStringLiteral("PageFooter1"), 1000, 30);
    auto memo = [this](const QString &name, double left) {
        auto *m = new TTestDiffMemo(page);
        m->SetName(name);
        m->SetParent(data);
        m->SetBounds(left, 0, 100, 20);
        return m;
    };
    memo1 = memo(QStringLiteral("Memo1"), 0);
    memo2 = memo(QStringLiteral("Memo2"), 200);
    memo2->Memo()->SetText(QStringLiteral("Fixed"));
}

TTemplatePage::~TTemplatePage()
{
    delete page;
}

void FillStore(TqvxPreparedStore &store, TTemplatePage &templ, int pages, int rows)
{
    store.Initialize();
    store.SetAddPageAction(apAdd);
    store.BeginPass();
    store.AddSourcePageObject(templ.page);
    int row = 0;
    for (int p = 0; p < pages; ++p) {
        store.AddPageObject(templ.page);
        store.AddObject(templ.header);
        for (int r = 0; r < rows; ++r) {
            templ.data->SetTop(40 + r * 20);
            templ.memo1->Memo()->SetText(QStringLiteral("Row ") + QString::number(++row));
            store.AddObject(templ.data);
        }
        store.AddObject(templ.footer);
    }
    templ.data->SetTop(40);
    templ.memo1->Memo()->SetText(QString());
    store.ResetLogicalPageNumber();
    store.Finish();
}

QStringList DescribePage(TqvxPreparedStore &store, int index)
{
    QStringList lines;
    std::function<void(TqvxComponent *, int)> describe = [&](TqvxComponent *object, int depth) {
        QString line = QString(depth * 2, QLatin1Char(' ')) + object->Name() + QLatin1Char(' ') +
                       QString::number(object->Left()) + QLatin1Char(',') + QString::number(object->Top());
        if (TWideStrings *text = object->MemoText())
            line += QLatin1String(" \"") + text->GetText().trimmed() + QLatin1Char('"');
        lines.append(line);
        for (TqvxComponent *child : object->Objects())
            describe(child, depth + 1);
    };
    TqvxComponent *page = store.GetPageObject(index);
    if (page)
        describe(page, 0);
    return lines;
}
