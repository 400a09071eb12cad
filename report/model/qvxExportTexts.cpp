#include "report/model/qvxExportTexts.h"

QByteArray qvxExportTexts()
{
    static const char text[] = R"xml(<?xml version="1.1" encoding="utf-8"?>
<Resources CodePage="1251">
<StrRes Name="8700" Text="Экспорт в PDF"/>
<StrRes Name="8701" Text="Компрессия"/>
<StrRes Name="8702" Text="Встроить шрифты"/>
<StrRes Name="8703" Text="Высокое разрешение"/>
<StrRes Name="8704" Text="Оглавление"/>
<StrRes Name="8705" Text="Фон"/>
<StrRes Name="8706" Text="Открыть после экспорта"/>
<StrRes Name="8707" Text="Файл Adobe PDF (*.pdf)|*.pdf"/>
<StrRes Name="8708" Text=".pdf"/>
<StrRes Name="8962" Text="Защита"/>
<StrRes Name="8964" Text="Пароль владельца"/>
<StrRes Name="8965" Text="Пароль пользователя"/>
<StrRes Name="8966" Text="Печать документа"/>
<StrRes Name="8967" Text="Изменение документа"/>
<StrRes Name="8968" Text="Копирование текста и графики"/>
<StrRes Name="8969" Text="Аннотации"/>
<StrRes Name="8971" Text="Информация о документе"/>
<StrRes Name="8972" Text="Информация"/>
<StrRes Name="8973" Text="Заголовок"/>
<StrRes Name="8974" Text="Автор"/>
<StrRes Name="8975" Text="Тема"/>
<StrRes Name="8976" Text="Слова"/>
<StrRes Name="8977" Text="Создатель"/>
<StrRes Name="8978" Text="Программа"/>
<StrRes Name="8979" Text="Аутентификация"/>
<StrRes Name="8980" Text="Права доступа"/>
<StrRes Name="8981" Text="Просмотр"/>
<StrRes Name="8982" Text="Настройки просмотра"/>
<StrRes Name="8983" Text="Спрятать toolbar"/>
<StrRes Name="8984" Text="Спрятать menubar"/>
<StrRes Name="8985" Text="Спрятать интерфейс окна"/>
<StrRes Name="8986" Text="Растянуть окно"/>
<StrRes Name="8987" Text="Центровать окно"/>
<StrRes Name="8988" Text="Растягивать при печати"/>
<StrRes Name="9405" Text="Splitting big cells"/>
<StrRes Name="9406" Text="Composing BIFF file"/>
<StrRes Name="PDFexport" Text="Документ PDF"/>
<StrRes Name="xProto" Text="Export Prototype"/>
<StrRes Name="xBlank" Text="Blank Export"/>
</Resources>
)xml";
    return QByteArray::fromRawData(text, sizeof(text) - 1);
}
