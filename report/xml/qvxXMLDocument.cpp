#include "report/xml/qvxXMLDocument.h"

#include "report/base/qvxFileUtils.h"
#include "report/xml/qvxXMLReader.h"
#include "report/xml/qvxXMLWriter.h"
#include "toolkit/core/Files.h"
#include "toolkit/classes/Streams.h"

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
    if (item->GetOffsetSource() == TqvxXMLItem::OffsetSource::SwapFile)
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
}

void TqvxXMLDocument::ReleaseItem(TqvxXMLItem *item)
{
    if (item->Loaded() && item->Unloadable() && streamOf(item))
        item->Clear();
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
