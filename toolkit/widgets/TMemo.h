#pragma once

// A multi-line text editor.  Lines holds the text line by line; Text is
// the lines each followed by CR LF.

#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TWinControl.h"

#include <memory>

class QPlainTextEdit;
class TControlStrings;

class TMemo : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(TStrings *Lines READ Lines WRITE SetLines)
    Q_PROPERTY(ControlTypes::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
    Q_PROPERTY(bool WantTabs READ WantTabs WRITE SetWantTabs)

public:
    explicit TMemo(TComponent *owner);
    ~TMemo() override;

    TStrings *Lines() const;
    void SetLines(const TStrings *lines);
    QString Caption() const override;
    void SetCaption(const QString &text) override;

    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle scrollBars);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    // 0: no limit.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool want) { m_wantReturns = want; }
    bool WantTabs() const { return m_wantTabs; }
    void SetWantTabs(bool want);

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    QWidget *MouseWidget() const override;
    bool WantsKey(int key) const override;

private:
    QPlainTextEdit *editor() const;
    void pushLines();
    void textEdited();
    void applyWrap();

    std::unique_ptr<TControlStrings> m_lines;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
    TAlignment m_alignment = taLeftJustify;
    int m_maxLength = 0;
    bool m_wantReturns = true;
    bool m_wantTabs = false;
    bool m_pushing = false;
};
