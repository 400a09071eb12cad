#include "report/report/qvxPictureCache.h"

#include "report/base/qvxStreamUtils.h"
#include "report/xml/qvxXMLItem.h"
#include "report/xml/qvxXMLReader.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Files.h"
#include "toolkit/graphics/Picture.h"

TqvxPictureCache::TqvxPictureCache(qint64 blockLimit) : m_blockLimit(blockLimit)
{
}

TqvxPictureCache::~TqvxPictureCache()
{
    Clear();
}

int TqvxPictureCache::AddPicture(const TPicture *picture)
{
    if (!picture || !picture->Graphic())
        return 0;
    TStream *block = newEntry();
    try {
        picture->SaveToStream(block);
    } catch (...) {
        block->SetSize(m_items.back().position);
        m_items.pop_back();
        throw;
    }
    return Count();
}

void TqvxPictureCache::GetPicture(int number, TPicture *picture)
{
    picture->Assign(nullptr);
    if (number < 1 || number > Count())
        return;
    const Entry &entry = m_items[std::size_t(number - 1)];
    TSubStream bytes(m_blocks[std::size_t(entry.block)].get(), entry.position, entryLength(number - 1));
    picture->LoadFromStream(&bytes);
}

void TqvxPictureCache::Clear()
{
    m_blocks.clear();
    for (const QString &fileName : std::as_const(m_fileNames))
        DeleteFile(fileName);
    m_fileNames.clear();
    m_items.clear();
}

void TqvxPictureCache::SetTempDir(const QString &dir)
{
    if (m_blocks.empty())
        m_tempDir = dir;
}

void TqvxPictureCache::SetUseFileCache(bool value)
{
    if (m_blocks.empty())
        m_useFileCache = value;
}

void TqvxPictureCache::SaveToXML(TqvxXMLItem *item)
{
    item->Clear();
    for (int i = 0; i < Count(); ++i) {
        const Entry &entry = m_items[std::size_t(i)];
        TStream *block = m_blocks[std::size_t(entry.block)].get();
        block->SetPosition(entry.position);
        const QByteArray bytes = block->ReadBytes(entryLength(i));
        TqvxXMLItem *child = item->Add();
        child->SetName(QStringLiteral("item"));
        child->SetText(QStringLiteral("stream=\"%1\"").arg(qvxBytesToHex(bytes)));
    }
}

void TqvxPictureCache::LoadFromXML(TqvxXMLItem *item)
{
    Clear();
    for (int i = 0; i < item->Count(); ++i) {
        QByteArray bytes;
        if (!qvxHexToBytes(item->Items(i)->GetProp(QStringLiteral("stream")), bytes))
            throw TqvxInvalidXMLException(QStringLiteral("Invalid file format"));
        newEntry()->WriteBuffer(bytes);
    }
}

TStream *TqvxPictureCache::newEntry()
{
    if (m_blocks.empty() || m_blocks.back()->Size() >= m_blockLimit)
        addBlock();
    TStream *block = m_blocks.back().get();
    const qint64 end = block->Size();
    m_items.push_back({int(m_blocks.size()) - 1, end});
    block->SetPosition(end);
    return block;
}

void TqvxPictureCache::addBlock()
{
    if (!m_useFileCache) {
        m_blocks.push_back(std::make_unique<TMemoryStream>());
    } else {
        const QString fileName = CreateTempFile(QStringLiteral("qvPic"), m_tempDir);
        m_fileNames.append(fileName);
        m_blocks.push_back(std::make_unique<TFileStream>(fileName, fmOpenReadWrite));
    }
}

qint64 TqvxPictureCache::entryLength(int index)
{
    const Entry &entry = m_items[std::size_t(index)];
    const std::size_t next = std::size_t(index) + 1;
    if (next < m_items.size() && m_items[next].block == entry.block)
        return m_items[next].position - entry.position;
    return m_blocks[std::size_t(entry.block)]->Size() - entry.position;
}
