#pragma once

// Controls of report dialog pages: a report object that wraps a control of
// the class library (a button, an edit, a label ...).  The report object
// keeps position, size, font and visibility and passes every change on to
// the wrapped control; Enabled, Hint, ShowHint and a descendant's Caption
// live on the control itself.  Descendants make their control and hand it
// over with InitControl.
//
// The control lies on the control of a parent dialog control, on the form
// of a parent dialog page, or else on the hidden parent form
// (report/qvxParentForm.h).

#include "report/components/qvxReportComponent.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <memory>

class TControl;
class TWinControl;

// A report object whose form holds the dialog controls placed on it: the
// dialog page.
class TqvxDialogFormHost
{
public:
    virtual ~TqvxDialogFormHost() = default;
    virtual TWinControl *DialogForm() const = 0;
};

class TqvxDialogControl : public TqvxReportComponent
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    static constexpr TqvxObjectKind PaletteKind = okDialog;

    explicit TqvxDialogControl(TComponent *owner = nullptr);
    ~TqvxDialogControl() override;

    // Names new objects after the class without "Tqvx" and "Control"
    // (TqvxButtonControl gives Button1, Button2 ...).
    void AfterConstruction() override;

    // The wrapped control (owned); nullptr until a descendant makes one.
    TControl *Control() const { return m_control.get(); }

    // The control takes each value rounded to whole pixels.
    void SetLeft(double value) override;
    void SetTop(double value) override;
    void SetWidth(double value) override;
    void SetHeight(double value) override;
    void SetVisible(bool value) override;
    void SetParentFont(bool value) override;

    // Read and written on the control (true, empty and false without one).
    bool Enabled() const;
    void SetEnabled(bool value);
    QString Hint() const;
    void SetHint(const QString &value);
    bool ShowHint() const;
    void SetShowHint(bool value);
    // The control's text, for descendants that publish it.
    QString Caption() const;
    void SetCaption(const QString &value);

    // Moves the control onto its new place as well (see the top).
    void SetParent(TqvxComponent *value) override;
    // A control whose caption stands for its name (csSetCaption) and still
    // equals the old name takes the new one, unless the object is loading.
    void SetName(const QString &name) override;

    // Paints the control, unscaled, at the object's place on the page: into
    // a button-face bitmap one pixel larger than the control, then onto
    // canvas.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;

protected:
    // Takes control over, gives it the object's bounds, font and visibility
    // and places it.
    void InitControl(TControl *control);
    void FontChanged() override;

private:
    void placeControl();
    void applyBounds();

    std::unique_ptr<TControl> m_control;
};

// Declares what dialog controls publish.
void InitializeQvxDialogControl();
