<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en_US">
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
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Esta linha não é shell válido: o script para aqui e nenhum comando posterior é executado.</translation>
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
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>Roda em primeiro plano: os comandos abaixo esperam até que termine.</translation>
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
    <message numerus="yes">
        <source>%n dropped file(s) could not be added.</source>
        <translation>
            <numerusform>Não foi possível adicionar %n arquivo arrastado.</numerusform>
            <numerusform>Não foi possível adicionar %n arquivos arrastados.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written.</source>
        <translation>
            <numerusform>Salvo. %n comando não seria executado como está escrito.</numerusform>
            <numerusform>Salvo. %n comandos não seriam executados como estão escritos.</numerusform>
        </translation>
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
        <source>The script was changed by another program since it was opened.</source>
        <translation>O script foi alterado por outro programa desde que foi aberto.</translation>
    </message>
    <message>
        <source>Overwrite it with the commands shown here?</source>
        <translation>Sobrescrevê-lo com os comandos mostrados aqui?</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Sobrescrever</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
</context>
</TS>
