<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>Aggiungi applicazione</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtro</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>Parte di un nome, di una descrizione o di un comando</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtro:</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>Applicazioni installate</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>A&amp;pplicazioni installate:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>Agg&amp;iungi</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annulla</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>Ricerca delle applicazioni installate…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>Non è stata trovata alcuna applicazione installata.</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>Nessuna applicazione corrisponde al filtro.</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Command: %1</source>
        <translation>Comando: %1</translation>
    </message>
</context>
<context>
    <name>List</name>
    <message>
        <source>Double click to edit.
Use checkbox to activate/deactivate a command.
Use Drag &amp; Drop to add desktop files.</source>
        <translation>Fai doppio clic per modificare.
Usa la casella di spunta per attivare o disattivare un comando.
Trascina e rilascia file .desktop per aggiungerli.</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>Non c’è alcun comando da eseguire.</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>Impossibile avviare %1: %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>Avviato: %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>Gira in primo piano: i comandi sotto di esso attendono che termini.</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>La shell unisce questa riga alla successiva: termina con &amp;&amp;, || o |.</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>Questo comando contiene byte che non sono UTF-8, mostrati come %1: %2. Una modifica li conserva dove lascia il testo com'era e sostituisce quelli che cambia.</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>Avvio in corso: %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1 (disattivato: l'avvio della sessione non lo esegue)</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 è terminato subito per il segnale %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 è terminato subito con lo stato %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 è terminato subito con lo stato %2: %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 rappresenta un byte NUL nello script. La shell lo salta: ciò che sta ai due lati viene eseguito come una sola parola.</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Comandi</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Invio o F2 modifica il comando corrente, Spazio lo attiva o disattiva, Maiusc+F10 apre il suo menu, F8 va al comando segnato successivo.</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>Nessun comando è ancora segnato: i comandi sono ancora in verifica.</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>Nessun comando è segnato.</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>un file di un altro computer</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1: un file di un altro computer</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>Il comando è vuoto: non c'è nulla da eseguire.</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>La riga contiene solo un commento: non c'è nulla da eseguire.</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>«%1» fa parte di un comando che inizia in una riga precedente: da solo non esegue nulla.</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>La riga definisce una funzione, che da sola non avvia nulla.</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>La riga termina con &amp;&amp;, || o |: il comando prosegue nella riga successiva, dove andrebbe un &amp; finale.</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>Il comando non è completo in questa riga (resta aperto un apice, un if, un ciclo o un here-document): un &amp; non può terminarlo qui.</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>Il comando termina con un here-document: il suo &amp; va nella sua prima riga. Modifica il comando per cambiarlo.</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>Il &amp; finale di questa riga non si può aggiungere o togliere qui. Modifica il comando per cambiarlo.</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>Aggiungi i comandi da eseguire all&apos;avvio della sessione</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annulla</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ripeti</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>Agg&amp;iungi</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>E&amp;limina</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>S&amp;u</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>&amp;Giù</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>Aggiungi appli&amp;cazione…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salva</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modificato</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Salvato</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>Lo script non è stato salvato.</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>Il file è stato modificato.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Vuoi salvare le modifiche?</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>&amp;Esci senza salvare</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annulla</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>&amp;Esegui ora</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>Esegui in secondo &amp;piano</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Sovrascrivi</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>Comando segnato successivo</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>Comando segnato precedente</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>Annulla l’ultima modifica (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>Ripeti l’ultima modifica annullata (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>Aggiungi un comando vuoto (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>Elimina il comando corrente (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>Sposta il comando corrente su di una posizione</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>Sposta il comando corrente giù di una posizione</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>Salva i comandi nello script (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>Esci dal programma (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Salvato. %n comando non verrebbe eseguito così come è scritto: F8 porta a esso.</numerusform>
            <numerusform>Salvato. %n comandi non verrebbero eseguiti così come sono scritti: F8 porta a essi.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>Non è stato possibile aggiungere %n file trascinato: %1</numerusform>
            <numerusform>Non è stato possibile aggiungere %n file trascinati: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>Script modificato sul disco</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>Lo script è stato modificato da un altro programma dopo l’apertura o l’ultimo salvataggio qui.</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>Lo script è stato eliminato da un altro programma dopo l’apertura o l’ultimo salvataggio qui.</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>Ricarica mostra lo script com’è ora; Annulla riporta i comandi mostrati qui. Sovrascrivi salva al suo posto i comandi mostrati qui.</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>Ricarica svuota l’elenco; Annulla riporta i comandi mostrati qui. Sovrascrivi salva come script i comandi mostrati qui.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Ricarica</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>Lo script non è stato ricaricato.</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>Ricaricato. Annulla riporta i comandi mostrati prima.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n riga)</numerusform>
            <numerusform>(%n righe)</numerusform>
        </translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Comando</translation>
    </message>
</context>
<context>
    <name>CommandCheck</name>
    <message>
        <source>The commands could not be checked: %1 could not be run (%2).</source>
        <translation>Impossibile verificare i comandi: non è stato possibile eseguire %1 (%2).</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>Impossibile verificare i comandi: non è stato possibile creare un file temporaneo in %1 (%2).</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>non trovato</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>una cartella, non un file</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>non è un file regolare</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>troppo grande per una voce desktop (oltre %1 MiB)</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>non è una voce desktop</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>una voce desktop senza comando</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>La riga %1 di questo comando non è shell valido: lo script si ferma lì e nessun comando successivo viene eseguito.</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Questa riga non è shell valido: lo script si ferma qui e nessun comando successivo viene eseguito.</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>Questa riga termina con &amp;&amp; (o ||, |), quindi la shell la unisce alla riga successiva, ma non ne segue nessuna: lo script si ferma qui.</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>La shell continua a leggere da questa riga fino alla fine dello script cercando la chiusura di ciò che questa riga apre (if, case, un ciclo, una parentesi graffa o una virgoletta): questo comando e tutti quelli successivi non vengono mai eseguiti.</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>Questa riga lascia una virgoletta aperta: la shell legge le righe sotto come parte di questo comando, fino alla successiva virgoletta corrispondente.</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>Questa riga inizia un here-document che nessuna riga chiude: ogni riga sotto diventa il suo testo e nessun comando successivo viene eseguito.</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>Questo comando non è completo: termina con &amp;&amp;, ||, | o una barra rovesciata, oppure apre un if, un case, un ciclo o una graffa che non chiude. La shell legge le righe sotto come parte di esso.</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>La &amp; finale viene inghiottita (da un commento o da una barra rovesciata finale): il comando gira in primo piano e blocca tutti quelli successivi.</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>Un comando attivo che inizia con # è un commento: non viene eseguito e scompare alla prossima lettura dello script.</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>Questo comando inizia con #[INACTIVE]#: non viene eseguito e ritorna disattivato.</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1: comando inesistente (non è un comando interno della shell e non si trova nel PATH).</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 non è un file eseguibile.</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>Questa assegnazione non ha effetto sui comandi sotto di essa, perché viene eseguita in una subshell in secondo piano. Disattiva «Esegui in secondo piano» nel menu della riga perché agisca sullo script.</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 non ha effetto sui comandi sotto di esso, perché viene eseguito in una subshell in secondo piano. Disattiva «Esegui in secondo piano» nel menu della riga perché agisca sullo script.</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>Questo comando non viene mai eseguito: una riga sopra sostituisce o termina la shell (exec o exit).</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>Qui exec non sostituisce la shell della sessione: la &amp; finale lo esegue in una subshell in secondo piano. Disattiva «Esegui in secondo piano» nel menu della riga se lo script deve terminare con questo comando.</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>La riga %1 di questo comando termina con un ritorno a capo (CR), come le righe di uno script salvato su un altro sistema. La shell prende il CR come parte dell'ultima parola di quella riga, o dopo un &amp; finale come un comando a sé.</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Questa riga termina con un ritorno a capo (CR), come le righe di uno script salvato su un altro sistema. La shell prende il CR come parte dell'ultima parola della riga, o dopo un &amp; finale come un comando a sé.</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%2 non trova %1; questa shell conosce solo la sintassi POSIX. Scrivilo in sintassi POSIX oppure indica un'altra shell nella prima riga dello script.</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>Non è stato possibile controllare questa riga: la shell ha impiegato più di %n secondo sullo script da qui in poi ed è stata fermata.</numerusform>
            <numerusform>Non è stato possibile controllare questa riga: la shell ha impiegato più di %n secondi sullo script da qui in poi ed è stata fermata.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>Non è stato possibile controllare %1: la shell ha impiegato più di %n secondo per cercarlo ed è stata fermata.</numerusform>
            <numerusform>Non è stato possibile controllare %1: la shell ha impiegato più di %n secondi per cercarlo ed è stata fermata.</numerusform>
        </translation>
    </message>
</context>
</TS>
