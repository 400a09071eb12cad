#include "report/qvxDiffText.h"

#include "report/qvxXMLSerializer.h"

QString qvxDiffFloat(const QString &name, double value)
{
    return qvxDiffAttribute(name, TqvxXMLSerializer::FloatToText(value));
}
