#pragma once

// Bands: the horizontal (or vertical) strips of a report page that the
// engine prints, each holding views.
//
// TqvxBand keeps what every band has: its fill with the gaps that keep the
// fill off the band's edges, the child band printed after it, and the
// fields the engine keeps while it prints.  The band classes of the band
// class table (BandNumber) publish the flags they use; TqvxDataBand adds
// the data set, its columns and a row count.  TqvxNullBand is the engine's
// placeholder for objects that lie on no band.

#include "report/components/qvxFill.h"
#include "report/components/qvxReportComponent.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/core/Variants.h"

#include <QList>

#include <memory>

// The gaps, in pixels, between a band's edges and its fill.
class TqvxFillGap : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Right READ Right WRITE SetRight)
    Q_PROPERTY(int Bottom READ Bottom WRITE SetBottom)

public:
    int Top() const { return m_top; }
    void SetTop(int value) { m_top = value; }
    int Left() const { return m_left; }
    void SetLeft(int value) { m_left = value; }
    int Right() const { return m_right; }
    void SetRight(int value) { m_right = value; }
    int Bottom() const { return m_bottom; }
    void SetBottom(int value) { m_bottom = value; }

    void Assign(const TPersistent *source) override;

private:
    int m_top = 0;
    int m_left = 0;
    int m_right = 0;
    int m_bottom = 0;
};

class TqvxBand : public TqvxReportComponent
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(ReportTypes::TqvxRestrictions Restrictions READ Restrictions WRITE SetRestrictions)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Vertical READ Vertical WRITE SetVertical)
    Q_PROPERTY(ViewTypes::TqvxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TqvxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(TqvxFillGap *FillGap READ FillGap WRITE SetFillGap)
    Q_PROPERTY(QString OnAfterCalcHeight READ OnAfterCalcHeight WRITE SetOnAfterCalcHeight)
    Q_PROPERTY(QString OnAfterPrint READ OnAfterPrint WRITE SetOnAfterPrint)
    Q_PROPERTY(QString OnBeforePrint READ OnBeforePrint WRITE SetOnBeforePrint)

public:
    explicit TqvxBand(TComponent *owner = nullptr);
    ~TqvxBand() override;

    QString GetDescription() const override;

    // On a dot-matrix page Left snaps to whole character columns, Top and
    // Height to whole character lines.
    void SetLeft(double value) override;
    void SetTop(double value) override;
    void SetHeight(double value) override;

    bool Vertical() const { return m_vertical; }
    void SetVertical(bool value) { m_vertical = value; }

    // Setting another kind frees the fill and makes a new one of that kind
    // with its defaults; assigning a fill takes its kind and copies it.
    TqvxFillType FillType() const { return m_fill.FillType(); }
    void SetFillType(TqvxFillType value);
    TqvxCustomFill *Fill() const { return m_fill.Fill(); }
    void SetFill(const TqvxCustomFill *value) { m_fill.SetFill(value); }
    TqvxFillGap *FillGap() const { return m_fillGap.get(); }
    void SetFillGap(const TqvxFillGap *value) { m_fillGap->Assign(value); }

    QString OnAfterCalcHeight() const { return m_onAfterCalcHeight; }
    void SetOnAfterCalcHeight(const QString &value) { m_onAfterCalcHeight = value; }

    // Flags that the band classes publish as they use them.
    bool AllowSplit() const { return m_allowSplit; }
    void SetAllowSplit(bool value) { m_allowSplit = value; }
    bool KeepChild() const { return m_keepChild; }
    void SetKeepChild(bool value) { m_keepChild = value; }
    QString OutlineText() const { return m_outlineText; }
    void SetOutlineText(const QString &value) { m_outlineText = value; }
    bool PrintChildIfInvisible() const { return m_printChildIfInvisible; }
    void SetPrintChildIfInvisible(bool value) { m_printChildIfInvisible = value; }
    bool StartNewPage() const { return m_startNewPage; }
    void SetStartNewPage(bool value) { m_startNewPage = value; }
    bool Stretched() const { return m_stretched; }
    void SetStretched(bool value) { m_stretched = value; }

    // The band printed after this one.  A chain of children that comes back
    // to this band raises EqvxError with the "clCirRefNotAllow" text and
    // leaves Child as it was.  Cleared when the child is freed.
    TqvxBand *Child() const { return m_child; }
    void SetChild(TqvxBand *value);

    // The memo that paints the band's fill behind its objects, made by
    // CreateFillMemo; nullptr until then.
    TqvxMemoView *FillMemo() const { return m_fillMemo; }
    // When the fill paints anything (another kind than a brush fill, or a
    // brush with a colour, a foreground or a hatch), makes the fill memo
    // once, gives it the band's fill and the band's size less the gaps and
    // puts it first among the children, so that it prints behind them.
    // Nothing for a null band.
    void CreateFillMemo();

    // While designing, the fill over the band's rectangle; at run time a
    // band draws nothing itself.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;

    // --- Engine fields ------------------------------------------------------

    // The group headers and data bands this band leads, kept by the engine.
    QList<TqvxBand *> &Groups() { return m_groups; }
    QList<TqvxBand *> &Details() { return m_details; }
    TqvxBand *Header() const { return m_header; }
    void SetHeader(TqvxBand *value) { m_header = value; }
    TqvxBand *Footer() const { return m_footer; }
    void SetFooter(TqvxBand *value) { m_footer = value; }
    TqvxBand *Group() const { return m_group; }
    void SetGroup(TqvxBand *value) { m_group = value; }
    int LineN = 0;
    int LineThrough = 0;
    Variant LastValue;
    double MaxY = 0;
    double OutputHeight = 0;
    // Where the band's own output went: its top on that page, and the page.
    double OutputTop = 0;
    int OutputPage = 0;
    bool HostsVBands = false;
    bool Reprinting = false;
    // Set while the band's output runs over the space left on the page.
    bool Overflow = false;
    // The number of objects the band had before the engine added its own;
    // -1 while it has added none.
    int OwnObjectCount = -1;

private:
    bool m_vertical = false;
    TqvxFillSlot m_fill;
    std::unique_ptr<TqvxFillGap> m_fillGap;
    QString m_onAfterCalcHeight;
    bool m_allowSplit = false;
    bool m_keepChild = false;
    QString m_outlineText;
    bool m_printChildIfInvisible = false;
    bool m_startNewPage = false;
    bool m_stretched = false;
    TGuardedRef<TqvxBand> m_child{this};
    TGuardedRef<TqvxMemoView> m_fillMemo{this};

    QList<TqvxBand *> m_groups;
    QList<TqvxBand *> m_details;
    TGuardedRef<TqvxBand> m_header{this};
    TGuardedRef<TqvxBand> m_footer{this};
    TGuardedRef<TqvxBand> m_group{this};
};

