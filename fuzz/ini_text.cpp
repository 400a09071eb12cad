// Feeds arbitrary text to the ini reader, reads every section and key back,
// and checks that the text it writes reads back to the same content, as a
// rewritten settings file must lose nothing.

#include "toolkit/classes/IniSections.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    IniSections sections;
    sections.SetLines(text.split(QLatin1Char('\n')));
    for (const QString &section : sections.SectionNames()) {
        sections.KeyLines(section);
        for (const QString &key : sections.KeyNames(section))
            sections.Value(section, key, QString());
    }
    const QStringList written = sections.Lines();
    IniSections reread;
    reread.SetLines(written);
    if (reread.Lines() != written)
        std::abort();
    return 0;
}
