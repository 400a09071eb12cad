#pragma once

// A target that works in a folder of its own changes the process's working
// folder after libFuzzer has read its arguments; relative paths among them
// (the corpus folders and files, the artifact prefix, a dictionary ...)
// would then name places in that folder.  The target's LLVMFuzzerInitialize
// makes them absolute first, and sends artifacts (crashing inputs) to the
// folder it was started in unless a prefix is given.

#include <QDir>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// The arguments (the program name first) with every path made absolute
// against folder.
inline QStringList AbsoluteFuzzerArguments(const QStringList &arguments, const QString &folder)
{
    static const char *const pathFlags[] = {"-artifact_prefix=",    "-exact_artifact_path=", "-dict=",
                                            "-merge_control_file=", "-features_dir=",        "-data_flow_trace=",
                                            "-mutation_graph_file=", "-seed_inputs="};
    const QDir base(folder);
    const auto absolute = [&base](const QString &path) {
        if (path.isEmpty())
            return path;
        // A prefix that names a folder keeps its final slash.
        QString result = QDir::cleanPath(base.absoluteFilePath(path));
        if (path.endsWith(u'/') && !result.endsWith(u'/'))
            result += u'/';
        return result;
    };
    QStringList result;
    bool prefixGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i == 0 || argument.isEmpty()) {
            result << argument;
            continue;
        }
        if (!argument.startsWith(u'-')) {
            result << absolute(argument);
            continue;
        }
        QString rewritten = argument;
        for (const char *flag : pathFlags) {
            const QString name = QString::fromLatin1(flag);
            if (!argument.startsWith(name))
                continue;
            QString value = argument.mid(name.size());
            if (name == u"-seed_inputs=") {
                // A comma-separated list, or @ and a file holding one.
                if (value.startsWith(u'@')) {
                    value = u'@' + absolute(value.mid(1));
                } else {
                    QStringList paths = value.split(u',');
                    for (QString &path : paths)
                        path = absolute(path);
                    value = paths.join(u',');
                }
            } else if (name == u"-artifact_prefix=") {
                // A prefix may end in the start of a file name ("out/crash-").
                prefixGiven = true;
                const qsizetype slash = value.lastIndexOf(u'/');
                value = absolute(slash < 0 ? QStringLiteral("./") : value.left(slash + 1)) + value.mid(slash + 1);
            } else {
                value = absolute(value);
            }
            rewritten = name + value;
            break;
        }
        result << rewritten;
    }
    if (!prefixGiven)
        result << QStringLiteral("-artifact_prefix=") + absolute(QStringLiteral("./"));
    return result;
}

// AbsoluteFuzzerArguments on the process's own arguments, against the
// working folder; the new arguments live as long as the process.
inline void MakeFuzzerArgumentsAbsolute(int *argc, char ***argv)
{
    QStringList arguments;
    for (int i = 0; i < *argc; ++i)
        arguments << QString::fromLocal8Bit((*argv)[i]);
    static std::vector<std::string> storage;
    static std::vector<char *> pointers;
    for (const QString &argument : AbsoluteFuzzerArguments(arguments, QDir::currentPath()))
        storage.push_back(argument.toLocal8Bit().toStdString());
    for (std::string &argument : storage)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    *argc = int(storage.size());
    *argv = pointers.data();
}
