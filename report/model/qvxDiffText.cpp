#include "report/model/qvxDiffText.h"

#include "report/model/qvxXMLSerializer.h"

QString qvxDiffFloat(const QString &name, double value)
{
    return qvxDiffAttribute(name, TqvxXMLSerializer::FloatToText(value));
}
