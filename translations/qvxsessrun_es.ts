<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>Añadir aplicación</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtro</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>Parte de un nombre, una descripción o un comando</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtro:</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>Aplicaciones instaladas</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>A&amp;plicaciones instaladas:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Añadir</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>Buscando las aplicaciones instaladas…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>No se encontró ninguna aplicación instalada.</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>Ninguna aplicación coincide con el filtro.</translation>
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
        <translation>Haga doble clic para editar.
Use la casilla para activar o desactivar un comando.
Arrastre y suelte archivos .desktop para añadirlos.</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>No hay ningún comando que ejecutar.</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>No se pudo iniciar %1: %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>Iniciado: %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>Se ejecuta en primer plano: los comandos de abajo esperan a que termine.</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>El shell une esta línea con la siguiente: termina en &amp;&amp;, || o |.</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>Este comando contiene bytes que no son UTF-8, mostrados como %1: %2. Una edición los conserva donde deja el texto como estaba y reemplaza los que cambia.</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>Iniciando: %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1 (desactivado: el inicio de la sesión no lo ejecuta)</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 terminó de inmediato por la señal %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 terminó de inmediato con el estado %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 terminó de inmediato con el estado %2: %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 representa un byte NUL en el script. El shell lo omite: lo que hay a ambos lados se ejecuta como una sola palabra.</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Órdenes</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Intro o F2 edita la orden actual, Espacio la activa o desactiva, Mayús+F10 abre su menú, F8 va a la siguiente orden marcada.</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>Todavía no hay ninguna orden marcada: las órdenes aún se están comprobando.</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>No hay ninguna orden marcada.</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>un archivo de otro equipo</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1: un archivo de otro equipo</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>El comando está vacío: no hay nada que ejecutar.</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>La línea solo contiene un comentario: no hay nada que ejecutar.</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>«%1» pertenece a un comando que empieza en una línea anterior: por sí solo no ejecuta nada.</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>La línea define una función, que por sí misma no inicia nada.</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>La línea termina en &amp;&amp;, || o |: el comando sigue en la línea siguiente, donde iría un &amp; final.</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>El comando no está completo en esta línea (queda abierta una comilla, un if, un bucle o un documento en línea): un &amp; no puede terminarlo aquí.</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>El comando termina con un documento en línea: su &amp; va en su primera línea. Edite el comando para cambiarlo.</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>El &amp; final de esta línea no se puede poner ni quitar aquí. Edite el comando para cambiarlo.</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>Añadir los comandos que se ejecutarán al iniciar la sesión</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rehacer</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Añadir</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Eliminar</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>S&amp;ubir</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>&amp;Bajar</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>Añadir apl&amp;icación…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modificado</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>El script no se ha guardado.</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>El archivo se ha modificado.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>¿Quiere guardar los cambios?</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>&amp;Salir sin guardar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>E&amp;jecutar ahora</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>Ejecutar en segundo &amp;plano</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Sobrescribir</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>Siguiente orden marcada</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>Orden marcada anterior</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>Deshacer el último cambio (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>Rehacer el último cambio deshecho (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>Añadir una orden vacía (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>Eliminar la orden actual (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>Subir la orden actual un puesto</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>Bajar la orden actual un puesto</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>Guardar las órdenes en el script (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>Salir del programa (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Guardado. %n orden no se ejecutaría tal como está escrita: F8 va a ella.</numerusform>
            <numerusform>Guardado. %n órdenes no se ejecutarían tal como están escritas: F8 va a ellas.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>No se pudo añadir %n archivo soltado: %1</numerusform>
            <numerusform>No se pudieron añadir %n archivos soltados: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>Script cambiado en el disco</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>Otro programa ha cambiado el script desde que se abrió o se guardó por última vez aquí.</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>Otro programa ha eliminado el script desde que se abrió o se guardó por última vez aquí.</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>Recargar muestra el script tal como está ahora; Deshacer recupera los comandos que se muestran aquí. Sobrescribir guarda encima los comandos que se muestran aquí.</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>Recargar vacía la lista; Deshacer recupera los comandos que se muestran aquí. Sobrescribir guarda como script los comandos que se muestran aquí.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Recargar</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>El script no se ha recargado.</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>Recargado. Deshacer recupera los comandos que se mostraban antes.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n línea)</numerusform>
            <numerusform>(%n líneas)</numerusform>
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
        <translation>No se pudieron comprobar los comandos: no se pudo ejecutar %1 (%2).</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>No se pudieron comprobar los comandos: no se pudo crear un archivo temporal en %1 (%2).</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>no encontrado</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>una carpeta, no un archivo</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>demasiado grande para una entrada de escritorio (más de %1 MiB)</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>no es una entrada de escritorio</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>una entrada de escritorio sin orden</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>La línea %1 de este comando no es shell válido: el script se detiene allí y no se ejecuta ningún comando posterior.</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Esta línea no es shell válido: el script se detiene aquí y no se ejecuta ningún comando posterior.</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>Esta línea termina en &amp;&amp; (o ||, |), así que el shell la une con la línea siguiente, pero no hay ninguna: el script se detiene aquí.</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>El shell sigue leyendo desde esta línea hasta el final del script en busca del cierre de lo que esta línea abre (if, case, un bucle, una llave o unas comillas): este comando y todos los posteriores nunca se ejecutan.</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>Esta línea deja unas comillas abiertas: el shell lee las líneas de abajo como parte de este comando, hasta las siguientes comillas que coincidan.</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>Esta línea inicia un here-document que ninguna línea cierra: todas las líneas de abajo pasan a ser su texto y no se ejecuta ningún comando posterior.</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>Este comando no está completo: termina en &amp;&amp;, ||, | o una barra invertida, o abre un if, un case, un bucle o una llave que no cierra. El shell lee las líneas de abajo como parte de él.</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>El &amp; final queda anulado (por un comentario o una barra invertida final): el comando se ejecuta en primer plano y retrasa todos los siguientes.</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>Un comando activo que empieza por # es un comentario: no se ejecuta y desaparece la próxima vez que se lee el script.</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>Este comando empieza por #[INACTIVE]#: no se ejecuta y vuelve desactivado.</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1: no existe ese comando (no es un comando interno del shell ni está en el PATH).</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 no es un archivo ejecutable.</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>Esta asignación no afecta a los comandos de abajo, porque se ejecuta en un subshell en segundo plano. Desactive «Ejecutar en segundo plano» en el menú de la fila para que actúe sobre el script.</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 no afecta a los comandos de abajo, porque se ejecuta en un subshell en segundo plano. Desactive «Ejecutar en segundo plano» en el menú de la fila para que actúe sobre el script.</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>Este comando nunca se ejecuta: una línea de arriba reemplaza o termina el shell (exec o exit).</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>Aquí exec no reemplaza el shell de la sesión: el &amp; final lo ejecuta en un subshell en segundo plano. Desactive «Ejecutar en segundo plano» en el menú de la fila si el script debe terminar con este comando.</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>La línea %1 de este comando termina en un retorno de carro (CR), como las líneas de un script guardado en otro sistema. El shell toma el CR como parte de la última palabra de esa línea, o tras un &amp; final como un comando propio.</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Esta línea termina en un retorno de carro (CR), como las líneas de un script guardado en otro sistema. El shell toma el CR como parte de la última palabra de la línea, o tras un &amp; final como un comando propio.</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%2 no encuentra %1; este shell solo conoce la sintaxis POSIX. Escríbalo en sintaxis POSIX o indique otro shell en la primera línea del script.</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>No se pudo comprobar esta línea: el shell tardó más de %n segundo con el script a partir de aquí y fue detenido.</numerusform>
            <numerusform>No se pudo comprobar esta línea: el shell tardó más de %n segundos con el script a partir de aquí y fue detenido.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>No se pudo comprobar %1: el shell tardó más de %n segundo en buscarlo y fue detenido.</numerusform>
            <numerusform>No se pudo comprobar %1: el shell tardó más de %n segundos en buscarlo y fue detenido.</numerusform>
        </translation>
    </message>
</context>
</TS>
