<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en_US">
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
        <source>This line is not valid shell: the script stops here and no later command runs.</source>
        <translation>此行不是有效的 shell 代码：脚本会在此停止，之后的命令都不会运行。</translation>
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
        <source>Runs in the foreground: the commands below it wait until it ends.</source>
        <translation>在前台运行：其下的命令要等它结束。</translation>
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
    <message numerus="yes">
        <source>%n dropped file(s) could not be added.</source>
        <translation>
            <numerusform>无法添加 %n 个拖放的文件。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written.</source>
        <translation>
            <numerusform>已保存。%n 条命令无法按所写内容运行。</numerusform>
        </translation>
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
        <source>The script was changed by another program since it was opened.</source>
        <translation>自打开以来，脚本已被另一个程序修改。</translation>
    </message>
    <message>
        <source>Overwrite it with the commands shown here?</source>
        <translation>用此处显示的命令覆盖它吗？</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>覆盖(&amp;O)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
</context>
</TS>
