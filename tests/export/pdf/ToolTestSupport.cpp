#include "ToolTestSupport.h"

#include <QProcess>
#include <QRegularExpression>

int runTool(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QList<QList<TPdfWord>> PdfWords(const QString &fileName)
{
    QString output;
    if (runTool(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), fileName,
                 QStringLiteral("-")},
                &output)
        != 0)
        return {};
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([^\"]+)\" yMin=\"([^\"]+)\" xMax=\"([^\"]+)\" yMax=\"([^\"]+)\">([^<]*)</word>"));
    QList<QList<TPdfWord>> pages;
    for (const QString &page : output.split(QStringLiteral("<page ")).mid(1)) {
        QList<TPdfWord> words;
        for (const QRegularExpressionMatch &m : word.globalMatch(page))
            words.append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                          m.captured(4).toDouble()});
        pages.append(words);
    }
    return pages;
}
