#pragma once

// The subreport view: prints another report page inline, where it stands.
// The link is kept on both sides: the page's SubReport is this view.

#include "report/pages/qvxPage.h"
#include "report/components/qvxView.h"

class TqvxSubreport : public TqvxView
{
    Q_OBJECT
    Q_PROPERTY(TqvxReportPage *Page READ Page WRITE SetPage)
    Q_PROPERTY(bool PrintOnParent READ PrintOnParent WRITE SetPrintOnParent)

public:
    explicit TqvxSubreport(TComponent *owner = nullptr);

    QString GetDescription() const override;

    // Cleared when the page is freed.
    TqvxReportPage *Page() const { return m_page; }
    void SetPage(TqvxReportPage *value);
    bool PrintOnParent() const { return m_printOnParent; }
    void SetPrintOnParent(bool value) { m_printOnParent = value; }

    // The view, then its name two pixels in from its top-left corner.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;

private:
    TGuardedRef<TqvxReportPage> m_page{this};
    bool m_printOnParent = false;
};
