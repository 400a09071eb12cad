#pragma once

// TChunkIDAT: the image data.
//
// Loading the first IDAT chunk inflates the zlib stream across it and every
// IDAT chunk that directly follows, checks each chunk's CRC, and unfilters
// the rows (non-interlaced or Adam7) into the header's planes
// (qvxPngHeader.h).  Data that ends before the last row raises
// EPngUnexpectedEnd, or EPNGMissingMultipleIDAT when another chunk comes
// first; a filter type above 4 raises EPNGZLIBError.
//
// Saving filters the rows with the owner's Filters, deflates them at its
// CompressionLevel and writes IDAT chunks of MaxIdatSize bytes, the last one
// holding the rest.

#include "codecs/png/qvxPngChunks.h"

class TChunkIDAT : public TChunk
{
public:
    static constexpr const char *ChunkName = "IDAT";
    using TChunk::TChunk;

    bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size) override;
    void SaveToStream(TStream *stream) override;
};
