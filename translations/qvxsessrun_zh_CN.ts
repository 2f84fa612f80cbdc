<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en_US">
<context>
    <name>AppDialog</name>
    <message>
        <source>Add Application</source>
        <translation>添加应用程序</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>筛选</translation>
    </message>
    <message>
        <source>A part of a name, a description or a command</source>
        <translation>名称、描述或命令的一部分</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>筛选(&amp;F)</translation>
    </message>
    <message>
        <source>Installed applications</source>
        <translation>已安装的应用程序</translation>
    </message>
    <message>
        <source>Installed a&amp;pplications:</source>
        <translation>已安装的应用程序(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>添加(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>Looking for the installed applications…</source>
        <translation>正在查找已安装的应用程序…</translation>
    </message>
    <message>
        <source>No installed application was found.</source>
        <translation>未找到已安装的应用程序。</translation>
    </message>
    <message>
        <source>No application matches the filter.</source>
        <translation>没有与筛选条件匹配的应用程序。</translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>Command: %1</source>
        <translation>命令：%1</translation>
    </message>
</context>
<context>
    <name>List</name>
    <message>
        <source>Double click to edit.
Use checkbox to activate/deactivate a command.
Use Drag &amp; Drop to add desktop files.</source>
        <translation>双击进行编辑。
使用复选框启用或禁用命令。
拖放桌面文件即可添加命令。</translation>
    </message>
    <message>
        <source>There is no command to run.</source>
        <translation>没有可运行的命令。</translation>
    </message>
    <message>
        <source>Could not start %1: %2</source>
        <translation>无法启动 %1：%2</translation>
    </message>
    <message>
        <source>Started %1</source>
        <translation>已启动：%1</translation>
    </message>
    <message>
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>在前台运行：其下的命令要等它结束。</translation>
    </message>
    <message>
        <source>The shell joins this line with the next one: it ends in &amp;&amp;, || or |.</source>
        <translation>此行以 &amp;&amp;、|| 或 | 结尾，因此 shell 会将它与下一行连接起来。</translation>
    </message>
    <message>
        <source>This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it leaves the text as it was and replaces those that it changes.</source>
        <translation>此命令包含不是 UTF-8 的字节（显示为 %1）：%2。编辑时未改动的部分保留这些字节，改动的部分将其替换。</translation>
    </message>
    <message>
        <source>Starting %1</source>
        <translation>正在启动：%1</translation>
    </message>
    <message>
        <source>%1 (switched off: the session start does not run it)</source>
        <translation>%1（已关闭：会话启动时不会运行）</translation>
    </message>
    <message>
        <source>%1 ended at once by signal %2</source>
        <translation>%1 立即因信号 %2 而结束</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2</source>
        <translation>%1 立即结束，状态为 %2</translation>
    </message>
    <message>
        <source>%1 ended at once with status %2: %3</source>
        <translation>%1 立即结束，状态为 %2：%3</translation>
    </message>
    <message>
        <source>%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of it runs as one word.</source>
        <translation>%1 表示脚本中的一个 NUL 字节。shell 会跳过它：它两边的内容作为一个词运行。</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its menu, F8 goes to the next marked command.</source>
        <translation>按 Enter 或 F2 编辑当前命令，按空格键启用或停用它，按 Shift+F10 打开其菜单，按 F8 转到下一个带标记的命令。</translation>
    </message>
    <message>
        <source>No command is marked yet: the commands are still being checked.</source>
        <translation>尚无带标记的命令：仍在检查这些命令。</translation>
    </message>
    <message>
        <source>No command is marked.</source>
        <translation>没有带标记的命令。</translation>
    </message>
    <message>
        <source>a file of another computer</source>
        <translation>另一台计算机上的文件</translation>
    </message>
    <message>
        <source>%1: a file of another computer</source>
        <translation>%1：另一台计算机上的文件</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The command is empty: there is nothing to run.</source>
        <translation>命令为空：没有可运行的内容。</translation>
    </message>
    <message>
        <source>The line holds only a comment: there is nothing to run.</source>
        <translation>此行只有注释：没有可运行的内容。</translation>
    </message>
    <message>
        <source>“%1” belongs to a command that begins on a line above: on its own it runs nothing.</source>
        <translation>“%1”属于从上面某一行开始的命令：单独运行它什么也不做。</translation>
    </message>
    <message>
        <source>The line defines a function, which starts nothing by itself.</source>
        <translation>此行定义了一个函数，函数本身不会启动任何程序。</translation>
    </message>
    <message>
        <source>The line ends in &amp;&amp;, || or |: the command goes on in the next line, where a final &amp; would belong.</source>
        <translation>此行以 &amp;&amp;、|| 或 | 结尾：命令在下一行继续，末尾的 &amp; 应放在那里。</translation>
    </message>
    <message>
        <source>The command is not complete on this line (a quote, an if, a loop or a here-document is left open): an &amp; cannot end it here.</source>
        <translation>命令在此行并不完整（有未闭合的引号、if、循环或 here 文档）：在这里加 &amp; 无法结束它。</translation>
    </message>
    <message>
        <source>The command ends with a here-document: its &amp; belongs on its first line. Edit the command to change it.</source>
        <translation>命令以 here 文档结尾：它的 &amp; 应位于第一行。要更改，请编辑该命令。</translation>
    </message>
    <message>
        <source>The final &amp; of this line cannot be put in or taken out here. Edit the command to change it.</source>
        <translation>此行末尾的 &amp; 无法在这里添加或删除。要更改，请编辑该命令。</translation>
    </message>
</context>
<context>
    <name>Mainwin</name>
    <message>
        <source>Add commands to be executed at session start</source>
        <translation>添加会话启动时要执行的命令</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>添加(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>上移(&amp;P)</translation>
    </message>
    <message>
        <source>Dow&amp;n</source>
        <translation>下移(&amp;N)</translation>
    </message>
    <message>
        <source>Add A&amp;pplication…</source>
        <translation>添加应用程序…(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>已修改</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>已保存</translation>
    </message>
    <message>
        <source>The script was not saved.</source>
        <translation>脚本未保存。</translation>
    </message>
    <message>
        <source>The file has been modified.</source>
        <translation>文件已被修改。</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>是否保存更改？</translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation>不保存并退出(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>Run no&amp;w</source>
        <translation>立即运行(&amp;W)</translation>
    </message>
    <message>
        <source>Run in the &amp;background</source>
        <translation>在后台运行(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>覆盖(&amp;O)</translation>
    </message>
    <message>
        <source>Next marked command</source>
        <translation>下一个带标记的命令</translation>
    </message>
    <message>
        <source>Previous marked command</source>
        <translation>上一个带标记的命令</translation>
    </message>
    <message>
        <source>Undo the last change (%1)</source>
        <translation>撤销上一次更改 (%1)</translation>
    </message>
    <message>
        <source>Redo the change undone last (%1)</source>
        <translation>重做上一次撤销的更改 (%1)</translation>
    </message>
    <message>
        <source>Add an empty command (%1)</source>
        <translation>添加一个空命令 (%1)</translation>
    </message>
    <message>
        <source>Delete the current command (%1)</source>
        <translation>删除当前命令 (%1)</translation>
    </message>
    <message>
        <source>Move the current command up one place</source>
        <translation>将当前命令上移一位</translation>
    </message>
    <message>
        <source>Move the current command down one place</source>
        <translation>将当前命令下移一位</translation>
    </message>
    <message>
        <source>Save the commands to the script (%1)</source>
        <translation>将命令保存到脚本 (%1)</translation>
    </message>
    <message>
        <source>Quit the program (%1)</source>
        <translation>退出程序 (%1)</translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>已保存。%n 条命令不会按所写的那样运行：按 F8 转到它们。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>无法添加 %n 个拖放的文件：%1</numerusform>
        </translation>
    </message>
    <message>
        <source>Script changed on disk</source>
        <translation>磁盘上的脚本已更改</translation>
    </message>
    <message>
        <source>The script was changed by another program since it was opened or last saved here.</source>
        <translation>自在此处打开或上次保存以来，脚本已被另一个程序修改。</translation>
    </message>
    <message>
        <source>The script was removed by another program since it was opened or last saved here.</source>
        <translation>自在此处打开或上次保存以来，脚本已被另一个程序删除。</translation>
    </message>
    <message>
        <source>Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite saves the commands shown here over it.</source>
        <translation>重新加载会显示脚本当前的内容；撤销可恢复此处显示的命令。覆盖会用此处显示的命令保存脚本。</translation>
    </message>
    <message>
        <source>Reload empties the list; Undo brings back the commands shown here. Overwrite saves the commands shown here as the script.</source>
        <translation>重新加载会清空列表；撤销可恢复此处显示的命令。覆盖会将此处显示的命令保存为脚本。</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>重新加载(&amp;R)</translation>
    </message>
    <message>
        <source>The script was not reloaded.</source>
        <translation>脚本未重新加载。</translation>
    </message>
    <message>
        <source>Reloaded. Undo brings back the commands shown before.</source>
        <translation>已重新加载。撤销可恢复之前显示的命令。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>错误</translation>
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
        <translation>命令</translation>
    </message>
</context>
<context>
    <name>CommandCheck</name>
    <message>
        <source>The commands could not be checked: %1 could not be run (%2).</source>
        <translation>无法检查命令：无法运行 %1（%2）。</translation>
    </message>
    <message>
        <source>The commands could not be checked: no temporary file could be made in %1 (%2).</source>
        <translation>无法检查命令：无法在 %1 中创建临时文件（%2）。</translation>
    </message>
</context>
<context>
    <name>DesktopFile</name>
    <message>
        <source>not found</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>是文件夹，不是文件</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>too large for a desktop entry (over %1 MiB)</source>
        <translation>作为桌面项太大（超过 %1 MiB）</translation>
    </message>
    <message>
        <source>not a desktop entry</source>
        <translation>不是桌面项</translation>
    </message>
    <message>
        <source>a desktop entry without a command</source>
        <translation>没有命令的桌面项</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>Line %1 of this command is not valid shell: the script stops there and no later command runs.</source>
        <translation>此命令的第 %1 行不是有效的 shell 代码：脚本会在那里停止，之后的命令都不会运行。</translation>
    </message>
    <message>
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>此行不是有效的 shell 代码：脚本会在此停止，之后的命令都不会运行。</translation>
    </message>
    <message>
        <source>This line ends in &amp;&amp; (or ||, |), so the shell joins it with the next line, and none follows: the script stops here.</source>
        <translation>此行以 &amp;&amp;（或 ||、|）结尾，因此 shell 会将它与下一行连接，但其后没有任何行：脚本会在此停止。</translation>
    </message>
    <message>
        <source>The shell reads on from this line to the end of the script for the end of what it opens (if, case, a loop, a brace or a quote): this command and every later one never run.</source>
        <translation>为了找到此行所开启内容（if、case、循环、花括号或引号）的结束处，shell 会从此行一直读到脚本末尾：此命令及之后的所有命令都不会运行。</translation>
    </message>
    <message>
        <source>This line leaves a quote open: the shell reads the lines below as part of this command, up to the next matching quote.</source>
        <translation>此行有未闭合的引号：shell 会把下面的行当作此命令的一部分读入，直到下一个匹配的引号为止。</translation>
    </message>
    <message>
        <source>This line starts a here-document that no line ends: every line below becomes its text, and no later command runs.</source>
        <translation>此行开始了一个 here 文档，但没有任何行将其结束：下面的每一行都会成为它的文本，之后的命令都不会运行。</translation>
    </message>
    <message>
        <source>This command is not complete: it ends in &amp;&amp;, ||, | or a backslash, or opens if, case, a loop or a brace that it does not close. The shell reads the lines below as part of it.</source>
        <translation>此命令不完整：它以 &amp;&amp;、||、| 或反斜杠结尾，或者打开了未闭合的 if、case、循环或花括号。shell 会把下面的行当作它的一部分读入。</translation>
    </message>
    <message>
        <source>The final &amp; is swallowed (by a comment or a trailing backslash): the command runs in the foreground and holds up every later one.</source>
        <translation>末尾的 &amp; 被吞掉了（被注释或末尾的反斜杠）：该命令在前台运行，并阻塞之后的所有命令。</translation>
    </message>
    <message>
        <source>An active command that begins with # is a comment: it does not run, and it is gone the next time the script is read.</source>
        <translation>以 # 开头的已启用命令是注释：它不会运行，并且下次读取脚本时会消失。</translation>
    </message>
    <message>
        <source>This command begins with #[INACTIVE]#: it does not run and comes back switched off.</source>
        <translation>此命令以 #[INACTIVE]# 开头：它不会运行，并会以停用状态回来。</translation>
    </message>
    <message>
        <source>%1: no such command (not a shell builtin, and not found on PATH).</source>
        <translation>%1：没有此命令（不是 shell 内置命令，也未在 PATH 中找到）。</translation>
    </message>
    <message>
        <source>%1 is not an executable file.</source>
        <translation>%1 不是可执行文件。</translation>
    </message>
    <message>
        <source>This assignment has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>此赋值在后台子 shell 中运行，因此对下面的命令没有影响。请在该行的菜单中关闭“在后台运行”，使其作用于脚本。</translation>
    </message>
    <message>
        <source>%1 has no effect on the commands below it, because it runs in a background subshell. Switch off "Run in the background" in the row's menu to let it act on the script.</source>
        <translation>%1 在后台子 shell 中运行，因此对下面的命令没有影响。请在该行的菜单中关闭“在后台运行”，使其作用于脚本。</translation>
    </message>
    <message>
        <source>This command never runs: a line above replaces or ends the shell (exec or exit).</source>
        <translation>此命令永远不会运行：上面的某一行替换或结束了 shell（exec 或 exit）。</translation>
    </message>
    <message>
        <source>exec here does not replace the session's shell: the final &amp; runs it in a background subshell. Switch off "Run in the background" in the row's menu if the script should end in this command.</source>
        <translation>此处的 exec 不会替换会话的 shell：末尾的 &amp; 使它在后台子 shell 中运行。如果脚本应以此命令结束，请在该行的菜单中关闭“在后台运行”。</translation>
    </message>
    <message>
        <source>Line %1 of this command ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of that line's last word, or after a final &amp; for a command of its own.</source>
        <translation>此命令的第 %1 行以回车符 (CR) 结尾，就像在其他系统上保存的脚本的行一样。shell 会把 CR 当作该行最后一个单词的一部分，在末尾的 &amp; 之后则当作一个单独的命令。</translation>
    </message>
    <message>
        <source>This line ends in a carriage return (CR), as lines of a script saved on another system do. The shell takes the CR for a part of the line's last word, or after a final &amp; for a command of its own.</source>
        <translation>此行以回车符 (CR) 结尾，就像在其他系统上保存的脚本的行一样。shell 会把 CR 当作该行最后一个单词的一部分，在末尾的 &amp; 之后则当作一个单独的命令。</translation>
    </message>
    <message>
        <source>%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or name another shell in the first line of the script.</source>
        <translation>%2 找不到 %1；此 shell 只支持 POSIX 语法。请用 POSIX 语法改写，或在脚本第一行指定其他 shell。</translation>
    </message>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>无法检查此行：shell 处理从此处开始的脚本用时超过 %n 秒，已被停止。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>无法检查 %1：shell 查找它用时超过 %n 秒，已被停止。</numerusform>
        </translation>
    </message>
</context>
</TS>
