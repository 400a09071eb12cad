#include "report/xml/qvxXMLDocument.h"

#include "report/base/qvxFileUtils.h"
#include "report/xml/qvxXMLReader.h"
#include "report/xml/qvxXMLWriter.h"
#include "toolkit/core/Files.h"
#include "toolkit/classes/Streams.h"

#include <algorithm>

TqvxXMLDocument::TqvxXMLDocument() : m_root(std::make_unique<TqvxXMLItem>()) {}

TqvxXMLDocument::~TqvxXMLDocument()
{
    DeleteTempFile();
}

void TqvxXMLDocument::Clear()
{
    m_root->Clear();
    DeleteTempFile();
}

void TqvxXMLDocument::LoadFromStream(TStream *stream, bool allowPartialLoading)
{
    DeleteTempFile();
    TqvxXMLReader reader(stream);
    m_root->Clear();
    m_root->SetName(QString());
    m_root->SetText(QString());
    m_root->SetOffset(0);
    reader.ReadHeader();
    m_oldVersion = reader.OldVersion();
    if (allowPartialLoading)
        m_sourceStream = stream;
    reader.ReadRootItem(m_root.get(), !allowPartialLoading);
}

void TqvxXMLDocument::SaveToStream(TStream *stream)
{
    TqvxXMLWriter writer(stream);
    writer.SetAutoIndent(m_autoIndent);
    writer.SetSwapStreamLookup([this](const TqvxXMLItem *item) { return streamOf(item); });
    writer.WriteHeader();
    writer.WriteRootItem(m_root.get());
}

TStream *TqvxXMLDocument::streamOf(const TqvxXMLItem *item) const
{
    return streamOf(item->GetOffsetSource());
}

TStream *TqvxXMLDocument::streamOf(TqvxXMLItem::OffsetSource source) const
{
    if (source == TqvxXMLItem::OffsetSource::SwapFile)
        return m_swapFile.get();
    return m_sourceStream;
}

void TqvxXMLDocument::LoadItem(TqvxXMLItem *item)
{
    if (!item->Unloadable() || item->Loaded())
        return;
    TStream *source = streamOf(item);
    if (!source)
        return;
    TqvxXMLReader reader(source);
    reader.ReloadItem(item);
    item->SetLoaded(true);
}

void TqvxXMLDocument::UnloadItem(TqvxXMLItem *item)
{
    if (!item->Loaded() || !item->Unloadable())
        return;
    if (!m_swapFile)
        CreateTempFile();
    const qint64 offset = m_swapFile->Seek(0, soEnd);
    TqvxXMLWriter writer(m_swapFile.get());
    // Nested elements that are swapped out themselves go along whole.
    writer.SetSwapStreamLookup([this](const TqvxXMLItem *nested) { return streamOf(nested); });
    writer.WriteRootItem(item);
    item->SetOffset(quint64(offset));
    item->SetOffsetSource(TqvxXMLItem::OffsetSource::SwapFile);
    item->Clear();
    item->m_tagChanged = false;
}

void TqvxXMLDocument::ReleaseItem(TqvxXMLItem *item)
{
    if (item->Loaded() && item->Unloadable() && streamOf(item))
        item->Clear();
}

bool TqvxXMLDocument::CompactItem(TqvxXMLItem *item)
{
    TqvxXMLItem *parent = item->Parent();
    if (!parent || item->Loaded() || !item->Unloadable() || item->m_tagChanged || item->Count() > 0 ||
        !item->Value().isEmpty() || !streamOf(item))
        return false;
    auto &slots = parent->m_items;
    const auto found = std::find(slots.rbegin(), slots.rend(), TqvxXMLItem::Slot(item));
    if (found == slots.rend())
        return false;
    *found = TqvxXMLItem::positionSlot(item->GetOffset(), item->GetOffsetSource());
    parent->m_document = this;
    item->m_parent = nullptr;
    delete item;
    return true;
}

void TqvxXMLDocument::CompactItems(TqvxXMLItem *parent)
{
    for (int i = 0; i < parent->Count(); ++i)
        if (!parent->Compacted(i))
            CompactItem(parent->Items(i));
}

std::unique_ptr<TqvxXMLItem> TqvxXMLDocument::ReadTag(std::uint64_t offset, TqvxXMLItem::OffsetSource source) const
{
    TStream *stream = streamOf(source);
    if (!stream)
        throw TqvxInvalidXMLException(QStringLiteral("Invalid file format"));
    auto item = std::make_unique<TqvxXMLItem>();
    item->SetOffset(offset);
    item->SetOffsetSource(source);
    TqvxXMLReader reader(stream);
    reader.ReadTag(item.get());
    return item;
}

QByteArray TqvxXMLDocument::StoredBytes(const TqvxXMLItem *parent, int index) const
{
    std::uint64_t offset = 0;
    TStream *stream = nullptr;
    const TqvxXMLItem::Slot slot = parent->m_items.at(std::size_t(index));
    if (TqvxXMLItem::isPosition(slot)) {
        offset = TqvxXMLItem::slotOffset(slot);
        stream = streamOf(TqvxXMLItem::slotSource(slot));
    } else if (const TqvxXMLItem *item = parent->Items(index); item->Unloadable() && !item->Loaded()) {
        offset = item->GetOffset();
        stream = streamOf(item);
    }
    if (!stream)
        return QByteArray();
    TqvxXMLReader reader(stream);
    return reader.ReadElementBytes(offset);
}

void TqvxXMLDocument::CreateTempFile()
{
    if (m_swapFile)
        return;
    const bool useTempDir = !m_tempDir.isEmpty() && DirectoryExists(m_tempDir);
    m_tempFileName = qvxGetTempFileNameIn(useTempDir ? m_tempDir : QString());
    m_swapFile = std::make_unique<TFileStream>(m_tempFileName, fmOpenReadWrite);
}

void TqvxXMLDocument::DeleteTempFile()
{
    if (m_swapFile) {
        m_swapFile.reset();
        DeleteFile(m_tempFileName);
        m_tempFileName.clear();
    }
    m_sourceStream = nullptr;
}
