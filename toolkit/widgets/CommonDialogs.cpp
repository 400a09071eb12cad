#include "toolkit/widgets/CommonDialogs.h"

#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/widgets/ModalRunner.h"
#include "toolkit/classes/TStringList.h"

#include <QFileInfo>

QStringList NameFiltersFromFilter(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed();
        const QString group = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        const QString listed = QLatin1Char('(') + patterns.join(QLatin1Char(';')) + QLatin1Char(')');
        if (description.endsWith(group) || description.endsWith(listed))
            result.append(description.left(description.lastIndexOf(QLatin1Char('('))) + group);
        else
            result.append(description + QLatin1Char(' ') + group);
    }
    return result;
}

QString SaveFileName(const QString &fileName, const QString &defaultExt)
{
    if (defaultExt.isEmpty() || fileName.endsWith(QLatin1Char('.') + defaultExt, Qt::CaseInsensitive))
        return fileName;
    return fileName + (fileName.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + defaultExt;
}

TOpenDialog::TOpenDialog(TComponent *owner) : TCommonDialog(owner), m_files(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

TStrings *TOpenDialog::Files() const
{
    return m_files.get();
}

bool TOpenDialog::Execute()
{
    TFileDialogRequest request;
    request.Save = IsSaveDialog();
    request.Title = m_title;
    request.InitialDir = m_initialDir;
    request.FileName = m_fileName;
    request.Filters = NameFiltersFromFilter(m_filter);
    request.FilterIndex = qMax(0, m_filterIndex - 1);
    request.DefaultExt = m_defaultExt;
    request.MultiSelect = m_options.testFlag(ofAllowMultiSelect);
    request.OverwritePrompt = m_options.testFlag(ofOverwritePrompt);
    request.FileMustExist = m_options.testFlag(ofFileMustExist);
    if (!ModalRunner::Current().FileDialog(request))
        return false;

    if (request.Files.isEmpty())
        request.Files.append(request.FileName);
    m_files->Clear();
    for (QString file : std::as_const(request.Files)) {
        if (request.Save)
            file = SaveFileName(file, m_defaultExt);
        else if (!m_defaultExt.isEmpty() && QFileInfo(file).suffix().isEmpty() && !file.endsWith(QLatin1Char('.')))
            file += QLatin1Char('.') + m_defaultExt;
        m_files->Add(file);
    }
    m_fileName = m_files->Strings(0);
    m_filterIndex = request.FilterIndex + 1;
    return true;
}

TColorDialog::TColorDialog(TComponent *owner) : TCommonDialog(owner), m_customColors(std::make_unique<TStringList>())
{
}

TColorDialog::~TColorDialog() = default;

TStrings *TColorDialog::CustomColors() const
{
    return m_customColors.get();
}

bool TColorDialog::Execute()
{
    TColor color = m_color;
    if (!ModalRunner::Current().ColorDialog(color))
        return false;
    m_color = color;
    return true;
}

TFontDialog::TFontDialog(TComponent *owner) : TCommonDialog(owner), m_font(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

void TFontDialog::SetFont(const TFont *font)
{
    m_font->Assign(font);
}

bool TFontDialog::Execute()
{
    TFontData data = m_font->Data();
    if (!ModalRunner::Current().FontDialog(data))
        return false;
    m_font->SetData(data);
    if (m_options.testFlag(fdLimitSize)) {
        if (m_minFontSize > 0 && m_font->Size() < m_minFontSize)
            m_font->SetSize(m_minFontSize);
        if (m_maxFontSize > 0 && m_font->Size() > m_maxFontSize)
            m_font->SetSize(m_maxFontSize);
    }
    return true;
}

namespace {

// Runs the request; the answer replaces it only when the user confirmed.
bool runPrintRequest(TPrintRequest &kept)
{
    TPrintRequest request = kept;
    if (!ModalRunner::Current().PrintDialog(request))
        return false;
    kept = request;
    return true;
}

} // namespace

TPrintDialog::TPrintDialog(TComponent *owner) : TCommonDialog(owner), m_request(std::make_unique<TPrintRequest>()) {}

TPrintDialog::~TPrintDialog() = default;

int TPrintDialog::Copies() const
{
    return m_request->Copies;
}

void TPrintDialog::SetCopies(int copies)
{
    m_request->Copies = copies;
}

bool TPrintDialog::Collate() const
{
    return m_request->Collate;
}

void TPrintDialog::SetCollate(bool collate)
{
    m_request->Collate = collate;
}

int TPrintDialog::FromPage() const
{
    return m_request->FromPage;
}

void TPrintDialog::SetFromPage(int page)
{
    m_request->FromPage = page;
}

int TPrintDialog::ToPage() const
{
    return m_request->ToPage;
}

void TPrintDialog::SetToPage(int page)
{
    m_request->ToPage = page;
}

int TPrintDialog::MinPage() const
{
    return m_request->MinPage;
}

void TPrintDialog::SetMinPage(int page)
{
    m_request->MinPage = page;
}

int TPrintDialog::MaxPage() const
{
    return m_request->MaxPage;
}

void TPrintDialog::SetMaxPage(int page)
{
    m_request->MaxPage = page;
}

TPrintRange TPrintDialog::PrintRange() const
{
    return m_request->PrintRange;
}

void TPrintDialog::SetPrintRange(TPrintRange range)
{
    m_request->PrintRange = range;
}

bool TPrintDialog::PrintToFile() const
{
    return m_request->PrintToFile;
}

void TPrintDialog::SetPrintToFile(bool toFile)
{
    m_request->PrintToFile = toFile;
}

TPrintDialogOptions TPrintDialog::Options() const
{
    return m_request->Options;
}

void TPrintDialog::SetOptions(TPrintDialogOptions options)
{
    m_request->Options = options;
}

QString TPrintDialog::PrinterName() const
{
    return m_request->PrinterName;
}

void TPrintDialog::SetPrinterName(const QString &name)
{
    m_request->PrinterName = name;
}

bool TPrintDialog::Execute()
{
    return runPrintRequest(*m_request);
}

TPrinterSetupDialog::TPrinterSetupDialog(TComponent *owner)
    : TCommonDialog(owner), m_request(std::make_unique<TPrintRequest>())
{
    m_request->SetupOnly = true;
}

TPrinterSetupDialog::~TPrinterSetupDialog() = default;

QString TPrinterSetupDialog::PrinterName() const
{
    return m_request->PrinterName;
}

void TPrinterSetupDialog::SetPrinterName(const QString &name)
{
    m_request->PrinterName = name;
}

TPrinterOrientation TPrinterSetupDialog::Orientation() const
{
    return m_request->Orientation;
}

void TPrinterSetupDialog::SetOrientation(TPrinterOrientation orientation)
{
    m_request->Orientation = orientation;
}

bool TPrinterSetupDialog::Execute()
{
    return runPrintRequest(*m_request);
}
