#include "app/MainFrm.h"

#include "app/ConstUnit.h"
#include "app/QuestionnaireTemplate.h"
#include "app/SelModelFrm.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/model/qvxErrors.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxVariables.h"
#include "controls/TCustomInspector.h"
#include "controls/TGridColumns.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/TBitBtn.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TMemo.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TSpinEdit.h"
#include "toolkit/widgets/TStaticText.h"
#include "toolkit/classes/TStrings.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QStyle>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int G1 = TSelectionRules::CharacteristicGrid;
constexpr int G2 = TSelectionRules::AccessoryGrid;
constexpr int ValueColumn = 1;
constexpr int NameColumnWidth = 480;
// The least height a grid or result box keeps on a low screen: three grid
// rows, two lines of text.
constexpr int MinGridHeight = 3 * 18 + 5;
constexpr int MinMemoHeight = 36;
// The designed heights of the grids and the result boxes.
constexpr int Grid1Height = 203;
constexpr int Grid2Height = 95;
constexpr int Memo1Height = 73;
constexpr int Memo3Height = 103;
// Fitting again while the window system keeps answering with changes ends
// after so many rounds.
constexpr int MaxFitRounds = 4;

void PlaceLabel(TLabel *label, TWinControl *parent, int left, int top, const QString &caption)
{
    label->SetParent(parent);
    label->SetBounds(left, top, label->Width(), label->Height());
    label->SetCaption(caption);
}

// The organisation fields' labels sit at the left, their edits in one
// column to the right: at 216 as designed, or after the widest label where
// the face the labels are shown in makes one wider, so that no edit covers
// a label.  The edits keep their right edge.
void PlaceEditRows(TPanel *panel, std::initializer_list<std::pair<TLabel *, TEdit *>> rows)
{
    constexpr int labelLeft = 8;
    constexpr int gap = 8;
    constexpr int designedLeft = 216;
    constexpr int right = designedLeft + 737;
    int left = designedLeft;
    for (const auto &[label, edit] : rows)
        left = std::max(left, labelLeft + label->Width() + gap);
    int top = 6;
    for (const auto &[label, edit] : rows) {
        label->SetBounds(labelLeft, top + 4, label->Width(), label->Height());
        edit->SetParent(panel);
        edit->SetBounds(left, top, right - left, 21);
        top += 28;
    }
}

void SetSaveGlyph(TBitBtn *button)
{
    TBitmap glyph;
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DialogSaveButton);
    glyph.SetImage(icon.pixmap(16, 16).toImage());
    button->SetGlyph(&glyph);
}

// The capacity options whose design has a second version under the
// electronic trip unit, and that trip unit's option.
constexpr int TwoVersionCapacities[] = {13, 15, 19, 23, 25};
constexpr int ElectronicTripUnit = 1;
constexpr int CapacityRow = 1;
constexpr int TripUnitRow = 4;

// The report variables the window fills.  The report takes their values as
// they are, never as expressions: nothing typed into a field is evaluated.
const QString OrganisationVariable = QStringLiteral("Наименование организации");
const QString AddressVariable = QStringLiteral("Адрес и номер телефона организации");
const QString ContactVariable = QStringLiteral("ФИО контактного лица");
const QString QuantityVariable = QStringLiteral("Количество данного типоисполнения");
const QString DescriptionVariable = QStringLiteral("Описание");
const QString OrderCodeVariable = QStringLiteral("Код для заказа");

bool IsWindowVariable(const QString &name)
{
    for (const QString &variable : {OrganisationVariable, AddressVariable, ContactVariable, QuantityVariable,
                                    DescriptionVariable, OrderCodeVariable})
        if (name.compare(variable, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Line breaks (LF, CR LF, CR, and the Unicode line and paragraph
// separators) and tabs each as one blank: what a field of one line holds.
QString JoinedLine(const QString &text)
{
    QString joined = text;
    joined.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar &ch : joined)
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch == QLatin1Char('\t') || ch == QChar::LineSeparator
            || ch == QChar::ParagraphSeparator)
            ch = QLatin1Char(' ');
    return joined;
}

// Format characters that show nothing and take no room (the soft hyphen,
// the zero-width space, the word joiner ...); the joiners, which shape
// their neighbours, and the direction marks, which order them, stay.
bool IsInvisibleFormat(QChar ch)
{
    const char16_t u = ch.unicode();
    const bool shapesOrOrders = u == 0x200C || u == 0x200D || u == 0x200E || u == 0x200F || u == 0x061C
        || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
    return ch.category() == QChar::Other_Format && !shapesOrOrders;
}

// A field's text as its one line shows it: the other control characters
// appear as blanks, and the invisible format characters not at all.
QString ShownText(const TEdit *edit)
{
    QString text;
    for (QChar ch : JoinedLine(edit->Text())) {
        if (IsInvisibleFormat(ch))
            continue;
        text.append(ch.category() == QChar::Other_Control || ch == QChar::ObjectReplacementCharacter
                        ? QLatin1Char(' ')
                        : ch);
    }
    return text;
}

// An event handler that calls method of form.
template <class... Args>
auto Handler(TMainForm *form, void (TMainForm::*method)(TObject *, Args...))
{
    return [form, method](TObject *sender, Args... args) { (form->*method)(sender, args...); };
}

} // namespace

QString ProgramTitle()
{
    return QStringLiteral("Автоматические выключатели в литом корпусе серии ZMT, ZMR");
}

TMainForm::TMainForm(TComponent *owner)
    : TForm(owner)
{
    SetCaption(ProgramTitle());
    SetPosition(poScreenCenter);
    // The sections have fixed heights and stack from the top: the window is
    // exactly as tall as they are and keeps its size.
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetBorderWidth(8);
    SetBounds(Left(), Top(), 1000, 798);
    Font()->SetName(QStringLiteral("MS Sans Serif"));
    Font()->SetSize(8);
    CreateControls();
    SetClientHeight(m_stackTop);
    CreateReport();

    m_rules.SetView(this);
    m_rules.SetModelChooser([this](const QList<TModelCandidate> &candidates) { return SelectModel(this, candidates); });
    OnCreate = Handler(this, &TMainForm::FormCreate);
}

template <class T>
T *TMainForm::NewTopControl(int height)
{
    auto *control = NewObject<T>(this);
    control->SetParent(this);
    control->SetBounds(0, m_stackTop, ClientWidth(), height);
    control->SetAlign(alTop);
    m_stackTop += height;
    return control;
}

TStaticText *TMainForm::NewSectionHeader(const QString &caption)
{
    auto *header = NewTopControl<TStaticText>(24);
    header->Font()->SetName(QStringLiteral("Arial Unicode MS"));
    header->Font()->SetHeight(-15);
    header->SetCaption(caption);
    return header;
}

TMemo *TMainForm::NewResultMemo(int height)
{
    auto *memo = NewTopControl<TMemo>(height);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    return memo;
}

TInspectorGrid *TMainForm::NewInspectorGrid(int height, const TInspectorHandlers &handlers)
{
    auto *grid = NewTopControl<TInspectorGrid>(height);
    grid->SetGridMode(gmStandard);
    grid->Rows()->SetHeight(18);
    grid->CategoryFont()->SetColor(clPurple);
    grid->CategoryFont()->SetStyle(grid->CategoryFont()->Style() | fsBold);
    grid->NameFont()->SetColor(clBtnText);
    grid->ValueFont()->SetColor(clNavy);
    grid->SetShowCellTips(true);
    grid->SetShowHint(true);
    grid->OnGetEditStyle = Handler(this, &TMainForm::InspectorGrid1GetEditStyle);
    grid->OnEditCanModify = Handler(this, &TMainForm::InspectorGrid1EditCanModify);
    grid->OnGetCellText = Handler(this, handlers.GetCellText);
    grid->OnGetEditText = grid->OnGetCellText;
    grid->OnGetEditList = Handler(this, handlers.GetEditList);
    grid->OnEditCloseUp = Handler(this, handlers.EditCloseUp);
    return grid;
}

void TMainForm::CreateControls()
{
    StaticText1 = NewSectionHeader(QStringLiteral(" Данные организации, заполнившей опросный лист"));

    Panel2 = NewTopControl<TPanel>(89);
    const auto newField = [this](TLabel *&label, TEdit *&edit, const QString &caption) {
        label = NewObject<TLabel>(this);
        PlaceLabel(label, Panel2, 8, 0, caption);
        edit = NewObject<TEdit>(this);
        edit->OnChange = Handler(this, &TMainForm::FieldChange);
    };
    newField(Label1, Edit1, QStringLiteral("Наименование организации"));
    newField(Label2, Edit2, QStringLiteral("Адрес и номер телефона организации"));
    newField(Label3, Edit3, QStringLiteral("ФИО контактного лица"));
    PlaceEditRows(Panel2, {{Label1, Edit1}, {Label2, Edit2}, {Label3, Edit3}});

    StaticText7 = NewSectionHeader(QStringLiteral(" 1 Автоматический выключатель *"));
    InspectorGrid1 = NewInspectorGrid(Grid1Height, {&TMainForm::InspectorGrid1GetCellText,
                                                    &TMainForm::InspectorGrid1GetEditList,
                                                    &TMainForm::InspectorGrid1EditCloseUp});

    StaticText2 = NewSectionHeader(QStringLiteral(" 2 Аксессуары *"));
    InspectorGrid2 = NewInspectorGrid(Grid2Height, {&TMainForm::InspectorGrid2GetCellText,
                                                    &TMainForm::InspectorGrid2GetEditList,
                                                    &TMainForm::InspectorGrid2EditCloseUp});

    Panel3 = NewTopControl<TPanel>(26);
    Label4 = NewObject<TLabel>(this);
    PlaceLabel(Label4, Panel3, 8, 6, QStringLiteral("Количество данного типоисполнения, шт."));
    Edit4 = NewObject<TSpinEdit>(this);
    Edit4->SetParent(Panel3);
    Edit4->SetBounds(Label4->Left() + Label4->Width() + 8, 2, 121, 22);
    Edit4->SetMinValue(1);
    Edit4->SetMaxValue(999999);
    Edit4->SetValue(1);
    Label5 = NewObject<TLabel>(this);
    PlaceLabel(Label5, Panel3, Edit4->Left() + Edit4->Width() + 16, 6, QStringLiteral("* Необходимо заполнить все поля!"));
    Memo2 = NewObject<TMemo>(this);
    Memo2->SetParent(Panel3);
    Memo2->SetBounds(560, 2, 185, 22);
    Memo2->SetReadOnly(true);
    Memo2->SetVisible(false);
    TableIDLabel = NewObject<TLabel>(this);
    TableIDLabel->SetParent(Panel3);
    TableIDLabel->SetAutoSize(false);
    TableIDLabel->SetAlignment(taRightJustify);
    TableIDLabel->SetBounds(Panel3->ClientWidth() - 208, 6, 200, 13);
    TableIDLabel->SetAnchors(akTop | akRight);

    StaticText6 = NewSectionHeader(QStringLiteral(" Описание"));
    Memo1 = NewResultMemo(Memo1Height);
    StaticText5 = NewSectionHeader(QStringLiteral(" Структурный состав"));
    Memo3 = NewResultMemo(Memo3Height);

    Panel1 = NewTopControl<TPanel>(35);
    Button1 = NewObject<TBitBtn>(this);
    Button1->SetParent(Panel1);
    Button1->SetBounds(8, 5, 121, 25);
    Button1->SetCaption(QStringLiteral("Сохранить в pdf"));
    SetSaveGlyph(Button1);
    Button1->SetEnabled(false);
    Button1->OnClick = Handler(this, &TMainForm::Button1Click);
    Button3 = NewObject<TButton>(this);
    Button3->SetParent(Panel1);
    Button3->SetBounds(137, 5, 75, 25);
    Button3->SetCaption(QStringLiteral("Сбросить"));
    Button3->OnClick = Handler(this, &TMainForm::Button3Click);
    Button2 = NewObject<TButton>(this);
    Button2->SetParent(Panel1);
    Button2->SetBounds(Panel1->ClientWidth() - 83, 5, 75, 25);
    Button2->SetCaption(QStringLiteral("Закрыть"));
    Button2->SetAnchors(akTop | akRight);
    Button2->OnClick = Handler(this, &TMainForm::Button2Click);
}

void TMainForm::CreateReport()
{
    const auto newDataSet = [this](const QString &name, void (TMainForm::*handler)(const QString &, Variant &)) {
        auto *dataSet = NewObject<TqvxUserDataSet>(this);
        dataSet->SetName(name);
        dataSet->SetOnGetValue(
            [this, handler](const QString &field, Variant &value) { (this->*handler)(field, value); });
        return dataSet;
    };
    qvxUserDataSet1 = newDataSet(QStringLiteral("qvxUserDataSet1"), &TMainForm::qvxUserDataSet1GetValue);
    qvxUserDataSet2 = newDataSet(QStringLiteral("qvxUserDataSet2"), &TMainForm::qvxUserDataSet2GetValue);
    qvxUserDataSet3 = newDataSet(QStringLiteral("qvxUserDataSet3"), &TMainForm::qvxUserDataSet3GetValue);
    qvxPDFExport1 = NewObject<TqvxPDFExport>(this);
    qvxPDFExport1->SetName(QStringLiteral("qvxPDFExport1"));
    qvxReport1 = NewObject<TqvxReport>(this);
    qvxReport1->SetName(QStringLiteral("qvxReport1"));
    LoadQuestionnaireTemplate(qvxReport1, this);
    qvxReport1->OnGetValue = [this](const QString &name, Variant &value) { qvxReport1GetValue(name, value); };
}

int TMainForm::Quantity() const
{
    return Edit4->Value();
}

void TMainForm::FormCreate(TObject *)
{
    InspectorGrid1->Rows()->SetCount(TSelectionRules::ParamRowCount);
    InspectorGrid1->Columns()->Columns(0)->SetWidth(NameColumnWidth);
    InspectorGrid2->Rows()->SetCount(TSelectionRules::AccessoryRowCount);
    InspectorGrid2->Columns()->Columns(0)->SetWidth(NameColumnWidth);
    TableIDLabel->SetCaption(QString());
}

void TMainForm::Button1Click(TObject *)
{
    // The report reports its own failures; one raised to the caller (by
    // the report's error mode, or from anywhere on the way) is shown here,
    // since nothing above an event handler would catch it.
    try {
        SaveAsPdf();
    } catch (const std::exception &e) {
        qvxErrorMsg(QString::fromUtf8(e.what()));
    }
}

// Marks the window as saving and takes its input away for the lifetime of
// the scope; the progress window of the export is a window of its own and
// stays live.  The focus comes back to where it was.
class TMainForm::SaveScope
{
public:
    explicit SaveScope(TMainForm *form) : m_form(form), m_focus(QApplication::focusWidget())
    {
        m_form->m_saving = true;
        for (int i = 0; i < m_form->ControlCount(); ++i)
            if (TControl *control = m_form->Controls(i); control->Enabled()) {
                control->SetEnabled(false);
                m_disabled.append(control);
            }
    }
    ~SaveScope()
    {
        for (TControl *control : std::as_const(m_disabled))
            control->SetEnabled(true);
        m_form->m_saving = false;
        if (m_focus && m_focus->isEnabled())
            m_focus->setFocus();
    }
    SaveScope(const SaveScope &) = delete;
    SaveScope &operator=(const SaveScope &) = delete;

private:
    TMainForm *m_form;
    QPointer<QWidget> m_focus;
    QList<TControl *> m_disabled;
};

bool TMainForm::SaveAsPdf()
{
    if (m_saving)
        return false;
    SaveScope saving(this);

    const QString orderCode = OrderCodeValue();
    // An empty composition (the model left to the manager) still gives its
    // band one blank line: the band's footer, with the closing line and the
    // order code, prints only after a line of its band.
    qvxUserDataSet3->SetRangeEndCount(std::max(1, int(m_rules.Composition().size())));
    TqvxVariables *variables = qvxReport1->Variables();
    variables->SetVariable(OrganisationVariable, ShownText(Edit1));
    variables->SetVariable(AddressVariable, ShownText(Edit2));
    variables->SetVariable(ContactVariable, ShownText(Edit3));
    variables->SetVariable(QuantityVariable, QString::number(Quantity()));
    variables->SetVariable(DescriptionVariable, m_rules.Description());
    variables->SetVariable(OrderCodeVariable, orderCode);
    const QString lastFileName = qvxPDFExport1->FileName();

    // A build the user stopped keeps its pages for a preview, but is no
    // questionnaire to save.
    if (!qvxReport1->PrepareReport(true) || qvxReport1->Terminated())
        return false;

    TSaveDialog dialog(nullptr);
    dialog.SetFilter(QStringLiteral("Файл Adobe PDF (*.pdf)|*.pdf"));
    dialog.SetDefaultExt(QStringLiteral("pdf"));
    dialog.SetOptions(dialog.Options() | ofOverwritePrompt);
    dialog.SetFileName(lastFileName);
    if (!dialog.Execute())
        return false;

    qvxPDFExport1->SetFileName(dialog.FileName());
    return qvxReport1->Export(qvxPDFExport1);
}

QString TMainForm::OrderCodeValue() const
{
    const QString code = m_rules.OrderCode();
    const int capacity = m_rules.Choice(G1, CapacityRow);
    if (m_rules.Choice(G1, TripUnitRow) == ElectronicTripUnit && std::ranges::count(TwoVersionCapacities, capacity))
        return code + QStringLiteral("OEM\r\n") + code + QStringLiteral("SKD");
    return code + QStringLiteral("OEM");
}

void TMainForm::qvxReport1GetValue(const QString &varName, Variant &value)
{
    if (IsWindowVariable(varName))
        value = qvxReport1->Variables()->GetVariable(varName);
}

bool TMainForm::CloseQuery()
{
    return !m_saving && TForm::CloseQuery();
}

namespace {

// A grid or result box, with its designed height and the least it keeps.
struct Flexible {
    TControl *control;
    int designed;
    int least;
    int Spare() const { return designed - least; }
};

// Shares out taken in proportion to the spare of each, rounded on the
// running sums so that the shares add up to taken.
QList<int> ProportionalShares(const QList<const Flexible *> &flexible, int taken)
{
    int spare = 0;
    for (const Flexible *f : flexible)
        spare += f->Spare();
    QList<int> shares;
    int given = 0;
    int spareSoFar = 0;
    for (const Flexible *f : flexible) {
        spareSoFar += f->Spare();
        const int share = spare > 0 ? taken * spareSoFar / spare - given : 0;
        given += share;
        shares.append(share);
    }
    return shares;
}

} // namespace

// Each grid gives up whole rows, as few as its proportional share allows;
// the result boxes give up the rest, and where they cannot, the grids give
// up a row more each in turn.
void TMainForm::GiveUpHeight(int loss)
{
    const Flexible grids[] = {{InspectorGrid1, Grid1Height, MinGridHeight}, {InspectorGrid2, Grid2Height, MinGridHeight}};
    const Flexible memos[] = {{Memo1, Memo1Height, MinMemoHeight}, {Memo3, Memo3Height, MinMemoHeight}};
    const QList<const Flexible *> all = {&grids[0], &grids[1], &memos[0], &memos[1]};
    int spare = 0;
    for (const Flexible *f : all)
        spare += f->Spare();
    const int taken = std::clamp(loss, 0, spare);
    if (taken == m_heightGivenUp)
        return;
    m_heightGivenUp = taken;

    const int row = InspectorGrid1->Rows()->Height();
    const QList<int> shares = ProportionalShares(all, taken);
    int gridsGiven[2];
    int rest = taken;
    for (int i = 0; i < 2; ++i) {
        gridsGiven[i] = shares[i] / row * row;
        rest -= gridsGiven[i];
    }
    const int memoSpare = memos[0].Spare() + memos[1].Spare();
    for (bool more = true; rest > memoSpare && more;) {
        more = false;
        for (int i = 0; i < 2; ++i)
            if (rest > memoSpare && gridsGiven[i] + row <= grids[i].Spare()) {
                gridsGiven[i] += row;
                rest -= row;
                more = true;
            }
    }
    const QList<int> memoShares = ProportionalShares({&memos[0], &memos[1]}, std::min(rest, memoSpare));
    for (int i = 0; i < 2; ++i) {
        grids[i].control->SetHeight(grids[i].designed - gridsGiven[i]);
        memos[i].control->SetHeight(memos[i].designed - memoShares[i]);
    }
}

void TMainForm::Resize()
{
    TForm::Resize();
    if (m_stackTop > 0)
        GiveUpHeight(m_stackTop - ClientHeight());
}

namespace {

// The window with the window manager's frame round it, once it has one.
// The frame is asked of the window system: a widget's own idea of it may
// lag behind.
QRect FrameGeometry(const QWidget *window)
{
    const QWindow *handle = window->windowHandle();
    return handle && window->isVisible() ? handle->frameGeometry() : window->geometry();
}

} // namespace

void TMainForm::FitToWorkArea(const TRect &area)
{
    if (area.IsEmpty())
        return;
    // A change the window system reports while the window fits itself is
    // looked at once that fitting is done.
    if (m_fitting) {
        m_fitAgain = true;
        return;
    }
    m_fitting = true;
    for (int round = 0; round < MaxFitRounds; ++round) {
        m_fitAgain = false;
        fitOnce(area);
        if (!m_fitAgain)
            break;
    }
    m_fitting = false;
}

void TMainForm::fitOnce(const TRect &area)
{
    const QWidget *window = Widget();
    // The frame's height is taken from the window manager's margins alone:
    // while the window is moved or resized, the window system's geometry
    // and the widget's may for a moment tell two sizes, and a height fitted
    // to their difference would move a window the user put in its place.
    const QWindow *handle = window->windowHandle();
    const QMargins margins = handle && window->isVisible() ? handle->frameMargins() : QMargins();
    const int decoration = margins.top() + margins.bottom();
    const int available = area.Height() - decoration - 2 * BorderWidth();
    const int wanted = std::min(m_stackTop, available);
    const bool resized = ClientHeight() != wanted;
    if (resized)
        SetClientHeight(wanted);
    // A window made to fit, one whose title bar is above the area, or one
    // reaching below the area as the window manager places or frames it,
    // or as the area changes, is moved wholly onto the area.  A window the
    // user moves partly below the screen stays there.
    const bool placing = !m_placed || margins != m_fittedMargins || area != m_fittedArea;
    const QRect frame = FrameGeometry(window);
    if (window->isVisible() && (resized || frame.top() < area.Top || (placing && frame.bottom() >= area.Bottom))) {
        // The place is worked out whole from the frame the window system
        // last told of and the size asked for, so that a report older than
        // the last request asks for the place the window already has,
        // rather than moving it by a distance it is no longer out.
        const int left = std::clamp(frame.left(), area.Left, std::max(area.Left, area.Right - Width()));
        const int top = std::clamp(frame.top(), area.Top, std::max(area.Top, area.Bottom - Height()));
        if (left != frame.left() || top != frame.top())
            SetBounds(left, top, Width(), Height());
    }
    m_fittedMargins = margins;
    m_fittedArea = area;
    // Placed: shown on the screen in the window manager's frame.
    m_placed = handle && handle->isExposed() && !margins.isNull();
}

void TMainForm::fitToMonitor()
{
    FitToWorkArea(MonitorWorkArea());
}

// The window fits itself whenever its frame or its work area may have
// changed: as it is shown, exposed, moved, resized or activated (a window
// manager that frames it anew moves or exposes it too), and as the work
// area of its screen changes.
void TMainForm::watchWindowSystem()
{
    QWindow *handle = Widget()->windowHandle();
    if (!handle || handle == m_watchedWindow)
        return;
    m_watchedWindow = handle;
    handle->installEventFilter(this);
    const auto watchScreen = [this](QScreen *screen) {
        QObject::disconnect(m_areaWatch);
        if (screen)
            m_areaWatch = QObject::connect(screen, &QScreen::availableGeometryChanged, Widget(),
                                           [this] { fitToMonitor(); });
    };
    watchScreen(handle->screen());
    // The window is taken to another screen by a move, which fits it; the
    // screen is told of before the window's bounds are.
    QObject::connect(handle, &QWindow::screenChanged, Widget(), watchScreen);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool handled = TForm::eventFilter(watched, event);
    if (watched == Widget()) {
        switch (event->type()) {
        case QEvent::Show:
            watchWindowSystem();
            fitToMonitor();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            fitToMonitor();
            break;
        default:
            break;
        }
    } else if (watched == m_watchedWindow && event->type() == QEvent::Expose) {
        fitToMonitor();
    }
    return handled;
}

void TMainForm::qvxUserDataSet1GetValue(const QString &varName, Variant &value)
{
    ChoiceValue(G1, qvxUserDataSet1->RecNo(), varName, value);
}

void TMainForm::qvxUserDataSet2GetValue(const QString &varName, Variant &value)
{
    ChoiceValue(G2, qvxUserDataSet2->RecNo(), varName, value);
}

void TMainForm::qvxUserDataSet3GetValue(const QString &, Variant &value)
{
    value = m_rules.Composition().value(qvxUserDataSet3->RecNo());
}

void TMainForm::ChoiceValue(int grid, int row, const QString &field, Variant &value) const
{
    const int rows = grid == G1 ? TSelectionRules::ParamRowCount : TSelectionRules::AccessoryRowCount;
    const bool inRange = row >= 0 && row < rows;
    if (field == QLatin1String("Param"))
        value = inRange ? RowCaption(grid, row) : QString();
    else if (field == QLatin1String("Value"))
        value = inRange ? m_rules.ChoiceCaption(grid, row) : QString();
}

void TMainForm::FieldChange(TObject *sender)
{
    auto *edit = static_cast<TEdit *>(sender);
    const QString text = edit->Text();
    const QString joined = JoinedLine(text);
    if (joined == text)
        return;
    const int cursor = edit->SelStart();
    const int removed = cursor - int(JoinedLine(text.left(cursor)).size());
    edit->SetText(joined);
    edit->SetSelStart(cursor - removed);
}

void TMainForm::Button2Click(TObject *)
{
    Close();
}

void TMainForm::Button3Click(TObject *)
{
    m_rules.Reset();
    // Both grids start over at their first row, scrolled to the top.
    for (TCustomGridView *grid : {InspectorGrid1, InspectorGrid2}) {
        grid->SetAlwaysEdit(false);
        grid->SetCellFocused(GridCell(ValueColumn, 0));
        grid->Repaint();
        grid->SetAlwaysEdit(true);
    }
    Edit1->SetText(QString());
    Edit2->SetText(QString());
    Edit3->SetText(QString());
    Edit4->SetValue(1);
}

void TMainForm::InspectorGrid1GetEditStyle(TObject *sender, TGridCell cell, TGridEditStyle &style)
{
    if (cell.Col == ValueColumn)
        style = m_rules.HasPickList(GridIndex(sender), cell.Row) ? gePickList : geSimple;
}

void TMainForm::InspectorGrid1GetCellText(TObject *, TGridCell cell, QString &value)
{
    CellText(G1, cell, value);
}

void TMainForm::InspectorGrid2GetCellText(TObject *, TGridCell cell, QString &value)
{
    CellText(G2, cell, value);
}

void TMainForm::InspectorGrid1GetEditList(TObject *, TGridCell cell, TStrings *items)
{
    EditList(G1, cell, items);
}

void TMainForm::InspectorGrid2GetEditList(TObject *, TGridCell cell, TStrings *items)
{
    EditList(G2, cell, items);
}

void TMainForm::InspectorGrid1EditCanModify(TObject *, TGridCell, bool &canModify)
{
    canModify = false;
}

void TMainForm::InspectorGrid1EditCloseUp(TObject *, TGridCell cell, int itemIndex, bool &)
{
    EditCloseUp(G1, cell, itemIndex);
}

void TMainForm::InspectorGrid2EditCloseUp(TObject *, TGridCell cell, int itemIndex, bool &)
{
    EditCloseUp(G2, cell, itemIndex);
}

TCustomGridView *TMainForm::Grid(int grid) const
{
    return grid == G1 ? InspectorGrid1 : InspectorGrid2;
}

int TMainForm::GridIndex(const TObject *grid) const
{
    return grid == InspectorGrid2 ? G2 : G1;
}

QString TMainForm::RowCaption(int grid, int row)
{
    return QString::fromUtf8(grid == G1 ? ParamCaptions[row] : AccessoryCaptions[row]);
}

void TMainForm::CellText(int grid, TGridCell cell, QString &value) const
{
    if (cell.Col == 0)
        value = RowCaption(grid, cell.Row);
    else if (cell.Col == ValueColumn)
        value = m_rules.ChoiceCaption(grid, cell.Row);
}

void TMainForm::EditList(int grid, TGridCell cell, TStrings *items)
{
    const std::optional<QStringList> list = m_rules.EditList(grid, cell.Row);
    if (!list)
        return;
    items->BeginUpdate();
    items->Clear();
    for (const QString &item : *list)
        items->Add(item);
    items->EndUpdate();
}

void TMainForm::EditCloseUp(int grid, TGridCell cell, int itemIndex)
{
    m_rules.RecordChoice(grid, cell.Row, itemIndex);
    // The editor shows the new choice; the cell under it must too.
    InvalidateValue(grid, cell.Row);
}

void TMainForm::InvalidateValue(int grid, int row)
{
    Grid(grid)->InvalidateCell(GridCell(ValueColumn, row));
}

void TMainForm::InvalidateGrid(int grid)
{
    Grid(grid)->InvalidateGrid();
}

void TMainForm::RestartAccessoryEditing()
{
    InspectorGrid2->SetAlwaysEdit(false);
    InspectorGrid2->SetAlwaysEdit(true);
    if (InspectorGrid1->CanFocus())
        InspectorGrid1->SetFocus();
}

void TMainForm::TableLabelChanged(const QString &caption)
{
    TableIDLabel->SetCaption(caption);
}

void TMainForm::SaveEnabledChanged(bool enabled)
{
    Button1->SetEnabled(enabled);
}

void TMainForm::ResultsChanged()
{
    Memo1->SetText(m_rules.Description());
    Memo2->SetText(m_rules.OrderCode());
    TStrings *composition = Memo3->Lines();
    composition->BeginUpdate();
    composition->Clear();
    for (const QString &line : m_rules.Composition())
        composition->Add(line);
    composition->EndUpdate();
}
