#pragma once

// The header of a grid: a tree of sections above the columns.
//
// Leaf sections stand over columns, numbered left to right; a section with
// subsections spans them and is as wide as they are together.  A
// synchronised header keeps one leaf per column, with the column's width.
// The header is (depth + 1) x SectionHeight high.

#include "controls/TGridAppearance.h"
#include "controls/TGridCollection.h"
#include "toolkit/widgets/ControlTypes.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/graphics/Rects.h"

#include <memory>

class TCustomGridHeader;
class TGridHeaderSections;

class TGridHeaderSection : public TGridCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(TGridHeaderSections *Sections READ Sections WRITE SetSections)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    static constexpr int DefaultWidth = 64;

    explicit TGridHeaderSection(TCollection *collection = nullptr);
    ~TGridHeaderSection() override;

    TGridHeaderSections *OwnerSections() const;
    TCustomGridHeader *Header() const;
    // The section this one is a subsection of; nullptr at the top.
    TGridHeaderSection *ParentSection() const;
    // 0 at the top, one more per parent.
    int Level() const;

    // Created on first read.
    TGridHeaderSections *Sections();
    void SetSections(const TGridHeaderSections *value);
    bool HasSections() const;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value) { update(m_caption, value); }
    // A leaf over a column is as wide as the column; a parent as its
    // subsections together.
    int Width() const;
    void SetWidth(int value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value) { update(m_alignment, value); }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value) { update(m_wordWrap, value); }

    // What a form file keeps: the subsections when there are any, the
    // width of a leaf when it is not 64.
    bool IsSectionsStored() const { return HasSections(); }
    bool IsWidthStored() const;

    // The column under a leaf; a parent's is its last visible subsection's.
    int ColumnIndex() const;
    // A parent is visible with any visible subsection, a leaf with its
    // column; a leaf beyond the columns always.
    bool Visible() const;
    // Whether the section may be pressed (its column's AllowClick).
    bool AllowClick() const;
    // The section's rectangle in the client area, scrolled with the
    // columns unless it stands over fixed columns.
    TRect BoundsRect() const;
    // The leftmost leaf of the section's subtree (the section itself for a
    // leaf).
    const TGridHeaderSection *FirstLeaf() const;

    void Assign(const TPersistent *source) override;

private:
    friend class TCustomGridHeader;

    bool overColumn() const;

    std::unique_ptr<TGridHeaderSections> m_sections;
    QString m_caption;
    int m_width = DefaultWidth;
    TAlignment m_alignment = taLeftJustify;
    bool m_wordWrap = false;
    int m_columnIndex = 0;
    TRect m_bounds;
};

class TGridHeaderSections : public TGridCollection
{
    Q_OBJECT

public:
    TGridHeaderSections(TCustomGridHeader *header, TGridHeaderSection *ownerSection);

    TCustomGridHeader *Header() const { return m_header; }
    TGridHeaderSection *OwnerSection() const { return m_ownerSection; }
    TGridHeaderSection *Sections(int index) const { return static_cast<TGridHeaderSection *>(Items(index)); }
    TGridHeaderSection *operator[](int index) const { return Sections(index); }
    // Through the grid's section factory when there is a grid.
    TGridHeaderSection *Add();

private:
    TCustomGridHeader *m_header;
    TGridHeaderSection *m_ownerSection;
};

// The automatic section height: the text height + 4 or the image height
// + 2 (-1: no images), whichever is larger, plus one pixel for a frame not
// in the grid colour and one for a raised look.
int AutoSectionHeight(int textHeight, int imageHeight, bool gridColor, bool flat);

class TCustomGridHeader : public TGridAppearance
{
    Q_OBJECT

public:
    explicit TCustomGridHeader(TCustomGridView *grid);
    ~TCustomGridHeader() override;

    TGridHeaderSections *Sections() const { return m_sections.get(); }
    // Assigning sections ends synchronisation.
    void SetSections(const TGridHeaderSections *value);

    int SectionHeight() const { return m_sectionHeight; }
    void SetSectionHeight(int value);
    bool AutoHeight() const { return m_autoHeight; }
    void SetAutoHeight(bool value);
    bool Synchronized() const { return m_synchronized; }
    void SetSynchronized(bool value);
    bool AutoSynchronize() const { return m_autoSynchronize; }
    void SetAutoSynchronize(bool value);
    bool FullSynchronizing() const { return m_fullSynchronizing; }
    void SetFullSynchronizing(bool value);
    TImageList *Images() const { return m_images; }
    void SetImages(TImageList *value);
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);

    // What a form file keeps: the colour and font unless they follow the
    // grid's, the sections unless they are the synchronised one per column.
    bool IsColorStored() const { return !GridColor(); }
    bool IsFontStored() const { return !GridFont(); }
    bool IsSectionsStored() const { return MaxLevel() > 0 || m_fullSynchronizing || !m_synchronized; }

    // The deepest section level.
    int MaxLevel() const;
    int Height() const { return (MaxLevel() + 1) * m_sectionHeight; }

    // One leaf section per column, each as wide as its column.
    void SynchronizeSections();
    // Numbers the leaves and lays the sections out.
    virtual void UpdateSections();

    void Assign(const TPersistent *source) override;

protected:
    void AppearanceChanged() override;

private:
    friend class TGridHeaderSection;
    friend class TGridHeaderSections;

    bool gridReady() const;
    void sectionsChanged();

    std::unique_ptr<TGridHeaderSections> m_sections;
    int m_sectionHeight = 17;
    bool m_autoHeight = false;
    bool m_synchronized = true;
    bool m_autoSynchronize = true;
    bool m_fullSynchronizing = false;
    TImageList *m_images = nullptr;
    bool m_flat = true;
    bool m_synchronizing = false;
};

class TGridHeader : public TCustomGridHeader
{
    Q_OBJECT
    Q_PROPERTY(TGridHeaderSections *Sections READ Sections WRITE SetSections)
    Q_PROPERTY(int SectionHeight READ SectionHeight WRITE SetSectionHeight)
    Q_PROPERTY(bool AutoHeight READ AutoHeight WRITE SetAutoHeight)
    Q_PROPERTY(bool Synchronized READ Synchronized WRITE SetSynchronized)
    Q_PROPERTY(bool AutoSynchronize READ AutoSynchronize WRITE SetAutoSynchronize)
    Q_PROPERTY(bool FullSynchronizing READ FullSynchronizing WRITE SetFullSynchronizing)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool GridFont READ GridFont WRITE SetGridFont)
    Q_PROPERTY(TImageList *Images READ Images WRITE SetImages)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)

public:
    using TCustomGridHeader::TCustomGridHeader;
};
