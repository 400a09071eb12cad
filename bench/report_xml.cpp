// Throughput of the report XML document and the deflate stream on data the
// size of a long prepared report.

#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxZLib.h"
#include "toolkit/classes/Streams.h"

#include <benchmark/benchmark.h>

namespace {

void buildPages(TqvxXMLDocument &document, int pages)
{
    TqvxXMLItem *root = document.Root();
    root->SetName(QStringLiteral("previewpages"));
    for (int p = 0; p < pages; ++p) {
        TqvxXMLItem *page = root->Add();
        page->SetName(QStringLiteral("page%1").arg(p));
        page->SetUnloadable(true);
        for (int i = 0; i < 50; ++i) {
            TqvxXMLItem *memo = page->Add();
            memo->SetName(QStringLiteral("TqvxMemoView"));
            memo->SetProp(QStringLiteral("l"), QString::number(i * 10));
            memo->SetProp(QStringLiteral("t"), QString::number(p));
            memo->SetProp(QStringLiteral("u"), QStringLiteral("Line %1 <of> \"text\" & more").arg(i));
        }
    }
}

void BM_XMLSaveAndLoad(benchmark::State &state)
{
    TqvxXMLDocument document;
    buildPages(document, int(state.range(0)));
    qint64 size = 0;
    for (auto _ : state) {
        TMemoryStream stream;
        document.SaveToStream(&stream);
        stream.SetPosition(0);
        TqvxXMLDocument copy;
        copy.LoadFromStream(&stream);
        benchmark::DoNotOptimize(copy.Root()->Count());
        size = stream.Size();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}
BENCHMARK(BM_XMLSaveAndLoad)->Arg(100)->Arg(1000);

void BM_XMLUnloadAndLoad(benchmark::State &state)
{
    TqvxXMLDocument document;
    buildPages(document, 200);
    for (auto _ : state) {
        for (int i = 0; i < document.Root()->Count(); ++i)
            document.UnloadItem(document.Root()->Items(i));
        for (int i = 0; i < document.Root()->Count(); ++i)
            document.LoadItem(document.Root()->Items(i));
    }
}
// Every unload appends to the swap file, so the iterations are few.
BENCHMARK(BM_XMLUnloadAndLoad)->Iterations(20);

void BM_Deflate(benchmark::State &state)
{
    QByteArray content;
    for (int i = 0; content.size() < state.range(0); ++i)
        content += QByteArray::number(i * 1.25, 'f', 2) + " 0 Td (text) Tj\n";
    TMemoryStream source;
    source.WriteBuffer(content);
    for (auto _ : state) {
        TMemoryStream dest;
        CompressStreamDeflate(&source, &dest, zcFastest);
        benchmark::DoNotOptimize(dest.Size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * content.size());
}
BENCHMARK(BM_Deflate)->Arg(1 << 20);

} // namespace
