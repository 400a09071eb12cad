#pragma once

// The base of every object of a report: the report itself, its pages, bands,
// views and dialog controls.
//
// Objects form two trees.  The class library's ownership: the report owns
// every object under it and frees what it still owns when it is freed.  The
// report tree: each object has a Parent and an ordered list of child
// Objects; a parent frees its children.  Creating an object with another
// report object as owner places it under that object and makes the
// report its owner.
//
// Names are unique within a report without regard to case.  Geometry is in
// screen pixels (96 per inch), relative to the parent.  The font flows down
// the tree: an object with ParentFont set takes its parent's font and every
// change of the parent's font.  Objects copy themselves and are stored
// through the XML serializer (report/qvxXMLSerializer.h).

#include "report/base/qvxTypes.h"
#include "toolkit/classes/GuardedRef.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class TFont;
class TStream;
class TWideStrings;
class TqvxReportContext;
class TqvxReportLink;
class TqvxXMLItem;

class TqvxComponent : public TComponent
{
    Q_OBJECT

public:
    // With a report object as owner, the new object's class-library owner
    // is that object's report and its parent is that object; with any other
    // owner, it has that owner and no parent.  The placement under the
    // parent is done here without virtual dispatch; descendants that must
    // react to it do so in AfterConstruction.
    explicit TqvxComponent(TComponent *owner = nullptr);
    // Frees every child.
    ~TqvxComponent() override;
    // Leaves the parent, then the owner.
    void BeforeDestruction() override;

    // The palette group a class is registered in when its registration
    // names none (see TqvxObjectCollection::RegisterObject); data sets and
    // dialog classes declare their own.
    static constexpr TqvxObjectKind PaletteKind = okReport;

    // What the object is (see TqvxComponentKind); set by the constructors.
    TqvxComponentKinds Kinds() const { return m_kinds; }
    bool IsKind(TqvxComponentKind kind) const { return m_kinds.testFlag(kind); }

    // A view's Align, by which its container places it; baNone elsewhere.
    virtual TqvxAlign ViewAlign() const { return baNone; }
    // The text a memo view keeps, written as its Text attribute; nullptr
    // for objects that are no memo.
    virtual TWideStrings *MemoText() const { return nullptr; }
    // True when the object sets its own width (a memo with AutoWidth), so
    // differences leave the width out.
    virtual bool SizesOwnWidth() const { return false; }

    // The designer's way to make an object: constructed, then marked
    // IsDesigning (which enables the Restrictions checks) by DesignCreate.
    template <class T>
    static T *DesignCreateObject(TComponent *owner, int flags = 0)
    {
        T *object = NewObject<T>(owner);
        object->DesignCreate(flags);
        return object;
    }
    // Descendants that place themselves differently when made by a designer
    // override it and call the inherited one.
    virtual void DesignCreate(int flags);

    // The report tree.
    TqvxComponent *Parent() const { return m_parent; }
    // Moves the object to the end of the new parent's children and makes it
    // take the parent's font again when it follows it.  Raises
    // EInvalidOperation when the new parent is the object or lies below it.
    virtual void SetParent(TqvxComponent *value);
    // Moves the object to the first place among its parent's children, so
    // that it is drawn and printed behind them.
    void MoveToFront();
    const QList<TqvxComponent *> &Objects() const { return m_objects; }
    // Every descendant, depth first, each before its own children, as
    // they are at the time of the call.
    QList<TqvxComponent *> GetAllObjects() const;
    // The descendant of that name without regard to case, or nullptr;
    // within a report it is found through the report's name index.
    TqvxComponent *FindObject(const QString &name);

    // This object or the nearest one up the Parent chain that is a page
    // (report); nullptr when there is none.
    TqvxComponent *GetPage() const;
    // The report is found once and kept until this object or one above it
    // changes parent.
    TqvxComponent *GetReport() const;
    // Whether this object is a report (a TqvxReportLink).
    bool IsReport() const;
    TqvxReportLink *ReportLink() const;
    // The report as the context its objects ask (see qvxReportContextOf).
    TqvxReportContext *ReportContext() const;

    // Renaming to the same name in other letter case does nothing.  Within
    // a report, a name another object has raises EComponentError with the
    // "prDupl" text, and renaming an object that comes from an ancestor
    // report raises EComponentError with the "clCantRen" text.
    void SetName(const QString &name) override;
    // Names the object BaseName followed by the smallest number N >= 1 that
    // no object of its report (or its parent's subtree without a report)
    // uses.
    void CreateUniqueName();
    // The prefix of generated names: the class name without its first
    // "Tqvx" and then its first "View" ("TqvxMemoView" gives "Memo"),
    // unless set otherwise.
    QString BaseName() const;
    void SetBaseName(const QString &value) { m_baseName = value; }

    // Geometry.  While IsDesigning, rfDontMove keeps Left and Top and
    // rfDontSize keeps Width and Height.  Values are clamped to
    // ±MaxCoordinate pixels (NaN becomes 0), so that what reads them (the
    // engine, exports converting to integers) never meets an absurd value.
    static constexpr double MaxCoordinate = 1e6;
    static double ClampCoordinate(double value);
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    virtual void SetLeft(double value);
    virtual void SetTop(double value);
    virtual void SetWidth(double value);
    virtual void SetHeight(double value);
    void SetBounds(double left, double top, double width, double height);
    // The position on the page: the sum of this object's value and those of
    // its parents, up to (not including) a dialog page.
    double GetAbsLeft() const;
    double GetAbsTop() const;

    TqvxRestrictions Restrictions() const { return m_restrictions; }
    void SetRestrictions(TqvxRestrictions value) { m_restrictions = value; }
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value) { m_groupIndex = value; }
    QString Description() const { return m_description; }
    void SetDescription(const QString &value) { m_description = value; }

    // The font: Arial 10 at creation.  Setting it clears ParentFont; setting
    // ParentFont takes the parent's font.  A change of the font reaches
    // every child that follows its parent's font.
    TFont *Font() const { return m_font; }
    virtual void SetFont(const TFont *value);
    bool ParentFont() const { return m_parentFont; }
    virtual void SetParentFont(bool value);
    // The stored condition of a published Font: only a font of its own is
    // written, so the link to the parent's font survives a reload.
    bool IsFontStored() const { return !m_parentFont; }

    // State.
    bool IsDesigning() const { return m_isDesigning; }
    bool IsLoading() const { return m_isLoading; }
    void SetIsLoading(bool value) { m_isLoading = value; }
    bool IsWriting() const { return m_isWriting; }
    void SetIsWriting(bool value) { m_isWriting = value; }
    // Comes from an ancestor report (set by the report loader).
    bool IsInherited() const { return m_isInherited; }
    void SetIsInherited(bool value) { m_isInherited = value; }
    // The class-library ancestor state or IsInherited.
    bool IsAncestor() const;
    // Being drawn on a printer canvas.
    bool IsPrinting() const { return m_isPrinting; }
    void SetIsPrinting(bool value) { m_isPrinting = value; }
    // Set by the engine while it copies objects: loading then keeps the
    // children, and saving writes differences from the template object.
    bool IsEngineCopy() const { return m_isEngineCopy; }
    void SetIsEngineCopy(bool value) { m_isEngineCopy = value; }
    // TqvxComponentStyleFlag values; csoCopy after construction.
    quint8 StyleFlags() const { return m_styleFlags; }
    void SetStyleFlags(quint8 value) { m_styleFlags = value; }
    bool HasNestedData() const { return m_styleFlags & csoNestedData; }

    // The name of the template object in the prepared pages' dictionary.
    QString DictionaryName() const { return m_dictionaryName; }
    void SetDictionaryName(const QString &value) { m_dictionaryName = value; }
    // The template object of a copy, or the copy of a template object;
    // cleared when that object is freed.
    TqvxComponent *LinkedObject() const { return m_linkedObject; }
    void SetLinkedObject(TqvxComponent *value) { m_linkedObject = value; }

    // The class's display name (its resource key in descendants).
    virtual QString GetDescription() const;

    // Places the child views by their Align values.
    virtual void AlignChildren();

    // Frees every child except those from an ancestor report, which are
    // only cleared themselves.  A child freed here may free others; the
    // list is read afresh at each step.
    virtual void Clear();
    // Reads the object (and its children) from a report file.  Unless the
    // object is an engine copy, it is cleared first.  Errors met while
    // reading go into the report's error list; malformed XML raises.
    virtual void LoadFromStream(TStream *stream);
    virtual void SaveToStream(TStream *stream, bool saveChildren = true, bool saveDefaultValues = false,
                              bool keepClassNames = false);
    // From another report object: its own properties, through a stream;
    // the children are not copied (and this object's are cleared).
    void Assign(const TPersistent *source) override;
    // The same with the whole subtree.
    void AssignAll(const TqvxComponent *source, bool keepClassNames = false);

    // The object difference text against source (see InternalDiff).
    virtual QString Diff(const TqvxComponent *source);
    // The attributes in which this object differs from source, each as
    // ` name="value"`: l, t (always for a band), w (not for a memo that
    // sizes its width itself), h, Visible, the font when it is not the
    // parent's, ParentFont and Tag.  Numbers differ by more than 0.0001.
    QString InternalDiff(const TqvxComponent *source);
    // The serializer's attribute text of the object, then, with a source,
    // a blank and InternalDiff(source).
    QString AllDiff(const TqvxComponent *source);

    // Nested XML elements of objects with the csoNestedData flag; written
    // before the children.  ReadNestedProperty answers whether it took the
    // element.
    virtual void WriteNestedProperties(TqvxXMLItem *item);
    virtual bool ReadNestedProperty(TqvxXMLItem *item);

    void GetChildren(const std::function<void(TComponent *)> &proc, TComponent *root) override;

protected:
    // Adds a kind; constructors call it.
    void AddKind(TqvxComponentKind kind) { m_kinds |= kind; }

    // The font's change notification.
    virtual void FontChanged();

private:
    static TComponent *classOwnerFor(TComponent *owner);
    using NameIndex = QHash<QString, TqvxComponent *>;

    void attachTo(TqvxComponent *parent);
    void leaveParent();
    // Drops the report kept by this object and every object below it.
    void forgetReport();
    // The index of the report this object belongs to (or is) of the objects
    // below it by case-folded name, kept up to date on renaming, attaching
    // and detaching; built on first use when build is set.  nullptr outside
    // a report and while the report is being destroyed.
    NameIndex *nameIndex(bool build) const;
    void indexSubtree(NameIndex &index);
    void unindexSubtree(NameIndex &index);
    bool isBelow(const TqvxComponent *ancestor) const;
    void collectDescendants(QList<TqvxComponent *> &list) const;
    bool restricted(TqvxRestriction restriction) const;

    TFont *m_font;
    TqvxComponentKinds m_kinds;
    QList<TqvxComponent *> m_objects;
    TqvxComponent *m_parent = nullptr;
    // The report found up the Parent chain and its context; nullptr until
    // one is found.
    mutable TqvxComponent *m_report = nullptr;
    mutable TqvxReportContext *m_reportContext = nullptr;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    bool m_parentFont = true;
    int m_groupIndex = 0;
    bool m_isDesigning = false;
    bool m_isLoading = false;
    bool m_isWriting = false;
    bool m_isInherited = false;
    bool m_isPrinting = false;
    bool m_isEngineCopy = false;
    TqvxRestrictions m_restrictions;
    bool m_visible = true;
    QString m_description;
    quint8 m_styleFlags = csoCopy;
    QString m_baseName;
    QString m_dictionaryName;
    TGuardedRef<TqvxComponent> m_linkedObject{this};
    std::unique_ptr<NameIndex> m_nameIndex;
};

// Declares what the report component base publishes.
void InitializeQvxComponent();
