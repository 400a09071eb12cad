#pragma once

// Runs the independent checkers (qpdf, ots-sanitize, fontTools ...).

#include <QList>
#include <QString>
#include <QStringList>

// Runs a program; returns its exit code (-1 when it could not run or
// crashed) and puts its stdout and stderr in output.
int runTool(const QString &program, const QStringList &arguments, QString *output = nullptr);

// A word as pdftotext -bbox-layout places it (points, from the page's top).
struct TPdfWord {
    QString text;
    double left, top, right, bottom;
};

// The words of each page of a PDF file.
QList<QList<TPdfWord>> PdfWords(const QString &fileName);
