<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>Ajouter une application</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtre</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>Une partie d’un nom, d’une description ou d’une commande</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtre :</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>Applications installées</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>Applications &amp;installées :</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>A&amp;jouter</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>Recherche des applications installées…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>Aucune application installée n’a été trouvée.</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>Aucune application ne correspond au filtre.</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Command: %1</source>
        <translation>Commande : %1</translation>
    </message>
</context>
<context>
    <name>List</name>
    <message>
        <source>Double click to edit.
Use checkbox to activate/deactivate a command.
Use Drag &amp; Drop to add desktop files.</source>
        <translation>Double-cliquez pour modifier.
Cochez ou décochez la case pour activer ou désactiver une commande.
Glissez-déposez des fichiers .desktop pour les ajouter.</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>Il n’y a aucune commande à exécuter.</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>Impossible de démarrer %1 : %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>Démarré : %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>S'exécute au premier plan : les commandes en dessous attendent qu'elle se termine.</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>Le shell joint cette ligne à la suivante : elle se termine par &amp;&amp;, || ou |.</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>Cette commande contient des octets qui ne sont pas de l'UTF-8, affichés comme %1 : %2. Une modification les conserve là où elle laisse le texte tel qu'il était et remplace ceux qu'elle change.</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>Démarrage : %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1 (désactivée : le démarrage de la session ne l'exécute pas)</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 s'est terminé aussitôt par le signal %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 s'est terminé aussitôt avec le code %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 s'est terminé aussitôt avec le code %2 : %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 représente un octet NUL dans le script. Le shell l'ignore : ce qui se trouve de part et d'autre s'exécute comme un seul mot.</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Commandes</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Entrée ou F2 modifie la commande courante, Espace l’active ou la désactive, Maj+F10 ouvre son menu, F8 va à la commande marquée suivante.</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>Aucune commande n’est encore marquée : les commandes sont en cours de vérification.</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>Aucune commande n’est marquée.</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>un fichier d'un autre ordinateur</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1 : un fichier d'un autre ordinateur</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>La commande est vide : il n'y a rien à exécuter.</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>La ligne ne contient qu'un commentaire : il n'y a rien à exécuter.</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>« %1 » fait partie d'une commande qui commence sur une ligne au-dessus : seul, il n'exécute rien.</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>La ligne définit une fonction, qui ne lance rien par elle-même.</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>La ligne se termine par &amp;&amp;, || ou | : la commande continue à la ligne suivante, où irait un &amp; final.</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>La commande n'est pas complète sur cette ligne (un guillemet, un if, une boucle ou un document en ligne reste ouvert) : un &amp; ne peut pas la terminer ici.</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>La commande se termine par un document en ligne : son &amp; va sur sa première ligne. Modifiez la commande pour le changer.</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>Le &amp; final de cette ligne ne peut pas être ajouté ou retiré ici. Modifiez la commande pour le changer.</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>Ajouter des commandes à exécuter au démarrage de la session</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>A&amp;jouter</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Monter</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>&amp;Descendre</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>Ajouter une appli&amp;cation…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modifié</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Enregistré</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>Le script n&apos;a pas été enregistré.</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>Le fichier a été modifié.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Voulez-vous enregistrer vos modifications&#xa0;?</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>&amp;Quitter sans enregistrer</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>&amp;Exécuter maintenant</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>Exécuter en arrière-&amp;plan</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>É&amp;craser</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>Commande marquée suivante</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>Commande marquée précédente</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>Annuler la dernière modification (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>Rétablir la dernière modification annulée (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>Ajouter une commande vide (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>Supprimer la commande courante (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>Monter la commande courante d’une place</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>Descendre la commande courante d’une place</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>Enregistrer les commandes dans le script (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>Quitter le programme (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Enregistré. %n commande ne s’exécuterait pas telle qu’écrite : F8 y mène.</numerusform>
            <numerusform>Enregistré. %n commandes ne s’exécuteraient pas telles qu’écrites : F8 y mène.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>%n fichier déposé n'a pas pu être ajouté : %1</numerusform>
            <numerusform>%n fichiers déposés n'ont pas pu être ajoutés : %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>Script modifié sur le disque</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>Le script a été modifié par un autre programme depuis son ouverture ou son dernier enregistrement ici.</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>Le script a été supprimé par un autre programme depuis son ouverture ou son dernier enregistrement ici.</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>Recharger affiche le script tel qu’il est maintenant ; Annuler ramène les commandes affichées ici. Écraser enregistre les commandes affichées ici à sa place.</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>Recharger vide la liste ; Annuler ramène les commandes affichées ici. Écraser enregistre les commandes affichées ici comme script.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Recharger</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>Le script n’a pas été rechargé.</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>Rechargé. Annuler ramène les commandes affichées auparavant.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n ligne)</numerusform>
            <numerusform>(%n lignes)</numerusform>
        </translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Commande</translation>
    </message>
</context>
<context>
    <name>CommandCheck</name>
    <message>
        <source>The commands could not be checked: %1 could not be run (%2).</source>
        <translation>Les commandes n'ont pas pu être vérifiées : impossible d'exécuter %1 (%2).</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>Les commandes n'ont pas pu être vérifiées : impossible de créer un fichier temporaire dans %1 (%2).</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>introuvable</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>un dossier, pas un fichier</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>trop grand pour une entrée de bureau (plus de %1 Mio)</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>pas une entrée de bureau</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>une entrée de bureau sans commande</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>La ligne %1 de cette commande n'est pas du shell valide : le script s'arrête là et aucune commande suivante ne s'exécute.</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>Cette ligne n'est pas du shell valide : le script s'arrête ici et aucune commande suivante ne s'exécute.</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>Cette ligne se termine par &amp;&amp; (ou ||, |), donc le shell la joint à la ligne suivante, mais il n'y en a aucune : le script s'arrête ici.</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>Le shell lit à partir de cette ligne jusqu'à la fin du script pour trouver la fin de ce qu'elle ouvre (if, case, une boucle, une accolade ou un guillemet) : cette commande et toutes les suivantes ne s'exécutent jamais.</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>Cette ligne laisse un guillemet ouvert : le shell lit les lignes en dessous comme faisant partie de cette commande, jusqu'au prochain guillemet correspondant.</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>Cette ligne commence un here-document qu'aucune ligne ne termine : toutes les lignes en dessous deviennent son texte et aucune commande suivante ne s'exécute.</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>Cette commande n'est pas complète : elle se termine par &amp;&amp;, ||, | ou une barre oblique inverse, ou ouvre un if, un case, une boucle ou une accolade qu'elle ne ferme pas. Le shell lit les lignes en dessous comme faisant partie d'elle.</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>Le &amp; final est avalé (par un commentaire ou une barre oblique inverse finale) : la commande s'exécute au premier plan et retarde toutes les suivantes.</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>Une commande active qui commence par # est un commentaire : elle ne s'exécute pas et disparaît à la prochaine lecture du script.</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>Cette commande commence par #[INACTIVE]# : elle ne s'exécute pas et revient désactivée.</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1 : commande introuvable (ni commande interne du shell, ni présente dans le PATH).</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 n'est pas un fichier exécutable.</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>Cette affectation n'a aucun effet sur les commandes en dessous, car elle s'exécute dans un sous-shell en arrière-plan. Désactivez « Exécuter en arrière-plan » dans le menu de la ligne pour qu'elle agisse sur le script.</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 n'a aucun effet sur les commandes en dessous, car il s'exécute dans un sous-shell en arrière-plan. Désactivez « Exécuter en arrière-plan » dans le menu de la ligne pour qu'il agisse sur le script.</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>Cette commande ne s'exécute jamais : une ligne au-dessus remplace ou termine le shell (exec ou exit).</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>Ici, exec ne remplace pas le shell de la session : le &amp; final l'exécute dans un sous-shell en arrière-plan. Désactivez « Exécuter en arrière-plan » dans le menu de la ligne si le script doit se terminer par cette commande.</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>La ligne %1 de cette commande se termine par un retour chariot (CR), comme les lignes d'un script enregistré sur un autre système. Le shell prend le CR pour une partie du dernier mot de cette ligne, ou après un &amp; final pour une commande à part entière.</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>Cette ligne se termine par un retour chariot (CR), comme les lignes d'un script enregistré sur un autre système. Le shell prend le CR pour une partie du dernier mot de la ligne, ou après un &amp; final pour une commande à part entière.</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%2 ne trouve pas %1 ; ce shell ne connaît que la syntaxe POSIX. Écrivez-le en syntaxe POSIX ou indiquez un autre shell dans la première ligne du script.</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>Cette ligne n'a pas pu être vérifiée : le shell a mis plus de %n seconde sur le script à partir d'ici et a été arrêté.</numerusform>
            <numerusform>Cette ligne n'a pas pu être vérifiée : le shell a mis plus de %n secondes sur le script à partir d'ici et a été arrêté.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>%1 n'a pas pu être vérifié : le shell a mis plus de %n seconde à le rechercher et a été arrêté.</numerusform>
            <numerusform>%1 n'a pas pu être vérifié : le shell a mis plus de %n secondes à le rechercher et a été arrêté.</numerusform>
        </translation>
    </message>
</context>
</TS>
