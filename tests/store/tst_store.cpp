// SPDX-License-Identifier: BSD-2-Clause
#include "store/store.h"
#include "store/store_impl.h"
#include "testscript.h"

#include <QtTest>

#include <errno.h>
#include <fcntl.h>
#include <locale.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char **environ;

/*
 * The command store: the script format both ways, copy and compare, and
 * the journal.  Entries are written as "+text" (active) or "-text"
 * (inactive) in the tables.  The home is the temporary one of
 * with-home.sh; every test starts without ~/.config.
 */
class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void readAndSave_data();
    void readAndSave();
    void lineForm_data();
    void lineForm();
    void newLines_data();
    void newLines();
    void renderRows();
    void lineFeedsInTexts();
    void editsKeepLines_data();
    void editsKeepLines();
    void background_data();
    void background();
    void missingScript_data();
    void missingScript();
    void readFailures_data();
    void readFailures();
    void notRegularFile_data();
    void notRegularFile();
    void readerStartsAfresh();
    void givenTexts_data();
    void givenTexts();
    void commandStarts_data();
    void commandStarts();
    void savedScriptRuns();
    void handWrittenScriptRuns();

    void equal_data();
    void equal();
    void equalForms_data();
    void equalForms();
    void copy_data();
    void copy();

    void journal_data();
    void journal();
    void headerShell_data();
    void headerShell();
    void reloadBytes_data();
    void reloadBytes();
    void textsAreCopies();
    void nullEntries();
    void takeBackAdd_data();
    void takeBackAdd();

private:
    QString home;
    QString dirPath() const { return home + "/.config/QVX"; }
    QString scriptPath() const { return dirPath() + "/autostart.sh"; }
    void writeScript(const QByteArray &bytes);
    void diskStep(const QString &what);
    QByteArray readFile(const QString &path);
};

static const QByteArray H = "#!/bin/sh\n";

static int runShell(const QStringList &argv, const QString &dir, bool quiet);

static QByteArrayList entriesOf(const command_list *list)
{
    QByteArrayList out;

    for (const command_entry *e = list->entries; e != nullptr; e = e->next)
        out << (e->active ? "+" : "-") + QByteArray(e->text, int(e->text_len));
    return out;
}

/* The chain's prev links mirror its next links, and every flag is 0 or 1. */
static bool chainIsSound(const command_list *list)
{
    const command_entry *prev = nullptr;

    for (const command_entry *e = list->entries; e != nullptr; prev = e, e = e->next)
        if (e->prev != prev || e->text == nullptr || e->active > 1)
            return false;
    return true;
}

/* The rows with their forms: "+text", then "»" and the tail when there is
 * one; an "&" in front of a comment stands in "‹›" where it goes. */
static QByteArrayList formsOf(const command_list *list)
{
    QByteArrayList out;

    for (const command_entry *e = list->entries; e != nullptr; e = e->next) {
        QByteArray row = (e->active ? "+" : "-") + QByteArray(e->text, int(e->text_len));
        if (e->amp_len > 0)
            row.insert(1 + int(e->amp_at),
                       "\xe2\x80\xb9" + QByteArray(e->amp, int(e->amp_len)) + "\xe2\x80\xba");
        if (e->tail_len > 0)
            row += "\xc2\xbb" + QByteArray(e->tail, int(e->tail_len));
        out << row;
    }
    return out;
}

/* What a save of an unedited script writes: the same bytes, with "#!/bin/sh" in front when its
 * first line is no "#!" line. */
static QByteArray withHeader(const QByteArray &script)
{
    return script.startsWith("#!") ? script : "#!/bin/sh\n" + script;
}

static int journalLength(const journal_record *head)
{
    int n = 0;

    for (const journal_record *prev = nullptr; head != nullptr; prev = head, head = head->next) {
        if (head->prev != prev)
            return -1;
        n++;
    }
    return n;
}

/* 1-based position of the cursor in its journal, 0 for none, -1 when it is not in it. */
static int cursorPosition(const journal_record *head, const journal_record *cursor)
{
    if (cursor == nullptr)
        return 0;
    for (int n = 1; head != nullptr; head = head->next, n++)
        if (head == cursor)
            return n;
    return -1;
}

/*
 * A list without a journal holding items, each as an addition makes it:
 * its own line "TEXT&".
 */
static command_list *listOf(const QByteArrayList &items)
{
    command_list *scratch = qvxsessrun_parse("", 0);

    for (const QByteArray &item : items)
        if (qvxsessrun_add_command(scratch, item.mid(1).constData(), item.startsWith('+'))
            == nullptr)
            qFatal("add: %s", qvxsessrun_error_text());
    command_list *list = qvxsessrun_copy(scratch);
    qvxsessrun_free(scratch);
    if (list == nullptr)
        qFatal("copy: %s", qvxsessrun_error_text());
    return list;
}

static QByteArrayList repeated(char c, int n, const QByteArray &prefix = "+")
{
    return { prefix + QByteArray(n, c) };
}

void TestStore::initTestCase()
{
    setlocale(LC_ALL, "C");
    home = qEnvironmentVariable("QVX_TEST_HOME");
    QVERIFY2(!home.isEmpty(), "run through with-home.sh");
}

void TestStore::init()
{
    QDir(home + "/.config").removeRecursively();
    QFile::remove(home + "/.config");
}

void TestStore::writeScript(const QByteArray &bytes)
{
    QVERIFY(write_script(bytes));
}

QByteArray TestStore::readFile(const QString &path)
{
    return read_file(path, QByteArray());
}

/*
 * A script read and saved without an edit comes back byte for byte, with
 * "#!/bin/sh" in front when its first line is no "#!" line: people write
 * the script by hand, with comments, blank lines, commands in the
 * foreground and the shell's structures over several lines.  Each row
 * here also says how the lines become rows: "+text" or "-text", and "»"
 * before the form that follows the text on its line.
 */
void TestStore::readAndSave_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArrayList>("rows");

    const QByteArrayList none;
    const QByteArray nul(1, '\0');

    QTest::newRow("header only") << H << none;
    QTest::newRow("empty file") << QByteArray() << none;
    QTest::newRow("active") << H + "xterm&\n" << QByteArrayList { "+xterm»&" };
    QTest::newRow("inactive") << H + "#[INACTIVE]#xterm&\n" << QByteArrayList { "-xterm»&" };
    /* Without a final "&" a command runs in the foreground, and stays so. */
    QTest::newRow("no final &") << QByteArray("xrdb -merge x\n")
                                << QByteArrayList { "+xrdb -merge x" };
    QTest::newRow("inactive, no final &")
        << QByteArray("#[INACTIVE]#xterm\n") << QByteArrayList { "-xterm" };
    QTest::newRow("& inside stays") << QByteArray("a & b&\n") << QByteArrayList { "+a & b»&" };
    /* "&&" and "|" go on to the next line, and so does the row; the
     * comment and blank lines between are the command's. */
    QTest::newRow("&& and | go on to the next line")
        << QByteArray("a &&\n\n  # between\n b &\nc |\nd\n")
        << QByteArrayList { "+a &&\n\n  # between\n b» &", "+c |\nd" };
    QTest::newRow("&& at the end") << QByteArray("a&&\n#[INACTIVE]#b &&\nc |\n")
                                   << QByteArrayList { "+a&&\n#[INACTIVE]#b &&\nc |" };
    QTest::newRow("& after &&") << QByteArray("a &&&\n") << QByteArrayList { "+a &&»&" };
    QTest::newRow("escaped &") << QByteArray("echo \\&\n") << QByteArrayList { "+echo \\&" };
    QTest::newRow("escaped blank before the &")
        << QByteArray("echo a\\ &\n") << QByteArrayList { "+echo a\\ »&" };
    /* Blank lines and comments are no rows; they stay where they are. */
    QTest::newRow("blank lines") << QByteArray("a&\n\n \t\n\r\nb&\n")
                                 << QByteArrayList { "+a»&", "+b»&" };
    QTest::newRow("comments") << H + "# a comment\nx&\n#y&\n#\n#!/bin/sh\n"
                              << QByteArrayList { "+x»&" };
    QTest::newRow("incomplete or other markers are comments")
        << QByteArray("#[INACTIVE\n#[INACTIVE]\n#[inactive]#x&\n# [INACTIVE]#y&\n") << none;
    /* An indented comment is no row either. */
    QTest::newRow("indented comments")
        << QByteArray(" #x&\n\t# y\nz&\n") << QByteArrayList { "+z»&" };
    /* The final "&" in front of a comment is the line's form; the comment
     * is the row's. */
    QTest::newRow("a comment after the &")
        << QByteArray("sleep 1 & # a clock\n")
        << QByteArrayList { "+sleep 1\xe2\x80\xb9 &\xe2\x80\xba # a clock" };
    QTest::newRow("a comment right after the &")
        << QByteArray("sleep 1 &# a clock\r\n")
        << QByteArrayList { "+sleep 1 \xe2\x80\xb9&\xe2\x80\xba# a clock»\r" };
    QTest::newRow("a comment after an & without blanks")
        << QByteArray("sleep 1&# a clock\n") << QByteArrayList { "+sleep 1&# a clock" };
    QTest::newRow("an & inside a comment")
        << QByteArray("sleep 1 # a clock &\n") << QByteArrayList { "+sleep 1 # a clock &" };
    /* A line of "&" alone is a command, a broken one: it stays as it was. */
    QTest::newRow("& alone") << QByteArray("&\n \t& \n") << QByteArrayList { "+»&", "+» \t& " };
    QTest::newRow("marker alone") << QByteArray("#[INACTIVE]#\n") << QByteArrayList { "-" };
    QTest::newRow("marker and &") << QByteArray("#[INACTIVE]#&\n") << QByteArrayList { "-»&" };
    QTest::newRow("blanks and tabs around the & are the line's form")
        << QByteArray("\t a  &  \n") << QByteArrayList { "+\t a»  &  " };
    /* Switched on, these lines are comments; switched off, their final "&"
     * is their line's form, as for any other. */
    QTest::newRow("marker, then #")
        << QByteArray("#[INACTIVE]##x&\n") << QByteArrayList { "-#x»&" };
    QTest::newRow("marker twice") << QByteArray("#[INACTIVE]##[INACTIVE]#x&\n")
                                  << QByteArrayList { "-#[INACTIVE]#x»&" };
    /* CRs stay where they were, in the form when they end a line. */
    QTest::newRow("CR LF") << QByteArray(
        "#!/bin/sh\r\na&\r\n#[INACTIVE]#b&\r\nc\r\n\r\nd&&\r\ne\r\n")
                           << QByteArrayList { "+a»&\r", "-b»&\r", "+c»\r", "+d&&\r\ne»\r" };
    QTest::newRow("CR LF, last line without LF")
        << QByteArray("xclock&\r\nxterm&\r") << QByteArrayList { "+xclock»&\r", "+xterm»&\r" };
    QTest::newRow("CR elsewhere") << QByteArray("a\rb&\nc\r&\n\rd&\n")
                                  << QByteArrayList { "+a\rb»&", "+c»\r&", "+\rd»&" };
    /* A NUL byte is part of the text, which the shell reads without it. */
    QTest::newRow("NUL inside a line") << "ab" + nul + "cd&\nnext&\n"
                                       << QByteArrayList { "+ab" + nul + "cd»&", "+next»&" };
    QTest::newRow("NUL first") << nul + "x&\ny&\n" << QByteArrayList { "+" + nul + "x»&", "+y»&" };
    QTest::newRow("NUL in an inactive line") << "#[INACTIVE]#a" + nul + "&\nb&\n"
                                             << QByteArrayList { "-a" + nul + "»&", "+b»&" };
    QTest::newRow("NUL inside the marker: a comment") << "#[INAC" + nul + "TIVE]#a&\nb&\n"
                                                      << QByteArrayList { "+b»&" };
    QTest::newRow("NUL bytes only: blank lines to the shell")
        << QByteArray(10, '\0') + "\na&\n" + QByteArray(3, '\0') + "# c\n" + QByteArray(3, '\0')
        << QByteArrayList { "+a»&" };
    QTest::newRow("NUL, then a quote over two lines") << "echo a" + nul
            + "\"b\nc\" &\nd&\n" << QByteArrayList { "+echo a" + nul + "\"b\nc\"» &", "+d»&" };
    /* A command's line goes on as far as the shell reads it as one. */
    QTest::newRow("backslash continuation")
        << QByteArray("xautolock -time 10 \\\n  -locker slock &\nxterm&\n")
        << QByteArrayList { "+xautolock -time 10 \\\n  -locker slock» &", "+xterm»&" };
    QTest::newRow("quote over two lines, a # inside")
        << QByteArray("echo \"a\n# b\" &\nx&\n")
        << QByteArrayList { "+echo \"a\n# b\"» &", "+x»&" };
    /* Inside double quotes a single quote opens nothing, and the reverse. */
    QTest::newRow("quotes inside quotes")
        << QByteArray("echo \"it's\" &\necho 'say \"hi\"' &\nx&\n")
        << QByteArrayList { "+echo \"it's\"» &", "+echo 'say \"hi\"'» &", "+x»&" };
    QTest::newRow("here-document")
        << QByteArray("cat >f <<EOF\nhello &\n#[INACTIVE]#no\n\nEOF\nx&\n")
        << QByteArrayList { "+cat >f <<EOF\nhello &\n#[INACTIVE]#no\n\nEOF", "+x»&" };
    QTest::newRow("here-document, <<- and a quoted delimiter")
        << QByteArray("cat <<-'E O'\n\tx\n\tE O\ny&\n")
        << QByteArrayList { "+cat <<-'E O'\n\tx\n\tE O", "+y»&" };
    QTest::newRow("two here-documents, in the background")
        << QByteArray("cat <<A <<B &\na\nA\nb\nB\nz&\n")
        << QByteArrayList { "+cat <<A <<B &\na\nA\nb\nB", "+z»&" };
    QTest::newRow("command substitution over lines")
        << QByteArray("x=$(\n  date\n)\ny&\n") << QByteArrayList { "+x=$(\n  date\n)", "+y»&" };
    /* A compound command is one row, up to its closing word, with the
     * comments inside it. */
    QTest::newRow("if, elif, else")
        << QByteArray("if true; then\n  a &\n  # b\nelif false\nthen\n  b\nelse\n  c\nfi\nd&\n")
        << QByteArrayList { "+if true; then\n  a &\n  # b\nelif false\nthen\n  b\nelse\n  c\nfi",
                            "+d»&" };
    QTest::newRow("loops, nested, in the background")
        << QByteArray("for f in a b; do\n  while read x; do\n    :\n  done <\"$f\"\ndone &\n"
                      "until true\ndo :; done\nx&\n")
        << QByteArrayList { "+for f in a b; do\n  while read x; do\n    :\n  done <\"$f\"\ndone» &",
                            "+until true\ndo :; done", "+x»&" };
    QTest::newRow("case with patterns in parentheses")
        << QByteArray(
               "case $1 in\n  (a|b) echo ab ;;\n  c)\n    echo c\n    ;;\n  *) : ;;\nesac\nx&\n")
        << QByteArrayList {
               "+case $1 in\n  (a|b) echo ab ;;\n  c)\n    echo c\n    ;;\n  *) : ;;\nesac", "+x»&"
           };
    QTest::newRow("a case inside $( )")
        << QByteArray("x=$(case a in a) echo y ;; esac)\ny&\n")
        << QByteArrayList { "+x=$(case a in a) echo y ;; esac)", "+y»&" };
    QTest::newRow("functions, both ways")
        << QByteArray("f() {\n  echo f\n}\ng ()\n{\n  echo g\n}\nf&\n")
        << QByteArrayList { "+f() {\n  echo f\n}", "+g ()\n{\n  echo g\n}", "+f»&" };
    QTest::newRow("a group and a subshell in the background")
        << QByteArray("{ sleep 1; xsetroot -solid black; } &\n(cd /tmp && make)&\n")
        << QByteArrayList { "+{ sleep 1; xsetroot -solid black; }» &", "+(cd /tmp && make)»&" };
    QTest::newRow("a here-document inside an if")
        << QByteArray("if true; then\n  cat <<EOF\nfi\nEOF\nfi\nx&\n")
        << QByteArrayList { "+if true; then\n  cat <<EOF\nfi\nEOF\nfi", "+x»&" };
    QTest::newRow("reserved words only where a command may start")
        << QByteArray("echo if then\nfor x in do done; do echo fi; done\n")
        << QByteArrayList { "+echo if then", "+for x in do done; do echo fi; done" };
    QTest::newRow("a stray fi is a row of its own")
        << QByteArray("a&\nfi\nb&\n") << QByteArrayList { "+a»&", "+fi", "+b»&" };
    QTest::newRow("an if never closed takes the rest")
        << QByteArray("a&\nif true; then\nb&\n# c\n")
        << QByteArrayList { "+a»&", "+if true; then\nb&\n# c" };
    QTest::newRow("two commands on a line stay one row")
        << QByteArray("a; b\nc & d &\n") << QByteArrayList { "+a; b", "+c & d» &" };
    /* bash's forms where the first line names bash; sh reads them otherwise. */
    QTest::newRow("bash: [[ ]], arrays, function, (( ))")
        << QByteArray("#!/bin/bash\nif [[ -n $a &&\n  -d /tmp ]]; then :; fi\nl=(a\n  b)\n"
                      "function f {\n  :\n}\n(( i += 1 ))\nx&\n")
        << QByteArrayList { "+if [[ -n $a &&\n  -d /tmp ]]; then :; fi", "+l=(a\n  b)",
                            "+function f {\n  :\n}", "+(( i += 1 ))", "+x»&" };
    QTest::newRow("sh: no bash forms")
        << QByteArray("#!/bin/sh\nl=(a\n  b)\nx&\n") << QByteArrayList { "+l=(a\n  b)", "+x»&" };
    QTest::newRow("a switched-off if")
        << QByteArray("#[INACTIVE]#if true; then\n#[INACTIVE]#  a\n#[INACTIVE]#fi&\nb&\n")
        << QByteArrayList { "-if true; then\n  a\nfi»&", "+b»&" };
    QTest::newRow("a switched-off line over two lines")
        << QByteArray("#[INACTIVE]#echo \"a\n#[INACTIVE]#b\"&\nc&\n")
        << QByteArrayList { "-echo \"a\nb\"»&", "+c»&" };
    QTest::newRow("a switched-off line ends where its markers do")
        << QByteArray("#[INACTIVE]#echo \"a\nb\"&\n#x\n")
        << QByteArrayList { "-echo \"a", "+b\"&\n#x" };
    QTest::newRow("a quote left open takes the rest of the file")
        << QByteArray("a&\necho \"b\nc&\n# d\n") << QByteArrayList { "+a»&", "+echo \"b\nc&\n# d" };
    /* The first line: a "#!" line is kept; without one, "#!/bin/sh" comes first. */
    QTest::newRow("#!/bin/bash") << QByteArray("#!/bin/bash\nx&\n") << QByteArrayList { "+x»&" };
    QTest::newRow("#! on the second line")
        << QByteArray("\n#!/bin/sh\nx\n") << QByteArrayList { "+x" };
    QTest::newRow("header without LF") << QByteArray("#!/bin/sh") << none;
    QTest::newRow("last line without LF")
        << QByteArray("a&\nb&") << QByteArrayList { "+a»&", "+b»&" };
    QTest::newRow("last line without LF or &") << QByteArray("a") << QByteArrayList { "+a" };
    QTest::newRow("last line a comment without LF")
        << QByteArray("a&\n# c") << QByteArrayList { "+a»&" };
    QTest::newRow("non-UTF-8 bytes")
        << QByteArray("xmessage \xe4\xf6\xfc&\n") << QByteArrayList { "+xmessage \xe4\xf6\xfc»&" };

    /* Lines around the reader's buffer size, each followed by another. */
    for (int n : { 2045, 2046, 2047, 2048, 2049, 2050, 4094, 4095, 4096, 4097, 6143, 6144 }) {
        QByteArray line = QByteArray(n - 1, 'a') + '&';
        QTest::addRow("line of %d bytes", n) << line
                + "\nb&\n" << QByteArrayList { "+" + QByteArray(n - 1, 'a') + "»&", "+b»&" };
        QTest::addRow("header and line of %d bytes, no LF", n)
            << H + line << QByteArrayList { "+" + QByteArray(n - 1, 'a') + "»&" };
    }
    QTest::newRow("very long line")
        << QByteArray("a&\n") + QByteArray(1000000, 'x') + "&\n# c\ny&\n"
        << QByteArrayList { "+a»&", "+" + QByteArray(1000000, 'x') + "»&", "+y»&" };
    QTest::newRow("very long inactive last line")
        << "#[INACTIVE]#" + QByteArray(300000, 'x') << repeated('x', 300000, "-");

    /* Many lines of changing lengths, so that lines straddle every buffer edge. */
    QByteArray many = H;
    QByteArrayList manyRows;
    for (int i = 0; i < 3000; i++) {
        QByteArray text = "cmd " + QByteArray::number(i) + " " + QByteArray(i % 61 + 1, 'o');
        bool active = i % 3 != 0;
        many += (active ? "" : "#[INACTIVE]#") + text + (i % 7 == 0 ? "\n# note\n" : "&\n");
        manyRows << (active ? "+" : "-") + text + (i % 7 == 0 ? "" : "»&");
    }
    QTest::newRow("3000 lines") << many << manyRows;
}

void TestStore::readAndSave()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArrayList, rows);

    writeScript(script);
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(formsOf(list), rows);
    QVERIFY(chainIsSound(list));
    QVERIFY(journal_of(list)->undo_head == nullptr && journal_of(list)->redo_head == nullptr);
    QVERIFY(journal_of(list)->undo_cursor == nullptr && journal_of(list)->redo_cursor == nullptr);

    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), withHeader(script));
    QCOMPARE(QDir(dirPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList { "autostart.sh" });
    size_t len;
    char *rendered = qvxsessrun_render(list, &len);
    QCOMPARE(QByteArray(rendered, int(len)), withHeader(script));
    free(rendered);
    qvxsessrun_free(list);

    /* The saved script reads back as the same rows. */
    list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(formsOf(list), rows);
    qvxsessrun_free(list);
}

/*
 * Rows that the user adds get lines of their own, "TEXT&", in the
 * background; a new script starts with "#!/bin/sh".  Rows left empty get
 * no line.
 */
void TestStore::newLines_data()
{
    QTest::addColumn<QByteArrayList>("rows");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<QByteArrayList>("readBack");

    QTest::newRow("empty list") << QByteArrayList() << H << QByteArrayList();
    QTest::newRow("active and inactive")
        << QByteArrayList { "+a", "-b", "+c d" } << H + "a&\n#[INACTIVE]#b&\nc d&\n"
        << QByteArrayList { "+a", "-b", "+c d" };
    QTest::newRow("empty texts are not written")
        << QByteArrayList { "+", "-", "+c", "-" } << H + "c&\n"
        << QByteArrayList { "+c" };
    QTest::newRow("texts of blanks and tabs are not written")
        << QByteArrayList { "+ ", "-\t", "+a", "+ \t \t", "- \t" } << H + "a&\n"
        << QByteArrayList { "+a" };
    /* An "&" that would break the line is left out. */
    QTest::newRow("text ending in &&") << QByteArrayList { "+a&&" } << H + "a&&\n"
                                       << QByteArrayList { "+a&&" };
    QTest::newRow("text ending in ;") << QByteArrayList { "+true;", "+b" } << H + "true&\nb&\n"
                                      << QByteArrayList { "+true", "+b" };
    QTest::newRow("text ending in a comment")
        << QByteArrayList { "+conky # my panel", "+b" } << H + "conky & # my panel\nb&\n"
        << QByteArrayList { "+conky # my panel", "+b" };
    /* The format cannot hold these: what the next start makes of them. */
    QTest::newRow("active text beginning with #")
        << QByteArrayList { "+#x", "+y" } << H + "#x&\ny&\n"
        << QByteArrayList { "+y" };
    QTest::newRow("active text beginning with the marker")
        << QByteArrayList { "+#[INACTIVE]#x" } << H + "#[INACTIVE]#x&\n"
        << QByteArrayList { "-x" };
    QTest::newRow("long text") << repeated('l', 70000) << H + QByteArray(70000, 'l') + "&\n"
                               << repeated('l', 70000);
}

void TestStore::newLines()
{
    QFETCH(QByteArrayList, rows);
    QFETCH(QByteArray, saved);
    QFETCH(QByteArrayList, readBack);

    QVERIFY(QDir(home).mkpath(".config/QVX"));
    command_list *list = listOf(rows);
    const QByteArrayList held = entriesOf(list);
    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), saved);
    struct stat st;
    QCOMPARE(stat(QFile::encodeName(scriptPath()).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0600));
    QCOMPARE(entriesOf(list), held);
    qvxsessrun_free(list);

    list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(entriesOf(list), readBack);
    qvxsessrun_free(list);
}

/*
 * The script with the offset of each entry's part: the same bytes as a
 * save, each entry's part starting with the lines above it, then its own
 * line.  A row left empty writes nothing; the line feed that a last line
 * without one gets when more follows comes where the next part begins.
 */
void TestStore::renderRows()
{
    writeScript("#!/bin/sh\n# one\na&\n\n# two\nb\nc &\n# end\nlast");
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QVERIFY(qvxsessrun_add_command(list, "", 1));
    QVERIFY(qvxsessrun_add_command(list, "added", 1));

    size_t len = 0, plainLen = 0;
    QVector<size_t> starts(6);
    char *bytes = qvxsessrun_render_rows(list, &len, starts.data());
    char *plain = qvxsessrun_render(list, &plainLen);
    QVERIFY(bytes != nullptr && plain != nullptr);
    const QByteArray text(bytes, int(len));
    QCOMPARE(text, QByteArray(plain, int(plainLen)));
    free(bytes);
    free(plain);

    QStringList parts;
    for (int i = 0; i < 6; i++) {
        const size_t end = i + 1 < 6 ? starts.at(i + 1) : len;
        parts << QString(text.mid(int(starts.at(i)), int(end - starts.at(i))));
    }
    QCOMPARE(parts,
             QStringList({ "#!/bin/sh\n# one\na&\n", "\n# two\nb\n", "c &\n", "# end\nlast", "\n",
                           "added&\n" }));
    qvxsessrun_free(list);
}

/*
 * Line feeds given in a text stay line feeds: a text of several commands
 * becomes a row per command, each in the background as a new row is,
 * and the row that was edited keeps its line's form.  Inside a quote, a
 * here-document or a compound command a line feed is the command's;
 * switched off, every line of it gets the marker.  An edit that made
 * several rows is one step of undo.
 */
void TestStore::lineFeedsInTexts()
{
    writeScript("old  \r\n");
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    command_entry *old = list->entries;
    command_entry *off = qvxsessrun_add_command(list, "off\nrm -rf x", 0);
    command_entry *quoted = qvxsessrun_add_command(list, "echo \"a\nrm -rf x\"", 0);
    command_entry *doc = qvxsessrun_add_command(list, "cat <<E\nrm\nE", 1);
    command_entry *loop = qvxsessrun_add_command(list, "while sleep 60; do\n  xsetroot\ndone", 1);
    QVERIFY(off != nullptr && quoted != nullptr && doc != nullptr && loop != nullptr);
    size_t added = 0;
    const QByteArray given = "# two of them\nsleep 9\n\nxterm &\n# last\n";
    QCOMPARE(qvxsessrun_set_text(list, old, given.constData(), size_t(given.size()), 1, &added), 0);
    QCOMPARE(added, size_t(1));

    QCOMPARE(qvxsessrun_write(list), 0);
    /* A here-document's last line must stay its delimiter alone: no "&" behind it. */
    const QByteArray saved = H
        + "# two of them\nsleep 9  \r\n\nxterm &\n# last\n#[INACTIVE]#off&\n#[INACTIVE]#rm -rf x&\n"
          "#[INACTIVE]#echo \"a\n#[INACTIVE]#rm -rf x\"&\ncat <<E\nrm\nE\n"
          "while sleep 60; do\n  xsetroot\ndone&\n";
    QCOMPARE(readFile(scriptPath()), saved);
    QCOMPARE(runShell({ "sh", "-n", scriptPath() }, home, false), 0);
    const QByteArrayList rows { "+sleep 9",
                                "+xterm",
                                "-off",
                                "-rm -rf x",
                                "-echo \"a\nrm -rf x\"",
                                "+cat <<E\nrm\nE",
                                "+while sleep 60; do\n  xsetroot\ndone" };
    QCOMPARE(entriesOf(list), rows);

    qvxsessrun_undo(list);
    QCOMPARE(entriesOf(list).mid(0, 2), QByteArrayList({ "+old", "-off" }));
    qvxsessrun_redo(list);
    QCOMPARE(entriesOf(list), rows);
    qvxsessrun_free(list);

    list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(entriesOf(list), rows);
    qvxsessrun_free(list);
}

/*
 * An edit changes its own line and nothing else, and every undo gives
 * back the bytes that were there.  Steps as in the journal walk-throughs
 * (a "_" in a text stands for a blank), "flip N" for a switch on or off,
 * and "bg N 1" and "bg N 0" for the final "&".
 */
void TestStore::editsKeepLines_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("saved");

    const QByteArray hand = "#!/bin/bash\n"
                            "# colours first\n"
                            "xrdb -merge .Xresources\n"
                            "\n"
                            "# the panel\n"
                            "tint2 & \r\n"
                            "#[INACTIVE]#picom -b\n"
                            "exec i3";

    QTest::newRow("switched off: the marker in front, the line as it stood")
        << hand
        << QStringList { "set tint2 tint2 0",
                         "set xrdb_-merge_.Xresources xrdb_-merge_.Xresources 0" }
        << QByteArray("#!/bin/bash\n# colours first\n#[INACTIVE]#xrdb -merge .Xresources\n\n"
                      "# the panel\n#[INACTIVE]#tint2 & \r\n#[INACTIVE]#picom -b\nexec i3");
    QTest::newRow("switched on: the marker goes")
        << hand << QStringList { "set picom_-b picom_-b 1" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb -merge .Xresources\n\n"
                      "# the panel\ntint2 & \r\npicom -b\nexec i3");
    QTest::newRow("a new text keeps the line's form")
        << hand << QStringList { "set tint2 polybar 1", "set xrdb_-merge_.Xresources xrdb 1" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb\n\n"
                      "# the panel\npolybar & \r\n#[INACTIVE]#picom -b\nexec i3");
    QTest::newRow("an & typed at the end puts it in the background")
        << hand << QStringList { "set xrdb_-merge_.Xresources xrdb_&_ 1" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb&\n\n"
                      "# the panel\ntint2 & \r\n#[INACTIVE]#picom -b\nexec i3");
    QTest::newRow("an added row is one new line, above a last exec")
        << hand << QStringList { "add conky" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb -merge .Xresources\n\n"
                      "# the panel\ntint2 & \r\n#[INACTIVE]#picom -b\nconky&\nexec i3");
    QTest::newRow("an added row is one new line, after a last line without LF")
        << QByteArray("#!/bin/sh\nexec i3 &\nxterm") << QStringList { "add conky" }
        << QByteArray("#!/bin/sh\nexec i3 &\nxterm\nconky&\n");
    QTest::newRow("a text with a comment: the & goes in front of it")
        << hand << QStringList { "set tint2 tint2_#_the_panel 1", "add conky_#_mine" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb -merge .Xresources\n\n"
                      "# the panel\ntint2 & # the panel \r\n#[INACTIVE]#picom -b\n"
                      "conky & # mine\nexec i3");
    QTest::newRow("deleted: the comments above it stay")
        << hand << QStringList { "del tint2", "del exec_i3" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb -merge .Xresources\n\n"
                      "# the panel\n#[INACTIVE]#picom -b\n");
    QTest::newRow("moved: the comments above it go along")
        << hand << QStringList { "up tint2", "down exec_i3" }
        << QByteArray("#!/bin/bash\n\n# the panel\ntint2 & \r\n# colours first\nxrdb -merge "
                      ".Xresources\n#[INACTIVE]#picom -b\nexec i3");
    QTest::newRow("moved from the end: a line feed where it needs one")
        << hand << QStringList { "up exec_i3", "up exec_i3" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb -merge .Xresources\nexec i3\n\n"
                      "# the panel\ntint2 & \r\n#[INACTIVE]#picom -b\n");
    QTest::newRow("to the background and back")
        << hand << QStringList { "bg xrdb_-merge_.Xresources 1", "bg tint2 0" }
        << QByteArray("#!/bin/bash\n# colours first\nxrdb -merge .Xresources&\n\n"
                      "# the panel\ntint2 \r\n#[INACTIVE]#picom -b\nexec i3");
    QTest::newRow("a switched-off line over several lines, switched on")
        << QByteArray("#[INACTIVE]#xautolock \\\n#[INACTIVE]#  -locker slock&\n")
        << QStringList { "set xautolock_\\\n__-locker_slock xautolock_\\\n__-locker_slock 1" }
        << QByteArray("#!/bin/sh\nxautolock \\\n  -locker slock&\n");
    QTest::newRow("a here-document switched off")
        << QByteArray("cat >f <<E &\nx\nE\n")
        << QStringList { "set cat_>f_<<E_&\nx\nE cat_>f_<<E_&\nx\nE 0" }
        << QByteArray("#!/bin/sh\n#[INACTIVE]#cat >f <<E &\n#[INACTIVE]#x\n#[INACTIVE]#E\n");
    QTest::newRow("a toggle keeps && as it was")
        << QByteArray("xterm &&\nxclock&\n")
        << QStringList { "set xterm_&&\nxclock xterm_&&\nxclock 0" }
        << QByteArray("#!/bin/sh\n#[INACTIVE]#xterm &&\n#[INACTIVE]#xclock&\n");
    QTest::newRow("an if switched off and moved")
        << QByteArray("a&\nif true; then\n  b\nfi\n")
        << QStringList { "set if_true;_then\n__b\nfi if_true;_then\n__b\nfi 0",
                         "up if_true;_then\n__b\nfi", "bg a 0" }
        << QByteArray("#!/bin/sh\n#[INACTIVE]#if true; then\n#[INACTIVE]#  b\n#[INACTIVE]#fi\na\n");
    QTest::newRow("a loop to the background: the & after done")
        << QByteArray("while :; do\n  sleep 1\ndone\n")
        << QStringList { "bg while_:;_do\n__sleep_1\ndone 1" }
        << QByteArray("#!/bin/sh\nwhile :; do\n  sleep 1\ndone&\n");
    QTest::newRow("a read line of & alone switched off keeps its bytes")
        << QByteArray("a&\n &\n") << QStringList { "flip " }
        << QByteArray("#!/bin/sh\na&\n#[INACTIVE]# &\n");
}

/* The entry whose text is name, with "_" standing for a blank. */
static command_entry *named(command_list *list, const QString &name)
{
    const QByteArray text = QString(name).replace('_', ' ').toUtf8();

    for (command_entry *e = list->entries; e != nullptr; e = e->next)
        if (text == e->text)
            return e;
    return nullptr;
}

void TestStore::editsKeepLines()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, saved);

    writeScript(script);
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    for (const QString &step : steps) {
        const QStringList w = step.split(' ');
        command_entry *e = w[0] == "add" ? nullptr : named(list, w.value(1));
        QVERIFY2(w[0] == "add" || e != nullptr, qPrintable("no row " + w.value(1)));
        if (w[0] == "flip")
            QCOMPARE(qvxsessrun_set_command(list, e, e->text, !e->active), 0);
        else if (w[0] == "set")
            QCOMPARE(qvxsessrun_set_command(list, e,
                                            QString(w[2]).replace('_', ' ').toUtf8().constData(),
                                            w[3].toInt()),
                     0);
        else if (w[0] == "bg")
            QCOMPARE(qvxsessrun_set_background(list, e, w[2].toInt()), 0);
        else if (w[0] == "add")
            QVERIFY(qvxsessrun_add_command(list,
                                           QString(w[1]).replace('_', ' ').toUtf8().constData(), 1)
                    != nullptr);
        else if (w[0] == "del")
            QCOMPARE(qvxsessrun_delete_command(list, e), e);
        else if (w[0] == "up")
            QCOMPARE(qvxsessrun_move_up(list, e), e);
        else if (w[0] == "down")
            QCOMPARE(qvxsessrun_move_down(list, e), e);
        else
            QFAIL(qPrintable("unknown step " + step));
    }
    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), saved);

    /* What was written reads back as the rows the list held. */
    command_list *back = qvxsessrun_read();
    QVERIFY2(back != nullptr, qvxsessrun_error_text());
    QCOMPARE(entriesOf(back), entriesOf(list));
    qvxsessrun_free(back);

    /* Undo all of it: the very bytes of the start. */
    while (qvxsessrun_can_undo(list))
        qvxsessrun_undo(list);
    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), withHeader(script));
    qvxsessrun_free(list);
}

/*
 * Whether a row runs in the background, and whether the final "&" of its
 * line can change that: not where the "&" that counts stands elsewhere,
 * or where none may follow.
 */
void TestStore::background_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("background");
    QTest::addColumn<bool>("fixed");

    QTest::newRow("final &") << QByteArray("xterm &") << 1 << false;
    QTest::newRow("no final &") << QByteArray("xrdb x") << 0 << false;
    QTest::newRow("& before a comment") << QByteArray("sleep 1 & # clock") << 1 << false;
    QTest::newRow("a comment") << QByteArray("xterm # note") << 0 << false;
    QTest::newRow("& inside a comment") << QByteArray("xterm # note &") << 0 << false;
    QTest::newRow("a function") << QByteArray("f() { :; }") << 0 << true;
    QTest::newRow("an if over lines") << QByteArray("if true; then\n  :\nfi") << 0 << false;
    QTest::newRow("ending in ;: the & takes its place") << QByteArray("true;") << 0 << false;
    QTest::newRow("&&") << QByteArray("a &&") << 0 << true;
    QTest::newRow("a pipe") << QByteArray("a |") << 0 << true;
    QTest::newRow("then") << QByteArray("if true; then") << 0 << true;
    QTest::newRow("fi") << QByteArray("fi") << 0 << false;
    QTest::newRow("a subshell") << QByteArray("(a; b)") << 0 << false;
    QTest::newRow("a here-document in the background")
        << QByteArray("cat <<E &\nx\nE") << 1 << true;
    QTest::newRow("a here-document") << QByteArray("cat <<E\nx\nE") << 0 << true;
    QTest::newRow("& & : two of them") << QByteArray("a & &") << 1 << true;
    QTest::newRow("escaped &") << QByteArray("echo \\&") << 0 << false;
    QTest::newRow("CR LF") << QByteArray("xterm &\r") << 1 << false;
}

void TestStore::background()
{
    QFETCH(QByteArray, line);
    QFETCH(int, background);
    QFETCH(bool, fixed);

    writeScript(line + "\n");
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QVERIFY(list->entries != nullptr && list->entries->next == nullptr);
    command_entry *e = list->entries;
    int isFixed = -1;
    QCOMPARE(qvxsessrun_background(list, e, &isFixed), background);
    QCOMPARE(isFixed, int(fixed));

    QCOMPARE(qvxsessrun_set_background(list, e, !background), 0);
    QCOMPARE(qvxsessrun_background(list, e, nullptr), fixed ? background : !background);
    QCOMPARE(qvxsessrun_can_undo(list), !fixed);
    QCOMPARE(qvxsessrun_write(list), 0);
    /* What sh makes of the saved line: backgrounded, it comes back at once. */
    if (!fixed) {
        command_list *back = qvxsessrun_read();
        QVERIFY(back != nullptr);
        QCOMPARE(qvxsessrun_background(back, back->entries, nullptr), !background);
        qvxsessrun_free(back);
    }
    qvxsessrun_undo(list);
    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), H + line + "\n");
    qvxsessrun_free(list);
}

/*
 * No script yet: an empty list, the directories made, and the error
 * buffer left as the failure before it left it.
 */
void TestStore::missingScript_data()
{
    QTest::addColumn<bool>("dirExists");

    QTest::newRow("no ~/.config") << false;
    QTest::newRow("no autostart.sh") << true;
}

void TestStore::missingScript()
{
    QFETCH(bool, dirExists);

    QFile file(home + "/.config");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(qvxsessrun_read() == nullptr);
    const QByteArray before = qvxsessrun_error_text();
    QCOMPARE(before, QByteArray("Fatal: stat(): Fatal error: Not a directory\n"));
    QVERIFY(file.remove());

    if (dirExists)
        QVERIFY(QDir(home).mkpath(".config/QVX"));
    command_list *list = qvxsessrun_read();
    QVERIFY(list != nullptr);
    QCOMPARE(entriesOf(list), QByteArrayList());
    QVERIFY(!qvxsessrun_can_undo(list) && !qvxsessrun_can_redo(list));
    QCOMPARE(QByteArray(qvxsessrun_error_text()), before);
    QVERIFY(QFileInfo(dirPath()).isDir());
    QVERIFY(!QFileInfo::exists(scriptPath()));

    /* Writing the empty list leaves the header alone. */
    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), H);
    qvxsessrun_free(list);
}

void TestStore::readFailures_data()
{
    QTest::addColumn<QString>("file"); /* made a regular file, relative to home */
    QTest::addColumn<QString>("makeDir"); /* made a directory, relative to home */
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("~/.config a regular file: the configuration text alone")
        << ".config" << QString() << QByteArray("Fatal: stat(): Fatal error: Not a directory\n");
    QTest::newRow("~/.config/QVX a regular file")
        << ".config/QVX" << QString()
        << QByteArray("Fatal: stat(): Fatal error: Not a directory\n");
}

void TestStore::readFailures()
{
    QFETCH(QString, file);
    QFETCH(QString, makeDir);
    QFETCH(QByteArray, text);

    if (!file.isEmpty()) {
        QVERIFY(QDir(home).mkpath(QFileInfo(file).path()));
        QFile f(home + "/" + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    if (!makeDir.isEmpty())
        QVERIFY(QDir(home).mkpath(makeDir));
    QVERIFY(qvxsessrun_read() == nullptr);
    QCOMPARE(QByteArray(qvxsessrun_error_text()), text);

    /* A save cannot go through either while the directory is missing. */
    if (!file.isEmpty()) {
        command_list *list = listOf({ "+a" });
        QCOMPARE(qvxsessrun_write(list), -1);
        QCOMPARE(QByteArray(qvxsessrun_error_text()), text);
        qvxsessrun_free(list);
    }
}

static int openDescriptors()
{
    int n = 0;

    for (int fd = 0; fd < 1024; fd++)
        if (fcntl(fd, F_GETFD) != -1)
            n++;
    return n;
}

/*
 * Anything but a regular file in the script's place fails the read at
 * once: no waiting for a FIFO's writer, no endless device, no directory.
 */
void TestStore::notRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("linkTo"); /* the script is a symbolic link to this, when set */

    QTest::newRow("directory") << "dir" << QString();
    QTest::newRow("FIFO") << "fifo" << QString();
    QTest::newRow("symbolic link to /dev/zero") << QString() << "/dev/zero";
    QTest::newRow("symbolic link to /dev/null") << QString() << "/dev/null";
    QTest::newRow("symbolic link to a FIFO") << "fifo"
                                             << "target";
    QTest::newRow("symbolic link to a directory") << "dir"
                                                  << "target";
}

void TestStore::notRegularFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, linkTo);

    QVERIFY(QDir(home).mkpath(".config/QVX"));
    const QString made = linkTo == "target" ? dirPath() + "/target" : scriptPath();
    const QByteArray madeName = QFile::encodeName(made);
    if (kind == "dir")
        QVERIFY(QDir().mkdir(made));
    else if (kind == "fifo")
        QVERIFY(mkfifo(madeName.constData(), 0600) == 0);
    if (!linkTo.isEmpty())
        QVERIFY(symlink(QFile::encodeName(linkTo).constData(),
                        QFile::encodeName(scriptPath()).constData())
                == 0);
    const int descriptors = openDescriptors();

    QElapsedTimer timer;
    timer.start();
    command_list *list = qvxsessrun_read();
    const qint64 took = timer.elapsed();

    QVERIFY(list == nullptr);
    QCOMPARE(QString::fromLocal8Bit(qvxsessrun_error_text()),
             scriptPath() + ": Not a regular file");
    QVERIFY2(took < 1000, qPrintable(QString("the read took %1 ms").arg(took)));
    QCOMPARE(openDescriptors(), descriptors);
    if (!kind.isEmpty())
        QVERIFY(QFileInfo(made).isDir() == (kind == "dir"));

    /* In its place, a regular file is read again. */
    if (kind == "dir" && linkTo.isEmpty())
        QVERIFY(QDir().rmdir(made));
    else
        QVERIFY(QFile::remove(scriptPath()));
    writeScript("xterm&\n");
    list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(entriesOf(list), QByteArrayList { "+xterm" });
    qvxsessrun_free(list);
}

/* Reads in one process share the line reader; none may see another's bytes. */
void TestStore::readerStartsAfresh()
{
    const struct
    {
        QByteArray script;
        QByteArrayList entries;
    } reads[] = {
        { "first&\n" + QByteArray(5000, 'p'), { "+first", "+" + QByteArray(5000, 'p') } },
        { "second&\n", { "+second" } },
        { QByteArray(3000, 'q') + "&\nr", { "+" + QByteArray(3000, 'q'), "+r" } },
        { QByteArray(), {} },
        { "s", { "+s" } },
    };

    for (int round = 0; round < 2; round++) {
        for (const auto &r : reads) {
            writeScript(r.script);
            command_list *list = qvxsessrun_read();
            QVERIFY2(list != nullptr, qvxsessrun_error_text());
            QCOMPARE(entriesOf(list), r.entries);
            qvxsessrun_free(list);
        }
        /* A failed read in between changes nothing for the next. */
        QVERIFY(QFile::remove(scriptPath()));
        QVERIFY(QDir(dirPath()).mkdir("autostart.sh"));
        QVERIFY(qvxsessrun_read() == nullptr);
        QVERIFY(QDir(dirPath()).rmdir("autostart.sh"));
    }
}

/*
 * Run argv in dir and wait for it: its exit status, or -1.  Children it
 * leaves in the background keep running.  (QProcess is not used: its
 * wait trips the memory checker.)
 */
static int runShell(const QStringList &argv, const QString &dir, bool quiet)
{
    QList<QByteArray> bytes;
    std::vector<char *> args;
    posix_spawn_file_actions_t actions;
    pid_t pid;
    int status;

    for (const QString &a : argv)
        bytes << QFile::encodeName(a);
    for (QByteArray &b : bytes)
        args.push_back(b.data());
    args.push_back(nullptr);
    const QByteArray script = "cd \"$1\" && shift && exec \"$@\"";
    std::vector<char *> outer { const_cast<char *>("sh"), const_cast<char *>("-c"),
                                const_cast<char *>(script.constData()), const_cast<char *>("sh") };
    QByteArray d = QFile::encodeName(dir);
    outer.push_back(d.data());
    outer.insert(outer.end(), args.begin(), args.end());

    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    const int err = posix_spawnp(&pid, "sh", &actions, nullptr, outer.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0)
        return -1;
    if (waitpid(pid, &status, 0) == -1 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

/*
 * Texts given to the store by an addition or a set lose their trailing
 * blanks and their final "&"s, which the script line gets anyway where
 * the shell takes one there: a final ";" makes way for it, and a text
 * that cannot take one ("a &&") is written as given.
 */
void TestStore::givenTexts_data()
{
    QTest::addColumn<QByteArray>("given");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("takesAmp");

    QTest::newRow("final &") << QByteArray("sleep 30 &") << QByteArray("sleep 30") << true;
    QTest::newRow("final & and a blank")
        << QByteArray("sleep 30 & ") << QByteArray("sleep 30") << true;
    QTest::newRow("final & without a blank")
        << QByteArray("xclock&") << QByteArray("xclock") << true;
    QTest::newRow("blanks and tabs around the &")
        << QByteArray("xclock \t&\t ") << QByteArray("xclock") << true;
    QTest::newRow("trailing blanks and tabs")
        << QByteArray("xterm  \t") << QByteArray("xterm") << true;
    QTest::newRow("leading blanks stay")
        << QByteArray("  xterm &") << QByteArray("  xterm") << true;
    QTest::newRow("&& stays") << QByteArray("a &&") << QByteArray("a &&") << false;
    QTest::newRow("&& without a blank stays") << QByteArray("a&&") << QByteArray("a&&") << false;
    QTest::newRow("&& and blanks") << QByteArray("a && \t") << QByteArray("a &&") << false;
    QTest::newRow("every final & goes") << QByteArray("a & &") << QByteArray("a") << true;
    QTest::newRow("& after &&") << QByteArray("a &&&") << QByteArray("a &&") << false;
    QTest::newRow("& inside stays") << QByteArray("a & b") << QByteArray("a & b") << true;
    QTest::newRow("escaped & stays") << QByteArray("echo \\&") << QByteArray("echo \\&") << true;
    QTest::newRow("escaped backslash, then &")
        << QByteArray("echo \\\\&") << QByteArray("echo \\\\") << true;
    QTest::newRow("a final ; makes way") << QByteArray("true;") << QByteArray("true") << true;
    QTest::newRow(";; stays") << QByteArray("true;;") << QByteArray("true;;") << false;
    QTest::newRow("a comment: the & in front of it")
        << QByteArray("conky # my panel") << QByteArray("conky # my panel") << true;
    QTest::newRow("an & typed in front of a comment")
        << QByteArray("conky & # my panel") << QByteArray("conky # my panel") << true;
    QTest::newRow("then wants more")
        << QByteArray("if true; then") << QByteArray("if true; then") << false;
    QTest::newRow("a line feed inside a quote stays")
        << QByteArray("echo \"a\nb\" &\n\n") << QByteArray("echo \"a\nb\"") << true;
    QTest::newRow("& alone") << QByteArray("&") << QByteArray() << false;
    QTest::newRow("blanks and & alone") << QByteArray(" \t & ") << QByteArray() << false;
    QTest::newRow("blanks alone") << QByteArray(" \t ") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << QByteArray() << false;
    QTest::newRow("a CR at the end goes") << QByteArray("a &\r") << QByteArray("a") << true;
    QTest::newRow("a CR inside stays") << QByteArray("a\rb") << QByteArray("a\rb") << true;
    QTest::newRow("an escaped blank stays")
        << QByteArray("echo \\ ") << QByteArray("echo \\ ") << true;
}

/* The line of a text with a form whose "&" it takes where it can. */
static QByteArray lineOf(const QByteArray &text, const QByteArray &amp, bool takes)
{
    if (!takes)
        return text;
    const int comment = text.indexOf(" #");
    if (comment < 0)
        return text + amp;
    return text.left(comment) + (amp.startsWith(' ') ? amp : " " + amp) + text.mid(comment);
}

void TestStore::givenTexts()
{
    QFETCH(QByteArray, given);
    QFETCH(QByteArray, stored);
    QFETCH(bool, takesAmp);
    const QByteArray old = "old  &"; /* as read from a script: its form stays */

    writeScript(old + "\n");
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    command_entry *a = list->entries;
    command_entry *b = qvxsessrun_add_command(list, given.constData(), 1);
    QVERIFY(b != nullptr);
    QCOMPARE(QByteArray(b->text), stored);

    QCOMPARE(qvxsessrun_set_command(list, a, given.constData(), 0), 0);
    QCOMPARE(QByteArray(a->text), stored);
    QCOMPARE(QByteArray(journal_of(list)->redo_cursor->state->text), stored);
    QCOMPARE(QByteArray(journal_of(list)->undo_cursor->state->text), QByteArray("old"));
    qvxsessrun_undo(list);
    QCOMPARE(QByteArray(a->text), QByteArray("old"));
    qvxsessrun_redo(list);
    QCOMPARE(QByteArray(a->text), stored);

    /* What the script holds, and what the next start reads from it: the
     * set row keeps its line's "  &", the added one gets its own "&". */
    QCOMPARE(qvxsessrun_write(list), 0);
    const bool written = !stored.trimmed().isEmpty() || stored.contains('\r');
    QByteArray inactive = lineOf(stored, "  &", takesAmp);
    inactive.replace("\n", "\n#[INACTIVE]#");
    QCOMPARE(readFile(scriptPath()),
             H
                 + (written
                        ? "#[INACTIVE]#" + inactive + "\n" + lineOf(stored, "&", takesAmp) + "\n"
                        : QByteArray()));
    qvxsessrun_free(list);
    list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    const QByteArrayList readBack
        = written ? QByteArrayList { "-" + stored, "+" + stored } : QByteArrayList();
    QCOMPARE(entriesOf(list), readBack);
    qvxsessrun_free(list);
}

/* Where the simple commands of a row begin: those the check looks up. */
void TestStore::commandStarts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("starts");

    QTest::newRow("one") << QByteArray("xterm -e top") << QList<int> { 0 };
    QTest::newRow("assignments first") << QByteArray("A=1 B=2 xterm") << QList<int> { 0 };
    QTest::newRow("a redirection first") << QByteArray(">log xterm") << QList<int> { 0 };
    QTest::newRow("a list") << QByteArray("a && b || c; d & e | f")
                            << QList<int> { 0, 5, 10, 13, 17, 21 };
    QTest::newRow("an if") << QByteArray("if a; then\n  b\nelif c; then d; else e; fi")
                           << QList<int> { 3, 13, 20, 28, 36 };
    QTest::newRow("reserved words are no commands")
        << QByteArray("while x; do for i in 1 2; do y; done; done") << QList<int> { 6, 29 };
    QTest::newRow("a case") << QByteArray("case $1 in a) b ;; (c) d;; esac")
                            << QList<int> { 14, 23 };
    QTest::newRow("a function's body") << QByteArray("f() { g; }") << QList<int> { 6 };
    QTest::newRow("quoted and in arguments")
        << QByteArray("echo 'a; b' \"c && d\" if then") << QList<int> { 0 };
    QTest::newRow("a subshell and a group")
        << QByteArray("(a; b) && { c; }") << QList<int> { 1, 4, 12 };
    QTest::newRow("comments") << QByteArray("a # b; c\nd") << QList<int> { 0, 9 };
}

void TestStore::commandStarts()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, starts);

    size_t found[16];
    const size_t count
        = qvxsessrun_command_starts(nullptr, text.constData(), size_t(text.size()), found, 16);
    QList<int> got;
    for (size_t i = 0; i < count && i < 16; i++)
        got << int(found[i]);
    QCOMPARE(got, starts);
    // Fewer slots than commands: the count says how many there are.
    if (starts.size() > 1)
        QCOMPARE(
            qvxsessrun_command_starts(nullptr, text.constData(), size_t(text.size()), found, 1),
            size_t(starts.size()));
}

/*
 * A saved script as the shell meets it: commands given with their own "&"
 * give a script that parses, and running it starts every command in the
 * background.
 */
void TestStore::savedScriptRuns()
{
    writeScript(H + "echo one >>out&\n\n\t\necho two >>out&\n");
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(entriesOf(list), QByteArrayList({ "+echo one >>out", "+echo two >>out" }));

    command_entry *last = list->entries->next;
    QCOMPARE(qvxsessrun_set_command(list, last, "sleep 2 && echo late >>out &", 1), 0);
    QVERIFY(qvxsessrun_add_command(list, "echo three >>out & ", 1) != nullptr);
    QVERIFY(qvxsessrun_add_command(list, "true && echo four >>out &", 1) != nullptr);
    QVERIFY(qvxsessrun_add_command(list, "echo five >>out\t&", 1) != nullptr);
    QCOMPARE(qvxsessrun_write(list), 0);
    qvxsessrun_free(list);
    QCOMPARE(readFile(scriptPath()),
             H
                 + "echo one >>out&\n\n\t\nsleep 2 && echo late >>out&\necho three >>out&\n"
                   "true && echo four >>out&\necho five >>out&\n");

    /* sh reports a syntax error on its standard error, which the log shows. */
    QCOMPARE(runShell({ "sh", "-n", scriptPath() }, home, false), 0);

    const QString runDir = home + "/run";
    QVERIFY(QDir(home).mkpath("run"));
    QFile::remove(runDir + "/out");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(runShell({ "sh", scriptPath() }, runDir, true), 0);
    const qint64 took = timer.elapsed();
    /* The shell did not wait for the sleep: it ran in the background. */
    QVERIFY2(took < 2000, qPrintable(QString("the script ran %1 ms").arg(took)));

    QByteArrayList lines;
    for (int i = 0; i < 100 && lines.size() < 5; i++) {
        QTest::qWait(100);
        lines = readFile(runDir + "/out").split('\n');
        lines.removeAll(QByteArray());
    }
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.last(), QByteArray("late"));
    std::sort(lines.begin(), lines.end());
    QCOMPARE(lines, QByteArrayList({ "five", "four", "late", "one", "three" }));
}

/*
 * A script written by hand, opened and saved with one row switched off,
 * does what it did before, less that one command: the foreground line
 * still finishes before the next, an export still reaches the lines
 * below it, a here-document is still written, and exec still ends it.
 */
void TestStore::handWrittenScriptRuns()
{
    const QByteArray script = "#!/bin/sh\n"
                              "# as people write it\n"
                              "echo first >>out; sleep 1; echo slow done >>out\n"
                              "export GREETING=hello\n"
                              "\n"
                              "if [ -n \"$GREETING\" ]; then\n"
                              "    echo \"$GREETING\" >>out &\n"
                              "else\n"
                              "    echo no greeting >>out\n"
                              "fi\n"
                              "cat >>out <<EOF\n"
                              "from a here-document\n"
                              "EOF\n"
                              "echo unwanted >>out &\n"
                              "echo \\\n"
                              "    continued >>out\n"
                              "exec sh -c 'echo last >>out'\n"
                              "echo never >>out\n";
    writeScript(script);
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), script);

    command_entry *unwanted = list->entries;
    while (unwanted != nullptr && QByteArray(unwanted->text) != "echo unwanted >>out")
        unwanted = unwanted->next;
    QVERIFY(unwanted != nullptr);
    QCOMPARE(qvxsessrun_set_command(list, unwanted, unwanted->text, 0), 0);
    QCOMPARE(qvxsessrun_write(list), 0);
    qvxsessrun_free(list);
    QByteArray expected = script;
    expected.replace("echo unwanted", "#[INACTIVE]#echo unwanted");
    QCOMPARE(readFile(scriptPath()), expected);

    const QString runDir = home + "/run";
    QVERIFY(QDir(home).mkpath("run"));
    QFile::remove(runDir + "/out");
    QCOMPARE(runShell({ "sh", scriptPath() }, runDir, true), 0);
    QByteArrayList lines;
    for (int i = 0; i < 50 && !lines.contains("hello"); i++) {
        QTest::qWait(100);
        lines = readFile(runDir + "/out").split('\n');
    }
    lines.removeAll(QByteArray());
    /* The order of the foreground lines is fixed; the greeting ran in the background. */
    QVERIFY(lines.removeOne("hello"));
    QCOMPARE(lines,
             QByteArrayList({ "first", "slow done", "from a here-document", "continued", "last" }));
}

void TestStore::equal_data()
{
    QTest::addColumn<QByteArrayList>("a");
    QTest::addColumn<QByteArrayList>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("both empty") << QByteArrayList() << QByteArrayList() << true;
    QTest::newRow("same entries") << QByteArrayList { "+a", "-b", "+" }
                                  << QByteArrayList { "+a", "-b", "+" } << true;
    QTest::newRow("empty and not") << QByteArrayList() << QByteArrayList { "+" } << false;
    QTest::newRow("one more at the end")
        << QByteArrayList { "+a", "+b" } << QByteArrayList { "+a", "+b", "+c" } << false;
    QTest::newRow("order of two") << QByteArrayList { "+a", "+b" } << QByteArrayList { "+b", "+a" }
                                  << false;
    QTest::newRow("one flag") << QByteArrayList { "+a", "+b" } << QByteArrayList { "+a", "-b" }
                              << false;
    QTest::newRow("one text") << QByteArrayList { "+a", "+b" } << QByteArrayList { "+a", "+c" }
                              << false;
    QTest::newRow("a text's prefix")
        << QByteArrayList { "+ab" } << QByteArrayList { "+a" } << false;
}

void TestStore::equal()
{
    QFETCH(QByteArrayList, a);
    QFETCH(QByteArrayList, b);
    QFETCH(bool, same);

    command_list *x = listOf(a);
    command_list *y = listOf(b);
    QCOMPARE(qvxsessrun_equal(x, y), same);
    QCOMPARE(qvxsessrun_equal(y, x), same);
    QVERIFY(qvxsessrun_equal(x, x));

    /* The journal plays no part: a change and its undo leave the list equal. */
    if (x->entries != nullptr) {
        QCOMPARE(qvxsessrun_set_command(x, x->entries, "changed", 0), 0);
        QVERIFY(!qvxsessrun_equal(x, y) || !same);
        qvxsessrun_undo(x);
        QCOMPARE(qvxsessrun_equal(x, y), same);
    }
    qvxsessrun_free(x);
    qvxsessrun_free(y);
}

/*
 * Lists are equal when a save writes the same bytes for them: the same
 * texts and states, and the same forms of their lines.
 */
void TestStore::equalForms_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("same bytes") << QByteArray("# c\nx &\n") << QByteArray("# c\nx &\n") << true;
    QTest::newRow("another final &") << QByteArray("x &\n") << QByteArray("x\n") << false;
    QTest::newRow("other blanks") << QByteArray("x &\n") << QByteArray("x&\n") << false;
    QTest::newRow("a CR") << QByteArray("x&\r\n") << QByteArray("x&\n") << false;
    QTest::newRow("another comment above")
        << QByteArray("# c\nx&\n") << QByteArray("# d\nx&\n") << false;
    QTest::newRow("no line feed at the end") << QByteArray("x&") << QByteArray("x&\n") << false;
    QTest::newRow("another first line")
        << QByteArray("#!/bin/sh\nx&\n") << QByteArray("#!/bin/bash\nx&\n") << false;
    QTest::newRow("another last comment")
        << QByteArray("x&\n# a\n") << QByteArray("x&\n# b\n") << false;
}

void TestStore::equalForms()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(bool, same);

    writeScript(a);
    command_list *x = qvxsessrun_read();
    writeScript(b);
    command_list *y = qvxsessrun_read();
    QVERIFY(x != nullptr && y != nullptr);
    QCOMPARE(entriesOf(x), entriesOf(y));
    QCOMPARE(qvxsessrun_equal(x, y), same);
    QCOMPARE(qvxsessrun_equal(y, x), same);
    qvxsessrun_free(x);
    qvxsessrun_free(y);
}

void TestStore::copy_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArrayList>("items");

    QTest::newRow("empty") << QByteArray() << QByteArrayList();
    QTest::newRow("one") << QByteArray("a&\n") << QByteArrayList { "+a" };
    QTest::newRow("several, with their forms")
        << QByteArray("#!/bin/bash\n# c\na &\n#[INACTIVE]#b\n\n & \r\nx" + QByteArray(1, '\0')
                      + "y\n# end")
        << QByteArrayList { "+a", "-b", "+", "+x" + QByteArray(1, '\0') + "y" };
}

void TestStore::copy()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArrayList, items);

    writeScript(script);
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    /* Give the original a journal, which the copy must not take over. */
    command_entry *x = qvxsessrun_add_command(list, "x", 1);
    QVERIFY(x != nullptr);
    qvxsessrun_undo(list);
    QVERIFY(qvxsessrun_can_redo(list));

    command_list *copy = qvxsessrun_copy(list);
    QVERIFY(copy != nullptr);
    QCOMPARE(entriesOf(copy), items);
    QVERIFY(chainIsSound(copy));
    QVERIFY(qvxsessrun_equal(list, copy));
    QVERIFY(journal_of(copy)->undo_head == nullptr && journal_of(copy)->redo_head == nullptr);
    QVERIFY(journal_of(copy)->undo_cursor == nullptr && journal_of(copy)->redo_cursor == nullptr);

    /* No entry and no bytes are shared, and a save writes the same. */
    QSet<const void *> mine;
    for (const command_entry *e = list->entries; e != nullptr; e = e->next)
        mine << e << e->text << e->lead << e->tail;
    mine.remove(nullptr);
    for (const command_entry *e = copy->entries; e != nullptr; e = e->next) {
        QVERIFY(!mine.contains(e));
        QVERIFY(!mine.contains(e->text));
        QVERIFY(!mine.contains(e->lead));
        QVERIFY(!mine.contains(e->tail));
    }
    QCOMPARE(qvxsessrun_write(copy), 0);
    QCOMPARE(readFile(scriptPath()), withHeader(script));

    /* Changing the original in every way leaves the copy as it was. */
    if (list->entries != nullptr) {
        list->entries->text[0] = '?';
        QCOMPARE(qvxsessrun_set_command(list, list->entries, "set", 0), 0);
        QVERIFY(qvxsessrun_move_down(list, list->entries) != nullptr);
        QVERIFY(qvxsessrun_delete_command(list, list->entries) != nullptr);
    }
    QVERIFY(qvxsessrun_add_command(list, "added", 1) != nullptr);
    QCOMPARE(entriesOf(copy), items);

    /* A copy is a list of its own: it takes operations and is released alone. */
    QVERIFY(qvxsessrun_add_command(copy, "own", 0) != nullptr);
    QCOMPARE(entriesOf(copy), items + QByteArrayList { "-own" });
    qvxsessrun_free(copy);
    qvxsessrun_free(list);
}

/*
 * Walk-throughs of the journal.  Steps: "add T", "del N", "set N T F",
 * "up N", "down N", "undo", "redo", where N names an entry by the text it
 * was made with; "disk T,-U" writes the script (T active, U switched off),
 * "disk none" removes it, "disk directory" puts a directory in its place,
 * and "reload" reads it again into the list ("reload fails": and
 * cannot).  After each step: the chain (texts, "-" for inactive), a
 * space, then "position/length" of the journal cursors.
 */
void TestStore::journal_data()
{
    QTest::addColumn<QByteArrayList>("start");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("after");

    const QByteArrayList ab { "+A", "+B" };
    const QByteArrayList pqr { "+P", "+Q", "+R" };

    QTest::newRow("add, undo, redo, redo")
        << ab << QStringList { "add X", "undo", "redo", "redo" }
        << QStringList { "A,B,X 1/1", "A,B 0/1", "A,B,X 1/1", "A,B,X 1/1" };
    QTest::newRow("two sets undone and redone")
        << QByteArrayList { "+t0" }
        << QStringList { "set t0 t1 1", "set t0 t2 0", "undo", "undo", "redo", "redo" }
        << QStringList { "t1 1/1", "-t2 2/2", "t1 1/2", "t0 0/2", "t1 1/2", "-t2 2/2" };
    QTest::newRow("a new operation drops the undone ones")
        << ab
        << QStringList { "set B B 0", "del A", "undo", "del A", "redo", "undo", "undo", "undo" }
        << QStringList { "A,-B 1/1", "-B 2/2",   "A,-B 1/2", "-B 2/2",
                         "-B 2/2",   "A,-B 1/2", "A,B 0/2",  "A,B 0/2" };
    QTest::newRow("delete the middle, move, undo twice")
        << pqr << QStringList { "del Q", "up R", "undo", "undo" }
        << QStringList { "P,R 1/1", "R,P 2/2", "P,R 1/2", "P,Q,R 0/2" };
    QTest::newRow("delete Q, then P, undo twice")
        << pqr << QStringList { "del Q", "del P", "undo", "undo", "redo", "redo" }
        << QStringList { "P,R 1/1", "R 2/2", "P,R 1/2", "P,Q,R 0/2", "P,R 1/2", "R 2/2" };
    QTest::newRow("delete the first, undo, redo")
        << pqr << QStringList { "del P", "undo", "redo", "undo" }
        << QStringList { "Q,R 1/1", "P,Q,R 0/1", "Q,R 1/1", "P,Q,R 0/1" };
    QTest::newRow("delete the last, undo") << pqr << QStringList { "del R", "undo", "redo" }
                                           << QStringList { "P,Q 1/1", "P,Q,R 0/1", "P,Q 1/1" };
    QTest::newRow("delete the only one, undo")
        << QByteArrayList { "+P" } << QStringList { "del P", "undo", "redo", "add X", "undo" }
        << QStringList { " 1/1", "P 0/1", " 1/1", "X 2/2", " 1/2" };
    QTest::newRow("moves at the ends record nothing")
        << pqr << QStringList { "up P", "down R", "down P", "undo", "up P", "down R", "redo" }
        << QStringList { "P,Q,R 0/0", "P,Q,R 0/0", "Q,P,R 1/1", "P,Q,R 0/1",
                         "P,Q,R 0/1", "P,Q,R 0/1", "Q,P,R 1/1" };
    QTest::newRow("move up, undo, redo")
        << pqr << QStringList { "up Q", "undo", "redo", "up R", "undo" }
        << QStringList { "Q,P,R 1/1", "P,Q,R 0/1", "Q,P,R 1/1", "Q,R,P 2/2", "Q,P,R 1/2" };
    QTest::newRow("move down, undo, redo")
        << pqr << QStringList { "down Q", "undo", "redo", "down P", "undo" }
        << QStringList { "P,R,Q 1/1", "P,Q,R 0/1", "P,R,Q 1/1", "R,P,Q 2/2", "P,R,Q 1/2" };
    QTest::newRow("the last to the front and back")
        << pqr << QStringList { "up R", "up R", "up R", "undo", "undo", "redo", "redo" }
        << QStringList { "P,R,Q 1/1", "R,P,Q 2/2", "R,P,Q 2/2", "P,R,Q 1/2",
                         "P,Q,R 0/2", "P,R,Q 1/2", "R,P,Q 2/2" };
    QTest::newRow("two entries swapped both ways")
        << QByteArrayList { "+P", "+Q" }
        << QStringList { "down P", "down P", "up P", "undo", "undo" }
        << QStringList { "Q,P 1/1", "Q,P 1/1", "P,Q 2/2", "Q,P 1/2", "P,Q 0/2" };
    QTest::newRow("set to its own text and flag is a step")
        << pqr << QStringList { "set Q Q 1", "undo", "undo", "redo" }
        << QStringList { "P,Q,R 1/1", "P,Q,R 0/1", "P,Q,R 0/1", "P,Q,R 1/1" };
    QTest::newRow("one set undone and redone many times")
        << QByteArrayList { "+A" }
        << QStringList { "set A B 0", "undo", "redo", "undo", "redo", "undo", "redo" }
        << QStringList { "-B 1/1", "A 0/1", "-B 1/1", "A 0/1", "-B 1/1", "A 0/1", "-B 1/1" };
    QTest::newRow("undo everything, redo everything")
        << ab << QStringList { "add X", "del A", "up X", "set B b 0", "undo", "undo", "undo",
                               "undo",  "undo",  "redo", "redo",      "redo", "redo", "redo" }
        << QStringList { "A,B,X 1/1", "B,X 2/2",   "X,B 3/3",  "X,-b 4/4", "X,B 3/4",
                         "B,X 2/4",   "A,B,X 1/4", "A,B 0/4",  "A,B 0/4",  "A,B,X 1/4",
                         "B,X 2/4",   "X,B 3/4",   "X,-b 4/4", "X,-b 4/4" };
    QTest::newRow("add after an undone add")
        << QByteArrayList { "+A" } << QStringList { "add X", "undo", "add Y", "undo", "redo" }
        << QStringList { "A,X 1/1", "A 0/1", "A,Y 1/1", "A 0/1", "A,Y 1/1" };
    QTest::newRow("an undone add and the operations on its entry dropped")
        << QByteArrayList { "+A" } << QStringList { "add X", "set X x2 0", "up X", "del X", "undo",
                                                    "undo",  "undo",       "undo", "add Y", "undo" }
        << QStringList { "A,X 1/1",   "A,-x2 2/2", "-x2,A 3/3", "A 4/4",   "-x2,A 3/4",
                         "A,-x2 2/4", "A,X 1/4",   "A 0/4",     "A,Y 1/1", "A 0/1" };
    QTest::newRow("a drop keeps the entries still in effect")
        << QByteArrayList { "+A" } << QStringList { "add X",     "add Y", "undo", "del X", "undo",
                                                    "set X z 1", "undo",  "undo", "redo",  "redo" }
        << QStringList { "A,X 1/1", "A,X,Y 2/2", "A,X 1/2", "A 2/2",   "A,X 1/2",
                         "A,z 2/2", "A,X 1/2",   "A 0/2",   "A,X 1/2", "A,z 2/2" };
    QTest::newRow("a deleted entry added back by undo and deleted again")
        << pqr << QStringList { "del Q", "undo", "del Q", "del P", "undo", "undo" }
        << QStringList { "P,R 1/1", "P,Q,R 0/1", "P,R 1/1", "R 2/2", "P,R 1/2", "P,Q,R 0/2" };
    // "join" makes the newest step one with the one before; "join!" finds none.
    QTest::newRow("steps joined are undone and redone at once")
        << QByteArrayList { "+A" }
        << QStringList { "set A a 1", "add X", "add Y", "join", "undo", "redo", "undo", "undo" }
        << QStringList { "a 1/1", "a,X 2/2",   "a,X,Y 3/3", "a,X,Y 3/3",
                         "a 1/3", "a,X,Y 3/3", "a 1/3",     "A 0/3" };
    QTest::newRow("a step joined again takes in the one before")
        << QByteArrayList { "+A" }
        << QStringList { "add X", "add Y", "join", "add Z", "join", "undo" }
        << QStringList {
               "A,X 1/1", "A,X,Y 2/2", "A,X,Y 2/2", "A,X,Y,Z 3/3", "A,X,Y,Z 3/3", "A 0/3"
           };
    QTest::newRow("nothing to join with")
        << QByteArrayList { "+A" } << QStringList { "join!", "add X", "join!", "undo", "redo" }
        << QStringList { "A 0/0", "A,X 1/1", "A,X 1/1", "A 0/1", "A,X 1/1" };
    QTest::newRow("nothing to undo or redo")
        << ab << QStringList { "undo", "redo" } << QStringList { "A,B 0/0", "A,B 0/0" };

    QTest::newRow("a reload replaces the list, undo and redo trade it back")
        << ab << QStringList { "add X", "disk P,-Q", "reload", "undo", "redo",
                               "undo",  "undo",      "redo",   "redo" }
        << QStringList { "A,B,X 1/1", "A,B,X 1/1", "P,-Q 2/2",  "A,B,X 1/2", "P,-Q 2/2",
                         "A,B,X 1/2", "A,B 0/2",   "A,B,X 1/2", "P,-Q 2/2" };
    QTest::newRow("edits after a reload, undone through it and redone")
        << QByteArrayList { "+A" }
        << QStringList { "disk P,Q", "reload", "del P", "set Q q 0", "add Y", "undo", "undo",
                         "undo",     "undo",   "redo",  "redo",      "redo",  "redo" }
        << QStringList { "A 0/0",   "P,Q 1/1", "Q 2/2",   "-q 3/3", "-q,Y 4/4", "-q 3/4",  "Q 2/4",
                         "P,Q 1/4", "A 0/4",   "P,Q 1/4", "Q 2/4",  "-q 3/4",   "-q,Y 4/4" };
    QTest::newRow("an undone reload dropped by the next edit, with what it read")
        << QByteArrayList { "+A" }
        << QStringList { "disk P", "reload", "del P", "undo", "undo", "add Y", "undo", "redo" }
        << QStringList {
               "A 0/0", "P 1/1", " 2/2", "P 1/2", "A 0/2", "A,Y 1/1", "A 0/1", "A,Y 1/1"
           };
    QTest::newRow("a reload of a removed script empties the list")
        << ab << QStringList { "disk none", "reload", "undo", "redo", "add X", "undo", "undo" }
        << QStringList { "A,B 0/0", " 1/1", "A,B 0/1", " 1/1", "X 2/2", " 1/2", "A,B 0/2" };
    QTest::newRow("a deletion in effect across two reloads")
        << pqr << QStringList { "del Q", "disk Z", "reload", "reload", "undo",
                                "undo",  "undo",   "redo",   "redo",   "redo" }
        << QStringList { "P,R 1/1", "P,R 1/1",   "Z 2/2",   "Z 3/3", "Z 2/3",
                         "P,R 1/3", "P,Q,R 0/3", "P,R 1/3", "Z 2/3", "Z 3/3" };
    QTest::newRow("a reload that cannot read changes nothing")
        << ab
        << QStringList { "set B b 0", "undo", "disk directory", "reload fails", "redo", "undo" }
        << QStringList { "A,-b 1/1", "A,B 0/1", "A,B 0/1", "A,B 0/1", "A,-b 1/1", "A,B 0/1" };
}

/* What another program does to the script for a "disk" step of journal(). */
void TestStore::diskStep(const QString &what)
{
    QVERIFY(!QFileInfo::exists(scriptPath()) || QFile::remove(scriptPath()));
    if (what == "none")
        return;
    if (what == "directory") {
        QVERIFY(QDir().mkpath(scriptPath()));
        return;
    }
    QByteArray bytes = H;
    for (const QString &item : what.split(','))
        bytes += (item.startsWith('-') ? "#[INACTIVE]#" + item.mid(1) : item).toUtf8() + "&\n";
    writeScript(bytes);
}

static QString describe(const command_list *list)
{
    QStringList chain;

    for (const command_entry *e = list->entries; e != nullptr; e = e->next)
        chain << (e->active ? "" : "-") + QString::fromUtf8(e->text);
    return chain.join(',')
        + QString(" %1/%2")
              .arg(cursorPosition(journal_of(list)->undo_head, journal_of(list)->undo_cursor))
              .arg(journalLength(journal_of(list)->undo_head));
}

void TestStore::journal()
{
    QFETCH(QByteArrayList, start);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, after);
    QCOMPARE(steps.size(), after.size());

    command_list *list = listOf(start);
    QHash<QString, command_entry *> names;
    QSet<command_entry *> made;
    for (command_entry *e = list->entries; e != nullptr; e = e->next) {
        names.insert(QString::fromUtf8(e->text), e);
        made << e;
    }

    for (int i = 0; i < steps.size(); i++) {
        const QStringList w = steps[i].split(' ');
        const QByteArray arg = w.value(2).toUtf8();
        command_entry *e = names.value(w.value(1));

        if (w[0] == "add") {
            e = qvxsessrun_add_command(list, w[1].toUtf8().constData(), 1);
            QVERIFY(e != nullptr);
            names.insert(w[1], e);
            made << e;
        } else if (w[0] == "del") {
            QCOMPARE(qvxsessrun_delete_command(list, e), e);
        } else if (w[0] == "set") {
            QCOMPARE(qvxsessrun_set_command(list, e, arg.constData(), w[3].toInt()), 0);
        } else if (w[0] == "up") {
            QCOMPARE(qvxsessrun_move_up(list, e), e);
        } else if (w[0] == "down") {
            QCOMPARE(qvxsessrun_move_down(list, e), e);
        } else if (w[0] == "join") {
            QCOMPARE(qvxsessrun_join_step(list), 0);
        } else if (w[0] == "join!") {
            QCOMPARE(qvxsessrun_join_step(list), -1);
        } else if (w[0] == "disk") {
            diskStep(w[1]);
        } else if (w[0] == "reload" && w.size() == 1) {
            QVERIFY2(qvxsessrun_reload(list) == 0, qvxsessrun_error_text());
            for (command_entry *c = list->entries; c != nullptr; c = c->next) {
                names.insert(QString::fromUtf8(c->text), c);
                made << c;
            }
        } else if (w[0] == "reload") {
            QCOMPARE(qvxsessrun_reload(list), -1);
            QVERIFY(*qvxsessrun_error_text() != '\0');
        } else if (w[0] == "undo" || w[0] == "redo") {
            // The step announced is the step applied, record by record.
            const bool undo = w[0] == "undo";
            journal_change changes[8];
            const size_t announced = qvxsessrun_next_step(list, undo, changes, 8);
            QVERIFY(announced <= 8);
            const size_t applied = undo ? qvxsessrun_undo(list) : qvxsessrun_redo(list);
            QCOMPARE(applied, announced);
            for (size_t c = 0; c < applied; c++) {
                if (changes[c].entry == nullptr)
                    continue; // a reload: every entry anew
                bool found = false;
                for (const command_entry *e = list->entries; e; e = e->next)
                    found = found || e == changes[c].entry;
                QCOMPARE(found, bool(changes[c].in_list));
            }
        } else {
            QFAIL(qPrintable("unknown step " + steps[i]));
        }

        const QByteArray where = QString("after step %1, \"%2\"").arg(i + 1).arg(steps[i]).toUtf8();
        QVERIFY2(describe(list) == after[i],
                 where + ": " + describe(list).toUtf8() + ", expected " + after[i].toUtf8());
        QVERIFY2(chainIsSound(list), where);
        /* Undo and redo move the very entries that were made, never copies. */
        for (command_entry *c = list->entries; c != nullptr; c = c->next)
            QVERIFY2(made.contains(c), where);
        /* The two journals run in step. */
        int length = journalLength(journal_of(list)->undo_head);
        int position = cursorPosition(journal_of(list)->undo_head, journal_of(list)->undo_cursor);
        QCOMPARE(journalLength(journal_of(list)->redo_head), length);
        QCOMPARE(cursorPosition(journal_of(list)->redo_head, journal_of(list)->redo_cursor),
                 position);
        QCOMPARE(qvxsessrun_can_undo(list), position > 0);
        QCOMPARE(qvxsessrun_can_redo(list), position < length);
        for (const journal_record *u = journal_of(list)->undo_head,
                                  *r = journal_of(list)->redo_head;
             u != nullptr; u = u->next, r = r->next) {
            QCOMPARE(u->type, r->type);
            QCOMPARE(u->entry, r->entry);
        }
    }
    /* Released whole, with the journal and the entries only it still holds. */
    qvxsessrun_free(list);
}

void TestStore::reloadBytes_data()
{
    QTest::addColumn<QByteArray>("disk"); /* what the other program left; null: removed */

    QTest::newRow("hand-written, no final line feed")
        << QByteArray("#!/bin/bash\n# started by hand\r\nxterm -e top &\n\n"
                      "#[INACTIVE]#picom --daemon&\nsetxkbmap de # keyboard\n"
                      "if true; then\n  xeyes &\nfi\n# the end");
    static const char crNul[] = "#!/bin/sh\r\nxset b off\r\necho a\0b &\r\n";
    QTest::newRow("CR line ends and a NUL byte") << QByteArray(crNul, int(sizeof(crNul)) - 1);
    QTest::newRow("no #! line") << QByteArray("xclock&\n");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("removed") << QByteArray();
}

/*
 * A reload takes the script's bytes as they are: a save without an edit
 * writes them back unchanged ("#!/bin/sh" in front where there is no "#!"
 * line, as for any script read), without a word about another program's
 * change.  Undo gives back the very bytes the list had before it, with
 * its "#!" line and the lines after its last command, and redo the
 * script's again.
 */
void TestStore::reloadBytes()
{
    QFETCH(QByteArray, disk);

    writeScript("#!/bin/dash\nA&\n# after A\n");
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QVERIFY(qvxsessrun_add_command(list, "edited", 0) != nullptr);
    QVERIFY(qvxsessrun_delete_command(list, list->entries) != nullptr);
    size_t len;
    char *bytes = qvxsessrun_render(list, &len);
    const QByteArray before(bytes, int(len));
    free(bytes);
    QCOMPARE(before, QByteArray("#!/bin/dash\n#[INACTIVE]#edited&\n# after A\n"));

    if (disk.isNull())
        QVERIFY(QFile::remove(scriptPath()));
    else
        writeScript(disk);
    QCOMPARE(qvxsessrun_changed_on_disk(list), 1);
    QCOMPARE(qvxsessrun_reload(list), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
    const QByteArray theirs = withHeader(disk);
    const auto rendered = [&] {
        char *p = qvxsessrun_render(list, &len);
        const QByteArray out(p, int(len));
        free(p);
        return out;
    };
    QCOMPARE(rendered(), theirs);
    qvxsessrun_undo(list);
    QCOMPARE(rendered(), before);
    /* The script was only read. */
    QCOMPARE(QFileInfo::exists(scriptPath()), !disk.isNull());
    QCOMPARE(readFile(scriptPath()), disk);
    qvxsessrun_redo(list);
    QCOMPARE(rendered(), theirs);

    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(readFile(scriptPath()), theirs);
    qvxsessrun_free(list);
}

void TestStore::headerShell_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("shell"); // null: no "#!" line

    QTest::newRow("sh") << QByteArray("#!/bin/sh\ntrue\n") << "sh";
    QTest::newRow("options and a blank") << QByteArray("#! /bin/sh -e\ntrue\n") << "sh";
    QTest::newRow("through env") << QByteArray("#!/usr/bin/env bash\ntrue\n") << "bash";
    QTest::newRow("env alone") << QByteArray("#!/usr/bin/env\ntrue\n") << "";
    QTest::newRow("CR LF") << QByteArray("#!/bin/dash\r\ntrue\r\n") << "dash";
    QTest::newRow("no #! line") << QByteArray("true\n") << QString();
}

/* Which shell the first line names, as the check asks; and whether two
 * lists' first and last lines are the same, as the saved state asks. */
void TestStore::headerShell()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, shell);

    command_list *list = qvxsessrun_parse(script.constData(), size_t(script.size()));
    QVERIFY(list);
    char buf[32] = "unchanged";
    const int result = qvxsessrun_header_shell(list, buf, sizeof(buf));
    QCOMPARE(result, shell.isNull() ? -1 : 0);
    if (!shell.isNull())
        QCOMPARE(QString(buf), shell);

    command_list *same = qvxsessrun_parse(script.constData(), size_t(script.size()));
    const QByteArray withTrailer = script + "# the end\n";
    command_list *other = qvxsessrun_parse(withTrailer.constData(), size_t(withTrailer.size()));
    QVERIFY(same && other);
    QCOMPARE(qvxsessrun_same_frame(list, same), 1);
    QCOMPARE(qvxsessrun_same_frame(list, other), 0);
    qvxsessrun_free(list);
    qvxsessrun_free(same);
    qvxsessrun_free(other);
}

/* The store keeps its own copies: of what it is given, and for every undo and redo. */
void TestStore::takeBackAdd_data()
{
    QTest::addColumn<QByteArray>("then"); // after adding an empty command: see below
    QTest::addColumn<bool>("takenBack");

    // "" nothing, "u" undo, "s" set the first command, "d" delete the new
    // one, "m" add two commands at once (the newest step is theirs).
    QTest::newRow("the Add is the newest step") << QByteArray("") << true;
    QTest::newRow("the Add was undone") << QByteArray("u") << false;
    QTest::newRow("another step after it") << QByteArray("s") << false;
    QTest::newRow("the new command deleted") << QByteArray("d") << false;
    QTest::newRow("an Add of two commands") << QByteArray("m") << false;
}

/*
 * Taking back the newest Add leaves the list and its journal as they were
 * before it, with nothing to redo; any other newest step is left alone.
 */
void TestStore::takeBackAdd()
{
    QFETCH(QByteArray, then);
    QFETCH(bool, takenBack);

    command_list *list = listOf({ "+xterm", "+xclock" });
    QVERIFY(qvxsessrun_set_command(list, list->entries, "xterm -ls", 1) == 0);
    const QByteArrayList before = entriesOf(list);
    const journal_record *cursorBefore = journal_of(list)->undo_cursor;
    command_entry *added = qvxsessrun_add_command(list, "", 1);
    QVERIFY(added != nullptr);
    if (then == "u")
        qvxsessrun_undo(list);
    else if (then == "s")
        QVERIFY(qvxsessrun_set_command(list, list->entries, "xterm", 1) == 0);
    else if (then == "d")
        QVERIFY(qvxsessrun_delete_command(list, added) != nullptr);
    else if (then == "m") {
        size_t count = 0;
        added = qvxsessrun_add_text(list, "a\nb", 3, 1, &count);
        QCOMPARE(count, size_t(2));
        added = added->next; // its record is the newest, joined to the first's
    }
    const QByteArrayList entries = entriesOf(list);
    const bool couldRedo = qvxsessrun_can_redo(list);

    QCOMPARE(qvxsessrun_take_back_add(list, added), int(takenBack));
    QVERIFY(chainIsSound(list));
    if (takenBack) {
        QCOMPARE(entriesOf(list), before);
        QCOMPARE(journal_of(list)->undo_cursor, cursorBefore);
        QVERIFY(!qvxsessrun_can_redo(list));
        qvxsessrun_undo(list); // the step before the Add is next
        QCOMPARE(entriesOf(list), QByteArrayList({ "+xterm", "+xclock" }));
    } else {
        QCOMPARE(entriesOf(list), entries);
        QCOMPARE(qvxsessrun_can_redo(list), couldRedo);
    }
    qvxsessrun_free(list);
}

void TestStore::textsAreCopies()
{
    command_list *list = listOf({ "+A" });
    command_entry *a = list->entries;
    char given[] = "given";

    QCOMPARE(qvxsessrun_set_command(list, a, given, 1), 0);
    given[0] = 'X';
    QCOMPARE(QByteArray(a->text), QByteArray("given"));
    QVERIFY(a->text != given);

    command_entry *b = qvxsessrun_add_command(list, given, 0);
    QVERIFY(b != nullptr);
    given[1] = 'Y';
    QCOMPARE(QByteArray(b->text), QByteArray("Xiven"));

    for (int i = 0; i < 3; i++) {
        qvxsessrun_undo(list); /* the add */
        qvxsessrun_undo(list); /* the set */
        QCOMPARE(QByteArray(a->text), QByteArray("A"));
        QVERIFY(a->text != journal_of(list)->undo_head->state->text
                && a->text != journal_of(list)->redo_head->state->text);
        qvxsessrun_redo(list);
        QCOMPARE(QByteArray(a->text), QByteArray("given"));
        QVERIFY(a->text != journal_of(list)->undo_head->state->text
                && a->text != journal_of(list)->redo_head->state->text);
        qvxsessrun_redo(list);
        QCOMPARE(list->entries->next, b);
        /* The entry's text is its own: changing it leaves the records alone. */
        a->text[0] = 'g';
        QCOMPARE(QByteArray(journal_of(list)->undo_head->state->text), QByteArray("A"));
        QCOMPARE(QByteArray(journal_of(list)->redo_head->state->text), QByteArray("given"));
    }
    qvxsessrun_free(list);
}

/* Moves of a null entry fail without a word; the error buffer stays as it was. */
void TestStore::nullEntries()
{
    QFile file(home + "/.config");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(qvxsessrun_read() == nullptr);
    const QByteArray before = qvxsessrun_error_text();
    QVERIFY(!before.isEmpty());

    command_list *list = listOf({ "+A", "+B" });
    QVERIFY(qvxsessrun_move_up(list, nullptr) == nullptr);
    QVERIFY(qvxsessrun_move_down(list, nullptr) == nullptr);
    QVERIFY(qvxsessrun_delete_command(list, nullptr) == nullptr);
    QCOMPARE(qvxsessrun_set_command(list, nullptr, "x", 1), -1);
    QCOMPARE(QByteArray(qvxsessrun_error_text()), before);
    QCOMPARE(entriesOf(list), QByteArrayList({ "+A", "+B" }));
    QVERIFY(journal_of(list)->undo_head == nullptr && journal_of(list)->redo_head == nullptr);
    qvxsessrun_free(list);
}

// What a line shows at its ends, white space around it aside.
void TestStore::lineForm_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("form");

    const int hash = LINE_FORM_HASH_FIRST, amp = LINE_FORM_AMP_LAST;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("white space only") << QByteArray(" \t\r\n") << 0;
    QTest::newRow("plain command") << QByteArray("xterm") << 0;
    QTest::newRow("comment, indented") << QByteArray(" \t# xterm") << hash;
    QTest::newRow("final amp before CR LF") << QByteArray("xterm &\r\n") << amp;
    QTest::newRow("amp inside") << QByteArray("a & b") << 0;
    QTest::newRow("hash inside") << QByteArray("echo a#b") << 0;
    QTest::newRow("both") << QByteArray("# xterm &") << (hash | amp);
    QTest::newRow("one character that is both ends") << QByteArray(" & ") << amp;
    QTest::newRow("amp before a blank and a vertical tab") << QByteArray("x &\v ") << amp;
    QTest::newRow("NUL is no white space") << QByteArray("x &\0", 4) << 0;
}

void TestStore::lineForm()
{
    QFETCH(QByteArray, line);
    QFETCH(int, form);

    QCOMPARE(qvxsessrun_line_form(line.constData(), size_t(line.size())), form);
}

QTEST_MAIN(TestStore)
#include "tst_store.moc"
