#include "preview/qvxPreviewForm.h"

#include "preview/qvxCtrls.h"
#include "preview/qvxDialogHelp.h"
#include "preview/qvxPreview.h"
#include "preview/qvxPreviewIcons.h"
#include "preview/qvxPreviewWorkspace.h"
#include "preview/qvxWidgetHost.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxRegistries.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxBands.h"
#include "report/report/qvxExportFilter.h"
#include "report/report/qvxReport.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TLabel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QRegularExpressionValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace {

constexpr int kZoomPageWidthItem = 6;
constexpr int kZoomWholePageItem = 7;
constexpr int kButtonSize = 23;
// Room beside a status panel's text for its frame.
constexpr int kPanelPadding = 6;

QString text(int id)
{
    return id > 0 ? qvxGet(id) : QString();
}

} // namespace

TqvxPreviewForm::TqvxPreviewForm(TComponent *owner) : TForm(owner)
{
    SetCaption(text(100));
    SetClientWidth(803);
    SetClientHeight(584);
    SetKeyPreview(true);
    SetPosition(poScreenCenter);

    m_toolBar = new QToolBar;
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
    m_toolBarHost = new TqvxWidgetHost(this, m_toolBar);
    m_toolBarHost->SetAlign(alTop);
    m_toolBarHost->SetParent(this);

    // Panel 0 is wide enough for the longest page counter; the other two
    // share the rest.  The bar is as high as its panels with their frames.
    m_statusBar = new QStatusBar;
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel;
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMargin(1);
        // An empty panel is as high as one with text.
        panel->setMinimumHeight(panel->fontMetrics().height() + 2 * (panel->frameWidth() + panel->margin()));
        m_statusPanels[i] = panel;
        m_statusBar->addWidget(panel, i == 0 ? 0 : 1);
    }
    const QString longest = Format(qvxResources()->Get(QStringLiteral("clPageOf")), {99999, 99999});
    m_statusPanels[0]->setMinimumWidth(
        std::max(200, m_statusPanels[0]->fontMetrics().horizontalAdvance(longest) + 2 * kPanelPadding));
    m_statusBarHost = new TqvxWidgetHost(this, m_statusBar);
    m_statusBarHost->SetHeight(m_statusBar->sizeHint().height());
    m_statusBarHost->SetAlign(alBottom);
    m_statusBarHost->SetParent(this);

    m_preview = new TqvxPreview(this);
    m_preview->SetBorderStyle(bsNone);
    m_preview->SetAlign(alClient);
    m_preview->SetParent(this);
    m_preview->SetPreviewForm(this);
    m_preview->OnPageChanged = [this](TqvxPreview *, int pageNo) { pageChanged(pageNo); };
    m_preview->OnPreviewDblClick = [this](TObject *) {
        if (m_fullScreen)
            SetFullScreen(false);
    };

    m_exportPopup = new QMenu(m_toolBar);
    m_rightMenu = new QMenu(m_toolBar);
    m_collapseItem = m_rightMenu->addAction(qvxPreviewButtonIcon(13), text(601), [this] { expandDrillDown(false); });
    m_expandItem = m_rightMenu->addAction(qvxPreviewButtonIcon(14), text(600), [this] { expandDrillDown(true); });
    m_rightSeparator = m_rightMenu->addSeparator();
    Widget()->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(Widget(), &QWidget::customContextMenuRequested, this,
                     [this](const QPoint &pos) { m_rightMenu->exec(Widget()->mapToGlobal(pos)); });

    TqvxPreview *preview = m_preview;
    addButton(QStringLiteral("PrintB"), 2, 101, 102, [this] {
        m_preview->Print();
        enableAgain();
    });
    addButton(QStringLiteral("OpenB"), 0, 103, 104, [this] {
        m_preview->LoadFromFile();
        const TqvxReport *report = m_preview->BoundReport();
        const QString name = report ? report->ReportOptions()->Name() : QString();
        SetCaption(name.isEmpty() ? text(100) : name);
    });
    QAction *save = addButton(QStringLiteral("SaveB"), 1, 105, 106, {});
    save->setMenu(m_exportPopup);
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(save)))
        button->setPopupMode(QToolButton::InstantPopup);
    addButton(QStringLiteral("PdfB"), 24, 0, 151, [this] {
        if (m_pdfFilter)
            exportThrough(m_pdfFilter);
    });
    addButton(QStringLiteral("EmailB"), 23, 0, 152, [this] {
        if (m_emailFilter)
            exportThrough(m_emailFilter);
    });
    addButton(QStringLiteral("FindB"), 4, 109, 110, [preview] { preview->Find(); });
    addSeparator(QStringLiteral("Sep1"));
    addButton(QStringLiteral("ZoomPlusB"), 15, 124, 125, [preview] { preview->SetZoom(preview->Zoom() + 0.25); });

    m_zoomPanel = new TqvxTBPanel(this);
    m_zoomBox = new TqvxComboBox(this);
    m_zoomBox->SetBounds(4, 2, 49, 19);
    m_zoomBox->SetListWidth(100);
    m_zoomBox->SetHint(text(119));
    for (const char *item : {"25%", "50%", "75%", "100%", "150%", "200%"})
        m_zoomBox->Items()->Add(QString::fromLatin1(item));
    m_zoomBox->Items()->Add(qvxResources()->Get(QStringLiteral("zmPageWidth")));
    m_zoomBox->Items()->Add(qvxResources()->Get(QStringLiteral("zmWholePage")));
    m_zoomBox->SetCaption(QStringLiteral("100%"));
    m_zoomBox->SetParent(m_zoomPanel);
    // A zoom applies when an item is chosen from the list or Enter ends the
    // typing, never at each keystroke: "2" on the way to "200" is no zoom.
    auto *zoomBox = static_cast<QComboBox *>(m_zoomBox->Widget());
    zoomBox->setInsertPolicy(QComboBox::NoInsert);
    zoomBox->setCompleter(nullptr);
    m_zoomChosen = QObject::connect(zoomBox, &QComboBox::activated, this, [this](int index) {
        if (!m_zoomTyped)
            ZoomChosen(index);
    });
    m_zoomBox->OnKeyDown = [this](TObject *, int &key, TShiftState) {
        if (key == VK_RETURN) {
            // Enter may also make the box choose the item the text names.
            m_zoomTyped = true;
            ZoomChosen(-1);
            QMetaObject::invokeMethod(this, [this] { m_zoomTyped = false; }, Qt::QueuedConnection);
            key = 0;
        }
    };
    addPanel(QStringLiteral("Sep3"), m_zoomPanel, 56);

    addButton(QStringLiteral("ZoomMinusB"), 16, 126, 127, [preview] { preview->SetZoom(preview->Zoom() - 0.25); });
    addButton(QStringLiteral("FullScreenBtn"), 22, 0, 150, [this] { SetFullScreen(!m_fullScreen); });
    addSeparator(QStringLiteral("Sep2"));
    QAction *outline = addButton(QStringLiteral("OutlineB"), 12, 128, 129, {});
    outline->setCheckable(true);
    QObject::connect(outline, &QAction::triggered, this, [preview](bool down) { preview->SetOutlineVisible(down); });
    QAction *thumbnails = addButton(QStringLiteral("ThumbB"), 5, 130, 131, {});
    thumbnails->setCheckable(true);
    QObject::connect(thumbnails, &QAction::triggered, this,
                     [preview](bool down) { preview->SetThumbnailVisible(down); });
    addButton(QStringLiteral("PageSettingsB"), 7, 120, 121, [preview] { preview->PageSetup(); });
    addButton(QStringLiteral("DesignerB"), 21, 132, 133, [preview] { preview->Edit(); });
    addSeparator(QStringLiteral("Sep5"));
    addButton(QStringLiteral("FirstB"), 8, 134, 135, [preview] { preview->First(); });
    addButton(QStringLiteral("PriorB"), 9, 136, 137, [preview] { preview->Prior(); });

    m_pagePanel = new TqvxTBPanel(this);
    m_pageEdit = new TEdit(this);
    m_pageEdit->SetBorderStyle(bsNone);
    m_pageEdit->SetBounds(4, 4, 37, 15);
    m_pageEdit->SetCaption(QStringLiteral("1"));
    m_pageEdit->SetHint(text(142));
    m_pageEdit->SetParent(m_pagePanel);
    if (auto *edit = qobject_cast<QLineEdit *>(m_pageEdit->Widget()))
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    m_pageEdit->OnKeyDown = [this](TObject *, int &key, TShiftState) {
        if (key == VK_RETURN) {
            PageEntered();
            key = 0;
        }
    };
    m_ofLabel = new TLabel(this);
    m_ofLabel->SetLeft(48);
    m_ofLabel->SetTop(4);
    m_ofLabel->SetParent(m_pagePanel);
    addPanel(QStringLiteral("Sep4"), m_pagePanel, 73);

    addButton(QStringLiteral("NextB"), 10, 138, 139, [preview] { preview->Next(); });
    addButton(QStringLiteral("LastB"), 11, 140, 141, [preview] { preview->Last(); });
    addPanel(QStringLiteral("qvTBPanel1"), new TqvxTBPanel(this), 35);

    m_cancelButton = new QToolButton;
    m_cancelButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_cancelButton->setFixedWidth(68);
    m_cancelButton->setText(qvxResources()->Get(QStringLiteral("clClose")));
    QObject::connect(m_cancelButton, &QToolButton::clicked, this, [this] { guarded([this] { CancelClicked(); }); });
    m_buttons.insert(QStringLiteral("CancelB"), m_toolBar->addWidget(m_cancelButton));
    m_order.append(QStringLiteral("CancelB"));
    fitToolBar();

    // The bars hand a click's focus on to the page area, as tool bars do:
    // the page keys keep working after a click on a button or a bar.
    m_toolBar->setFocusProxy(m_preview->Workspace()->Widget());
    m_statusBar->setFocusProxy(m_preview->Workspace()->Widget());
    SetActiveControl(m_preview->Workspace());
}

TqvxPreviewForm::~TqvxPreviewForm()
{
    // The controls outlive this part of the window: none may call back
    // into it while they go.
    // The box's editor loses the focus as the window goes, and may then
    // choose the item its text names.
    QObject::disconnect(m_zoomChosen);
    m_zoomBox->OnKeyDown = nullptr;
    m_pageEdit->OnKeyDown = nullptr;
    m_preview->OnPageChanged = nullptr;
    m_preview->OnPreviewDblClick = nullptr;
    m_preview->SetPreviewForm(nullptr);
}

QAction *TqvxPreviewForm::addButton(const QString &name, int image, int caption, int hint, std::function<void()> click)
{
    QAction *action = m_toolBar->addAction(qvxPreviewButtonIcon(image), text(caption));
    action->setToolTip(text(hint).isEmpty() ? text(caption) : text(hint));
    action->setObjectName(name);
    if (click)
        QObject::connect(action, &QAction::triggered, this, [this, click] { guarded(click); });
    m_buttons.insert(name, action);
    m_order.append(name);
    return action;
}

QAction *TqvxPreviewForm::addSeparator(const QString &name)
{
    QAction *separator = m_toolBar->addSeparator();
    separator->setObjectName(name);
    m_buttons.insert(name, separator);
    m_order.append(name);
    return separator;
}

QAction *TqvxPreviewForm::addPanel(const QString &name, TqvxTBPanel *panel, int width)
{
    panel->Widget()->setFixedSize(width, 23);
    QAction *action = m_toolBar->addWidget(panel->Widget());
    action->setObjectName(name);
    m_buttons.insert(name, action);
    m_order.append(name);
    return action;
}

void TqvxPreviewForm::fitToolBar()
{
    // Buttons are at least 23 pixels square; the bar takes its height from
    // them once they exist.
    for (QAction *action : m_toolBar->actions())
        if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(action))) {
            button->setFocusPolicy(Qt::NoFocus);
            // The close button keeps its own width, whatever its caption.
            button->setMinimumSize(std::max(button->minimumWidth(), kButtonSize), kButtonSize);
        }
    m_toolBarHost->SetHeight(m_toolBar->sizeHint().height());
}

void TqvxPreviewForm::guarded(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Exception &e) {
        MessageDlg(e.Message(), mtError, mbOK);
    } catch (const std::exception &e) {
        MessageDlg(QString::fromUtf8(e.what()), mtError, mbOK);
    }
}

// --- pure rules --------------------------------------------------------------------

QHash<QString, bool> TqvxPreviewForm::ButtonVisibility(TqvxPreviewButtons buttons)
{
    const auto has = [&](TqvxPreviewButton b) { return buttons.testFlag(b); };
    QHash<QString, bool> v;
    v[QStringLiteral("PrintB")] = has(pbPrint);
    v[QStringLiteral("OpenB")] = has(pbLoad);
    v[QStringLiteral("SaveB")] = has(pbSave) || has(pbExport);
    v[QStringLiteral("FindB")] = has(pbFind);
    v[QStringLiteral("PdfB")] = false;
    v[QStringLiteral("EmailB")] = false;
    v[QStringLiteral("ZoomPlusB")] = has(pbZoom);
    v[QStringLiteral("ZoomMinusB")] = has(pbZoom);
    v[QStringLiteral("Sep3")] = has(pbZoom);
    v[QStringLiteral("FullScreenBtn")] = has(pbZoom) && !has(pbNoFullScreen);
    v[QStringLiteral("Sep1")] = has(pbZoom);
    v[QStringLiteral("OutlineB")] = has(pbOutline);
    v[QStringLiteral("ThumbB")] = has(pbOutline);
    v[QStringLiteral("PageSettingsB")] = has(pbPageSetup);
    v[QStringLiteral("DesignerB")] = has(pbEdit);
    v[QStringLiteral("Sep2")] = has(pbPageSetup) || has(pbEdit);
    for (const char *name : {"FirstB", "PriorB", "NextB", "LastB", "Sep4", "Sep5"})
        v[QString::fromLatin1(name)] = has(pbNavigator);
    v[QStringLiteral("CancelB")] = !has(pbNoClose);
    return v;
}

bool TqvxPreviewForm::ParseZoomText(const QString &text, double &zoom)
{
    QString number = text;
    const int percent = number.indexOf(QLatin1Char('%'));
    if (percent >= 0)
        number[percent] = QLatin1Char(' ');
    number.remove(QLatin1Char(' '));
    if (number.isEmpty())
        return false;
    zoom = qvxStrToFloat(number) / 100;
    return true;
}

QString TqvxPreviewForm::ZoomText(double zoom)
{
    return QString::number(std::lround(zoom * 100)) + QLatin1Char('%');
}

QList<TqvxExportMenuItem> TqvxPreviewForm::ExportMenuItems(TqvxPreviewButtons buttons,
                                                           const QStringList &filterDescriptions)
{
    QList<TqvxExportMenuItem> items;
    if (buttons.testFlag(pbSave)) {
        items.append({TqvxExportMenuItem::SavePrepared,
                      qvxResources()->Get(QStringLiteral("clQP3files")) + QStringLiteral("..."), -1});
        if (buttons.testFlag(pbExport))
            items.append({TqvxExportMenuItem::Separator, QStringLiteral("-"), -1});
    }
    if (buttons.testFlag(pbExport))
        for (int i = 0; i < filterDescriptions.size(); ++i)
            items.append({TqvxExportMenuItem::ExportFilter, filterDescriptions.at(i) + QStringLiteral("..."), i});
    return items;
}

// --- binding -----------------------------------------------------------------------

void TqvxPreviewForm::Init()
{
    if (TqvxReport *report = m_preview->BoundReport())
        m_preview->Init(report, report->PreviewPages());
}

void TqvxPreviewForm::ApplyOptions()
{
    TqvxReport *report = m_preview->BoundReport();
    if (!report)
        return;
    const TqvxPreviewOptions *options = report->PreviewOptions();
    if (options->Maximized())
        SetWindowState(wsMaximized);
    m_freeOnClose = !options->Modal();
    m_buttons.value(QStringLiteral("DesignerB"))->setEnabled(options->AllowEdit());
    m_preview->Workspace()->SetRightToLeft(options->RightToLeft());

    const TqvxPreviewButtons buttons = options->Buttons();
    const QHash<QString, bool> visibility = ButtonVisibility(buttons);
    for (auto it = visibility.constBegin(); it != visibility.constEnd(); ++it)
        m_buttons.value(it.key())->setVisible(it.value());
    m_toolBar->setToolButtonStyle(options->ShowCaptions() ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    fitToolBar();
    fillExportMenu(buttons);
    if (!report->ReportOptions()->Name().isEmpty())
        SetCaption(report->ReportOptions()->Name());
    fillRightMenu();
    UpdateControls();
}

void TqvxPreviewForm::fillExportMenu(TqvxPreviewButtons buttons)
{
    m_exportPopup->clear();
    QStringList descriptions;
    QList<TqvxCustomExportFilter *> mailFree;
    TqvxExportFilterCollection *filters = qvxExportFilters();
    for (int i = 0; i < filters->Count(); ++i) {
        TqvxCustomExportFilter *filter = filters->GetItem(i)->Filter;
        const QLatin1String className(filter->metaObject()->className());
        if (className == QLatin1String("TqvxMailExport")) {
            if (!buttons.testFlag(pbNoEmail)) {
                m_emailFilter = filter;
                m_buttons.value(QStringLiteral("EmailB"))->setVisible(buttons.testFlag(pbExportQuick));
            }
            continue;
        }
        if (className == QLatin1String("TqvxPDFExport")) {
            m_pdfFilter = filter;
            m_buttons.value(QStringLiteral("PdfB"))->setVisible(buttons.testFlag(pbExportQuick));
        }
        descriptions.append(filter->GetDescription());
        mailFree.append(filter);
    }
    for (const TqvxExportMenuItem &item : ExportMenuItems(buttons, descriptions)) {
        switch (item.Kind) {
        case TqvxExportMenuItem::SavePrepared:
            m_exportPopup->addAction(item.Caption, this, [this] { guarded([this] { m_preview->SaveToFile(); }); });
            break;
        case TqvxExportMenuItem::Separator:
            m_exportPopup->addSeparator();
            break;
        case TqvxExportMenuItem::ExportFilter: {
            TqvxCustomExportFilter *filter = mailFree.at(item.FilterIndex);
            m_exportPopup->addAction(item.Caption, this, [this, filter] { exportThrough(filter); });
            break;
        }
        }
    }
}

void TqvxPreviewForm::fillRightMenu()
{
    // Mirrors of the visible buttons with a caption, up to the second
    // separator; a button's menu comes along as a submenu.
    int separators = 0;
    for (const QString &name : m_order) {
        QAction *button = m_buttons.value(name);
        if (button->isSeparator()) {
            if (++separators == 2)
                break;
            m_rightMenu->addSeparator();
            continue;
        }
        if (!button->isVisible() || button->text().isEmpty() || button->isCheckable())
            continue;
        if (button->menu()) {
            QMenu *sub = m_rightMenu->addMenu(button->icon(), button->text());
            sub->addActions(button->menu()->actions());
            QObject::connect(button, &QAction::enabledChanged, sub, &QMenu::setEnabled);
            continue;
        }
        QAction *mirror = m_rightMenu->addAction(button->icon(), button->text());
        QObject::connect(mirror, &QAction::triggered, button, &QAction::trigger);
        QObject::connect(button, &QAction::enabledChanged, mirror, &QAction::setEnabled);
    }
}

// --- state ---------------------------------------------------------------------

bool TqvxPreviewForm::hasDrillDown() const
{
    const TqvxReport *report = m_preview->BoundReport();
    if (!report)
        return false;
    for (TqvxComponent *object : report->GetAllObjects())
        if (auto *header = qobject_cast<TqvxGroupHeader *>(object); header && header->DrillDown())
            return true;
    return false;
}

void TqvxPreviewForm::UpdateControls()
{
    const bool running = m_preview->Running();
    const bool ready = !running && m_preview->PageCount() > 0;
    for (const char *name : {"PrintB", "OpenB", "SaveB", "PdfB", "EmailB", "FindB", "PageSettingsB"})
        m_buttons.value(QString::fromLatin1(name))->setEnabled(ready);
    m_buttons.value(QStringLiteral("DesignerB"))->setEnabled(!running && m_preview->BoundReport());
    const bool drill = !running && hasDrillDown();
    m_collapseItem->setVisible(drill);
    m_expandItem->setVisible(drill);
    m_rightSeparator->setVisible(drill);
}

void TqvxPreviewForm::UpdateZoom()
{
    m_zoomBox->SetCaption(ZoomText(m_preview->Zoom()));
}

void TqvxPreviewForm::SetCancelCaption(const QString &caption)
{
    m_cancelButton->setText(caption);
}

void TqvxPreviewForm::SetPanelButtons(bool outline, bool thumbnails)
{
    m_buttons.value(QStringLiteral("OutlineB"))->setChecked(outline);
    m_buttons.value(QStringLiteral("ThumbB"))->setChecked(thumbnails);
}

void TqvxPreviewForm::SetMessage(const QString &message, bool second)
{
    if (second) {
        if (!message.isEmpty() || !m_statusPanels[1]->text().isEmpty())
            m_statusPanels[1]->setText(message);
    } else if (message.isEmpty() && !m_preview->Running()) {
        // Nothing to tell of the object under the mouse: the page counter
        // stays.
        pageChanged(m_preview->PageNo());
    } else {
        m_statusPanels[0]->setText(message);
    }
    QCoreApplication::processEvents();
}

QString TqvxPreviewForm::StatusText(int panel) const
{
    return panel >= 0 && panel < 3 ? m_statusPanels[panel]->text() : QString();
}

void TqvxPreviewForm::pageChanged(int pageNo)
{
    const TqvxReport *report = m_preview->BoundReport();
    const int count = m_preview->PageCount();
    if (m_preview->Running() && report && !report->Engine()->FinalPass()) {
        m_statusPanels[0]->setText(qvxResources()->Get(QStringLiteral("clFirstPass")) + QLatin1Char(' ') +
                                   QString::number(count));
    } else {
        m_statusPanels[0]->setText(Format(qvxResources()->Get(QStringLiteral("clPageOf")), {pageNo, count}));
        m_ofLabel->SetCaption(Format(qvxResources()->Get(QStringLiteral("clOf")), {count}));
        const int width = m_ofLabel->Left() + m_ofLabel->Width() + 4;
        m_pagePanel->Widget()->setFixedWidth(width);
    }
    m_pageEdit->SetCaption(QString::number(pageNo));
}

// --- actions -------------------------------------------------------------------

void TqvxPreviewForm::exportThrough(TqvxCustomExportFilter *filter)
{
    guarded([this, filter] { m_preview->Export(filter); });
    enableAgain();
}

void TqvxPreviewForm::enableAgain()
{
    // The progress window disables this one while it works, which takes
    // the focus from the page area: the page keys get it back.
    SetEnabled(true);
    if (!Widget()->window()->focusWidget())
        m_preview->Workspace()->SetFocus();
}

void TqvxPreviewForm::expandDrillDown(bool expand)
{
    TqvxReport *report = m_preview->BoundReport();
    if (!report)
        return;
    m_preview->Lock();
    for (TqvxComponent *object : report->GetAllObjects())
        if (auto *header = qobject_cast<TqvxGroupHeader *>(object); header && header->DrillDown())
            header->SetExpandDrillDown(expand);
    report->Errors()->Clear();
    m_preview->RefreshReport();
    if (!expand)
        m_preview->SetPosition(1, 0);
}

void TqvxPreviewForm::ZoomChosen(int index)
{
    m_preview->Workspace()->SetFocus();
    guarded([this, index] {
        if (index == kZoomPageWidthItem) {
            m_preview->SetZoomMode(zmPageWidth);
        } else if (index == kZoomWholePageItem) {
            m_preview->SetZoomMode(zmWholePage);
        } else {
            double zoom = 0;
            if (ParseZoomText(m_zoomBox->Caption(), zoom))
                m_preview->SetZoom(zoom);
        }
    });
    QMetaObject::invokeMethod(this, [this] { UpdateZoom(); }, Qt::QueuedConnection);
}

void TqvxPreviewForm::PageEntered()
{
    guarded([this] { m_preview->SetPageNo(StrToInt(m_pageEdit->Caption())); });
    m_preview->Workspace()->SetFocus();
}

void TqvxPreviewForm::CancelClicked()
{
    if (m_preview->Searching())
        m_preview->CancelSearch();
    else if (m_preview->Running())
        m_preview->Cancel();
    else
        Close();
}

void TqvxPreviewForm::SetFullScreen(bool value)
{
    if (value == m_fullScreen)
        return;
    m_fullScreen = value;
    m_toolBarHost->SetVisible(!value);
    m_statusBarHost->SetVisible(!value);
    // The window asks the window manager for its full-screen state rather
    // than dropping its border and maximizing: a new border makes the
    // window anew, and the window manager answers that, and the states
    // asked for meanwhile, whenever it gets to them.  Full screen is one
    // request with no frame to drop, which the window manager undoes
    // itself, back to the place, size and state the window had.
    QWidget *window = Widget()->window();
    const Qt::WindowStates state = window->windowState();
    window->setWindowState(value ? state | Qt::WindowFullScreen : state & ~Qt::WindowFullScreen);
}

bool TqvxPreviewForm::CloseQuery()
{
    // Closing stops a search, and waits till it has stopped.
    if (m_preview->Searching()) {
        m_preview->CancelSearch();
        return false;
    }
    return !m_preview->Running() && TForm::CloseQuery();
}

void TqvxPreviewForm::DoClose(TCloseAction &action)
{
    TForm::DoClose(action);
    if (m_freeOnClose)
        action = caFree;
    TqvxReport *report = m_preview->BoundReport();
    // The window closes while its report is still being prepared (its
    // script's main block runs before the pages are built): that ends it.
    if (report && report->Busy())
        report->SetTerminated(true);
    if (report && report->OnClosePreview)
        report->OnClosePreview(this);
}

void TqvxPreviewForm::KeyDown(int &key, TShiftState shift)
{
    TForm::KeyDown(key, shift);
    switch (key) {
    case VK_ESCAPE:
        guarded([this] { CancelClicked(); });
        key = 0;
        break;
    case VK_F11:
        SetFullScreen(!m_fullScreen);
        key = 0;
        break;
    case VK_F1:
        qvxHelpOnF1(this);
        key = 0;
        break;
    default:
        break;
    }
}

