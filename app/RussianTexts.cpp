#include "app/RussianTexts.h"

#include "script/zqMessages.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>
#include <vector>

namespace {

struct TextPair {
    const char *english;
    const char *russian;
};

// The libraries' texts, whatever their context.
constexpr TextPair Texts[] = {
    // Files and streams.
    {"The folder \"%1\" does not exist.", "Папка \"%1\" не существует."},
    {"Cannot create file \"%1\". %2", "Не удалось создать файл \"%1\". %2"},
    {"Cannot create a file without a name", "Нельзя создать файл без имени"},
    {"It is a symbolic link of another user in a shared folder.",
     "Это символическая ссылка другого пользователя в общей папке."},
    {"The file \"%1\" is already complete", "Файл \"%1\" уже записан"},
    {"Cannot write file \"%1\". %2", "Не удалось записать файл \"%1\". %2"},
    {"Cannot write file \"%1\". %2 Its former content is lost.",
     "Не удалось записать файл \"%1\". %2 Прежнее содержимое файла утеряно."},
    {"The file \"%1\" is read-only and cannot be replaced.",
     "Файл \"%1\" доступен только для чтения и не может быть заменён."},
    {"Cannot open file \"%1\". %2", "Не удалось открыть файл \"%1\". %2"},
    {"Cannot seek in file \"%1\". %2", "Не удалось перейти к месту в файле \"%1\". %2"},
    {"Cannot resize file \"%1\". %2", "Не удалось изменить размер файла \"%1\". %2"},
    {"Stream read error", "Ошибка чтения потока"},
    {"Stream write error", "Ошибка записи в поток"},
    // Why the system refused.
    {"No such file or folder", "Нет такого файла или папки"},
    {"A part of the path is not a folder", "Часть пути не является папкой"},
    {"Permission denied", "Отказано в доступе"},
    {"The file system is read-only", "Файловая система доступна только для чтения"},
    {"No space left on the device", "На устройстве не осталось места"},
    {"The disk quota is exhausted", "Дисковая квота исчерпана"},
    {"The file is too large", "Файл слишком велик"},
    {"It is a folder", "Это папка"},
    {"The file already exists", "Файл уже существует"},
    {"The file name is too long", "Слишком длинное имя файла"},
    {"Too many symbolic links", "Слишком много символических ссылок"},
    {"Input/output error", "Ошибка ввода-вывода"},
    {"Too many open files", "Слишком много открытых файлов"},
    {"The file is in use", "Файл занят"},
    // What the script languages expect.
    {"Expression expected", "Ожидается выражение"},
    {"Identifier expected", "Ожидается идентификатор"},
    {"Statement expected", "Ожидается оператор"},
    {"End of line expected", "Ожидается конец строки"},
    // Texts Qt's own catalogues lack.
    {"Folder", "Папка"},
};

// The script engine's messages, in the order of their variables below.
constexpr const char *ScriptMessages[] = {
    "Язык '%s' не найден",
    "Неверное описание языка",
    "Повторное объявление идентификатора: ",
    "Неизвестный тип: ",
    "Несовместимые типы",
    "Неизвестный идентификатор: ",
    "Требуется тип класса",
    "Требуется индекс",
    "У строк нет свойств и методов",
    "У класса %s нет свойства по умолчанию",
    "Требуется тип массива",
    "Требуется переменная",
    "Недостаточно фактических параметров",
    "Слишком много фактических параметров",
    "Левой части нельзя присвоить значение",
    "Переменная цикла for должна быть числовой",
    "Обработчик события должен быть процедурой",
    "Слишком сложное выражение",
    "Неверное имя модуля: ",
    "Модуль не найден: ",
    "Незакрытый комментарий",
    "Ссылка на объект пуста: ",
    "Событие %s не найдено",
    "Индекс строки вне диапазона: %d",
    "Слишком большой массив",
    "Слишком много вложенных вызовов",
    "Неверный формат файла",
    "Ошибка OLE %s: %s: %s",
};

QString *const ScriptMessageVariables[] = {
    &SLangNotFound,    &SInvalidLanguage,  &SIdRedeclared,  &SUnknownType,      &SIncompatibleTypes,
    &SIdUndeclared,    &SClassRequired,    &SIndexRequired, &SStringError,      &SClassError,
    &SArrayRequired,   &SVarRequired,      &SNotEnoughParams, &STooManyParams,  &SLeftCantAssigned,
    &SForError,        &SEventError,       &STooComplex,    &SInvalidUnitName,  &SUnitNotFound,
    &SUnclosedComment, &SNilObject,        &SEventNotFound, &SStringIndexError, &SArrayTooLarge,
    &SCallsTooDeep,    &SInvalidFileFormat, &SOleError,
};
static_assert(std::size(ScriptMessages) == std::size(ScriptMessageVariables));

class TRussianTexts : public QTranslator
{
public:
    TRussianTexts()
    {
        for (const TextPair &pair : Texts)
            m_texts.insert(QString::fromUtf8(pair.english), QString::fromUtf8(pair.russian));
    }

    bool isEmpty() const override { return false; }

    QString translate(const char *, const char *sourceText, const char *, int) const override
    {
        const QString source = QString::fromUtf8(sourceText);
        if (const auto found = m_texts.constFind(source); found != m_texts.cend())
            return *found;
        // The script languages' "'X' expected" and "'X' or 'Y' expected".
        static const QRegularExpression expected(QStringLiteral("^('[^']+'(?: or '[^']+')?) expected$"));
        if (const QRegularExpressionMatch match = expected.match(source); match.hasMatch())
            return QStringLiteral("Ожидается ")
                + match.captured(1).replace(QStringLiteral(" or "), QStringLiteral(" или "));
        return QString();
    }

private:
    QHash<QString, QString> m_texts;
};

std::unique_ptr<TRussianTexts> &installed()
{
    static std::unique_ptr<TRussianTexts> translator;
    return translator;
}

std::vector<QString> &englishScriptMessages()
{
    static std::vector<QString> messages;
    return messages;
}

} // namespace

void InitializeRussianTexts()
{
    installed() = std::make_unique<TRussianTexts>();
    QCoreApplication::installTranslator(installed().get());
    englishScriptMessages().clear();
    for (std::size_t i = 0; i < std::size(ScriptMessageVariables); ++i) {
        englishScriptMessages().push_back(*ScriptMessageVariables[i]);
        *ScriptMessageVariables[i] = QString::fromUtf8(ScriptMessages[i]);
    }
}

void FinalizeRussianTexts()
{
    const std::vector<QString> &english = englishScriptMessages();
    for (std::size_t i = 0; i < english.size(); ++i)
        *ScriptMessageVariables[i] = english[i];
    englishScriptMessages().clear();
    installed().reset();
}
