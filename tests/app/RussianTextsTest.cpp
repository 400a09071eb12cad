#include "script/zqMessages.h"
#include "toolkit/core/SystemErrors.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

// The program runs with its Russian texts installed (the app's units).

TEST(RussianTexts, EveryReasonAFileMeetsIsRussian)
{
    const struct {
        int error;
        const char *text;
    } reasons[] = {
        {ENOENT, "Нет такого файла или папки"},         {EACCES, "Отказано в доступе"},
        {EPERM, "Отказано в доступе"},                  {ENOSPC, "На устройстве не осталось места"},
        {EFBIG, "Файл слишком велик"},                  {EROFS, "Файловая система доступна только для чтения"},
        {EDQUOT, "Дисковая квота исчерпана"},           {EISDIR, "Это папка"},
        {ENAMETOOLONG, "Слишком длинное имя файла"},    {ELOOP, "Слишком много символических ссылок"},
        {EIO, "Ошибка ввода-вывода"},
    };
    for (const auto &reason : reasons)
        EXPECT_EQ(SystemErrorText(reason.error).toStdString(), reason.text) << reason.error;
    // Every other error the saving of a file can meet, and one the program
    // has no text for, which is named by its number.
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    for (const int error : {ENOTDIR, EEXIST, EMFILE, ENFILE, EBUSY, ETXTBSY, ESPIPE, EPIPE, ENXIO, ENODEV, EINVAL,
                            EAGAIN, EINTR, ENOMEM, EOVERFLOW, EBADF, EXDEV, EMLINK, ENOTEMPTY, ESTALE})
        EXPECT_FALSE(SystemErrorText(error).contains(latin)) << SystemErrorText(error).toStdString();
    EXPECT_EQ(SystemErrorText(EHOSTDOWN).toStdString(), "Системная ошибка " + std::to_string(EHOSTDOWN));
}

TEST(RussianTexts, ScriptErrorsAreRussian)
{
    const auto script = [](const char *text) { return QCoreApplication::translate("TzqScript", text).toStdString(); };
    EXPECT_EQ(script("Expression expected"), "Ожидается выражение");
    EXPECT_EQ(script("')' expected"), "Ожидается ')'");
    EXPECT_EQ(script("'TO' or 'DOWNTO' expected"), "Ожидается 'TO' или 'DOWNTO'");
    EXPECT_EQ(script("'&#62;' expected"), "Ожидается '&#62;'");
    EXPECT_EQ(SIdUndeclared.toStdString(), "Неизвестный идентификатор: ");
    EXPECT_EQ(SUnclosedComment.toStdString(), "Незакрытый комментарий");
    // A text the program has no Russian form for stays as it is.
    EXPECT_EQ(script("Something else"), "Something else");
}

TEST(RussianTexts, ASaveThatKeepsBothVersionsSaysWhereInRussian)
{
    const QString text = QCoreApplication::translate(
        "SaveFileStream",
        "Cannot write file \"%1\". %2 Its former content is kept in \"%3\" and the new content in \"%4\".");
    EXPECT_EQ(text.arg(QStringLiteral("/a/q.pdf"), QStringLiteral("Ошибка ввода-вывода."), QStringLiteral("/tmp/.q.pdf.1"),
                       QStringLiteral("/tmp/.q.pdf.2"))
                  .toStdString(),
              "Не удалось записать файл \"/a/q.pdf\". Ошибка ввода-вывода. Прежнее содержимое файла сохранено в "
              "\"/tmp/.q.pdf.1\", новое — в \"/tmp/.q.pdf.2\".");
}

// The copy of the former content that the temporary folder cannot hold is
// met only where the old file is larger than the new one; the other
// failures of a save in place are checked on the program's save road.
TEST(RussianTexts, ACopyTheTemporaryFolderCannotHoldIsNamedInRussian)
{
    const QString text = QCoreApplication::translate(
        "SaveFileStream",
        "Cannot write file \"%1\": its former content cannot be copied into the temporary folder \"%2\". %3");
    EXPECT_EQ(text.arg(QStringLiteral("/a/q.pdf"), QStringLiteral("/tmp/"), QStringLiteral("Отказано в доступе."))
                  .toStdString(),
              "Не удалось записать файл \"/a/q.pdf\": его прежнее содержимое не удалось скопировать во временную "
              "папку \"/tmp/\". Отказано в доступе.");
}

// A save that cannot remove the temporary file holding the new content
// names it, and one that meets another save writing the same file says so.
TEST(RussianTexts, WhatASaveKeepsOrWaitsForIsSaidInRussian)
{
    const auto save = [](const char *text) { return QCoreApplication::translate("SaveFileStream", text); };
    const QString written = save("Cannot write file \"%1\". %2")
                                .arg(QStringLiteral("/a/q.pdf"), save("The file is being written by another save."));
    EXPECT_EQ((written + QLatin1Char(' ') + save("Its new content is kept in \"%1\".").arg(QStringLiteral("/a/.q.pdf.1")))
                  .toStdString(),
              "Не удалось записать файл \"/a/q.pdf\". Файл сейчас записывается другим сохранением. Новое содержимое "
              "файла сохранено в \"/a/.q.pdf.1\".");
}
