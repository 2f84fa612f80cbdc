<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>Adicionar aplicativo</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtro</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>Parte de um nome, de uma descrição ou de um comando</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtro:</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>Aplicativos instalados</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>A&amp;plicativos instalados:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Adicionar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>Procurando os aplicativos instalados…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>Nenhum aplicativo instalado foi encontrado.</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>Nenhum aplicativo corresponde ao filtro.</translation>
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
        <translation>Clique duas vezes para editar.
Use a caixa de seleção para ativar ou desativar um comando.
Arraste e solte arquivos .desktop para adicioná-los.</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>Não há nenhum comando para executar.</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>Não foi possível iniciar %1: %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>Iniciado: %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>Roda em primeiro plano: os comandos abaixo esperam até que termine.</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>O shell junta esta linha com a seguinte: ela termina em &amp;&amp;, || ou |.</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>Este comando contém bytes que não são UTF-8, mostrados como %1: %2. Uma edição os mantém onde deixa o texto como estava e substitui os que altera.</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>Iniciando: %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1 (desativado: o início da sessão não o executa)</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 terminou imediatamente pelo sinal %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 terminou imediatamente com o status %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 terminou imediatamente com o status %2: %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 representa um byte NUL no script. O shell o ignora: o que está de cada lado dele é executado como uma só palavra.</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Comandos</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Enter ou F2 edita o comando atual, Espaço o ativa ou desativa, Shift+F10 abre seu menu, F8 vai para o próximo comando marcado.</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>Nenhum comando está marcado ainda: os comandos ainda estão sendo verificados.</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>Nenhum comando está marcado.</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>um arquivo de outro computador</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1: um arquivo de outro computador</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>O comando está vazio: não há nada para executar.</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>A linha contém apenas um comentário: não há nada para executar.</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>“%1” pertence a um comando que começa em uma linha acima: sozinho, não executa nada.</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>A linha define uma função, que por si só não inicia nada.</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>A linha termina em &amp;&amp;, || ou |: o comando continua na linha seguinte, onde caberia um &amp; final.</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>O comando não está completo nesta linha (uma aspa, um if, um laço ou um here-document ficou aberto): um &amp; não pode terminá-lo aqui.</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>O comando termina com um here-document: seu &amp; fica na primeira linha. Edite o comando para alterá-lo.</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>O &amp; final desta linha não pode ser colocado nem retirado aqui. Edite o comando para alterá-lo.</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>Adicionar comandos a serem executados ao iniciar a sessão</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Desfazer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Refazer</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Adicionar</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Excluir</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Para &amp;cima</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>Para &amp;baixo</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>Adicionar a&amp;plicativo…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Sa&amp;ir</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modificado</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Salvo</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>O script não foi salvo.</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>O arquivo foi modificado.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Deseja salvar as alterações?</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>Sa&amp;ir sem salvar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>E&amp;xecutar agora</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>Executar em segundo p&amp;lano</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Sobrescrever</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>Próximo comando marcado</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>Comando marcado anterior</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>Desfazer a última alteração (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>Refazer a última alteração desfeita (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>Adicionar um comando vazio (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>Excluir o comando atual (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>Mover o comando atual uma posição para cima</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>Mover o comando atual uma posição para baixo</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>Salvar os comandos no script (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>Sair do programa (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Salvo. %n comando não seria executado como está escrito: F8 vai até ele.</numerusform>
            <numerusform>Salvo. %n comandos não seriam executados como estão escritos: F8 vai até eles.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>Não foi possível adicionar %n arquivo arrastado: %1</numerusform>
            <numerusform>Não foi possível adicionar %n arquivos arrastados: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>Script alterado no disco</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>O script foi alterado por outro programa desde que foi aberto ou salvo pela última vez aqui.</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>O script foi removido por outro programa desde que foi aberto ou salvo pela última vez aqui.</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>Recarregar mostra o script como está agora; Desfazer traz de volta os comandos mostrados aqui. Sobrescrever salva os comandos mostrados aqui por cima dele.</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>Recarregar esvazia a lista; Desfazer traz de volta os comandos mostrados aqui. Sobrescrever salva os comandos mostrados aqui como o script.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Recarregar</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>O script não foi recarregado.</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>Recarregado. Desfazer traz de volta os comandos mostrados antes.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n linha)</numerusform>
            <numerusform>(%n linhas)</numerusform>
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
        <translation>Não foi possível verificar os comandos: não foi possível executar %1 (%2).</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>Não foi possível verificar os comandos: não foi possível criar um arquivo temporário em %1 (%2).</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>não encontrado</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>uma pasta, não um arquivo</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>não é um arquivo comum</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>grande demais para uma entrada de área de trabalho (mais de %1 MiB)</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>não é uma entrada de área de trabalho</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>uma entrada de área de trabalho sem comando</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>A linha %1 deste comando não é shell válido: o script para ali e nenhum comando posterior é executado.</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Esta linha não é shell válido: o script para aqui e nenhum comando posterior é executado.</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>Esta linha termina em &amp;&amp; (ou ||, |), então o shell a junta com a linha seguinte, mas nenhuma vem depois: o script para aqui.</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>O shell continua lendo desta linha até o fim do script em busca do fechamento do que ela abre (if, case, um laço, uma chave ou uma aspa): este comando e todos os seguintes nunca são executados.</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>Esta linha deixa uma aspa aberta: o shell lê as linhas abaixo como parte deste comando, até a próxima aspa correspondente.</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>Esta linha inicia um here-document que nenhuma linha encerra: todas as linhas abaixo se tornam seu texto, e nenhum comando posterior é executado.</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>Este comando não está completo: termina em &amp;&amp;, ||, | ou uma barra invertida, ou abre um if, um case, um laço ou uma chave que não fecha. O shell lê as linhas abaixo como parte dele.</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>O &amp; final é engolido (por um comentário ou por uma barra invertida no fim): o comando roda em primeiro plano e atrasa todos os seguintes.</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>Um comando ativo que começa com # é um comentário: ele não é executado e desaparece na próxima leitura do script.</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>Este comando começa com #[INACTIVE]#: ele não é executado e volta desativado.</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1: comando inexistente (não é um comando interno do shell nem foi encontrado no PATH).</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 não é um arquivo executável.</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>Esta atribuição não tem efeito sobre os comandos abaixo, porque é executada em um subshell em segundo plano. Desative "Executar em segundo plano" no menu da linha para que ela atue sobre o script.</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 não tem efeito sobre os comandos abaixo, porque é executado em um subshell em segundo plano. Desative "Executar em segundo plano" no menu da linha para que atue sobre o script.</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>Este comando nunca é executado: uma linha acima substitui ou encerra o shell (exec ou exit).</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>Aqui, exec não substitui o shell da sessão: o &amp; final o executa em um subshell em segundo plano. Desative "Executar em segundo plano" no menu da linha se o script deve terminar com este comando.</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>A linha %1 deste comando termina com um retorno de carro (CR), como as linhas de um script salvo em outro sistema. O shell toma o CR como parte da última palavra dessa linha, ou após um &amp; final como um comando próprio.</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Esta linha termina com um retorno de carro (CR), como as linhas de um script salvo em outro sistema. O shell toma o CR como parte da última palavra da linha, ou após um &amp; final como um comando próprio.</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%1 não é encontrado pelo %2; este shell conhece apenas a sintaxe POSIX. Escreva-o em sintaxe POSIX ou indique outro shell na primeira linha do script.</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>Não foi possível verificar esta linha: o shell levou mais de %n segundo no script a partir daqui e foi interrompido.</numerusform>
            <numerusform>Não foi possível verificar esta linha: o shell levou mais de %n segundos no script a partir daqui e foi interrompido.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>Não foi possível verificar %1: o shell levou mais de %n segundo para procurá-lo e foi interrompido.</numerusform>
            <numerusform>Não foi possível verificar %1: o shell levou mais de %n segundos para procurá-lo e foi interrompido.</numerusform>
        </translation>
    </message>
</context>
</TS>
