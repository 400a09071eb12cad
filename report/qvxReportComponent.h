#pragma once

// The base of every report object that prints: bands and views.  It names
// the script procedures run around printing and gives the engine its hooks.

#include "report/qvxComponent.h"

class TCanvas;

// A rectangle of four pixel values.
struct TqvxRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

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
};
