#pragma once

// The band classes of the band class table, whose order numbers the bands
// for the engine (BandNumber), and the null band.

#include "report/pages/qvxDataBand.h"

// Printed once at the start of the report.
class TqvxReportTitle : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool StartNewPage READ StartNewPage WRITE SetStartNewPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxReportTitle(TComponent *owner = nullptr) : TqvxBand(owner) {}
};

// Printed once at the end of the report.
class TqvxReportSummary : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool StartNewPage READ StartNewPage WRITE SetStartNewPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxReportSummary(TComponent *owner = nullptr) : TqvxBand(owner) {}
};

// Printed at the top of each page.
class TqvxPageHeader : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool PrintOnFirstPage READ PrintOnFirstPage WRITE SetPrintOnFirstPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxPageHeader(TComponent *owner = nullptr) : TqvxBand(owner) {}
    bool PrintOnFirstPage() const { return m_printOnFirstPage; }
    void SetPrintOnFirstPage(bool value) { m_printOnFirstPage = value; }

private:
    bool m_printOnFirstPage = true;
};

// Printed at the bottom of each page.
class TqvxPageFooter : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool PrintOnFirstPage READ PrintOnFirstPage WRITE SetPrintOnFirstPage)
    Q_PROPERTY(bool PrintOnLastPage READ PrintOnLastPage WRITE SetPrintOnLastPage)

public:
    explicit TqvxPageFooter(TComponent *owner = nullptr) : TqvxBand(owner) {}
    bool PrintOnFirstPage() const { return m_printOnFirstPage; }
    void SetPrintOnFirstPage(bool value) { m_printOnFirstPage = value; }
    bool PrintOnLastPage() const { return m_printOnLastPage; }
    void SetPrintOnLastPage(bool value) { m_printOnLastPage = value; }

private:
    bool m_printOnFirstPage = true;
    bool m_printOnLastPage = true;
};

// Printed above the rows of a data band.
class TqvxHeader : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool ReprintOnNewPage READ ReprintOnNewPage WRITE SetReprintOnNewPage)
    Q_PROPERTY(bool StartNewPage READ StartNewPage WRITE SetStartNewPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxHeader(TComponent *owner = nullptr) : TqvxBand(owner) {}
    bool ReprintOnNewPage() const { return m_reprintOnNewPage; }
    void SetReprintOnNewPage(bool value) { m_reprintOnNewPage = value; }

private:
    bool m_reprintOnNewPage = false;
};

// Printed below the rows of a data band.
class TqvxFooter : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxFooter(TComponent *owner = nullptr) : TqvxBand(owner) {}
};

// The data bands of the six levels.
class TqvxMasterData : public TqvxDataBand
{
    Q_OBJECT

public:
    explicit TqvxMasterData(TComponent *owner = nullptr) : TqvxDataBand(owner) {}
};

class TqvxDetailData : public TqvxDataBand
{
    Q_OBJECT

public:
    explicit TqvxDetailData(TComponent *owner = nullptr) : TqvxDataBand(owner) {}
};

class TqvxSubdetailData : public TqvxDataBand
{
    Q_OBJECT

public:
    explicit TqvxSubdetailData(TComponent *owner = nullptr) : TqvxDataBand(owner) {}
};

class TqvxDataBand4 : public TqvxDataBand
{
    Q_OBJECT

public:
    explicit TqvxDataBand4(TComponent *owner = nullptr) : TqvxDataBand(owner) {}
};

class TqvxDataBand5 : public TqvxDataBand
{
    Q_OBJECT

public:
    explicit TqvxDataBand5(TComponent *owner = nullptr) : TqvxDataBand(owner) {}
};

class TqvxDataBand6 : public TqvxDataBand
{
    Q_OBJECT

public:
    explicit TqvxDataBand6(TComponent *owner = nullptr) : TqvxDataBand(owner) {}
};

// Starts a group: printed whenever Condition changes its value.
class TqvxGroupHeader : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(QString Condition READ Condition WRITE SetCondition)
    Q_PROPERTY(bool DrillDown READ DrillDown WRITE SetDrillDown)
    Q_PROPERTY(QString DrillName READ DrillName WRITE SetDrillName)
    Q_PROPERTY(bool ExpandDrillDown READ ExpandDrillDown WRITE SetExpandDrillDown)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool KeepTogether READ KeepTogether WRITE SetKeepTogether)
    Q_PROPERTY(QString OutlineText READ OutlineText WRITE SetOutlineText)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool ReprintOnNewPage READ ReprintOnNewPage WRITE SetReprintOnNewPage)
    Q_PROPERTY(bool ResetPageNumbers READ ResetPageNumbers WRITE SetResetPageNumbers)
    Q_PROPERTY(bool ShowChildIfDrillDown READ ShowChildIfDrillDown WRITE SetShowChildIfDrillDown)
    Q_PROPERTY(bool ShowFooterIfDrillDown READ ShowFooterIfDrillDown WRITE SetShowFooterIfDrillDown)
    Q_PROPERTY(bool StartNewPage READ StartNewPage WRITE SetStartNewPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxGroupHeader(TComponent *owner = nullptr) : TqvxBand(owner) {}
    QString Condition() const { return m_condition; }
    void SetCondition(const QString &value) { m_condition = value; }
    bool DrillDown() const { return m_drillDown; }
    void SetDrillDown(bool value) { m_drillDown = value; }
    QString DrillName() const { return m_drillName; }
    void SetDrillName(const QString &value) { m_drillName = value; }
    bool ExpandDrillDown() const { return m_expandDrillDown; }
    void SetExpandDrillDown(bool value) { m_expandDrillDown = value; }
    bool KeepTogether() const { return m_keepTogether; }
    void SetKeepTogether(bool value) { m_keepTogether = value; }
    bool ReprintOnNewPage() const { return m_reprintOnNewPage; }
    void SetReprintOnNewPage(bool value) { m_reprintOnNewPage = value; }
    bool ResetPageNumbers() const { return m_resetPageNumbers; }
    void SetResetPageNumbers(bool value) { m_resetPageNumbers = value; }
    bool ShowChildIfDrillDown() const { return m_showChildIfDrillDown; }
    void SetShowChildIfDrillDown(bool value) { m_showChildIfDrillDown = value; }
    bool ShowFooterIfDrillDown() const { return m_showFooterIfDrillDown; }
    void SetShowFooterIfDrillDown(bool value) { m_showFooterIfDrillDown = value; }

    // The base difference, then DrillName while DrillDown is on.
    QString Diff(const TqvxComponent *source) override;

private:
    QString m_condition;
    bool m_drillDown = false;
    QString m_drillName;
    bool m_expandDrillDown = false;
    bool m_keepTogether = false;
    bool m_reprintOnNewPage = false;
    bool m_resetPageNumbers = false;
    bool m_showChildIfDrillDown = false;
    bool m_showFooterIfDrillDown = false;
};

// Ends a group.
class TqvxGroupFooter : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool HideIfSingleDataRecord READ HideIfSingleDataRecord WRITE SetHideIfSingleDataRecord)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxGroupFooter(TComponent *owner = nullptr) : TqvxBand(owner) {}
    bool HideIfSingleDataRecord() const { return m_hideIfSingleDataRecord; }
    void SetHideIfSingleDataRecord(bool value) { m_hideIfSingleDataRecord = value; }

private:
    bool m_hideIfSingleDataRecord = false;
};

// Printed after the band whose Child it is.
class TqvxChild : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool StartNewPage READ StartNewPage WRITE SetStartNewPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxChild(TComponent *owner = nullptr) : TqvxBand(owner) {}
};

// Printed at the top of each column of the page.
class TqvxColumnHeader : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)

public:
    explicit TqvxColumnHeader(TComponent *owner = nullptr) : TqvxBand(owner) {}
};

// Printed at the bottom of each column of the page.
class TqvxColumnFooter : public TqvxBand
{
    Q_OBJECT

public:
    explicit TqvxColumnFooter(TComponent *owner = nullptr) : TqvxBand(owner) {}
};

// Printed over (or under) the whole page.
class TqvxOverlay : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool PrintOnTop READ PrintOnTop WRITE SetPrintOnTop)

public:
    explicit TqvxOverlay(TComponent *owner = nullptr) : TqvxBand(owner) {}
    bool PrintOnTop() const { return m_printOnTop; }
    void SetPrintOnTop(bool value) { m_printOnTop = value; }

private:
    bool m_printOnTop = false;
};

// The placeholder band of the engine for objects that lie on no band; it
// stands outside the band class table.
class TqvxNullBand : public TqvxBand
{
    Q_OBJECT

public:
    explicit TqvxNullBand(TComponent *owner = nullptr);
};

// The index in the band class table of the last class the band is or
// descends from; 0 when none (the null band).
int BandNumber(const TqvxBand *band);
// The band class of a table index; nullptr outside the table.
TClass BandClassOf(int number);
inline constexpr int BandClassCount = 18;

// Declares the band classes' defaults and registers them.
void InitializeQvxBands();
