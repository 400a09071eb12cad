#include "report/model/qvxHtmlHelp.h"

void HtmlHelp(const TObject *, const QString &)
{
}
