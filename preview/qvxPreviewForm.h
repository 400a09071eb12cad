#pragma once

// The preview window: a tool bar over a preview control and a status bar.
// The report makes it, binds it with Init and shows it modally or not;
// while a report builds, its progress texts go to the status bar.

#include "report/base/qvxTypes.h"
#include "toolkit/widgets/TForm.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class TEdit;
class TLabel;
class TqvxComboBox;
class TqvxCustomExportFilter;
class TqvxPreview;
class TqvxTBPanel;
class TqvxWidgetHost;

// One line of the export menu: a caption and what choosing it does.
struct TqvxExportMenuItem {
    enum Kind { SavePrepared, Separator, ExportFilter };
    Kind Kind = Separator;
    QString Caption;
    // The filter's index in the export-filter registry.
    int FilterIndex = -1;
};

class TqvxPreviewForm : public TForm
{
    Q_OBJECT

public:
    explicit TqvxPreviewForm(TComponent *owner);
    ~TqvxPreviewForm() override;

    TqvxPreview *Preview() const { return m_preview; }

    // Binds the preview to its report again.
    void Init();
    // Applies the bound report's preview options: zoom, buttons, export
    // menu, caption.  The preview calls it when it is first bound.
    void ApplyOptions();
    // A progress text into status panel 0, or into panel 1 when second (an
    // empty text leaves panel 1 as it is).
    void SetMessage(const QString &text, bool second);
    // Enables the buttons that work in the preview's state.
    void UpdateControls();
    // Shows the preview's zoom in the zoom box.
    void UpdateZoom();
    void SetCancelCaption(const QString &text);
    // Puts the outline and thumbnail buttons down or up.
    void SetPanelButtons(bool outline, bool thumbnails);

    bool FreeOnClose() const { return m_freeOnClose; }
    void SetFreeOnClose(bool value) { m_freeOnClose = value; }
    bool FullScreen() const { return m_fullScreen; }
    void SetFullScreen(bool value);

    // The tool bar's buttons and boxes by their names ("PrintB", "ZoomCB",
    // "Sep4" ...), for the menus that mirror them and for tests.
    QAction *Button(const QString &name) const { return m_buttons.value(name); }
    TqvxComboBox *ZoomBox() const { return m_zoomBox; }
    TEdit *PageEdit() const { return m_pageEdit; }
    QString StatusText(int panel) const;
    QMenu *ExportPopup() const { return m_exportPopup; }
    QMenu *RightMenu() const { return m_rightMenu; }

    // Which controls of the tool bar a set of preview buttons shows.
    static QHash<QString, bool> ButtonVisibility(TqvxPreviewButtons buttons);
    // The zoom typed in the zoom box: "%" and blanks left out, the rest a
    // number of per cent; false when no number remains.  Raises the
    // number reader's error for text that is not a number.
    static bool ParseZoomText(const QString &text, double &zoom);
    static QString ZoomText(double zoom);
    // The export menu for the preview buttons and filter descriptions given
    // in registration order.
    static QList<TqvxExportMenuItem> ExportMenuItems(TqvxPreviewButtons buttons,
                                                     const QStringList &filterDescriptions);

    // Chooses zoom box item index, or applies the typed zoom when index is
    // -1.
    void ZoomChosen(int index);
    // Goes to the page typed in the page box.
    void PageEntered();
    void CancelClicked();

    // Refused while a report builds.
    bool CloseQuery() override;

protected:
    void DoClose(TCloseAction &action) override;
    void KeyDown(int &key, TShiftState shift) override;

private:
    QAction *addButton(const QString &name, int image, int caption, int hint, std::function<void()> click);
    QAction *addSeparator(const QString &name);
    QAction *addPanel(const QString &name, TqvxTBPanel *panel, int width);
    void fitToolBar();
    void guarded(const std::function<void()> &action);
    void pageChanged(int pageNo);
    void fillExportMenu(TqvxPreviewButtons buttons);
    void fillRightMenu();
    void exportThrough(TqvxCustomExportFilter *filter);
    void enableAgain();
    void expandDrillDown(bool expand);
    bool hasDrillDown() const;

    TqvxWidgetHost *m_toolBarHost = nullptr;
    QToolBar *m_toolBar = nullptr;
    TqvxWidgetHost *m_statusBarHost = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_statusPanels[3] = {};
    TqvxPreview *m_preview = nullptr;
    TqvxTBPanel *m_zoomPanel = nullptr;
    TqvxComboBox *m_zoomBox = nullptr;
    TqvxTBPanel *m_pagePanel = nullptr;
    TEdit *m_pageEdit = nullptr;
    TLabel *m_ofLabel = nullptr;
    QToolButton *m_cancelButton = nullptr;
    QMenu *m_exportPopup = nullptr;
    QMenu *m_rightMenu = nullptr;
    QAction *m_collapseItem = nullptr;
    QAction *m_expandItem = nullptr;
    QAction *m_rightSeparator = nullptr;
    QHash<QString, QAction *> m_buttons;
    QList<QString> m_order;
    TqvxCustomExportFilter *m_pdfFilter = nullptr;
    TqvxCustomExportFilter *m_emailFilter = nullptr;
    bool m_freeOnClose = false;
    bool m_fullScreen = false;
    bool m_zoomTyped = false;
    QMetaObject::Connection m_zoomChosen;
};
