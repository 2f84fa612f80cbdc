<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>アプリケーションを追加</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>フィルター</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>名前、説明、コマンドの一部</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>フィルター(&amp;F)</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>インストール済みのアプリケーション</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>インストール済みのアプリケーション(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>追加(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>インストール済みのアプリケーションを探しています…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>インストール済みのアプリケーションが見つかりませんでした。</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>フィルターに一致するアプリケーションはありません。</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Command: %1</source>
        <translation>コマンド: %1</translation>
    </message>
</context>
<context>
    <name>List</name>
    <message>
        <source>Double click to edit.
Use checkbox to activate/deactivate a command.
Use Drag &amp; Drop to add desktop files.</source>
        <translation>ダブルクリックで編集します。
チェックボックスでコマンドを有効または無効にします。
デスクトップファイルをドラッグ＆ドロップすると追加できます。</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>実行するコマンドがありません。</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>%1 を起動できませんでした: %2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>起動しました: %1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>フォアグラウンドで実行されます。下のコマンドはこれが終わるまで待ちます。</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>この行は &amp;&amp;、|| または | で終わっているため、シェルは次の行とつなげます。</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>このコマンドには UTF-8 ではないバイトが含まれています（%1 と表示）: %2。編集で変更しなかった部分ではそのまま残り、変更した部分では置き換えられます。</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>起動しています: %1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1（オフ: セッション開始時には実行されません）</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 はシグナル %2 ですぐに終了しました</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 はすぐに終了しました（終了ステータス %2）</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 はすぐに終了しました（終了ステータス %2）: %3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 はスクリプト中の NUL バイトを表します。シェルはこれを読み飛ばすため、その前後は 1 つの語として実行されます。</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>コマンド</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>Enter または F2 で現在のコマンドを編集、Space でオン/オフを切り替え、Shift+F10 でメニューを開き、F8 で次の印の付いたコマンドへ移動します。</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>印の付いたコマンドはまだありません。コマンドを確認中です。</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>印の付いたコマンドはありません。</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>別のコンピューターのファイルです</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1: 別のコンピューターのファイルです</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>コマンドが空です。実行するものはありません。</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>この行にはコメントしかありません。実行するものはありません。</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>「%1」は上の行で始まるコマンドの一部です。単独では何も実行しません。</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>この行は関数を定義しています。関数はそれだけでは何も起動しません。</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>この行は &amp;&amp;、|| または | で終わっています。コマンドは次の行に続くため、末尾の &amp; は次の行に付けます。</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>コマンドはこの行で完結していません (引用符、if、ループ、ヒアドキュメントのいずれかが閉じられていません)。ここに &amp; を付けてもコマンドは終わりません。</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>コマンドはヒアドキュメントで終わっています。&amp; はコマンドの最初の行に付けます。変更するにはコマンドを編集してください。</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>この行の末尾の &amp; はここでは付け外しできません。変更するにはコマンドを編集してください。</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>セッション開始時に実行するコマンドを追加します</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直す(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>追加(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>上へ(&amp;P)</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>下へ(&amp;N)</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>アプリケーションを追加…(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>変更あり</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>保存しました</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>スクリプトは保存されませんでした。</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>ファイルが変更されています。</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>変更を保存しますか？</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>保存せずに終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>キャンセル(&amp;C)</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>今すぐ実行(&amp;W)</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>バックグラウンドで実行(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>上書き(&amp;O)</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>次の印の付いたコマンド</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>前の印の付いたコマンド</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>最後の変更を元に戻す (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>最後に元に戻した変更をやり直す (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>空のコマンドを追加 (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>現在のコマンドを削除 (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>現在のコマンドを 1 つ上へ移動</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>現在のコマンドを 1 つ下へ移動</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>コマンドをスクリプトに保存 (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>プログラムを終了 (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>保存しました。%n 個のコマンドは書かれたとおりには実行されません。F8 でそこへ移動します。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>ドロップされた %n 個のファイルを追加できませんでした: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>ディスク上のスクリプトが変更されました</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>ここで開いた後、または最後に保存した後に、スクリプトが別のプログラムによって変更されました。</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>ここで開いた後、または最後に保存した後に、スクリプトが別のプログラムによって削除されました。</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>再読み込みすると現在のスクリプトが表示されます。元に戻すとここに表示されているコマンドが戻ります。上書きするとここに表示されているコマンドで保存します。</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>再読み込みするとリストが空になります。元に戻すとここに表示されているコマンドが戻ります。上書きするとここに表示されているコマンドをスクリプトとして保存します。</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>再読み込み(&amp;R)</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>スクリプトは再読み込みされませんでした。</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>再読み込みしました。元に戻すと以前に表示されていたコマンドが戻ります。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n 行)</numerusform>
        </translation>
    </message>
    <message>
        <source>Command</source>
        <translation>コマンド</translation>
    </message>
</context>
<context>
    <name>CommandCheck</name>
    <message>
        <source>The commands could not be checked: %1 could not be run (%2).</source>
        <translation>コマンドを確認できませんでした。%1 を実行できませんでした (%2)。</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>コマンドを確認できませんでした。%1 に一時ファイルを作成できませんでした (%2)。</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>見つかりません</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>ファイルではなくフォルダーです</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>デスクトップエントリーとしては大きすぎます（%1 MiB 超）</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>デスクトップエントリーではありません</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>コマンドのないデスクトップエントリーです</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>このコマンドの %1 行目はシェルとして正しくありません。スクリプトはそこで止まり、以降のコマンドは実行されません。</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>この行はシェルとして正しくありません。スクリプトはここで止まり、以降のコマンドは実行されません。</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>この行は &amp;&amp;（または ||、|）で終わっているため、シェルは次の行とつなげようとしますが、次の行がありません。スクリプトはここで止まります。</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>シェルは、この行で始まったもの（if、case、ループ、波かっこ、引用符）の終わりを探して、この行からスクリプトの最後まで読み進めます。このコマンドと以降のすべてのコマンドは実行されません。</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>この行は引用符が閉じられていません。シェルは、次に対応する引用符が現れるまで、下の行をこのコマンドの一部として読み込みます。</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>この行はヒアドキュメントを開始していますが、それを終える行がありません。下のすべての行がその本文となり、以降のコマンドは実行されません。</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>このコマンドは完結していません。&amp;&amp;、||、| またはバックスラッシュで終わっているか、閉じていない if、case、ループ、または波かっこを開いています。シェルは下の行をこのコマンドの一部として読み込みます。</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>末尾の &amp; が（コメントまたは末尾のバックスラッシュによって）無効になります。コマンドはフォアグラウンドで実行され、以降のすべてのコマンドを待たせます。</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation># で始まる有効なコマンドはコメントです。実行されず、次にスクリプトを読み込むと消えます。</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>このコマンドは #[INACTIVE]# で始まります。実行されず、無効になって戻ってきます。</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1: そのようなコマンドはありません（シェルの組み込みコマンドではなく、PATH にも見つかりません）。</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 は実行可能ファイルではありません。</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>この代入はバックグラウンドのサブシェルで実行されるため、下のコマンドには影響しません。スクリプトに反映させるには、行のメニューで「バックグラウンドで実行」をオフにしてください。</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 はバックグラウンドのサブシェルで実行されるため、下のコマンドには影響しません。スクリプトに反映させるには、行のメニューで「バックグラウンドで実行」をオフにしてください。</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>このコマンドは実行されません。上の行がシェルを置き換えるか終了させます（exec または exit）。</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>ここでの exec はセッションのシェルを置き換えません。末尾の &amp; によってバックグラウンドのサブシェルで実行されます。スクリプトをこのコマンドで終わらせる場合は、行のメニューで「バックグラウンドで実行」をオフにしてください。</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>このコマンドの %1 行目は、別のシステムで保存されたスクリプトの行のように、復帰文字 (CR) で終わっています。シェルは CR をその行の最後の単語の一部として扱い、末尾の &amp; の後ではそれ自体を 1 つのコマンドとして扱います。</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>この行は、別のシステムで保存されたスクリプトの行のように、復帰文字 (CR) で終わっています。シェルは CR を行の最後の単語の一部として扱い、末尾の &amp; の後ではそれ自体を 1 つのコマンドとして扱います。</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%1 は %2 では見つかりません。このシェルは POSIX の構文しか扱えません。POSIX の構文で書くか、スクリプトの 1 行目で別のシェルを指定してください。</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>この行は確認できませんでした。ここからのスクリプトの処理にシェルが %n 秒より長くかかったため、停止されました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>%1 は確認できませんでした。シェルが検索に %n 秒より長くかかったため、停止されました。</numerusform>
        </translation>
    </message>
</context>
</TS>
