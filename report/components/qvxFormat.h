#pragma once

// How a memo shows a value: as text, a number, a date and time or a
// Boolean, by a format string and separators.  A memo keeps a list of them,
// one per bracketed expression.

#include "report/base/qvxViewTypes.h"
#include "toolkit/classes/TCollection.h"

#include <QString>

class TqvxFormat : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString DecimalSeparator READ DecimalSeparator WRITE SetDecimalSeparator)
    Q_PROPERTY(QString FormatStr READ FormatStr WRITE SetFormatStr)
    Q_PROPERTY(ViewTypes::TqvxFormatKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(QString ThousandSeparator READ ThousandSeparator WRITE SetThousandSeparator)

public:
    explicit TqvxFormat(TCollection *collection = nullptr);

    QString DecimalSeparator() const { return m_decimalSeparator; }
    void SetDecimalSeparator(const QString &value) { m_decimalSeparator = value; }
    QString FormatStr() const { return m_formatStr; }
    void SetFormatStr(const QString &value) { m_formatStr = value; }
    TqvxFormatKind Kind() const { return m_kind; }
    void SetKind(TqvxFormatKind value) { m_kind = value; }
    QString ThousandSeparator() const { return m_thousandSeparator; }
    void SetThousandSeparator(const QString &value) { m_thousandSeparator = value; }

    void Assign(const TPersistent *source) override;

private:
    QString m_decimalSeparator;
    QString m_formatStr;
    TqvxFormatKind m_kind = fkText;
    QString m_thousandSeparator;
};

class TqvxFormatCollection : public TCollection
{
    Q_OBJECT

public:
    TqvxFormatCollection();

    TqvxFormat *Items(int index) const;
};

// Declares what formats publish.
void InitializeQvxFormat();
