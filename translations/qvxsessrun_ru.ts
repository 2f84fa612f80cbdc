<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>Добавить приложение</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Фильтр</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>Часть названия, описания или команды</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Фильтр:</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>Установленные приложения</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>Установленные п&amp;риложения:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Добавить</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Отмена</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>Поиск установленных приложений…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>Установленные приложения не найдены.</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>Нет приложений, подходящих под фильтр.</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Command: %1</source>
        <translation>Команда: %1</translation>
    </message>
</context>
<context>
    <name>List</name>
    <message>
        <source>Double click to edit.
Use checkbox to activate/deactivate a command.
Use Drag &amp; Drop to add desktop files.</source>
        <translation>Дважды щёлкните, чтобы изменить.
Флажок включает или выключает команду.
Перетащите файлы .desktop, чтобы добавить их.</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>Нет команды для запуска.</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>Не удалось запустить %1: %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>Запущено: %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>Выполняется на переднем плане: команды ниже ждут его завершения.</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>Оболочка соединяет эту строку со следующей: она заканчивается на &amp;&amp;, || или |.</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>Эта команда содержит байты, которые не являются UTF-8 (показаны как %1): %2. Правка сохраняет их там, где оставляет текст как был, и заменяет те, которые изменяет.</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>Запускается: %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1 (выключена: при запуске сеанса она не выполняется)</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 сразу завершилась по сигналу %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 сразу завершилась с кодом %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 сразу завершилась с кодом %2: %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 обозначает байт NUL в сценарии. Оболочка пропускает его: то, что стоит по обе стороны от него, выполняется как одно слово.</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Команды</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Enter или F2 — изменить текущую команду, Пробел — включить или выключить её, Shift+F10 — открыть её меню, F8 — перейти к следующей отмеченной команде.</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>Отмеченных команд пока нет: команды ещё проверяются.</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>Отмеченных команд нет.</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>файл другого компьютера</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1: файл другого компьютера</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>Команда пуста: запускать нечего.</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>В строке только комментарий: запускать нечего.</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>«%1» относится к команде, которая начинается в строке выше: само по себе оно ничего не запускает.</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>Строка определяет функцию, которая сама ничего не запускает.</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>Строка оканчивается на &amp;&amp;, || или |: команда продолжается в следующей строке, где и должен стоять &amp; в конце.</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>Команда в этой строке не завершена (открыта кавычка, if, цикл или here-документ): &amp; не может завершить её здесь.</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>Команда заканчивается here-документом: её &amp; ставится в первой строке. Чтобы изменить это, отредактируйте команду.</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>Завершающий &amp; этой строки нельзя здесь добавить или убрать. Чтобы изменить это, отредактируйте команду.</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>Добавьте команды, выполняемые при запуске сеанса</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Отменить</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Повторить</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Добавить</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Удалить</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Вверх</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>В&amp;низ</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>Добавить п&amp;риложение…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Сохранить</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Вы&amp;ход</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Изменено</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Сохранено</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>Скрипт не сохранён.</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>Файл был изменён.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Сохранить изменения?</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>&amp;Выйти без сохранения</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Отмена</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>&amp;Запустить сейчас</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>Запускать в &amp;фоне</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Перезаписать</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>Следующая отмеченная команда</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>Предыдущая отмеченная команда</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>Отменить последнее изменение (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>Вернуть последнее отменённое изменение (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>Добавить пустую команду (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>Удалить текущую команду (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>Переместить текущую команду на одну позицию вверх</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>Переместить текущую команду на одну позицию вниз</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>Сохранить команды в сценарий (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>Выйти из программы (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Сохранено. %n команда не выполнится в таком виде: F8 переходит к ней.</numerusform>
            <numerusform>Сохранено. %n команды не выполнятся в таком виде: F8 переходит к ним.</numerusform>
            <numerusform>Сохранено. %n команд не выполнятся в таком виде: F8 переходит к ним.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>Не удалось добавить %n перетащенный файл: %1</numerusform>
            <numerusform>Не удалось добавить %n перетащенных файла: %1</numerusform>
            <numerusform>Не удалось добавить %n перетащенных файлов: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>Скрипт изменён на диске</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>С момента открытия или последнего сохранения здесь скрипт был изменён другой программой.</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>С момента открытия или последнего сохранения здесь скрипт был удалён другой программой.</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>«Загрузить заново» показывает скрипт в его нынешнем виде; «Отменить» возвращает показанные здесь команды. «Перезаписать» сохраняет показанные здесь команды поверх него.</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>«Загрузить заново» очищает список; «Отменить» возвращает показанные здесь команды. «Перезаписать» сохраняет показанные здесь команды как скрипт.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Загрузить заново</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>Скрипт не загружен заново.</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>Загружено заново. «Отменить» возвращает показанные ранее команды.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n строка)</numerusform>
            <numerusform>(%n строки)</numerusform>
            <numerusform>(%n строк)</numerusform>
        </translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Команда</translation>
    </message>
</context>
<context>
    <name>CommandCheck</name>
    <message>
        <source>The commands could not be checked: %1 could not be run (%2).</source>
        <translation>Не удалось проверить команды: не удалось запустить %1 (%2).</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>Не удалось проверить команды: не удалось создать временный файл в %1 (%2).</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>не найден</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>папка, а не файл</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>не обычный файл</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>слишком велик для ярлыка рабочего стола (более %1 МиБ)</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>не ярлык рабочего стола</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>ярлык рабочего стола без команды</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>Строка %1 этой команды не является корректным кодом оболочки: сценарий остановится там, и ни одна последующая команда не выполнится.</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Эта строка не является корректным кодом оболочки: сценарий остановится здесь, и ни одна последующая команда не выполнится.</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>Эта строка заканчивается на &amp;&amp; (или ||, |), поэтому оболочка соединяет её со следующей строкой, но следующей строки нет: сценарий остановится здесь.</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>Оболочка читает от этой строки до конца сценария в поисках конца того, что в ней открыто (if, case, цикл, фигурная скобка или кавычка): эта команда и все последующие никогда не выполнятся.</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>В этой строке не закрыта кавычка: оболочка читает строки ниже как часть этой команды, вплоть до следующей парной кавычки.</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>Эта строка начинает here-документ, который не завершается ни одной строкой: все строки ниже становятся его текстом, и ни одна последующая команда не выполнится.</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>Эта команда не завершена: она оканчивается на &amp;&amp;, ||, | или обратную косую черту либо открывает if, case, цикл или фигурную скобку, которые не закрывает. Оболочка читает строки ниже как её часть.</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>Завершающий &amp; поглощается (комментарием или обратной косой чертой в конце): команда выполняется на переднем плане и задерживает все последующие.</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>Активная команда, начинающаяся с #, — это комментарий: она не выполняется и исчезнет при следующем чтении сценария.</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>Эта команда начинается с #[INACTIVE]#: она не выполняется и вернётся отключённой.</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1: нет такой команды (это не встроенная команда оболочки, и она не найдена в PATH).</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 не является исполняемым файлом.</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>Это присваивание не влияет на команды ниже, потому что выполняется в фоновой подоболочке. Отключите «Запускать в фоне» в меню строки, чтобы оно действовало на сценарий.</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 не влияет на команды ниже, потому что выполняется в фоновой подоболочке. Отключите «Запускать в фоне» в меню строки, чтобы это действовало на сценарий.</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>Эта команда никогда не выполнится: строка выше заменяет или завершает оболочку (exec или exit).</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>Здесь exec не заменяет оболочку сеанса: завершающий &amp; запускает его в фоновой подоболочке. Отключите «Запускать в фоне» в меню строки, если сценарий должен завершаться этой командой.</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Строка %1 этой команды оканчивается возвратом каретки (CR), как строки сценария, сохранённого в другой системе. Оболочка считает CR частью последнего слова этой строки, а после завершающего &amp; — отдельной командой.</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Эта строка оканчивается возвратом каретки (CR), как строки сценария, сохранённого в другой системе. Оболочка считает CR частью последнего слова строки, а после завершающего &amp; — отдельной командой.</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%2 не находит %1; эта оболочка знает только синтаксис POSIX. Запишите это в синтаксисе POSIX или укажите другую оболочку в первой строке сценария.</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>Не удалось проверить эту строку: оболочка обрабатывала сценарий начиная с этого места дольше %n секунды и была остановлена.</numerusform>
            <numerusform>Не удалось проверить эту строку: оболочка обрабатывала сценарий начиная с этого места дольше %n секунд и была остановлена.</numerusform>
            <numerusform>Не удалось проверить эту строку: оболочка обрабатывала сценарий начиная с этого места дольше %n секунд и была остановлена.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>Не удалось проверить %1: оболочка искала это дольше %n секунды и была остановлена.</numerusform>
            <numerusform>Не удалось проверить %1: оболочка искала это дольше %n секунд и была остановлена.</numerusform>
            <numerusform>Не удалось проверить %1: оболочка искала это дольше %n секунд и была остановлена.</numerusform>
        </translation>
    </message>
</context>
</TS>
