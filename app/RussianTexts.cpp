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
    {"The file was removed while it was being saved.", "Файл был удалён во время сохранения."},
    {"The folder \"%1\" was moved or replaced while the file was being saved.",
     "Папка \"%1\" была перемещена или заменена во время сохранения."},
    {"It is not a regular file.", "Это не обычный файл."},
    {"The file is being written by another save.", "Файл сейчас записывается другим сохранением."},
    {"Cannot create file \"%1\". %2", "Не удалось создать файл \"%1\". %2"},
    {"Cannot create a file without a name", "Нельзя создать файл без имени"},
    {"It is a symbolic link of another user in a shared folder.",
     "Это символическая ссылка другого пользователя в общей папке."},
    {"The file \"%1\" is already complete", "Файл \"%1\" уже записан"},
    {"Cannot write file \"%1\". %2", "Не удалось записать файл \"%1\". %2"},
    {"Cannot write file \"%1\". %2 Its former content is kept in \"%3\" and the new content in \"%4\".",
     "Не удалось записать файл \"%1\". %2 Прежнее содержимое файла сохранено в \"%3\", новое — в \"%4\"."},
    {"Its new content is kept in \"%1\".", "Новое содержимое файла сохранено в \"%1\"."},
    {"Cannot write file \"%1\": its former content cannot be copied into the temporary folder \"%2\". %3",
     "Не удалось записать файл \"%1\": его прежнее содержимое не удалось скопировать во временную папку \"%2\". %3"},
    {"Cannot write file \"%1\": its new content cannot be kept in the temporary folder \"%2\". %3",
     "Не удалось записать файл \"%1\": его новое содержимое не удалось сохранить во временной папке \"%2\". %3"},
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
    {"It is a pipe, not a file", "Это канал, а не файл"},
    {"The pipe has no reader", "Канал никто не читает"},
    {"No such device or address", "Нет такого устройства или адреса"},
    {"No such device", "Нет такого устройства"},
    {"The operation is not possible for this file", "Эта операция невозможна для этого файла"},
    {"The file is temporarily unavailable", "Файл временно недоступен"},
    {"The operation was interrupted", "Операция прервана"},
    {"Not enough memory", "Недостаточно памяти"},
    {"The file is too large for this operation", "Файл слишком велик для этой операции"},
    {"The file is not open", "Файл не открыт"},
    {"The file cannot be moved to another device", "Файл нельзя переместить на другое устройство"},
    {"Too many links", "Слишком много ссылок"},
    {"The folder is not empty", "Папка не пуста"},
    {"The file on the network is no longer available", "Файл в сети больше недоступен"},
    {"System error %1", "Системная ошибка %1"},
    // Text that is not a number, date or Boolean.
    {"'%1' is not a valid integer value", "'%1' не является целым числом"},
    {"'%1' is not a valid floating point value", "'%1' не является числом"},
    {"'%1' is not a valid boolean value", "'%1' не является логическим значением"},
    {"'%1' is not a valid date", "'%1' не является датой"},
    {"'%1' is not a valid time", "'%1' не является временем"},
    {"'%1' is not a valid date and time", "'%1' не является датой и временем"},
    // Building, exporting and printing reports.
    {"The report needs more than %1 pages; its preparation was stopped",
     "Отчету нужно больше %1 страниц; его построение остановлено"},
    {"The page %1 grows longer than %2 m, the most a page of endless height may grow; its preparation was stopped",
     "Страница %1 становится длиннее %2 м, наибольшей длины страницы бесконечной высоты; ее построение "
     "остановлено"},
    {"A page of the report takes more than %1 bands; its preparation was stopped",
     "Страница отчета занимает больше %1 бэндов; построение отчета остановлено"},
    {"Subreport %1 runs the page %2 inside itself", "Вложенный отчет %1 строит страницу %2 внутри себя"},
    {"The report needs more memory than there is; its preparation was stopped",
     "Отчету нужно больше памяти, чем есть; его построение остановлено"},
    {"The report needs more memory than there is; its export was stopped",
     "Отчету нужно больше памяти, чем есть; его экспорт остановлен"},
    {"The page range \"%1\" names no page of the report (it has %2)",
     "Диапазон \"%1\" не называет ни одной страницы отчета (страниц в нем: %2)"},
    {"The user password cannot be used: PDF readers take only Latin letters, digits and signs in a password, "
     "not \"%1\"",
     "Пароль пользователя нельзя использовать: программы просмотра PDF принимают в пароле только латинские "
     "буквы, цифры и знаки, но не \"%1\""},
    {"The owner password cannot be used: PDF readers take only Latin letters, digits and signs in a password, "
     "not \"%1\"",
     "Пароль владельца нельзя использовать: программы просмотра PDF принимают в пароле только латинские "
     "буквы, цифры и знаки, но не \"%1\""},
    {"%1: its text of %2 characters is longer than the %3 a memo may show in a PDF file; the rest was left out",
     "%1: текст из %2 символов длиннее %3, которые объект может показать в файле PDF; остаток опущен"},
    {"Page %1 measures %2 x %3 pt; a PDF page measures %4 to %5 pt a side, so the page was cut to %6 x %7 pt",
     "Страница %1 имеет размер %2 x %3 пт; сторона страницы PDF бывает от %4 до %5 пт, поэтому страница "
     "обрезана до %6 x %7 пт"},
    {"The font \"%1\" (%2) cannot be embedded: %3; other fonts show its characters",
     "Шрифт \"%1\" (%2) нельзя встроить: %3; его символы показаны другими шрифтами"},
    {"%1: %2; the font is not embedded", "%1: %2; шрифт не встроен"},
    {"Data of %1 bytes is too large to compress at once", "Данные размером %1 байт слишком велики для сжатия"},
    {"Printing on \"%1\" could not be started", "Не удалось начать печать на \"%1\""},
    {"Printing on \"%1\" could not be started: %2", "Не удалось начать печать на \"%1\": %2"},
    {"Printing on \"%1\" failed: %2", "Печать на \"%1\" не удалась: %2"},
    // Pictures too large for the program or for the memory there is.
    {"The picture has %1 x %2 pixels; a picture may have at most %3 pixels",
     "Рисунок имеет %1 x %2 точек; в рисунке может быть не больше %3 точек"},
    {"A bitmap of %1 x %2 pixels is larger than the program allows",
     "Точечный рисунок %1 x %2 точек больше, чем допускает программа"},
    {"Not enough memory for a bitmap of %1 x %2", "Недостаточно памяти для точечного рисунка %1 x %2"},
    {"Some operation could not be performed because the system is out of resources. Close some windows and try "
     "again.",
     "Операцию не удалось выполнить, так как системе не хватает ресурсов. Закройте некоторые окна и повторите "
     "попытку."},
    {"JPEG image is not valid: %1", "Рисунок JPEG неверен: %1"},
    {"the picture is too large", "рисунок слишком велик"},
    // Pictures and fonts that cannot be read.
    {"Unknown picture file extension (.%1)", "Неизвестное расширение файла рисунка (.%1)"},
    {"Unsupported picture format", "Неподдерживаемый формат рисунка"},
    {"Bitmap image is not valid", "Точечный рисунок неверен"},
    {"Icon image is not valid", "Значок неверен"},
    {"Metafile is not valid", "Метафайл неверен"},
    {"The font library cannot be started", "Не удалось запустить библиотеку шрифтов"},
    {"Cannot read the font file %1", "Не удалось прочитать файл шрифта %1"},
    {"The font file %1 is not valid", "Файл шрифта %1 неверен"},
    {"No font is installed for \"%1\"", "Для \"%1\" не установлен ни один шрифт"},
    // Links a report refuses to follow.
    {"The link \"%1\" was not opened: %2.", "Ссылка \"%1\" не открыта: %2."},
    {"a report opens only web and mail addresses", "отчет открывает только адреса веб-страниц и почты"},
    {"its mail address is malformed", "ее почтовый адрес неверен"},
    {"a mail link may carry only the address and the subject, body, cc and bcc fields, not \"%1\"",
     "почтовая ссылка может содержать только адрес и поля subject, body, cc и bcc, но не \"%1\""},
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
