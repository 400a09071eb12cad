// Feeds arbitrary bytes to the script engine's XML document, the class
// scripts use to read XML files, then writes what loaded and reads it
// again.  Malformed input may raise the library's exceptions, never crash.

#include "fuzz/FuzzSupport.h"
#include "script/zqXML.h"
#include "toolkit/classes/Streams.h"

#include <cstddef>
#include <cstdint>

namespace {

void roundTrip(const QByteArray &bytes, bool indented)
{
    TInputStream input(bytes);
    TzqXMLDocument document;
    document.AutoIndent = indented;
    document.LoadFromStream(&input);
    TMemoryStream saved;
    document.SaveToStream(&saved);
    TInputStream reread(saved.Bytes());
    TzqXMLDocument copy;
    copy.LoadFromStream(&reread);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    StartCoreApplication("script_xml_fuzzer");
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (bool indented : {false, true})
        Guarded([&] { roundTrip(bytes, indented); });
    return 0;
}
