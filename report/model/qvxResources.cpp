#include "report/model/qvxResources.h"

#include "report/model/qvxBuiltinTexts.h"
#include "report/model/qvxExportTexts.h"
#include "report/base/qvxCodePages.h"
#include "report/base/qvxFileUtils.h"
#include "report/base/qvxGraphicUtils.h"
#include "report/model/qvxHtmlHelp.h"
#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxZLib.h"
#include "script/zqMessages.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Files.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/SysUtils.h"

#include <QFile>

#include <memory>

namespace {

struct HelpTopic {
    const char16_t *className;
    const char16_t *topic;
};

const HelpTopic helpTopics[] = {
    {u"TqvxDesignerForm", u"Designer.htm"},
    {u"TqvxOptionsEditor", u"Designer_options.htm"},
    {u"TqvxReportEditorForm", u"Report_options.htm"},
    {u"TqvxPageEditorForm", u"Page_options.htm"},
    {u"TqvxCrossEditorForm", u"Cross_tab_reports.htm"},
    {u"TqvxChartEditorForm", u"Diagrams.htm"},
    {u"TqvxSyntaxMemo", u"Script.htm"},
    {u"TqvxDialogPage", u"Dialogue_forms.htm"},
    {u"TqvxDialogComponent", u"Data_access_components.htm"},
    {u"TqvxVarEditorForm", u"Variables.htm"},
    {u"TqvxHighlightEditorForm", u"Conditional_highlighting.htm"},
    {u"TqvxSysMemoEditorForm", u"Inserting_aggregate_function.htm"},
    {u"TqvxFormatEditorForm", u"Values_formatting.htm"},
    {u"TqvxGroupEditorForm", u"Report_with_groups.htm"},
    {u"TqvxPictureEditorForm", u"Picture_object.htm"},
    {u"TqvxMemoEditorForm", u"Text_object.htm"},
    {u"TqvxSQLEditorForm", u"TqvxADOQuery.htm"},
};

struct ScriptMessage {
    const char *name;
    QString *text;
};

const ScriptMessage scriptMessages[] = {
    {"SLangNotFound", &SLangNotFound},
    {"SInvalidLanguage", &SInvalidLanguage},
    {"SIdRedeclared", &SIdRedeclared},
    {"SUnknownType", &SUnknownType},
    {"SIncompatibleTypes", &SIncompatibleTypes},
    {"SIdUndeclared", &SIdUndeclared},
    {"SClassRequired", &SClassRequired},
    {"SIndexRequired", &SIndexRequired},
    {"SStringError", &SStringError},
    {"SClassError", &SClassError},
    {"SArrayRequired", &SArrayRequired},
    {"SVarRequired", &SVarRequired},
    {"SNotEnoughParams", &SNotEnoughParams},
    {"STooManyParams", &STooManyParams},
    {"SLeftCantAssigned", &SLeftCantAssigned},
    {"SForError", &SForError},
    {"SEventError", &SEventError},
};

QString keyOf(const QString &name)
{
    return name.toCaseFolded();
}

std::unique_ptr<TqvxResources> &globalStore()
{
    static std::unique_ptr<TqvxResources> store;
    return store;
}

} // namespace

TqvxResources::TqvxResources() : m_helpFile(QStringLiteral("QVUser.chm"))
{
    BuildLanguagesList(qvxGetAppPath());
}

TqvxResources::~TqvxResources() = default;

std::unique_ptr<TImageList> TqvxResources::loadImages(const QString &resource)
{
    constexpr int CellSize = 16;
    QFile file(QLatin1String(":/report/") + resource);
    if (!file.open(QIODevice::ReadOnly))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(resource));
    TMemoryStream packed;
    packed.WriteBuffer(file.readAll());
    packed.SetPosition(0);
    TMemoryStream unpacked;
    QString storedName;
    DecompressGZipStream(&packed, &unpacked, storedName);
    unpacked.SetPosition(0);
    TBitmap bitmap;
    bitmap.LoadFromStream(&unpacked);

    auto images = std::make_unique<TImageList>();
    images->SetSize(CellSize, CellSize);
    qvxCreateImages(&bitmap, CellSize, CellSize, nullptr, images.get());
    return images;
}

TImageList *TqvxResources::PreviewButtonImages()
{
    if (!m_previewButtonImages)
        m_previewButtonImages = loadImages(QStringLiteral("PreviewButtons"));
    return m_previewButtonImages.get();
}

TImageList *TqvxResources::ObjectImages()
{
    if (!m_objectImages)
        m_objectImages = loadImages(QStringLiteral("ObjectButtons"));
    return m_objectImages.get();
}

void TqvxResources::Add(const QString &name, const QString &value)
{
    const auto it = m_names.constFind(keyOf(name));
    if (it != m_names.constEnd())
        m_values.Put(*it, value);
    else
        m_names.insert(keyOf(name), m_values.Add(value));
}

QString TqvxResources::Get(const QString &name) const
{
    const auto it = m_names.constFind(keyOf(name));
    QString text = name;
    if (it != m_names.constEnd()) {
        // What an 8-bit text in the store's code page can hold.
        text = qvxAnsiToWideString(qvxWideStringToAnsi(m_values.Get(*it), 1, m_codePage), 1, m_codePage);
    }
    if (text.startsWith(u'!'))
        text.remove(0, 1);
    return text;
}

void TqvxResources::LoadFromString(const QString &text)
{
    TStringStream stream(text);
    LoadFromStream(&stream);
}

void TqvxResources::LoadFromStream(TStream *stream)
{
    TqvxXMLDocument document;
    document.LoadFromStream(stream);
    const TqvxXMLItem *root = document.Root();
    if (root->Name() == QLatin1String("Resources")) {
        m_codePage = StrToInt(root->GetProp(QStringLiteral("CodePage")));
        for (int i = 0; i < root->Count(); ++i) {
            const TqvxXMLItem *item = root->Items(i);
            if (item->Name() == QLatin1String("StrRes"))
                Add(item->GetProp(QStringLiteral("Name")), item->GetProp(QStringLiteral("Text")));
        }
    }
    UpdateFSResources();
}

void TqvxResources::UpdateFSResources()
{
    for (const ScriptMessage &message : scriptMessages)
        *message.text = Get(QLatin1String(message.name));
}

QString TqvxResources::HelpFileFor(const QString &className) const
{
    QString topic;
    for (const HelpTopic &entry : helpTopics) {
        if (className.compare(QString::fromUtf16(entry.className), Qt::CaseInsensitive) == 0) {
            topic = QLatin1String("::/") + QString::fromUtf16(entry.topic);
            break;
        }
    }
    return qvxGetAppPath() + m_helpFile + topic;
}

void TqvxResources::Help(const TObject *form)
{
    HtmlHelp(form, HelpFileFor(form->ClassName()));
}

void TqvxResources::BuildLanguagesList(const QString &folder)
{
    m_languages.clear();
    for (const QString &file : ListFiles(folder, QStringLiteral("*.qvc"))) {
        QString name = file.left(file.size() - 4).toLower();
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        m_languages.append(name);
    }
    m_languages.sort();
}

TqvxResources *qvxResources()
{
    auto &store = globalStore();
    if (!store)
        store = std::make_unique<TqvxResources>();
    return store.get();
}

QString qvxGet(int id)
{
    return qvxResources()->Get(QString::number(id));
}

void InitializeQvxResources()
{
    Q_INIT_RESOURCE(qvxImages);
    qvxResources()->LoadFromString(QString::fromUtf8(qvxBuiltinTexts()));
    qvxResources()->LoadFromString(QString::fromUtf8(qvxExportTexts()));
}

void FinalizeQvxResources()
{
    globalStore().reset();
}
