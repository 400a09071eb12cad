#include "toolkit/widgets/SystemMetrics.h"

#include <QApplication>
#include <QStyle>

int GetSystemMetrics(int index)
{
    if (index != SM_CXVSCROLL && index != SM_CYHSCROLL)
        return 0;
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void MessageBeep()
{
    QApplication::beep();
}
