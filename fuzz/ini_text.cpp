// Feeds arbitrary text to the ini reader, reads every section and key back,
// and checks that the text it writes reads back to the same sections and
// lines, as a rewritten settings file must lose nothing.

#include "toolkit/classes/IniSections.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Every section's name and lines, the unnamed section's first.
QList<QStringList> contentOf(const IniSections &sections)
{
    QList<QStringList> content{sections.KeyLines(QString())};
    for (const QString &section : sections.SectionNames()) {
        content.append(QStringList{section} + sections.KeyLines(section));
        for (const QString &key : sections.KeyNames(section))
            sections.Value(section, key, QString());
    }
    return content;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    IniSections sections;
    sections.SetLines(text.split(QLatin1Char('\n')));
    IniSections reread;
    reread.SetLines(sections.Lines());
    if (contentOf(reread) != contentOf(sections))
        std::abort();
    return 0;
}
