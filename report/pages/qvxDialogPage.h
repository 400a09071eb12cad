#pragma once

// The dialog page: a page shown as a dialog window before the report is
// built, its children the dialog controls.  It wraps a toolkit form whose
// bounds, caption, colour and font follow the page's, and forwards the
// form's events to the page's script procedures through the report.

#include "report/pages/qvxPage.h"
#include "toolkit/widgets/ControlTypes.h"

#include <functional>
#include <memory>

class QRecursiveMutex;
class TForm;

class TqvxDialogPage : public TqvxPage
{
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(double ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(double ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(ControlTypes::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(ControlTypes::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(QString OnActivate READ OnActivate WRITE SetOnActivate)
    Q_PROPERTY(QString OnClick READ OnClick WRITE SetOnClick)
    Q_PROPERTY(QString OnCloseQuery READ OnCloseQuery WRITE SetOnCloseQuery)
    Q_PROPERTY(QString OnDeactivate READ OnDeactivate WRITE SetOnDeactivate)
    Q_PROPERTY(QString OnHide READ OnHide WRITE SetOnHide)
    Q_PROPERTY(QString OnKeyDown READ OnKeyDown WRITE SetOnKeyDown)
    Q_PROPERTY(QString OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
    Q_PROPERTY(QString OnKeyUp READ OnKeyUp WRITE SetOnKeyUp)
    Q_PROPERTY(QString OnResize READ OnResize WRITE SetOnResize)
    Q_PROPERTY(QString OnShow READ OnShow WRITE SetOnShow)

public:
    // Makes the form (Tahoma 8, key preview, hints shown).  UseGlobalLock
    // is taken from the report: whether its engine options ask for the
    // library's global lock.
    explicit TqvxDialogPage(TComponent *owner = nullptr);
    // The children and the form go while the global lock is held, when the
    // report asks for it.
    ~TqvxDialogPage() override;

    QString GetDescription() const override;

    TForm *Form() const { return m_form.get(); }
    // The report asked for the global lock when the page was made; the
    // form's host reads it.
    bool UseGlobalLock() const { return m_globalLock != nullptr; }

    // Shows the form modally with the page's position, window state, border
    // and events; the form's bounds come back into the page when it
    // closes.  Answers the modal result.
    int ShowModal();
    int ModalResult() const;
    void SetModalResult(int value);

    // The geometry moves and sizes the form too.  While loading, a width
    // (height) given after a non-zero ClientWidth (ClientHeight) leaves the
    // form alone.
    void SetLeft(double value) override;
    void SetTop(double value) override;
    void SetWidth(double value) override;
    void SetHeight(double value) override;
    // Sets the form's client size; Width (Height) becomes the form's outer
    // size.
    double ClientWidth() const { return m_clientWidth; }
    void SetClientWidth(double value);
    double ClientHeight() const { return m_clientHeight; }
    void SetClientHeight(double value);

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle value) { m_borderStyle = value; }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition value) { m_position = value; }
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState value) { m_windowState = value; }

    QString OnActivate() const { return m_onActivate; }
    void SetOnActivate(const QString &value) { m_onActivate = value; }
    QString OnClick() const { return m_onClick; }
    void SetOnClick(const QString &value) { m_onClick = value; }
    QString OnCloseQuery() const { return m_onCloseQuery; }
    void SetOnCloseQuery(const QString &value) { m_onCloseQuery = value; }
    QString OnDeactivate() const { return m_onDeactivate; }
    void SetOnDeactivate(const QString &value) { m_onDeactivate = value; }
    QString OnHide() const { return m_onHide; }
    void SetOnHide(const QString &value) { m_onHide = value; }
    QString OnKeyDown() const { return m_onKeyDown; }
    void SetOnKeyDown(const QString &value) { m_onKeyDown = value; }
    QString OnKeyPress() const { return m_onKeyPress; }
    void SetOnKeyPress(const QString &value) { m_onKeyPress = value; }
    QString OnKeyUp() const { return m_onKeyUp; }
    void SetOnKeyUp(const QString &value) { m_onKeyUp = value; }
    QString OnResize() const { return m_onResize; }
    void SetOnResize(const QString &value) { m_onResize = value; }
    QString OnShow() const { return m_onShow; }
    void SetOnShow(const QString &value) { m_onShow = value; }

    // Hands the form's events to the page's script procedures.
    void ConnectFormEvents();

protected:
    void FontChanged() override;

private:
    void takeBoundsFromForm();
    void notify(const QString &procedure);
    void applyBounds();

    QRecursiveMutex *m_globalLock = nullptr;
    std::unique_ptr<TForm> m_form;
    TFormBorderStyle m_borderStyle = bsSizeable;
    QString m_caption;
    TColor m_color = clBtnFace;
    double m_clientWidth = 0;
    double m_clientHeight = 0;
    TPosition m_position = poScreenCenter;
    TWindowState m_windowState = wsNormal;
    QString m_onActivate;
    QString m_onClick;
    QString m_onCloseQuery;
    QString m_onDeactivate;
    QString m_onHide;
    QString m_onKeyDown;
    QString m_onKeyPress;
    QString m_onKeyUp;
    QString m_onResize;
    QString m_onShow;
};

// Makes the window of a new dialog page, which the page owns: the preview
// library installs its dialog form; without one the page gets a plain form.
// nullptr removes it.
using TqvxDialogFormMaker = std::function<TForm *(TqvxDialogPage *page)>;
void qvxInstallDialogFormMaker(const TqvxDialogFormMaker &maker);

void InitializeQvxDialogPage();
