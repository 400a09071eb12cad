#pragma once

// The standard property editors, one per kind of value an inspector shows:
// integers and strings, objects, colours and fonts, character sets, cursors,
// modal results, shortcuts, dates and times.  Editors that know names for
// their values (colours, character sets, cursors, modal results, shortcuts)
// show the name and accept either the name (any letter case) or a number.

#include "report/editors/qvxPropertyEditor.h"

// Decimal text; a text that is not an integer raises EConvertError.
class TqvxIntegerProperty : public TqvxPropertyEditor
{
    Q_OBJECT

public:
    using TqvxPropertyEditor::TqvxPropertyEditor;

    QString GetValue() const override;
    void SetValue(const QString &value) override;
};

class TqvxStringProperty : public TqvxPropertyEditor
{
    Q_OBJECT

public:
    using TqvxPropertyEditor::TqvxPropertyEditor;

    QString GetValue() const override;
    void SetValue(const QString &value) override;
};

// An object-valued property, shown as its type name in brackets: "(TFont)".
class TqvxClassProperty : public TqvxPropertyEditor
{
    Q_OBJECT

public:
    using TqvxPropertyEditor::TqvxPropertyEditor;

    TqvxPropertyAttributes GetAttributes() const override { return paMultiSelect | paSubProperties | paReadOnly; }
    QString GetValue() const override;
};

// A component's name, which only one object at a time can be given.
class TqvxNameProperty : public TqvxStringProperty
{
    Q_OBJECT

public:
    using TqvxStringProperty::TqvxStringProperty;

    TqvxPropertyAttributes GetAttributes() const override { return {}; }
};

// A colour by its name ("clRed") or number; its entries and its row show a
// swatch of the colour, and Edit opens the colour dialog.
class TqvxColorProperty : public TqvxIntegerProperty
{
    Q_OBJECT

public:
    using TqvxIntegerProperty::TqvxIntegerProperty;

    bool Edit() override;
    TqvxPropertyAttributes GetAttributes() const override { return paValueList | paMultiSelect | paOwnerDraw; }
    QString GetValue() const override;
    void GetValues() override;
    void SetValue(const QString &value) override;
    void DrawListItem(TCustomListBox *list, int index, const TRect &rect, TOwnerDrawState state) override;
    void DrawValue(TCanvas *canvas, const TRect &rect) override;
};

// A font: Edit opens the font dialog on a copy of the font.
class TqvxFontProperty : public TqvxClassProperty
{
    Q_OBJECT

public:
    using TqvxClassProperty::TqvxClassProperty;

    bool Edit() override;
    TqvxPropertyAttributes GetAttributes() const override
    {
        return paDialog | paMultiSelect | paSubProperties | paReadOnly;
    }
};

// A font's face name, chosen from the installed fonts.
class TqvxFontNameProperty : public TqvxStringProperty
{
    Q_OBJECT

public:
    using TqvxStringProperty::TqvxStringProperty;

    TqvxPropertyAttributes GetAttributes() const override { return paValueList | paSortList | paMultiSelect; }
    void GetValues() override;
};

// A font's character set by name ("RUSSIAN_CHARSET") or number.
class TqvxFontCharsetProperty : public TqvxIntegerProperty
{
    Q_OBJECT

public:
    using TqvxIntegerProperty::TqvxIntegerProperty;

    TqvxPropertyAttributes GetAttributes() const override { return paValueList | paSortList | paMultiSelect; }
    QString GetValue() const override;
    void GetValues() override;
    void SetValue(const QString &value) override;
};

// A modal result: "mrNone" .. "mrYesToAll" for 0 to 10, other values as
// numbers; an empty text is 0.
class TqvxModalResultProperty : public TqvxIntegerProperty
{
    Q_OBJECT

public:
    using TqvxIntegerProperty::TqvxIntegerProperty;

    TqvxPropertyAttributes GetAttributes() const override { return paValueList | paMultiSelect; }
    QString GetValue() const override;
    void GetValues() override;
    void SetValue(const QString &value) override;
};

// A keyboard shortcut by its text ("Ctrl+A"); 0 is "(None)", as is an empty
// text.  The values are "(None)" and the 108 standard shortcuts.
class TqvxShortCutProperty : public TqvxPropertyEditor
{
    Q_OBJECT

public:
    using TqvxPropertyEditor::TqvxPropertyEditor;

    TqvxPropertyAttributes GetAttributes() const override { return paValueList | paMultiSelect; }
    QString GetValue() const override;
    void GetValues() override;
    void SetValue(const QString &value) override;
};

// A cursor by name ("crHandPoint") or number.
class TqvxCursorProperty : public TqvxIntegerProperty
{
    Q_OBJECT

public:
    using TqvxIntegerProperty::TqvxIntegerProperty;

    TqvxPropertyAttributes GetAttributes() const override { return paValueList | paSortList | paMultiSelect; }
    QString GetValue() const override;
    void GetValues() override;
    void SetValue(const QString &value) override;
};

// Date and time in the formats of FormatSettings; 0 shows as an empty text
// and an empty text stores 0.
class TqvxDateTimeProperty : public TqvxPropertyEditor
{
    Q_OBJECT

public:
    using TqvxPropertyEditor::TqvxPropertyEditor;

    QString GetValue() const override;
    void SetValue(const QString &value) override;
};

// The date only.
class TqvxDateProperty : public TqvxPropertyEditor
{
    Q_OBJECT

public:
    using TqvxPropertyEditor::TqvxPropertyEditor;

    QString GetValue() const override;
    void SetValue(const QString &value) override;
};

// The time only.
class TqvxTimeProperty : public TqvxPropertyEditor
{
    Q_OBJECT

public:
    using TqvxPropertyEditor::TqvxPropertyEditor;

    QString GetValue() const override;
    void SetValue(const QString &value) override;
};
