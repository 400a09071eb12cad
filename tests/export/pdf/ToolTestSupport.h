#pragma once

// Runs the independent checkers (qpdf, ots-sanitize, fontTools ...).

#include <QString>
#include <QStringList>

// Runs a program; returns its exit code (-1 when it could not run or
// crashed) and puts its stdout and stderr in output.
int runTool(const QString &program, const QStringList &arguments, QString *output = nullptr);
