<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>Anwendung hinzufügen</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>Ein Teil eines Namens, einer Beschreibung oder eines Befehls</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filter:</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>Installierte Anwendungen</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>Installierte A&amp;nwendungen:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>Die installierten Anwendungen werden gesucht…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>Es wurde keine installierte Anwendung gefunden.</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>Keine Anwendung passt zum Filter.</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Command: %1</source>
        <translation>Befehl: %1</translation>
    </message>
</context>
<context>
    <name>List</name>
    <message>
        <source>Double click to edit.
Use checkbox to activate/deactivate a command.
Use Drag &amp; Drop to add desktop files.</source>
        <translation>Zum Bearbeiten doppelklicken.
Mit dem Ankreuzfeld einen Befehl aktivieren oder deaktivieren.
Desktop-Dateien durch Ziehen und Ablegen hinzufügen.</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>Es gibt keinen Befehl zum Ausführen.</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>%1 konnte nicht gestartet werden: %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>Gestartet: %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>Läuft im Vordergrund: Die Befehle darunter warten, bis er endet.</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>Die Shell verbindet diese Zeile mit der nächsten: Sie endet auf &amp;&amp;, || oder |.</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>Dieser Befehl enthält Bytes, die kein UTF-8 sind, angezeigt als %1: %2. Eine Änderung behält sie dort, wo sie den Text lässt, wie er war, und ersetzt die, die sie ändert.</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>Wird gestartet: %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1 (ausgeschaltet: der Sitzungsstart führt ihn nicht aus)</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 wurde sofort durch Signal %2 beendet</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 endete sofort mit Status %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 endete sofort mit Status %2: %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 steht für ein NUL-Byte im Skript. Die Shell überspringt es: Was auf beiden Seiten steht, läuft als ein Wort.</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Eingabe oder F2 bearbeitet den aktuellen Befehl, die Leertaste schaltet ihn ein oder aus, Umschalt+F10 öffnet sein Menü, F8 geht zum nächsten markierten Befehl.</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>Noch ist kein Befehl markiert: Die Befehle werden noch geprüft.</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>Kein Befehl ist markiert.</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>eine Datei eines anderen Rechners</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1: eine Datei eines anderen Rechners</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>Der Befehl ist leer: Es gibt nichts auszuführen.</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>Die Zeile enthält nur einen Kommentar: Es gibt nichts auszuführen.</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>„%1“ gehört zu einem Befehl, der in einer Zeile weiter oben beginnt: Für sich allein führt es nichts aus.</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>Die Zeile definiert eine Funktion, die von sich aus nichts startet.</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>Die Zeile endet mit &amp;&amp;, || oder |: Der Befehl geht in der nächsten Zeile weiter, wohin ein abschließendes &amp; gehören würde.</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>Der Befehl ist in dieser Zeile nicht vollständig (ein Anführungszeichen, ein if, eine Schleife oder ein Here-Document ist offen): Ein &amp; kann ihn hier nicht beenden.</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>Der Befehl endet mit einem Here-Document: Sein &amp; gehört in seine erste Zeile. Bearbeiten Sie den Befehl, um es zu ändern.</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>Das abschließende &amp; dieser Zeile kann hier nicht gesetzt oder entfernt werden. Bearbeiten Sie den Befehl, um es zu ändern.</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>Befehle hinzufügen, die beim Sitzungsstart ausgeführt werden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>&amp;Anwendung hinzufügen…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>Das Skript wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>Die Datei wurde geändert.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Möchten Sie Ihre Änderungen speichern?</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>&amp;Ohne Speichern beenden</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>Jetzt aus&amp;führen</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>Im Hinter&amp;grund ausführen</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Ü&amp;berschreiben</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>Nächster markierter Befehl</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>Vorheriger markierter Befehl</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>Die letzte Änderung rückgängig machen (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>Die zuletzt rückgängig gemachte Änderung wiederherstellen (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>Einen leeren Befehl hinzufügen (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>Den aktuellen Befehl löschen (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>Den aktuellen Befehl um eine Stelle nach oben verschieben</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>Den aktuellen Befehl um eine Stelle nach unten verschieben</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>Die Befehle in das Skript speichern (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>Das Programm beenden (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Gespeichert. %n Befehl würde so nicht ausgeführt: F8 geht zu ihm.</numerusform>
            <numerusform>Gespeichert. %n Befehle würden so nicht ausgeführt: F8 geht zu ihnen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>%n abgelegte Datei konnte nicht hinzugefügt werden: %1</numerusform>
            <numerusform>%n abgelegte Dateien konnten nicht hinzugefügt werden: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>Skript auf der Festplatte geändert</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>Das Skript wurde von einem anderen Programm geändert, seit es hier geöffnet oder zuletzt gespeichert wurde.</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>Das Skript wurde von einem anderen Programm gelöscht, seit es hier geöffnet oder zuletzt gespeichert wurde.</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>Neu laden zeigt das Skript, wie es jetzt ist; Rückgängig holt die hier gezeigten Befehle zurück. Überschreiben speichert die hier gezeigten Befehle darüber.</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>Neu laden leert die Liste; Rückgängig holt die hier gezeigten Befehle zurück. Überschreiben speichert die hier gezeigten Befehle als Skript.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>Das Skript wurde nicht neu geladen.</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>Neu geladen. Rückgängig holt die vorher gezeigten Befehle zurück.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n Zeile)</numerusform>
            <numerusform>(%n Zeilen)</numerusform>
        </translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
</context>
<context>
    <name>CommandCheck</name>
    <message>
        <source>The commands could not be checked: %1 could not be run (%2).</source>
        <translation>Die Befehle konnten nicht geprüft werden: %1 ließ sich nicht ausführen (%2).</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>Die Befehle konnten nicht geprüft werden: In %1 ließ sich keine temporäre Datei anlegen (%2).</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>zu groß für einen Desktop-Eintrag (über %1 MiB)</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>kein Desktop-Eintrag</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>ein Desktop-Eintrag ohne Befehl</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>Zeile %1 dieses Befehls ist kein gültiger Shell-Code: Das Skript bricht dort ab, und kein späterer Befehl wird ausgeführt.</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Diese Zeile ist kein gültiger Shell-Code: Das Skript bricht hier ab, und kein späterer Befehl wird ausgeführt.</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>Diese Zeile endet auf &amp;&amp; (oder ||, |), daher verbindet die Shell sie mit der nächsten Zeile, doch es folgt keine: Das Skript bricht hier ab.</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>Die Shell liest ab dieser Zeile bis zum Ende des Skripts weiter, um das Ende dessen zu finden, was diese Zeile öffnet (if, case, eine Schleife, eine geschweifte Klammer oder ein Anführungszeichen): Dieser Befehl und alle späteren werden nie ausgeführt.</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>Diese Zeile lässt ein Anführungszeichen offen: Die Shell liest die Zeilen darunter bis zum nächsten passenden Anführungszeichen als Teil dieses Befehls.</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>Diese Zeile beginnt ein Here-Dokument, das keine Zeile beendet: Jede Zeile darunter wird zu seinem Text, und kein späterer Befehl wird ausgeführt.</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>Dieser Befehl ist nicht vollständig: Er endet mit &amp;&amp;, ||, | oder einem Backslash oder öffnet if, case, eine Schleife oder eine Klammer, die er nicht schließt. Die Shell liest die Zeilen darunter als Teil davon.</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>Das abschließende &amp; wird verschluckt (von einem Kommentar oder einem Backslash am Ende): Der Befehl läuft im Vordergrund und hält alle späteren auf.</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>Ein aktiver Befehl, der mit # beginnt, ist ein Kommentar: Er wird nicht ausgeführt und ist beim nächsten Lesen des Skripts verschwunden.</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>Dieser Befehl beginnt mit #[INACTIVE]#: Er wird nicht ausgeführt und kommt deaktiviert zurück.</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1: Befehl nicht gefunden (kein eingebauter Shell-Befehl und nicht im PATH).</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 ist keine ausführbare Datei.</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>Diese Zuweisung wirkt sich nicht auf die Befehle darunter aus, weil sie in einer Subshell im Hintergrund läuft. Schalten Sie „Im Hintergrund ausführen“ im Menü der Zeile aus, damit sie auf das Skript wirkt.</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 wirkt sich nicht auf die Befehle darunter aus, weil es in einer Subshell im Hintergrund läuft. Schalten Sie „Im Hintergrund ausführen“ im Menü der Zeile aus, damit es auf das Skript wirkt.</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>Dieser Befehl wird nie ausgeführt: Eine Zeile darüber ersetzt oder beendet die Shell (exec oder exit).</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>exec ersetzt hier nicht die Shell der Sitzung: Das abschließende &amp; führt es in einer Subshell im Hintergrund aus. Schalten Sie „Im Hintergrund ausführen“ im Menü der Zeile aus, wenn das Skript mit diesem Befehl enden soll.</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Zeile %1 dieses Befehls endet mit einem Wagenrücklauf (CR), wie die Zeilen eines auf einem anderen System gespeicherten Skripts. Die Shell nimmt das CR als Teil des letzten Worts dieser Zeile oder nach einem abschließenden &amp; als eigenen Befehl.</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Diese Zeile endet mit einem Wagenrücklauf (CR), wie die Zeilen eines auf einem anderen System gespeicherten Skripts. Die Shell nimmt das CR als Teil des letzten Worts der Zeile oder nach einem abschließenden &amp; als eigenen Befehl.</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%1 wird von %2 nicht gefunden; diese Shell kennt nur POSIX-Syntax. Schreiben Sie es in POSIX-Syntax oder geben Sie in der ersten Zeile des Skripts eine andere Shell an.</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>Diese Zeile konnte nicht geprüft werden: Die Shell brauchte für das Skript ab hier länger als %n Sekunde und wurde abgebrochen.</numerusform>
            <numerusform>Diese Zeile konnte nicht geprüft werden: Die Shell brauchte für das Skript ab hier länger als %n Sekunden und wurde abgebrochen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>%1 konnte nicht geprüft werden: Die Shell brauchte länger als %n Sekunde, um es nachzuschlagen, und wurde abgebrochen.</numerusform>
            <numerusform>%1 konnte nicht geprüft werden: Die Shell brauchte länger als %n Sekunden, um es nachzuschlagen, und wurde abgebrochen.</numerusform>
        </translation>
    </message>
</context>
</TS>
