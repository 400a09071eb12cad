#include "report/qvxHtmlHelp.h"

void HtmlHelp(const TObject *, const QString &)
{
}
