#pragma once

// One-line text editors: TCustomEdit and TEdit, and TCustomMaskEdit, the
// base of in-place cell editors.
//
// OnChange fires on every change of the text, by the user or by code.
// Cut, Paste, Clear and Undo do nothing on a read-only editor.  With
// AutoSelect the whole text is selected when the editor gains the focus.

#include "toolkit/widgets/TWinControl.h"

class QLineEdit;

class TCustomEdit : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Caption WRITE SetCaption)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(ControlTypes::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(QChar PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)

public:
    explicit TCustomEdit(TComponent *owner);

    QString Caption() const override;
    void SetCaption(const QString &text) override;

    int MaxLength() const { return m_maxLength; }
    // 0: no limit.
    void SetMaxLength(int length);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase charCase);
    QChar PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(QChar passwordChar);
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    // Blank space between the editor's edges and its text.
    void SetTextMargins(int left, int top, int right, int bottom);

    bool Modified() const;
    void SetModified(bool modified);
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    QString SelText() const;

    void SelectAll();
    void ClearSelection();
    bool CanUndo() const;
    void Undo();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;

protected:
    TCustomEdit(TComponent *owner, QLineEdit *edit);

    virtual void Change();
    QLineEdit *Edit() const;
    void DoEnter() override;

private:
    void applyCase();

    int m_maxLength = 0;
    TEditCharCase m_charCase = ecNormal;
    QChar m_passwordChar;
    bool m_autoSelect = true;
    TBorderStyle m_borderStyle = bsSingle;
    TAlignment m_alignment = taLeftJustify;
};

class TEdit : public TCustomEdit
{
    Q_OBJECT

public:
    explicit TEdit(TComponent *owner) : TCustomEdit(owner) {}
};

// The base of cell editors: the edit mask is kept for callers that set it;
// input is not masked.
class TCustomMaskEdit : public TCustomEdit
{
    Q_OBJECT

public:
    explicit TCustomMaskEdit(TComponent *owner) : TCustomEdit(owner) {}

    const QString &EditMask() const { return m_editMask; }
    void SetEditMask(const QString &mask) { m_editMask = mask; }

private:
    QString m_editMask;
};
