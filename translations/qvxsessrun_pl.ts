<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>Dodaj aplikację</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtr</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>Fragment nazwy, opisu lub polecenia</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtr:</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>Zainstalowane aplikacje</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>Zainstalowane a&amp;plikacje:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Dodaj</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Anuluj</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>Wyszukiwanie zainstalowanych aplikacji…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>Nie znaleziono żadnej zainstalowanej aplikacji.</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>Żadna aplikacja nie pasuje do filtra.</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Command: %1</source>
        <translation>Polecenie: %1</translation>
    </message>
</context>
<context>
    <name>List</name>
    <message>
        <source>Double click to edit.
Use checkbox to activate/deactivate a command.
Use Drag &amp; Drop to add desktop files.</source>
        <translation>Kliknij dwukrotnie, aby edytować.
Zaznacz lub odznacz pole wyboru, aby włączyć lub wyłączyć polecenie.
Przeciągnij i upuść pliki .desktop, aby je dodać.</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>Brak polecenia do uruchomienia.</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>Nie można uruchomić %1: %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>Uruchomiono: %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>Działa na pierwszym planie: polecenia poniżej czekają, aż się zakończy.</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>Powłoka łączy ten wiersz z następnym: kończy się on na &amp;&amp;, || lub |.</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>To polecenie zawiera bajty, które nie są UTF-8, pokazane jako %1: %2. Edycja zachowuje je tam, gdzie zostawia tekst bez zmian, i zastępuje te, które zmienia.</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>Uruchamianie: %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1 (wyłączone: start sesji go nie uruchamia)</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 od razu zakończyło się sygnałem %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 od razu zakończyło się ze statusem %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 od razu zakończyło się ze statusem %2: %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 oznacza bajt NUL w skrypcie. Powłoka go pomija: to, co stoi po obu jego stronach, jest wykonywane jako jedno słowo.</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Polecenia</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Enter lub F2 edytuje bieżące polecenie, Spacja je włącza lub wyłącza, Shift+F10 otwiera jego menu, F8 przechodzi do następnego oznaczonego polecenia.</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>Żadne polecenie nie jest jeszcze oznaczone: polecenia są wciąż sprawdzane.</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>Żadne polecenie nie jest oznaczone.</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>plik innego komputera</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1: plik innego komputera</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>Polecenie jest puste: nie ma czego uruchomić.</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>Wiersz zawiera tylko komentarz: nie ma czego uruchomić.</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>„%1” należy do polecenia, które zaczyna się w wierszu wyżej: samo nic nie uruchamia.</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>Wiersz definiuje funkcję, która sama niczego nie uruchamia.</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>Wiersz kończy się na &amp;&amp;, || lub |: polecenie ciągnie się w następnym wierszu, gdzie należy dodać &amp; na końcu.</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>Polecenie nie jest kompletne w tym wierszu (otwarty cudzysłów, if, pętla lub dokument wbudowany): &amp; nie może go tu zakończyć.</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>Polecenie kończy się dokumentem wbudowanym: jego &amp; należy do pierwszego wiersza. Edytuj polecenie, aby to zmienić.</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>Końcowego &amp; tego wiersza nie można tu dodać ani usunąć. Edytuj polecenie, aby to zmienić.</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>Dodaj polecenia wykonywane przy uruchamianiu sesji</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Cofnij</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ponów</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>Dod&amp;aj</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Usuń</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>W &amp;górę</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>W &amp;dół</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>Dodaj apl&amp;ikację…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Zapisz</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Za&amp;kończ</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Zmodyfikowano</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Zapisano</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>Skrypt nie został zapisany.</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>Plik został zmodyfikowany.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Czy zapisać zmiany?</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>Zakończ &amp;bez zapisywania</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Anuluj</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>Uruchom &amp;teraz</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>Uruchom w t&amp;le</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Zastąp</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>Następne oznaczone polecenie</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>Poprzednie oznaczone polecenie</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>Cofnij ostatnią zmianę (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>Ponów ostatnio cofniętą zmianę (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>Dodaj puste polecenie (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>Usuń bieżące polecenie (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>Przesuń bieżące polecenie o jedno miejsce w górę</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>Przesuń bieżące polecenie o jedno miejsce w dół</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>Zapisz polecenia w skrypcie (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>Zakończ program (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Zapisano. %n polecenie nie zostanie wykonane w tej postaci: F8 przechodzi do niego.</numerusform>
            <numerusform>Zapisano. %n polecenia nie zostaną wykonane w tej postaci: F8 przechodzi do nich.</numerusform>
            <numerusform>Zapisano. %n poleceń nie zostanie wykonanych w tej postaci: F8 przechodzi do nich.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>%n upuszczony plik nie mógł zostać dodany: %1</numerusform>
            <numerusform>%n upuszczone pliki nie mogły zostać dodane: %1</numerusform>
            <numerusform>%n upuszczonych plików nie mogło zostać dodanych: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>Skrypt zmieniony na dysku</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>Od otwarcia lub ostatniego zapisu tutaj skrypt został zmieniony przez inny program.</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>Od otwarcia lub ostatniego zapisu tutaj skrypt został usunięty przez inny program.</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>Wczytaj ponownie pokazuje skrypt w obecnej postaci; Cofnij przywraca polecenia pokazane tutaj. Zastąp zapisuje w jego miejsce polecenia pokazane tutaj.</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>Wczytaj ponownie opróżnia listę; Cofnij przywraca polecenia pokazane tutaj. Zastąp zapisuje polecenia pokazane tutaj jako skrypt.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Wczytaj ponownie</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>Skrypt nie został wczytany ponownie.</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>Wczytano ponownie. Cofnij przywraca wcześniej pokazane polecenia.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n wiersz)</numerusform>
            <numerusform>(%n wiersze)</numerusform>
            <numerusform>(%n wierszy)</numerusform>
        </translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Polecenie</translation>
    </message>
</context>
<context>
    <name>CommandCheck</name>
    <message>
        <source>The commands could not be checked: %1 could not be run (%2).</source>
        <translation>Nie można sprawdzić poleceń: nie można uruchomić %1 (%2).</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>Nie można sprawdzić poleceń: nie można utworzyć pliku tymczasowego w %1 (%2).</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>nie znaleziono</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>folder, a nie plik</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>nie jest zwykłym plikiem</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>za duży na wpis pulpitu (ponad %1 MiB)</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>nie jest wpisem pulpitu</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>wpis pulpitu bez polecenia</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>Wiersz %1 tego polecenia nie jest poprawnym kodem powłoki: skrypt zatrzyma się tam i żadne kolejne polecenie nie zostanie wykonane.</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Ten wiersz nie jest poprawnym kodem powłoki: skrypt zatrzyma się tutaj i żadne kolejne polecenie nie zostanie wykonane.</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>Ten wiersz kończy się na &amp;&amp; (lub ||, |), więc powłoka łączy go z następnym wierszem, ale żaden nie następuje: skrypt zatrzyma się tutaj.</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>Powłoka czyta od tego wiersza aż do końca skryptu, szukając zamknięcia tego, co on otwiera (if, case, pętlę, nawias klamrowy lub cudzysłów): to polecenie i wszystkie kolejne nigdy nie zostaną wykonane.</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>Ten wiersz pozostawia niezamknięty cudzysłów: powłoka czyta wiersze poniżej jako część tego polecenia, aż do najbliższego pasującego cudzysłowu.</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>Ten wiersz rozpoczyna here-document, którego żaden wiersz nie kończy: każdy wiersz poniżej staje się jego treścią i żadne kolejne polecenie nie zostanie wykonane.</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>To polecenie nie jest kompletne: kończy się na &amp;&amp;, ||, | lub ukośniku wstecznym albo otwiera if, case, pętlę lub nawias klamrowy, którego nie zamyka. Powłoka czyta wiersze poniżej jako jego część.</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>Końcowy &amp; zostaje pochłonięty (przez komentarz lub końcowy ukośnik odwrotny): polecenie działa na pierwszym planie i wstrzymuje wszystkie kolejne.</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>Aktywne polecenie zaczynające się od # jest komentarzem: nie zostanie wykonane i zniknie przy następnym odczycie skryptu.</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>To polecenie zaczyna się od #[INACTIVE]#: nie zostanie wykonane i wróci jako wyłączone.</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1: nie ma takiego polecenia (to nie jest polecenie wbudowane powłoki i nie ma go w PATH).</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 nie jest plikiem wykonywalnym.</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>To przypisanie nie wpływa na polecenia poniżej, ponieważ jest wykonywane w podpowłoce w tle. Wyłącz „Uruchom w tle” w menu wiersza, aby działało na skrypt.</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 nie wpływa na polecenia poniżej, ponieważ jest wykonywane w podpowłoce w tle. Wyłącz „Uruchom w tle” w menu wiersza, aby działało na skrypt.</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>To polecenie nigdy nie zostanie wykonane: wiersz powyżej zastępuje lub kończy powłokę (exec lub exit).</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>exec nie zastępuje tutaj powłoki sesji: końcowy &amp; uruchamia to polecenie w podpowłoce w tle. Wyłącz „Uruchom w tle” w menu wiersza, jeśli skrypt ma zakończyć się tym poleceniem.</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Wiersz %1 tego polecenia kończy się znakiem powrotu karetki (CR), jak wiersze skryptu zapisanego w innym systemie. Powłoka traktuje CR jako część ostatniego słowa tego wiersza, a po końcowym &amp; jako osobne polecenie.</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Ten wiersz kończy się znakiem powrotu karetki (CR), jak wiersze skryptu zapisanego w innym systemie. Powłoka traktuje CR jako część ostatniego słowa wiersza, a po końcowym &amp; jako osobne polecenie.</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%2 nie znajduje %1; ta powłoka zna tylko składnię POSIX. Zapisz to w składni POSIX lub wskaż inną powłokę w pierwszym wierszu skryptu.</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>Nie udało się sprawdzić tego wiersza: powłoka przetwarzała skrypt od tego miejsca dłużej niż %n sekundę i została zatrzymana.</numerusform>
            <numerusform>Nie udało się sprawdzić tego wiersza: powłoka przetwarzała skrypt od tego miejsca dłużej niż %n sekundy i została zatrzymana.</numerusform>
            <numerusform>Nie udało się sprawdzić tego wiersza: powłoka przetwarzała skrypt od tego miejsca dłużej niż %n sekund i została zatrzymana.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>Nie udało się sprawdzić %1: powłoka szukała tego dłużej niż %n sekundę i została zatrzymana.</numerusform>
            <numerusform>Nie udało się sprawdzić %1: powłoka szukała tego dłużej niż %n sekundy i została zatrzymana.</numerusform>
            <numerusform>Nie udało się sprawdzić %1: powłoka szukała tego dłużej niż %n sekund i została zatrzymana.</numerusform>
        </translation>
    </message>
</context>
</TS>
