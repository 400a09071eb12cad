#pragma once

// The common dialogs: open and save file, colour, font, print and printer
// set-up.  Execute runs the dialog through the modal runner and answers
// whether the user confirmed; the dialog's properties hold the answer then.
// The properties that set a dialog up and hold the answer are published, so
// scripts reach them too.

#include "toolkit/classes/TComponent.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/printing/Printers.h"

#include <QFlags>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

struct TPrintRequest;
class TStringList;

namespace DialogTypes {
Q_NAMESPACE

enum TOpenOption {
    ofReadOnly = 0x1,
    ofOverwritePrompt = 0x2,
    ofHideReadOnly = 0x4,
    ofNoChangeDir = 0x8,
    ofShowHelp = 0x10,
    ofNoValidate = 0x20,
    ofAllowMultiSelect = 0x40,
    ofExtensionDifferent = 0x80,
    ofPathMustExist = 0x100,
    ofFileMustExist = 0x200,
    ofCreatePrompt = 0x400,
    ofShareAware = 0x800,
    ofNoReadOnlyReturn = 0x1000,
    ofNoTestFileCreate = 0x2000,
    ofNoNetworkButton = 0x4000,
    ofNoLongNames = 0x8000,
    ofOldStyleDialog = 0x10000,
    ofNoDereferenceLinks = 0x20000,
    ofEnableIncludeNotify = 0x40000,
    ofEnableSizing = 0x80000
};
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
Q_FLAG_NS(TOpenOptions)

enum TColorDialogOption {
    cdFullOpen = 0x1,
    cdPreventFullOpen = 0x2,
    cdShowHelp = 0x4,
    cdSolidColor = 0x8,
    cdAnyColor = 0x10
};
Q_DECLARE_FLAGS(TColorDialogOptions, TColorDialogOption)
Q_FLAG_NS(TColorDialogOptions)

enum TFontDialogOption {
    fdAnsiOnly = 0x1,
    fdTrueTypeOnly = 0x2,
    fdEffects = 0x4,
    fdFixedPitchOnly = 0x8,
    fdForceFontExist = 0x10,
    fdNoFaceSel = 0x20,
    fdNoOEMFonts = 0x40,
    fdNoSimulations = 0x80,
    fdNoSizeSel = 0x100,
    fdNoStyleSel = 0x200,
    fdNoVectorFonts = 0x400,
    fdShowHelp = 0x800,
    fdWysiwyg = 0x1000,
    fdLimitSize = 0x2000,
    fdScalableOnly = 0x4000,
    fdApplyButton = 0x8000
};
Q_DECLARE_FLAGS(TFontDialogOptions, TFontDialogOption)
Q_FLAG_NS(TFontDialogOptions)

enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };
Q_ENUM_NS(TFontDialogDevice)

enum TPrintRange { prAllPages, prSelection, prPageNums };
Q_ENUM_NS(TPrintRange)

enum TPrintDialogOption {
    poPrintToFile = 0x1,
    poPageNums = 0x2,
    poSelection = 0x4,
    poWarning = 0x8,
    poHelp = 0x10,
    poDisablePrintToFile = 0x20
};
Q_DECLARE_FLAGS(TPrintDialogOptions, TPrintDialogOption)
Q_FLAG_NS(TPrintDialogOptions)

} // namespace DialogTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(DialogTypes::TOpenOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogTypes::TColorDialogOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogTypes::TFontDialogOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(DialogTypes::TPrintDialogOptions)

using DialogTypes::TColorDialogOption;
using DialogTypes::TColorDialogOptions;
using DialogTypes::TFontDialogDevice;
using DialogTypes::TFontDialogOption;
using DialogTypes::TFontDialogOptions;
using DialogTypes::TOpenOption;
using DialogTypes::TOpenOptions;
using DialogTypes::TPrintDialogOption;
using DialogTypes::TPrintDialogOptions;
using DialogTypes::TPrintRange;
using enum DialogTypes::TColorDialogOption;
using enum DialogTypes::TFontDialogDevice;
using enum DialogTypes::TFontDialogOption;
using enum DialogTypes::TOpenOption;
using enum DialogTypes::TPrintDialogOption;
using enum DialogTypes::TPrintRange;

// "Desc|*.a;*.b|Desc2|*.c" as Qt name filters: "Desc (*.a *.b)",
// "Desc2 (*.c)".  A description that already ends with its patterns in
// parentheses is kept as it is.
QStringList NameFiltersFromFilter(const QString &filter);

// The name a save dialog writes for the name fileName: with "." and
// defaultExt added unless it already ends in them, in any letter case
// ("Заказ от 08.12.2026" becomes "Заказ от 08.12.2026.pdf", "q." "q.pdf").
QString SaveFileName(const QString &fileName, const QString &defaultExt);

class TCommonDialog : public TComponent
{
    Q_OBJECT

public:
    explicit TCommonDialog(TComponent *owner) : TComponent(owner) {}

    virtual bool Execute() = 0;
};

class TOpenDialog : public TCommonDialog
{
    Q_OBJECT
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(TStrings *Files READ Files)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(DialogTypes::TOpenOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)

public:
    explicit TOpenDialog(TComponent *owner);
    ~TOpenDialog() override;

    // On confirmation the chosen file: with DefaultExt added when the name
    // has no extension, or for saving as SaveFileName gives it.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &fileName) { m_fileName = fileName; }
    // Every chosen file (several with ofAllowMultiSelect).
    TStrings *Files() const;
    QString Filter() const { return m_filter; }
    void SetFilter(const QString &filter) { m_filter = filter; }
    // 1-based.
    int FilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(int index) { m_filterIndex = index; }
    QString InitialDir() const { return m_initialDir; }
    void SetInitialDir(const QString &dir) { m_initialDir = dir; }
    // Without the dot.
    QString DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString &ext) { m_defaultExt = ext; }
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    TOpenOptions Options() const { return m_options; }
    void SetOptions(TOpenOptions options) { m_options = options; }

    bool Execute() override;

protected:
    virtual bool IsSaveDialog() const { return false; }

private:
    QString m_fileName;
    std::unique_ptr<TStringList> m_files;
    QString m_filter;
    int m_filterIndex = 1;
    QString m_initialDir;
    QString m_defaultExt;
    QString m_title;
    TOpenOptions m_options = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog
{
    Q_OBJECT

public:
    explicit TSaveDialog(TComponent *owner) : TOpenDialog(owner) {}

protected:
    bool IsSaveDialog() const override { return true; }
};

class TColorDialog : public TCommonDialog
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TStrings *CustomColors READ CustomColors)
    Q_PROPERTY(DialogTypes::TColorDialogOptions Options READ Options WRITE SetOptions)

public:
    explicit TColorDialog(TComponent *owner);
    ~TColorDialog() override;

    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    // "ColorA=RRGGBB" lines, kept for callers that set them.
    TStrings *CustomColors() const;
    TColorDialogOptions Options() const { return m_options; }
    void SetOptions(TColorDialogOptions options) { m_options = options; }

    bool Execute() override;

private:
    TColor m_color = clBlack;
    std::unique_ptr<TStringList> m_customColors;
    TColorDialogOptions m_options;
};

class TFontDialog : public TCommonDialog
{
    Q_OBJECT
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(DialogTypes::TFontDialogDevice Device READ Device WRITE SetDevice)
    Q_PROPERTY(int MinFontSize READ MinFontSize WRITE SetMinFontSize)
    Q_PROPERTY(int MaxFontSize READ MaxFontSize WRITE SetMaxFontSize)
    Q_PROPERTY(DialogTypes::TFontDialogOptions Options READ Options WRITE SetOptions)

public:
    explicit TFontDialog(TComponent *owner);
    ~TFontDialog() override;

    TFont *Font() const { return m_font.get(); }
    void SetFont(const TFont *font);
    TFontDialogDevice Device() const { return m_device; }
    void SetDevice(TFontDialogDevice device) { m_device = device; }
    // 0: no limit; applied with fdLimitSize.
    int MinFontSize() const { return m_minFontSize; }
    void SetMinFontSize(int size) { m_minFontSize = size; }
    int MaxFontSize() const { return m_maxFontSize; }
    void SetMaxFontSize(int size) { m_maxFontSize = size; }
    TFontDialogOptions Options() const { return m_options; }
    void SetOptions(TFontDialogOptions options) { m_options = options; }

    bool Execute() override;

private:
    std::unique_ptr<TFont> m_font;
    TFontDialogDevice m_device = fdScreen;
    int m_minFontSize = 0;
    int m_maxFontSize = 0;
    TFontDialogOptions m_options = fdEffects;
};

class TPrintDialog : public TCommonDialog
{
    Q_OBJECT
    Q_PROPERTY(bool Collate READ Collate WRITE SetCollate)
    Q_PROPERTY(int Copies READ Copies WRITE SetCopies)
    Q_PROPERTY(int FromPage READ FromPage WRITE SetFromPage)
    Q_PROPERTY(int MinPage READ MinPage WRITE SetMinPage)
    Q_PROPERTY(int MaxPage READ MaxPage WRITE SetMaxPage)
    Q_PROPERTY(DialogTypes::TPrintDialogOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(DialogTypes::TPrintRange PrintRange READ PrintRange WRITE SetPrintRange)
    Q_PROPERTY(bool PrintToFile READ PrintToFile WRITE SetPrintToFile)
    Q_PROPERTY(int ToPage READ ToPage WRITE SetToPage)
    Q_PROPERTY(QString PrinterName READ PrinterName WRITE SetPrinterName)

public:
    explicit TPrintDialog(TComponent *owner);
    ~TPrintDialog() override;

    int Copies() const;
    void SetCopies(int copies);
    bool Collate() const;
    void SetCollate(bool collate);
    int FromPage() const;
    void SetFromPage(int page);
    int ToPage() const;
    void SetToPage(int page);
    int MinPage() const;
    void SetMinPage(int page);
    int MaxPage() const;
    void SetMaxPage(int page);
    TPrintRange PrintRange() const;
    void SetPrintRange(TPrintRange range);
    bool PrintToFile() const;
    void SetPrintToFile(bool toFile);
    TPrintDialogOptions Options() const;
    void SetOptions(TPrintDialogOptions options);
    // The printer chosen (empty: the default one).
    QString PrinterName() const;
    void SetPrinterName(const QString &name);

    bool Execute() override;

private:
    // What the dialog shows and, once confirmed, what the user chose.
    std::unique_ptr<TPrintRequest> m_request;
};

// Chooses a printer and its page orientation.
class TPrinterSetupDialog : public TCommonDialog
{
    Q_OBJECT
    Q_PROPERTY(QString PrinterName READ PrinterName WRITE SetPrinterName)

public:
    explicit TPrinterSetupDialog(TComponent *owner);
    ~TPrinterSetupDialog() override;

    // The printer chosen (empty: the default one).
    QString PrinterName() const;
    void SetPrinterName(const QString &name);
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation orientation);

    bool Execute() override;

private:
    std::unique_ptr<TPrintRequest> m_request;
};
