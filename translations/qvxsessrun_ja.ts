<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en_US">
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
    <message numerus="yes">
        <source>%n dropped file(s) could not be added.</source>
        <translation>
            <numerusform>ドロップされた %n 個のファイルを追加できませんでした。</numerusform>
        </translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>今すぐ実行(&amp;W)</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened.</source>
        <translation>開いた後にスクリプトが別のプログラムによって変更されました。</translation>
    </message>
    <message>
        <source>Overwrite it with the commands shown here?</source>
        <translation>ここに表示されているコマンドで上書きしますか?</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>上書き(&amp;O)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
</TS>
