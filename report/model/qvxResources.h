#pragma once

// The store of the report library's user-visible texts.
//
// Texts are looked up by key (case-insensitive); a key that has no text
// answers itself.  The built-in Russian texts are loaded at start; a
// language file loaded later replaces them key by key.  The store also knows
// the help file with its topics and the language files next to the program.

#include "report/base/TWideStrings.h"
#include "toolkit/classes/TObject.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class TImageList;
class TStream;

class TqvxResources : public TObject
{
    Q_OBJECT

public:
    TqvxResources();
    ~TqvxResources() override;

    // Replaces the text of an existing key, or adds the key.
    void Add(const QString &name, const QString &value);
    // The text, reduced to what the store's code page can hold; the key
    // itself when it has no text.  A leading '!' is dropped in either case.
    QString Get(const QString &name) const;

    // Reads a resource document: a root element "Resources" with a CodePage
    // attribute and "StrRes" children with Name and Text.  Other roots and
    // other elements are ignored.  Raises TqvxInvalidXMLException on
    // malformed XML and EConvertError on a CodePage that is no number.
    void LoadFromString(const QString &text);
    void LoadFromStream(TStream *stream);

    // Hands the script engine's message texts over to it.
    void UpdateFSResources();

    // Opens the help topic of the form's class.
    void Help(const TObject *form);
    // The help file in the program's folder followed by "::/" and the topic
    // of the class; without a topic for an unknown class.
    QString HelpFileFor(const QString &className) const;

    // The language files ("*.qvc", any case) in the folder, as capitalised
    // names without extension ("RUSSIAN.QVC" gives "Russian"), sorted.
    void BuildLanguagesList(const QString &folder);
    const QStringList &Languages() const { return m_languages; }

    // The 16 x 16 images of the preview's buttons and of the report object
    // classes, unpacked from the program's resources on first use.
    TImageList *PreviewButtonImages();
    TImageList *ObjectImages();

    // 0 (the system code page) until a resource document sets it.
    int CodePage() const { return m_codePage; }
    void SetCodePage(int codePage) { m_codePage = codePage; }
    const QString &HelpFile() const { return m_helpFile; }

private:
    static std::unique_ptr<TImageList> loadImages(const QString &resource);

    QHash<QString, int> m_names;
    TWideStrings m_values;
    QStringList m_languages;
    QString m_helpFile;
    int m_codePage = 0;
    std::unique_ptr<TImageList> m_previewButtonImages;
    std::unique_ptr<TImageList> m_objectImages;
};

// The global store, created on first use and freed at unit finalisation.
TqvxResources *qvxResources();
// Get of the decimal text of a numeric key.
QString qvxGet(int id);

// Unit start-up: loads the built-in texts; shut-down frees the store.
void InitializeQvxResources();
void FinalizeQvxResources();
