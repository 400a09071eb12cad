#pragma once

// The base of every report object that prints: bands and views.  It names
// the script procedures run around printing and gives the engine its hooks.

#include "report/model/qvxComponent.h"
#include "report/components/qvxRectArea.h"

#include <QList>

#include <list>

class TCanvas;
class TqvxView;

class TqvxReportComponent : public TqvxComponent
{
    Q_OBJECT

public:
    explicit TqvxReportComponent(TComponent *owner = nullptr);

    // Names of script procedures; descendants publish them.
    QString OnAfterData() const { return m_onAfterData; }
    void SetOnAfterData(const QString &value) { m_onAfterData = value; }
    QString OnAfterPrint() const { return m_onAfterPrint; }
    void SetOnAfterPrint(const QString &value) { m_onAfterPrint = value; }
    QString OnBeforePrint() const { return m_onBeforePrint; }
    void SetOnBeforePrint(const QString &value) { m_onBeforePrint = value; }
    QString OnPreviewClick() const { return m_onPreviewClick; }
    void SetOnPreviewClick(const QString &value) { m_onPreviewClick = value; }
    QString OnPreviewDblClick() const { return m_onPreviewDblClick; }
    void SetOnPreviewDblClick(const QString &value) { m_onPreviewDblClick = value; }

    // Draws the object at position * scale + offset.
    virtual void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) = 0;
    // Saves the bounds; AfterPrint restores them.  Descendants save more.
    virtual void BeforePrint();
    // Evaluates the object's expressions and data into its content.
    virtual void GetData();
    virtual void AfterPrint();
    // The object's text for searches and exports; empty in the base.
    virtual QString GetComponentText();
    // (AbsLeft, AbsTop, AbsLeft + Width, AbsTop + Height).
    virtual TqvxRect GetBoundsRect();

    // --- Engine fields ------------------------------------------------------

    // The views this object pushes down when it grows: for a view, those
    // directly below it; for a band, those with nothing above them.  Kept
    // by the engine; freed views drop out.
    QList<TqvxView *> ShiftList() const;
    void AddShift(TqvxView *view);
    void ClearShifts() { m_shifts.clear(); }

private:
    QString m_onAfterData;
    QString m_onAfterPrint;
    QString m_onBeforePrint;
    QString m_onPreviewClick;
    QString m_onPreviewDblClick;
    double m_savedLeft = 0;
    double m_savedTop = 0;
    double m_savedWidth = 0;
    double m_savedHeight = 0;
    std::list<TGuardedRef<TqvxView>> m_shifts;
};
