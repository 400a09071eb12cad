#include "report/components/qvxHighlight.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"

TqvxHighlight::TqvxHighlight(TCollection *collection)
    : TCollectionItem(collection),
      m_font(std::make_unique<TFont>()),
      m_frame(std::make_unique<TqvxFrame>())
{
    m_font->SetPixelsPerInch(96);
    m_font->SetName(QStringLiteral("Arial"));
    m_font->SetSize(10);
    m_font->SetColor(clRed);
    m_font->SetCharset(DEFAULT_CHARSET);
}

TqvxHighlight::~TqvxHighlight() = default;

void TqvxHighlight::Assign(const TPersistent *source)
{
    const auto *highlight = qobject_cast<const TqvxHighlight *>(source);
    if (!highlight) {
        TCollectionItem::Assign(source);
        return;
    }
    m_applyFont = highlight->m_applyFont;
    m_applyFill = highlight->m_applyFill;
    m_applyFrame = highlight->m_applyFrame;
    m_font->Assign(highlight->Font());
    m_condition = highlight->m_condition;
    m_fill.SetFill(highlight->Fill());
    m_frame->Assign(highlight->Frame());
    m_visible = highlight->m_visible;
}

TqvxHighlightCollection::TqvxHighlightCollection()
    : TCollection(CollectionItemClassOf<TqvxHighlight>())
{
}

TqvxHighlight *TqvxHighlightCollection::Items(int index) const
{
    return static_cast<TqvxHighlight *>(TCollection::Items(index));
}

void InitializeQvxHighlight()
{
    RegisterClass<TqvxHighlight>();
    DescribeProperties<TqvxHighlight>()
        .Stored("Active", [](const TObject *) { return false; })
        .Default("Active", 0)
        .Default("ApplyFont", 1)
        .Default("ApplyFill", 1)
        .Default("ApplyFrame", 0)
        .TypeName("Color", QStringLiteral("TColor"))
        .Stored("Color", [](const TObject *) { return false; })
        .Default("Color", clNone)
        .Default("FillType", ftBrush)
        .Default("Visible", 1);
}
