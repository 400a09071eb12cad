#include "report/report/qvxPictureCache.h"

#include "report/base/qvxStreamUtils.h"
#include "report/xml/qvxXMLItem.h"
#include "report/xml/qvxXMLReader.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Files.h"
#include "toolkit/graphics/Picture.h"

#include <algorithm>

namespace {

qint64 decodedBytes(const TPicture &picture)
{
    return qint64(picture.Width()) * picture.Height() * 4;
}

} // namespace

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
    const int index = number - 1;
    if (const TPicture *held = heldDecoded(index)) {
        picture->Assign(held);
        return;
    }
    const Entry &entry = m_items[std::size_t(index)];
    TSubStream bytes(m_blocks[std::size_t(entry.block)].get(), entry.position, entryLength(index));
    auto decoded = std::make_unique<TPicture>();
    decoded->LoadFromStream(&bytes);
    picture->Assign(decoded.get());
    holdDecoded(index, std::move(decoded));
}

void TqvxPictureCache::ReleaseDecoded()
{
    m_decoded.clear();
}

const TPicture *TqvxPictureCache::heldDecoded(int index)
{
    for (auto held = m_decoded.begin(); held != m_decoded.end(); ++held) {
        if (held->index != index && !sameBytes(held->index, index))
            continue;
        std::rotate(m_decoded.begin(), held, held + 1);
        return m_decoded.front().picture.get();
    }
    return nullptr;
}

void TqvxPictureCache::holdDecoded(int index, std::unique_ptr<TPicture> picture)
{
    m_decoded.insert(m_decoded.begin(), {index, std::move(picture)});
    qint64 bytes = decodedBytes(*m_decoded.front().picture);
    const auto fits = [&bytes](const Decoded &held) {
        bytes += decodedBytes(*held.picture);
        return bytes <= DecodedBudget;
    };
    const auto firstOver = std::find_if_not(m_decoded.begin() + 1, m_decoded.end(), fits);
    m_decoded.erase(firstOver, m_decoded.end());
}

void TqvxPictureCache::Clear()
{
    m_decoded.clear();
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

bool TqvxPictureCache::sameBytes(int a, int b)
{
    const qint64 length = entryLength(a);
    if (entryLength(b) != length)
        return false;
    constexpr qint64 piece = 64 * 1024;
    TStream *blockA = m_blocks[std::size_t(m_items[std::size_t(a)].block)].get();
    TStream *blockB = m_blocks[std::size_t(m_items[std::size_t(b)].block)].get();
    for (qint64 done = 0; done < length; done += piece) {
        const qint64 count = std::min(piece, length - done);
        blockA->SetPosition(m_items[std::size_t(a)].position + done);
        const QByteArray bytesA = blockA->ReadBytes(count);
        blockB->SetPosition(m_items[std::size_t(b)].position + done);
        if (blockB->ReadBytes(count) != bytesA)
            return false;
    }
    return true;
}

qint64 TqvxPictureCache::entryLength(int index)
{
    const Entry &entry = m_items[std::size_t(index)];
    const std::size_t next = std::size_t(index) + 1;
    if (next < m_items.size() && m_items[next].block == entry.block)
        return m_items[next].position - entry.position;
    return m_blocks[std::size_t(entry.block)]->Size() - entry.position;
}
