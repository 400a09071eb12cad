#include "engine/qvxPreparedStore.h"

#include "engine/qvxOutline.h"
#include "engine/qvxPreparedItems.h"
#include "report/model/qvxComponent.h"
#include "report/report/qvxPictureCache.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/SaveFileStream.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Files.h"
#include "toolkit/core/SysUtils.h"

namespace {

const QLatin1StringView DictionaryPrefix("name=\"");

} // namespace

void TqvxPreparedStore::SaveToStream(TStream *stream)
{
    TqvxXMLItem *root = m_doc.Root();
    TqvxXMLItem *report = root->FindItem(QStringLiteral("report"));
    report->Clear();
    SaveReportSettings(report->Add());

    TqvxXMLItem *sources = root->FindItem(QStringLiteral("sourcepages"));
    sources->Clear();
    for (const auto &page : m_sourcePages)
        writeWholePage(page.get(), sources->Add());

    TqvxXMLItem *dictionary = root->FindItem(QStringLiteral("dictionary"));
    dictionary->Clear();
    for (int i = 0; i < m_dictionary.Count(); ++i) {
        TqvxXMLItem *entry = dictionary->Add();
        entry->SetName(m_dictionary.Name(i));
        entry->SetText(DictionaryPrefix + m_dictionary.SourceName(i) + QLatin1Char('"'));
    }

    m_pictureCache->SaveToXML(root->FindItem(QStringLiteral("picturecache")));
    // The logical page numbers are written out for the file alone.
    struct LogicalPagesWritten {
        TqvxXMLItem *element;
        ~LogicalPagesWritten()
        {
            if (element)
                element->Clear();
        }
    } logicalPages{writeLogicalPages()};
    m_doc.SaveToStream(stream);
}

TqvxXMLItem *TqvxPreparedStore::writeLogicalPages()
{
    const int at = m_doc.Root()->Find(QStringLiteral("logicalpagenumbers"));
    if (at < 0)
        return nullptr;
    TqvxXMLItem *element = m_doc.Root()->Items(at);
    element->Clear();
    for (const LogicalPage &page : m_logicalPages) {
        TqvxXMLItem *item = element->Add();
        item->SetName(QStringLiteral("page"));
        qvxSetIntProp(item, QStringLiteral("n"), page.number);
        if (page.total >= 0)
            qvxSetIntProp(item, QStringLiteral("t"), page.total);
    }
    return element;
}

void TqvxPreparedStore::readLogicalPages()
{
    const int at = m_doc.Root()->Find(QStringLiteral("logicalpagenumbers"));
    if (at < 0)
        return;
    TqvxXMLItem *element = m_doc.Root()->Items(at);
    std::vector<LogicalPage> pages;
    pages.reserve(std::size_t(element->Count()));
    for (int i = 0; i < element->Count(); ++i) {
        const TqvxXMLItem *item = element->Items(i);
        int number = 0;
        int total = -1;
        const QString totalText = item->GetProp(QStringLiteral("t"));
        if (!TryStrToInt(item->GetProp(QStringLiteral("n")), number) ||
            (!totalText.isEmpty() && (!TryStrToInt(totalText, total) || total < 0)))
            qvxInvalidFileFormat();
        pages.push_back({number, total});
    }
    m_logicalPages = std::move(pages);
    element->Clear();
}

void TqvxPreparedStore::SaveToFile(const QString &fileName)
{
    TSaveFileStream file(fileName);
    SaveToStream(&file);
    file.Commit();
}

void TqvxPreparedStore::LoadFromStream(TStream *stream, bool allowPartialLoading)
{
    Clear();
    try {
        loadDocument(stream, allowPartialLoading);
    } catch (...) {
        Clear();
        throw;
    }
}

void TqvxPreparedStore::loadDocument(TStream *stream, bool allowPartialLoading)
{
    m_allowPartialLoading = allowPartialLoading;
    if (allowPartialLoading) {
        // The pages are read from the stream when they are first needed: the
        // store keeps its own copy, which lives as long as the pages do.
        auto copy = std::make_unique<TMemoryStream>();
        copy->CopyFrom(stream, stream->Size() - stream->Position());
        copy->SetPosition(0);
        m_loadStream = std::move(copy);
        m_doc.LoadFromStream(m_loadStream.get(), true);
    } else {
        m_doc.LoadFromStream(stream, false);
    }

    TqvxXMLSerializer serializer;
    serializer.SetOldFormat(m_doc.OldVersion());
    TqvxXMLItem *report = m_doc.Root()->FindItem(QStringLiteral("report"));
    if (report->Count() > 0)
        LoadReportSettings(report->Items(0));
    readSourcePages(serializer);
    readDictionary();
    readLogicalPages();
    checkPageItems();
    // A page left in the file keeps only its offset there.
    m_doc.CompactItems(PagesItem());
    m_pictureCache->LoadFromXML(m_doc.Root()->FindItem(QStringLiteral("picturecache")));
}

void TqvxPreparedStore::readSourcePages(TqvxXMLSerializer &serializer)
{
    TqvxXMLItem *sources = m_doc.Root()->FindItem(QStringLiteral("sourcepages"));
    for (int i = 0; i < sources->Count(); ++i) {
        TqvxXMLItem *item = sources->Items(i);
        const TClass cls = GetClass(item->Name());
        if (!cls || !ClassInheritsFrom(cls, ClassOf<TqvxComponent>()))
            qvxInvalidFileFormat();
        std::unique_ptr<TqvxComponent> page(static_cast<TqvxComponent *>(CreateObject(cls, nullptr)));
        if (!page->IsKind(ckPage))
            qvxInvalidFileFormat();
        readWholePage(page.get(), item, serializer);
        for (TqvxComponent *object : page->GetAllObjects())
            object->SetBaseName(baselineText(object, serializer));
        m_sourcePages.push_back(std::move(page));
    }
    sources->Clear();
}

void TqvxPreparedStore::readDictionary()
{
    TqvxXMLItem *dictionary = m_doc.Root()->FindItem(QStringLiteral("dictionary"));
    for (int i = 0; i < dictionary->Count(); ++i) {
        const TqvxXMLItem *entry = dictionary->Items(i);
        const QString &text = entry->Text();
        if (!text.startsWith(DictionaryPrefix) || !text.endsWith(QLatin1Char('"')) ||
            text.size() <= DictionaryPrefix.size() + 1 || entry->Name().isEmpty() ||
            m_dictionary.Contains(entry->Name()))
            qvxInvalidFileFormat();
        const QString sourceName = text.mid(DictionaryPrefix.size(), text.size() - DictionaryPrefix.size() - 1);
        const qsizetype dot = sourceName.indexOf(QLatin1Char('.'));
        int page = -1;
        if (dot < 0 || !sourceName.startsWith(QLatin1String("Page")) ||
            !TryStrToInt(sourceName.mid(4, dot - 4), page) || page < 0 || page >= int(m_sourcePages.size()))
            qvxInvalidFileFormat();
        TqvxComponent *object = m_sourcePages[std::size_t(page)]->FindObject(sourceName.mid(dot + 1).left(255));
        m_dictionary.Add(entry->Name(), sourceName, object);
    }
}

void TqvxPreparedStore::checkPageItems()
{
    TqvxXMLItem *pages = PagesItem();
    for (int i = 0; i < pages->Count(); ++i) {
        const TqvxXMLItem *item = pages->Items(i);
        if (!qvxWholePageClass(item))
            sourcePageOfItem(item);
    }
}

bool TqvxPreparedStore::LoadFromFile(const QString &fileName, bool exceptionIfNotFound)
{
    const bool exists = FileExists(fileName);
    if (exists || exceptionIfNotFound) {
        TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
        LoadFromStream(&file, false);
    }
    return exists;
}

void TqvxPreparedStore::AddFromPages(TqvxPreparedStore *other)
{
    const int offset = Count();
    TqvxXMLItem *pages = PagesItem();
    for (int i = 0; i < other->Count(); ++i) {
        TqvxXMLItem *item = pages->Add();
        writeWholePage(other->SharedPage(i).get(), item);
        item->SetUnloadable(false);
    }

    const TqvxXMLItem *otherAnchors = other->Anchors()->Item();
    TqvxXMLItem *anchors = m_anchors.Item();
    for (int i = 0; i < otherAnchors->Count(); ++i) {
        TqvxXMLItem *anchor = anchors->Add();
        anchor->SetName(QStringLiteral("item"));
        anchor->SetText(otherAnchors->Items(i)->Text());
        qvxSetIntProp(anchor, QStringLiteral("page"), qvxIntProp(anchor, QStringLiteral("page")) + offset);
    }

    Outline()->LevelRoot();
    other->Outline()->LevelRoot();
    copyOutlineLevel(other->Outline(), offset);

    if (other->Count() > 0) {
        other->SetCurPage(other->Count() - 1);
        m_lastY = other->GetLastY(0);
        other->SetCurPage(-1);
    }
    ClearPageCache();
}

void TqvxPreparedStore::copyOutlineLevel(TqvxCustomOutline *from, int pageOffset)
{
    for (int i = 0; i < from->Count(); ++i) {
        QString text;
        int page = 0;
        int top = 0;
        from->GetItem(i, text, page, top);
        SetCurPage(pageOffset + page);
        Outline()->AddItem(text, top);
        from->LevelDown(i);
        copyOutlineLevel(from, pageOffset);
        from->LevelUp();
        Outline()->LevelUp();
    }
}
