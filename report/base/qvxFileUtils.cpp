#include "report/base/qvxFileUtils.h"

#include "toolkit/core/Files.h"

namespace {

const QString TempPrefix = QStringLiteral("qv");

} // namespace

QString qvxGetTempDir()
{
    return TempFolder();
}

QString qvxGetTempFileName()
{
    return CreateTempFile(TempPrefix);
}

QString qvxGetTempFileNameIn(const QString &dir)
{
    return CreateTempFile(TempPrefix, dir.isEmpty() ? QString() : IncludeTrailingPathDelimiter(dir));
}

QString qvxGetAppFileName()
{
    return ProgramFileName();
}

QString qvxGetAppPath()
{
    return ProgramFolder();
}
