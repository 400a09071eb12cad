#include "report/model/qvxBuiltinTexts.h"

QByteArray qvxBuiltinTexts()
{
    static const char text[] = R"xml(<?xml version="1.1" encoding="utf-8"?>
<Resources CodePage="1251">
<StrRes Name="1" Text="ОК"/>
<StrRes Name="2" Text="Отмена"/>
<StrRes Name="3" Text="Все"/>
<StrRes Name="4" Text="Текущая"/>
<StrRes Name="5" Text="Номера:"/>
<StrRes Name="6" Text="Диапазон"/>
<StrRes Name="7" Text="Страницы"/>
<StrRes Name="8" Text="Опции"/>
<StrRes Name="9" Text="Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12"/>
<StrRes Name="100" Text="Предварительный просмотр"/>
<StrRes Name="101" Text="Печать"/>
<StrRes Name="102" Text="Печать"/>
<StrRes Name="103" Text="Открыть"/>
<StrRes Name="104" Text="Открыть"/>
<StrRes Name="105" Text="Сохранить"/>
<StrRes Name="106" Text="Сохранить"/>
<StrRes Name="107" Text="Экспорт"/>
<StrRes Name="108" Text="Экспорт"/>
<StrRes Name="109" Text="Найти"/>
<StrRes Name="110" Text="Найти"/>
<StrRes Name="111" Text="Почта"/>
<StrRes Name="112" Text="Отослать по почте"/>
<StrRes Name="113" Text="Масштаб 100%"/>
<StrRes Name="114" Text="Масштаб 100%"/>
<StrRes Name="115" Text="Страница целиком"/>
<StrRes Name="116" Text="Страница целиком"/>
<StrRes Name="117" Text="По ширине"/>
<StrRes Name="118" Text="По ширине страницы"/>
<StrRes Name="119" Text="Масштаб"/>
<StrRes Name="120" Text="Поля"/>
<StrRes Name="121" Text="Свойства страницы"/>
<StrRes Name="122" Text="Свойства"/>
<StrRes Name="123" Text="Свойства страницы"/>
<StrRes Name="124" Text="Увеличить"/>
<StrRes Name="125" Text="Увеличить"/>
<StrRes Name="126" Text="Уменьшить"/>
<StrRes Name="127" Text="Уменьшить"/>
<StrRes Name="128" Text="Дерево"/>
<StrRes Name="129" Text="Дерево отчета"/>
<StrRes Name="130" Text="Миниатюры"/>
<StrRes Name="131" Text="Миниатюры"/>
<StrRes Name="132" Text="Правка"/>
<StrRes Name="133" Text="Редактировать страницу"/>
<StrRes Name="134" Text="Первая"/>
<StrRes Name="135" Text="На первую страницу"/>
<StrRes Name="136" Text="Предыдущая"/>
<StrRes Name="137" Text="На предыдущую страницу"/>
<StrRes Name="138" Text="Следующая"/>
<StrRes Name="139" Text="На следующую страницу"/>
<StrRes Name="140" Text="Последняя"/>
<StrRes Name="141" Text="На последнюю страницу"/>
<StrRes Name="142" Text="Номер страницы"/>
<StrRes Name="143" Text="Закрыть"/>
<StrRes Name="144" Text="Закрыть окно просмотра"/>
<StrRes Name="145" Text="Найти далее"/>
<StrRes Name="146" Text="Найти далее"/>
<StrRes Name="147" Text="Обновить"/>
<StrRes Name="148" Text="Обновить отчет"/>
<StrRes Name="149" Text="Вкладки"/>
<StrRes Name="150" Text="Во весь экран"/>
<StrRes Name="151" Text="Сохранить в PDF"/>
<StrRes Name="152" Text="Отослать по E-mail"/>
<StrRes Name="200" Text="Печать"/>
<StrRes Name="201" Text="Принтер"/>
<StrRes Name="202" Text="Страницы"/>
<StrRes Name="203" Text="Количество"/>
<StrRes Name="204" Text="Разобрать по копиям"/>
<StrRes Name="205" Text="Копии"/>
<StrRes Name="206" Text="Печатать"/>
<StrRes Name="207" Text="Прочее"/>
<StrRes Name="208" Text="Где:"/>
<StrRes Name="209" Text="Свойства..."/>
<StrRes Name="210" Text="Печать в файл"/>
<StrRes Name="211" Text="Порядок"/>
<StrRes Name="212" Text="Имя:"/>
<StrRes Name="213" Text="Режим печати"/>
<StrRes Name="214" Text="Печатать на листе"/>
<StrRes Name="215" Text="Свойства принтера"/>
<StrRes Name="216" Text="Дуплекс"/>
<StrRes Name="300" Text="Искать текст"/>
<StrRes Name="301" Text="Текст:"/>
<StrRes Name="302" Text="Настройки поиска"/>
<StrRes Name="303" Text="Заменить"/>
<StrRes Name="304" Text="Искать с начала"/>
<StrRes Name="305" Text="Различать регистр"/>
<StrRes Name="400" Text="Настройки страницы"/>
<StrRes Name="401" Text="Ширина"/>
<StrRes Name="402" Text="Высота"/>
<StrRes Name="403" Text="Размер"/>
<StrRes Name="404" Text="Ориентация"/>
<StrRes Name="405" Text="Левое"/>
<StrRes Name="406" Text="Верхнее"/>
<StrRes Name="407" Text="Правое"/>
<StrRes Name="408" Text="Нижнее"/>
<StrRes Name="409" Text="Поля"/>
<StrRes Name="410" Text="Портретная"/>
<StrRes Name="411" Text="Альбомная"/>
<StrRes Name="412" Text="Прочее"/>
<StrRes Name="413" Text="Применить к текущей странице"/>
<StrRes Name="414" Text="Применить ко всем страницам"/>
<StrRes Name="500" Text="Печать на матричный принтер"/>
<StrRes Name="501" Text="Принтер"/>
<StrRes Name="502" Text="Страницы"/>
<StrRes Name="503" Text="Копии"/>
<StrRes Name="504" Text="Команды принтера"/>
<StrRes Name="505" Text="Перевод страницы"/>
<StrRes Name="506" Text="Только текст"/>
<StrRes Name="507" Text="Печать в файл"/>
<StrRes Name="508" Text="Кодировка"/>
<StrRes Name="509" Text="Порт"/>
<StrRes Name="510" Text="Файл печати (*.prn)|*.prn"/>
<StrRes Name="600" Text="Раскрыть все"/>
<StrRes Name="601" Text="Свернуть все"/>
<StrRes Name="zmPageWidth" Text="По ширине"/>
<StrRes Name="zmWholePage" Text="Страница целиком"/>
<StrRes Name="ppAll" Text="Все страницы"/>
<StrRes Name="ppOdd" Text="Нечетные страницы"/>
<StrRes Name="ppEven" Text="Четные страницы"/>
<StrRes Name="pgDefault" Text="По умолчанию"/>
<StrRes Name="pmDefault" Text="По умолчанию"/>
<StrRes Name="pmSplit" Text="Разрезать большие страницы"/>
<StrRes Name="pmJoin" Text="Объединять маленькие страницы"/>
<StrRes Name="pmScale" Text="Масштабировать"/>
<StrRes Name="poDirect" Text="Прямой (1-9)"/>
<StrRes Name="poReverse" Text="Обратный (9-1)"/>
<StrRes Name="dupDefault" Text="По умолчанию"/>
<StrRes Name="dupVert" Text="Вертикальный"/>
<StrRes Name="dupHorz" Text="Горизонтальный"/>
<StrRes Name="dupSimpl" Text="Не использовать"/>
<StrRes Name="uCm" Text="см"/>
<StrRes Name="uInch" Text="in"/>
<StrRes Name="uPix" Text="пикс"/>
<StrRes Name="uChar" Text="симв"/>
<StrRes Name="mbConfirm" Text="Подтверждение"/>
<StrRes Name="mbError" Text="Ошибка"/>
<StrRes Name="mbInfo" Text="Информация"/>
<StrRes Name="xrCantFindClass" Text="Не удалось найти класс"/>
<StrRes Name="prVirtual" Text="Виртуальный"/>
<StrRes Name="prDefault" Text="По умолчанию"/>
<StrRes Name="prDupl" Text="Компонент с именем %s уже существует"/>
<StrRes Name="prCustom" Text="Пользовательский"/>
<StrRes Name="prRunningFirst" Text="Первый проход: страница %d"/>
<StrRes Name="prRunning" Text="Готовится страница %d"/>
<StrRes Name="prPrinting" Text="Печатается страница %d"/>
<StrRes Name="prExporting" Text="Экспорт страницы %d"/>
<StrRes Name="enUnconnHeader" Text="Не подключенный header/footer"/>
<StrRes Name="enUnconnGroup" Text="Нет дата-бэнда для группы"/>
<StrRes Name="enUnconnGFooter" Text="Нет заголовка группы"/>
<StrRes Name="enBandPos" Text="Неправильно расположен бэнд:"/>
<StrRes Name="dbNotConn" Text="Компонент %s не подключен к данным"/>
<StrRes Name="dbFldNotFound" Text="Поле не найдено:"/>
<StrRes Name="clDSNotIncl" Text="Набор данных не включен в отчет:"/>
<StrRes Name="clUnknownVar" Text="Неизвестная переменная или поле БД:"/>
<StrRes Name="clScrError" Text="Ошибка в скрипте %s: %s"/>
<StrRes Name="clDSNotExist" Text="Набор данных &#34;%s&#34; не найден"/>
<StrRes Name="clErrors" Text="Были обнаружены следующие ошибки:"/>
<StrRes Name="clExprError" Text="Ошибка в выражении"/>
<StrRes Name="clQP3files" Text="Готовый отчет"/>
<StrRes Name="clSaving" Text="Сохранение отчета..."/>
<StrRes Name="clCancel" Text="Отмена"/>
<StrRes Name="clClose" Text="Закрыть"/>
<StrRes Name="clPrinting" Text="Печать отчета..."/>
<StrRes Name="clLoading" Text="Загрузка отчета..."/>
<StrRes Name="clPageOf" Text="Страница %d из %d"/>
<StrRes Name="clOf" Text="из %d"/>
<StrRes Name="clFirstPass" Text="Первый проход: страница "/>
<StrRes Name="clBuildStopped" Text="Построение отчета остановлено"/>
<StrRes Name="clNoPrinters" Text="В системе не установлены принтеры"/>
<StrRes Name="clDecompressError" Text="Ошибка распаковки данных"/>
<StrRes Name="clStrNotFound" Text="Текст не найден"/>
<StrRes Name="clSearchFromStart" Text="Достигнут конец отчета. Продолжить поиск с начала?"/>
<StrRes Name="clSearching" Text="Поиск: страница %d из %d"/>
<StrRes Name="clCantRen" Text="Невозможно переименовать %s, объект был объявлен в родительском отчёте"/>
<StrRes Name="clCirRefNotAllow" Text="Циклические ссылки не допускаются"/>
<StrRes Name="clDupName" Text="Duplicate name"/>
<StrRes Name="clErrorInExp" Text="Error in Calc expression:"/>
<StrRes Name="crFillMx" Text="Заполнение кросс-таблицы"/>
<StrRes Name="crBuildMx" Text="Построение кросс-таблицы"/>
<StrRes Name="SLangNotFound" Text="Language '%s' not found"/>
<StrRes Name="SInvalidLanguage" Text="Invalid language definition"/>
<StrRes Name="SIdRedeclared" Text="Identifier redeclared: "/>
<StrRes Name="SUnknownType" Text="Unknown type: "/>
<StrRes Name="SIncompatibleTypes" Text="Incompatible types"/>
<StrRes Name="SIdUndeclared" Text="Undeclared identifier: "/>
<StrRes Name="SClassRequired" Text="Class type required"/>
<StrRes Name="SIndexRequired" Text="Index required"/>
<StrRes Name="SStringError" Text="Strings doesn't have properties or methods"/>
<StrRes Name="SClassError" Text="Class %s does not have a default property"/>
<StrRes Name="SArrayRequired" Text="Array type required"/>
<StrRes Name="SVarRequired" Text="Variable required"/>
<StrRes Name="SNotEnoughParams" Text="Not enough actual parameters"/>
<StrRes Name="STooManyParams" Text="Too many actual parameters"/>
<StrRes Name="SLeftCantAssigned" Text="Left side cannot be assigned to"/>
<StrRes Name="SForError" Text="For loop variable must be numeric variable"/>
<StrRes Name="SEventError" Text="Event handler must be a procedure"/>
<StrRes Name="expMtm" Text="мм"/>
<StrRes Name="erInvalidImg" Text="Неверный формат изображения"/>
<StrRes Name="ReportTitle" Text="Заголовок отчета"/>
<StrRes Name="ReportSummary" Text="Подвал отчета"/>
<StrRes Name="PageHeader" Text="Заголовок страницы"/>
<StrRes Name="PageFooter" Text="Подвал страницы"/>
<StrRes Name="Header" Text="Заголовок данных"/>
<StrRes Name="Footer" Text="Подвал данных"/>
<StrRes Name="MasterData" Text="Данные 1 уровня"/>
<StrRes Name="DetailData" Text="Данные 2 уровня"/>
<StrRes Name="SubdetailData" Text="Данные 3 уровня"/>
<StrRes Name="Data4" Text="Данные 4 уровня"/>
<StrRes Name="Data5" Text="Данные 5 уровня"/>
<StrRes Name="Data6" Text="Данные 6 уровня"/>
<StrRes Name="GroupHeader" Text="Заголовок группы"/>
<StrRes Name="GroupFooter" Text="Подвал группы"/>
<StrRes Name="Child" Text="Дочерний бэнд"/>
<StrRes Name="ColumnHeader" Text="Заголовок колонки"/>
<StrRes Name="ColumnFooter" Text="Подвал колонки"/>
<StrRes Name="Overlay" Text="Фоновый бэнд"/>
<StrRes Name="2_5_interleaved" Text="2_5_interleaved"/>
<StrRes Name="2_5_industrial" Text="2_5_industrial"/>
<StrRes Name="2_5_matrix" Text="2_5_matrix"/>
<StrRes Name="Code39" Text="Code39"/>
<StrRes Name="Code39Extended" Text="Code39Extended"/>
<StrRes Name="Code128A" Text="Code128A"/>
<StrRes Name="Code128B" Text="Code128B"/>
<StrRes Name="Code128C" Text="Code128C"/>
<StrRes Name="Code93" Text="Code93"/>
<StrRes Name="Code93Extended" Text="Code93Extended"/>
<StrRes Name="EAN8" Text="EAN8"/>
<StrRes Name="EAN13" Text="EAN13"/>
<StrRes Name="EAN128A" Text="EAN128A"/>
<StrRes Name="EAN128B" Text="EAN128B"/>
<StrRes Name="EAN128C" Text="EAN128C"/>
<StrRes Name="rpEditRep" Text="Редактировать отчет..."/>
<StrRes Name="rpEditAlias" Text="Псевдонимы..."/>
<StrRes Name="rave0" Text="Импорт"/>
<StrRes Name="rave1" Text="Импортировать отчет..."/>
<StrRes Name="rave2" Text="Импорт завершен"/>
<StrRes Name="rave3" Text="Ошибка импорта"/>
<StrRes Name="rave4" Text="Выберите файл для импорта"/>
<StrRes Name="5000" Text="Пароль"/>
<StrRes Name="5001" Text="Введите пароль:"/>
<StrRes Name="dlgBadPageRange" Text="Неверно указаны номера страниц: &quot;%1&quot;. Введите номера и/или диапазоны страниц, разделенные запятыми, например 1,3,5-12"/>
<StrRes Name="dlgBadQuality" Text="Качество JPEG должно быть целым числом от 0 до 100"/>
<StrRes Name="dlgPrinterProperties" Text="Свойства принтера %1"/>
<StrRes Name="dlgPaperSource" Text="Источник бумаги"/>
<StrRes Name="dlgTwoSided" Text="Двусторонняя печать"/>
<StrRes Name="dlgOneSided" Text="Нет"/>
<StrRes Name="dlgLongEdge" Text="Переплет по длинному краю"/>
<StrRes Name="dlgShortEdge" Text="Переплет по короткому краю"/>
<StrRes Name="dlgResolution" Text="Разрешение"/>
<StrRes Name="dlgDotsPerInch" Text="%1 точек на дюйм"/>
<StrRes Name="dlgNoSuchPage" Text="Страницы с номером %1 нет: страницы нумеруются с 1"/>
<StrRes Name="dlgPageBeyondEnd" Text="Страницы %1 нет: всего страниц в отчете: %2"/>
<StrRes Name="dlgBackwardPageRange" Text="Диапазон &quot;%1&quot; не содержит страниц: первая страница диапазона должна быть не больше последней"/>
<StrRes Name="dlgBadNumber" Text="Поле &quot;%1&quot;: введите число, например 2,5 (десятичный разделитель &quot;%2&quot;)"/>
<StrRes Name="dlgBadPaperSize" Text="Поле &quot;%1&quot;: размер бумаги должен быть больше нуля и не больше %2"/>
<StrRes Name="dlgBadMargin" Text="Поле &quot;%1&quot;: поле страницы не может быть отрицательным"/>
<StrRes Name="dlgMarginsTooWide" Text="Поля страницы не оставляют места для печати: сумма полей &quot;%1&quot; и &quot;%2&quot; должна быть меньше размера бумаги"/>
<StrRes Name="dlgBadPassword" Text="Поле &quot;%1&quot;: PDF-программы принимают в пароле только латинские буквы, цифры и знаки, а не &quot;%2&quot;"/>
</Resources>
)xml";
    return QByteArray::fromRawData(text, sizeof(text) - 1);
}
