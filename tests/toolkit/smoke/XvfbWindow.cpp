// Opens a form with the standard controls on a real X server and checks
// that its window is shown and exposed, that the form knows the frame the
// window manager put round it before anything moves it, and that a drag by
// the title bar leaves the window where it was dragged.  Run under
// scripts/xvfb-session; with a file name argument it also writes a
// screenshot of the form there (PPM).

#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TListBox.h"
#include "toolkit/widgets/TMemo.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TSpinEdit.h"
#include "toolkit/widgets/TStaticText.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/Units.h"

#include "common/XvfbDrive.h"

#include <QApplication>
#include <QImage>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

template <class T>
T *place(TForm *form, TWinControl *parent, int left, int top, int width, int height)
{
    auto *control = new T(form);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

TForm *buildForm()
{
    TForm *form = nullptr;
    Application->CreateForm(form);
    form->SetCaption(QStringLiteral("Автоматические выключатели в литом корпусе серии ZMT, ZMR"));
    form->SetBorderWidth(8);
    form->SetClientWidth(600);
    form->SetClientHeight(330);

    auto *header = place<TStaticText>(form, form, 0, 0, 0, 24);
    header->SetAlign(alTop);
    header->Font()->SetName(QStringLiteral("Arial"));
    header->Font()->SetHeight(-15);
    header->SetCaption(QStringLiteral(" Данные организации, заполнившей опросный лист"));

    auto *panel = place<TPanel>(form, form, 0, 24, 0, 89);
    panel->SetAlign(alTop);
    const QString labels[] = {QStringLiteral("Наименование организации"), QStringLiteral("Адрес и номер телефона организации"),
                              QStringLiteral("ФИО контактного лица")};
    for (int i = 0; i < 3; ++i) {
        place<TLabel>(form, panel, 8, 8 + 26 * i, 200, 16)->SetCaption(labels[i]);
        place<TEdit>(form, panel, 216, 6 + 26 * i, 360, 21)->SetText(QStringLiteral("Edit %1").arg(i + 1));
    }

    auto *memo = place<TMemo>(form, form, 0, 120, 300, 100);
    memo->SetScrollBars(ssVertical);
    memo->SetReadOnly(true);
    memo->Lines()->SetText(QStringLiteral("Memo line 1\nMemo line 2"));

    auto *list = place<TListBox>(form, form, 310, 120, 140, 100);
    for (const char *item : {"One", "Two", "Three"})
        list->Items()->Add(QString::fromLatin1(item));
    list->SetItemIndex(1);

    auto *spin = place<TSpinEdit>(form, form, 460, 120, 100, 22);
    spin->SetMinValue(1);
    spin->SetMaxValue(999999);
    spin->SetValue(1);
    place<TCheckBox>(form, form, 460, 150, 120, 20)->SetCaption(QStringLiteral("Check"));

    auto *buttons = place<TPanel>(form, form, 0, 0, 0, 35);
    buttons->SetAlign(alBottom);
    place<TButton>(form, buttons, 8, 5, 121, 25)->SetCaption(QStringLiteral("Сохранить в pdf"));
    auto *close = place<TButton>(form, buttons, 500, 5, 75, 25);
    close->SetCaption(QStringLiteral("Закрыть"));
    close->SetAnchors(akTop | akRight);
    return form;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    RegisterToolkitUnits();
    Units::InitializeAll();

    TForm *form = buildForm();
    form->SetPosition(poScreenCenter);
    form->Show();

    QWidget *window = form->Widget()->window();
    const bool exposed = XvfbDrive::WaitForExposed(window) && window->isVisible();
    if (exposed && argc > 1)
        form->Widget()->grab().toImage().save(QString::fromLocal8Bit(argv[1]), "PPM");
    std::printf("%s\n", exposed ? "window exposed" : "window not exposed");
    bool ok = exposed;
    const auto check = [&ok](bool passed, const QString &what) {
        std::printf("%s: %s\n", passed ? "ok" : "FAILED", qPrintable(what));
        ok = ok && passed;
    };
    // The frame on the X server: the client area there, grown by the
    // margins the window manager gives.
    const auto serverFrame = [window] {
        return XvfbDrive::ServerGeometry(window).marginsAdded(window->windowHandle()->frameMargins());
    };
    const auto bounds = [form] { return form->BoundsRect().ToQRect(); };
    const auto where = [&] {
        const QRect frame = serverFrame();
        const QRect known = bounds();
        return QStringLiteral("frame %1,%2 %3x%4, form %5,%6 %7x%8")
            .arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())
            .arg(known.x()).arg(known.y()).arg(known.width()).arg(known.height());
    };
    if (exposed) {
        check(XvfbDrive::WaitUntil([&] { return !window->windowHandle()->frameMargins().isNull() && bounds() == serverFrame(); }),
              QStringLiteral("the framed window's place and size are the form's bounds (%1)").arg(where()));
        const QRect placed = serverFrame();
        const QPoint title(placed.center().x(), placed.top() + window->windowHandle()->frameMargins().top() / 2);
        const QPoint by(120, 90);
        const bool dragged = XvfbDrive::Drag(title, title + by, [&] { return serverFrame() == placed.translated(by); });
        check(dragged, QStringLiteral("the window is dragged by its title bar (%1)").arg(where()));
        if (dragged) {
            const bool moved = XvfbDrive::WaitUntil([&] { return serverFrame() != placed.translated(by); }, 2000);
            check(!moved, QStringLiteral("the dragged window stays where it was dragged (%1)").arg(where()));
            check(XvfbDrive::WaitUntil([&] { return bounds() == placed.translated(by); }),
                  QStringLiteral("the form's bounds follow the drag (%1)").arg(where()));
        }
    }
    Units::FinalizeAll();
    return ok ? 0 : 1;
}
