#pragma once

// The buffered writer under TqvxXMLDocument.
//
// With AutoIndent each tag stands on its own line, indented two blanks per
// level and ended by CR LF; without it the whole document is one line.
// Elements that are swapped out are read back from the stream their offset
// refers to, written whole, and swapped out again.

#include <QString>

#include <functional>

class TStream;
class TqvxXMLItem;

class TqvxXMLWriter
{
public:
    // Answers the stream an unloaded element's offset refers to, or nullptr.
    using SwapStreamLookup = std::function<TStream *(const TqvxXMLItem *)>;

    explicit TqvxXMLWriter(TStream *stream);

    void SetAutoIndent(bool autoIndent) { m_autoIndent = autoIndent; }
    void SetSwapStreamLookup(SwapStreamLookup lookup) { m_swapStream = std::move(lookup); }

    // Writes <?xml version="1.0" encoding="utf-8"?>.
    void WriteHeader();
    // Writes the element with its subtree, then flushes.
    void WriteRootItem(TqvxXMLItem *item);
    void Flush();

private:
    void writeItem(TqvxXMLItem *item, int level);
    void writeLine(const QString &line, int level);
    // The indent of a line, and its end (after which a full buffer is
    // flushed).
    void startLine(int level);
    void endLine();

    TStream *m_stream;
    bool m_autoIndent = false;
    SwapStreamLookup m_swapStream;
    QString m_buffer;
};
