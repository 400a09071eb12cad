// The document outline of the PDF export: the report's outline items on
// exported pages, as a tree of outline objects numbered in pre-order.

#include "export/pdf/qvxExportPDF.h"

#include "report/model/qvxCustomOutline.h"

#include <cmath>

namespace {

// One outline object; links are indexes into the node list, -1 for none.
struct TqvxPDFOutlineNode {
    int Page = -1; // index among the exported pages
    int Top = 0; // pixels
    int Descendants = 0;
    int Children = 0;
    QString Title;
    int First = -1;
    int Last = -1;
    int Next = -1;
    int Prev = -1;
    int Parent = -1;
};

class TqvxPDFOutlineBuilder
{
public:
    TqvxPDFOutlineBuilder(TqvxCustomOutline *outline, const std::function<int(int)> &pageIndex)
        : m_outline(outline), m_pageIndex(pageIndex)
    {
        m_nodes.push_back(TqvxPDFOutlineNode());
        m_outline->LevelRoot();
        build(0);
    }

    // In pre-order, the root first.
    const std::vector<TqvxPDFOutlineNode> &Nodes() const { return m_nodes; }

private:
    void build(int parent)
    {
        const int count = m_outline->Count();
        int previous = -1;
        for (int i = 0; i < count; ++i) {
            QString text;
            int page = 0;
            int top = 0;
            m_outline->GetItem(i, text, page, top);
            const int destination = m_pageIndex(page);
            if (destination < 0)
                continue;
            const int index = int(m_nodes.size());
            TqvxPDFOutlineNode node;
            node.Title = text;
            node.Page = destination;
            node.Top = top;
            node.Parent = parent;
            node.Prev = previous;
            m_nodes.push_back(node);
            if (previous >= 0)
                m_nodes[size_t(previous)].Next = index;
            else
                m_nodes[size_t(parent)].First = index;
            previous = index;

            m_outline->LevelDown(i);
            build(index);
            m_outline->LevelUp();
            m_nodes[size_t(parent)].Children += 1;
            m_nodes[size_t(parent)].Descendants += m_nodes[size_t(index)].Descendants + 1;
        }
        m_nodes[size_t(parent)].Last = previous;
    }

    TqvxCustomOutline *m_outline;
    std::function<int(int)> m_pageIndex;
    std::vector<TqvxPDFOutlineNode> m_nodes;
};

} // namespace

int TqvxPDFExport::WriteOutlines()
{
    if (!m_outlineSource)
        return 0;
    const int written = int(m_pageObjects.size());
    const TqvxPDFOutlineBuilder builder(m_outlineSource, [this, written](int page) {
        const int index = ExportedPageIndex(page);
        return index < written ? index : -1;
    });
    const std::vector<TqvxPDFOutlineNode> &nodes = builder.Nodes();
    if (nodes.size() == 1)
        return 0;
    const int base = int(m_xref.size()) + 1;
    auto ref = [base](int index) { return ObjNumberRef(base + index); };

    const TqvxPDFOutlineNode &root = nodes.front();
    UpdateXRef();
    WriteLn(m_output, ObjNumber(base));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Type /Outlines");
    WriteLn(m_output, "/Count " + QByteArray::number(root.Children));
    WriteLn(m_output, "/First " + ref(root.First));
    WriteLn(m_output, "/Last " + ref(root.Last));
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");

    for (size_t i = 1; i < nodes.size(); ++i) {
        const TqvxPDFOutlineNode &node = nodes[i];
        const int number = UpdateXRef();
        WriteLn(m_output, ObjNumber(number));
        WriteLn(m_output, "<<");
        WriteLn(m_output, "/Title " + PdfString(node.Title, number));
        WriteLn(m_output, "/Parent " + ref(node.Parent));
        if (node.Prev >= 0)
            WriteLn(m_output, "/Prev " + ref(node.Prev));
        if (node.Next >= 0)
            WriteLn(m_output, "/Next " + ref(node.Next));
        if (node.Children > 0) {
            WriteLn(m_output, "/First " + ref(node.First));
            WriteLn(m_output, "/Last " + ref(node.Last));
            WriteLn(m_output, "/Count " + QByteArray::number(node.Children));
        }
        const auto y = qint64(std::nearbyint(m_pageHeights[node.Page] - node.Top * 0.75));
        WriteLn(m_output, "/Dest [" + ObjNumberRef(m_pageObjects[node.Page]) + " /XYZ 0 " + QByteArray::number(y)
                              + " 0]");
        WriteLn(m_output, ">>");
        WriteLn(m_output, "endobj");
    }
    return base;
}
