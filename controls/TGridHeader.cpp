#include "controls/TGridHeader.h"

#include "controls/ExtGraphics.h"
#include "controls/TCustomGridView.h"
#include "toolkit/graphics/ImageList.h"

#include <algorithm>
#include <functional>

namespace {

using SectionVisitor = std::function<void(TGridHeaderSection *)>;

// Calls visit for every section of the tree, parents before their children.
void forEachSection(TGridHeaderSections *sections, const SectionVisitor &visit)
{
    for (int i = 0; i < sections->Count(); ++i) {
        TGridHeaderSection *section = sections->Sections(i);
        visit(section);
        if (section->HasSections())
            forEachSection(section->Sections(), visit);
    }
}

TGridColumns *columnsOf(const TCustomGridHeader *header)
{
    return header && header->Grid() ? header->Grid()->Columns() : nullptr;
}

} // namespace

// --- TGridHeaderSection -------------------------------------------------------

TGridHeaderSection::TGridHeaderSection(TCollection *collection) : TGridCollectionItem(collection) {}

TGridHeaderSection::~TGridHeaderSection() = default;

TGridHeaderSections *TGridHeaderSection::OwnerSections() const
{
    return qobject_cast<TGridHeaderSections *>(Collection());
}

TCustomGridHeader *TGridHeaderSection::Header() const
{
    TGridHeaderSections *sections = OwnerSections();
    return sections ? sections->Header() : nullptr;
}

TGridHeaderSection *TGridHeaderSection::ParentSection() const
{
    TGridHeaderSections *sections = OwnerSections();
    return sections ? sections->OwnerSection() : nullptr;
}

int TGridHeaderSection::Level() const
{
    const TGridHeaderSection *parent = ParentSection();
    return parent ? parent->Level() + 1 : 0;
}

TGridHeaderSections *TGridHeaderSection::Sections()
{
    if (!m_sections)
        m_sections = std::make_unique<TGridHeaderSections>(Header(), this);
    return m_sections.get();
}

void TGridHeaderSection::SetSections(const TGridHeaderSections *value)
{
    Sections()->Assign(value);
}

bool TGridHeaderSection::HasSections() const
{
    return m_sections && m_sections->Count() > 0;
}

bool TGridHeaderSection::overColumn() const
{
    const TGridColumns *columns = columnsOf(Header());
    return columns && !HasSections() && m_columnIndex >= 0 && m_columnIndex < columns->Count();
}

bool TGridHeaderSection::IsWidthStored() const
{
    return !HasSections() && m_width != DefaultWidth;
}

int TGridHeaderSection::Width() const
{
    if (HasSections()) {
        int width = 0;
        for (int i = 0; i < m_sections->Count(); ++i)
            width += m_sections->Sections(i)->Width();
        return width;
    }
    if (overColumn())
        return columnsOf(Header())->Columns(m_columnIndex)->Width();
    return m_width;
}

void TGridHeaderSection::SetWidth(int value)
{
    if (value < 0)
        return;
    const TGridColumns *columns = columnsOf(Header());
    const int columnCount = columns ? columns->Count() : 0;
    if (HasSections() && ColumnIndex() >= columnCount) {
        TGridHeaderSection *last = m_sections->Sections(m_sections->Count() - 1);
        last->SetWidth(last->Width() + value - Width());
        return;
    }
    if (value == m_width)
        return;
    m_width = value;
    Changed();
}

int TGridHeaderSection::ColumnIndex() const
{
    if (!HasSections())
        return m_columnIndex;
    for (int i = m_sections->Count() - 1; i >= 0; --i)
        if (m_sections->Sections(i)->Visible())
            return m_sections->Sections(i)->ColumnIndex();
    return m_sections->Sections(m_sections->Count() - 1)->ColumnIndex();
}

bool TGridHeaderSection::Visible() const
{
    if (HasSections()) {
        for (int i = 0; i < m_sections->Count(); ++i)
            if (m_sections->Sections(i)->Visible())
                return true;
        return false;
    }
    return !overColumn() || columnsOf(Header())->Columns(m_columnIndex)->Visible();
}

bool TGridHeaderSection::AllowClick() const
{
    const TGridColumns *columns = columnsOf(Header());
    const int index = ColumnIndex();
    return columns && index >= 0 && index < columns->Count() && columns->Columns(index)->AllowClick();
}

const TGridHeaderSection *TGridHeaderSection::FirstLeaf() const
{
    const TGridHeaderSection *section = this;
    while (section->HasSections())
        section = section->m_sections->Sections(0);
    return section;
}

TRect TGridHeaderSection::BoundsRect() const
{
    const TCustomGridHeader *header = Header();
    if (!header || !header->Grid())
        return m_bounds;
    const TCustomGridView *grid = header->Grid();
    if (FirstLeaf()->m_columnIndex < grid->Fixed()->Count())
        return m_bounds;
    return m_bounds.Offset(grid->GridOrigin().X, 0);
}

void TGridHeaderSection::Assign(const TPersistent *source)
{
    const auto *other = qobject_cast<const TGridHeaderSection *>(source);
    if (!other) {
        TGridCollectionItem::Assign(source);
        return;
    }
    m_caption = other->m_caption;
    m_width = other->m_width;
    m_alignment = other->m_alignment;
    m_wordWrap = other->m_wordWrap;
    if (other->HasSections())
        Sections()->Assign(other->m_sections.get());
    else if (m_sections)
        m_sections->Clear();
    Changed();
}

// --- TGridHeaderSections ------------------------------------------------------

TGridHeaderSections::TGridHeaderSections(TCustomGridHeader *header, TGridHeaderSection *ownerSection)
    : TGridCollection(CollectionItemClassOf<TGridHeaderSection>(), header), m_header(header),
      m_ownerSection(ownerSection)
{
    if (m_header)
        OnChange = [this](TObject *) { m_header->sectionsChanged(); };
}

TGridHeaderSection *TGridHeaderSections::Add()
{
    if (m_header && m_header->Grid())
        return m_header->Grid()->CreateHeaderSection(this);
    return static_cast<TGridHeaderSection *>(TCollection::Add());
}

// --- TCustomGridHeader --------------------------------------------------------

int AutoSectionHeight(int textHeight, int imageHeight, bool gridColor, bool flat)
{
    int height = std::max(0, textHeight + 4);
    if (imageHeight >= 0)
        height = std::max(height, imageHeight + 2);
    if (!gridColor)
        ++height;
    if (!flat)
        ++height;
    return height;
}

TCustomGridHeader::TCustomGridHeader(TCustomGridView *grid)
    : TGridAppearance(grid), m_sections(std::make_unique<TGridHeaderSections>(this, nullptr))
{
}

TCustomGridHeader::~TCustomGridHeader()
{
    OnChange = nullptr;
    m_sections->OnChange = nullptr;
}

bool TCustomGridHeader::gridReady() const
{
    return Grid() && !(Grid()->ComponentState() & csLoading);
}

void TCustomGridHeader::sectionsChanged()
{
    if (m_synchronizing)
        return;
    UpdateSections();
    Change();
}

void TCustomGridHeader::SetSections(const TGridHeaderSections *value)
{
    m_sections->Assign(value);
    SetSynchronized(false);
}

void TCustomGridHeader::SetSectionHeight(int value)
{
    if (m_autoHeight)
        value = AutoSectionHeight(GetFontHeight(Font()), m_images ? m_images->Height() : -1, GridColor(), m_flat);
    value = std::max(0, value);
    if (value == m_sectionHeight)
        return;
    m_sectionHeight = value;
    UpdateSections();
    Change();
}

void TCustomGridHeader::SetAutoHeight(bool value)
{
    if (value == m_autoHeight)
        return;
    m_autoHeight = value;
    SetSectionHeight(m_sectionHeight);
}

void TCustomGridHeader::SetSynchronized(bool value)
{
    if (!value && !m_autoSynchronize) {
        m_synchronized = false;
        return;
    }
    m_synchronized = true;
    SynchronizeSections();
}

void TCustomGridHeader::SetAutoSynchronize(bool value)
{
    m_autoSynchronize = value;
    if (value)
        SetSynchronized(true);
}

void TCustomGridHeader::SetFullSynchronizing(bool value)
{
    m_fullSynchronizing = value;
    if (value)
        SetSynchronized(false);
}

void TCustomGridHeader::SetImages(TImageList *value)
{
    if (value == m_images)
        return;
    m_images = value;
    // The grid clears the images when the list is freed.
    if (value && Grid())
        Grid()->FreeNotification(value);
    SetSectionHeight(m_sectionHeight);
    Change();
}

void TCustomGridHeader::SetFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    if (value && Grid())
        Grid()->Fixed()->SetFlat(true);
    SetSectionHeight(m_sectionHeight);
    Change();
}

void TCustomGridHeader::AppearanceChanged()
{
    SetSectionHeight(m_sectionHeight);
    Change();
}

int TCustomGridHeader::MaxLevel() const
{
    int level = 0;
    forEachSection(m_sections.get(), [&](TGridHeaderSection *s) { level = std::max(level, s->Level()); });
    return level;
}

void TCustomGridHeader::UpdateSections()
{
    if (Grid() && (Grid()->ComponentState() & csLoading))
        return;

    int leaf = 0;
    std::function<void(TGridHeaderSections *)> number = [&](TGridHeaderSections *sections) {
        for (int i = 0; i < sections->Count(); ++i) {
            TGridHeaderSection *s = sections->Sections(i);
            if (s->HasSections()) {
                number(s->Sections());
                s->m_columnIndex = s->Sections()->Sections(s->Sections()->Count() - 1)->m_columnIndex;
            } else {
                s->m_columnIndex = leaf++;
            }
        }
    };
    number(m_sections.get());

    const int bottom = Height();
    std::function<void(TGridHeaderSections *, int, int)> layout = [&](TGridHeaderSections *sections, int left,
                                                                      int top) {
        for (int i = 0; i < sections->Count(); ++i) {
            TGridHeaderSection *s = sections->Sections(i);
            const int width = s->Width();
            if (s->HasSections()) {
                s->m_bounds = Rect(left, top, left + width, top + m_sectionHeight);
                layout(s->Sections(), left, top + m_sectionHeight);
            } else {
                s->m_bounds = Rect(left, top, left + width, bottom);
            }
            left += width;
        }
    };
    const TRect client = Grid() ? Grid()->ClientRect() : TRect();
    layout(m_sections.get(), client.Left, client.Top);
}

void TCustomGridHeader::SynchronizeSections()
{
    UpdateSections();
    if (!gridReady() || Grid()->Columns()->Count() == 0)
        return;
    TGridColumns *columns = Grid()->Columns();
    m_synchronizing = true;
    m_sections->BeginUpdate();
    if (m_sections->Count() == 0) {
        for (int i = 0; i < columns->Count(); ++i) {
            TGridHeaderSection *s = m_sections->Add();
            s->m_width = columns->Columns(i)->Width();
            s->m_caption = columns->Columns(i)->Caption();
            s->m_alignment = columns->Columns(i)->Alignment();
        }
    } else {
        const int last = m_sections->Sections(m_sections->Count() - 1)->ColumnIndex();
        if (columns->Count() > last + 1) {
            for (int i = last + 1; i < columns->Count(); ++i)
                m_sections->Add()->m_width = columns->Columns(i)->Width();
        } else if (columns->Count() < last + 1) {
            const int lastColumn = columns->Count() - 1;
            std::function<void(TGridHeaderSections *)> prune = [&](TGridHeaderSections *sections) {
                for (int i = sections->Count() - 1; i >= 0; --i) {
                    TGridHeaderSection *s = sections->Sections(i);
                    if (s->HasSections())
                        prune(s->Sections());
                    else if (s->m_columnIndex > lastColumn)
                        delete s;
                }
            };
            prune(m_sections.get());
        }
        UpdateSections();
        forEachSection(m_sections.get(), [&](TGridHeaderSection *s) {
            if (s->HasSections() || s->m_columnIndex >= columns->Count())
                return;
            const TCustomGridColumn *column = columns->Columns(s->m_columnIndex);
            s->m_width = column->Width();
            if (m_fullSynchronizing) {
                s->m_caption = column->Caption();
                s->m_alignment = column->Alignment();
            }
        });
    }
    m_sections->EndUpdate();
    m_synchronizing = false;
    UpdateSections();
    Change();
}

void TCustomGridHeader::Assign(const TPersistent *source)
{
    const auto *other = qobject_cast<const TCustomGridHeader *>(source);
    if (!other) {
        TGridAppearance::Assign(source);
        return;
    }
    m_sections->Assign(other->m_sections.get());
    m_autoHeight = other->m_autoHeight;
    m_sectionHeight = other->m_sectionHeight;
    m_synchronized = other->m_synchronized;
    m_autoSynchronize = other->m_autoSynchronize;
    m_fullSynchronizing = other->m_fullSynchronizing;
    m_images = other->m_images;
    m_flat = other->m_flat;
    assignFrom(other);
}
