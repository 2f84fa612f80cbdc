// SPDX-License-Identifier: BSD-2-Clause
#include "check/CheckText.h"
#include "check/CommandCheck.h"
#include "check/checkshell.h"
#include "check/checkwords.h"
#include "store/store.h"
#include "sys/systemshell.h"
#include "testscript.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

// A command name that no system has.
#define MISSING "qvx-no-such-command"

/*
 * A stand-in for a shell that reports syntax errors in another form, as
 * QVX_FORM says: "dash" as dash does for a script on its standard input
 * ("sh: N: ..."), "bash" ("FILE: line N: ..."), "freebsd" ("FILE: N: ...",
 * a quote never closed named at the line where it begins, a command
 * substitution never closed in two messages: the end, then its "$(") or
 * "none", without a line.  The verdict itself comes from /bin/sh.
 */
static const char standInShell[] = R"SH(#!/bin/sh
[ "$1" = -n ] || exec /bin/sh "$@"
file=$2
out=$(/bin/sh -n "$file" 2>&1) && exit 0
rest=${out#"$file: "}
line=${rest%%:*}
msg=${rest#*: }
# The first line from which every longer start of the script fails with
# the message $1: where what is never closed begins.
opener() {
	n=$(wc -l <"$file")
	at=$((n + 1))
	while [ "$n" -ge 1 ] && head -n "$n" "$file" | /bin/sh -n 2>&1 | grep -qF "$1"; do
		at=$n
		n=$((n - 1))
	done
	echo "$at"
}
case $QVX_FORM in
dash) echo "sh: $line: $msg" ;;
bash) echo "$file: line $line: $msg" ;;
none) echo "sh: $msg" ;;
freebsd)
	case $msg in
	*'Unterminated quoted string'*) echo "$file: $(opener 'Unterminated quoted string'): $msg" ;;
	*'expecting ")"'*)
		echo "$file: $line: $msg"
		echo "$file: $(opener 'expecting ")"'): Syntax error: Error in command substitution" ;;
	*) echo "$file: $line: $msg" ;;
	esac ;;
esac >&2
exit 2
)SH";

/*
 * Scripts whose marks must not depend on the form in which the shell
 * reports its errors: "marks" for a shell that names the line, "unlined"
 * for one that names none, which cannot tell a line that breaks the
 * script from one that opens what is never closed.
 */
struct Form
{
    const char *name;
    const char *script;
    const char *marks;
    const char *unlined;
};

static const Form forms[] = {
    { "stray fi", "echo 1\nfi\necho 2\n", "1:NotShell", "1:Unclosed" },
    { "two broken rows", "echo 1\nthen\necho 2\nfi &\necho 3\n", "1:NotShell 3:NotShell",
      "1:Unclosed 3:Unclosed" },
    { "unclosed if", "echo 1\nif true; then\necho 2\n", "1:Unclosed", "1:Unclosed" },
    { "unclosed quote", "echo 1\necho \"x\necho 2\n", "1:Unclosed", "1:Unclosed" },
    { "quote after a stray fi", "fi\necho 1\necho 'x\necho 2\n", "0:NotShell 2:Unclosed",
      "0:Unclosed 2:Unclosed" },
    { "command substitution", "echo 1\necho $(true\necho 2\n", "1:Unclosed", "1:Unclosed" },
    { "joins nothing", "echo 1\ntrue &&\n", "1:Unclosed", "1:Unclosed" },
    { "clean", "if true; then\n  echo 1\nfi\necho 2\n", "", "" },
};

using V = CommandCheck::Verdict;

struct Line
{
    const char *text;
    bool active;
    V verdict;
    const char *word; // the word the verdict names, if any
};

/*
 * Rows as a person types them, each followed by a row "touch marker" in
 * the foreground, and
 * what the check must say of them.  "@DIR@" stands for the test's
 * directory, "@HOME@" for the home directory, "@LONG@" for a word of
 * 40,000 characters; "ran" is a file that a row creates if it runs.  A
 * foreground row sleeps for three seconds.
 */
static const Line typed[] = {
    { "true", true, V::Ok, "" },
    { "", true, V::Ok, "" },
    // A row of blanks is not written at all.
    { "   ", true, V::Ok, "" },
    { "   true", true, V::Ok, "" },
    { "echo hello >out.txt", true, V::Ok, "" },
    { "(sleep 1; true)", true, V::Ok, "" },
    { "FOO=1 true", true, V::Ok, "" },
    { "FOO=1 BAR=a/b:c true --flag", true, V::Ok, "" },
    { "true && echo and >and.txt", true, V::Ok, "" },
    { "sh -c \"sleep 1; true\"", true, V::Ok, "" },
    { "echo 'single' \"double\" `true` >quotes.txt", true, V::Ok, "" },
    { "echo \"it's\" 'say \"hi\" & go' >quotes.txt", true, V::Ok, "" },
    { "echo '<<' >lt.txt", true, V::Ok, "" },
    { "echo a#b >hash.txt", true, V::Ok, "" },
    { "echo \"$HOME\" >home.txt", true, V::Ok, "" },
    { "/bin/sh -c true", true, V::Ok, "" },
    { "if true; then true; fi", true, V::Ok, "" },
    { "for i in 1 2; do true; done", true, V::Ok, "" },
    { "case x in x) true;; esac", true, V::Ok, "" },
    { "{ true; }", true, V::Ok, "" },
    { "true | cat", true, V::Ok, "" },
    { "f() { true; }", true, V::Ok, "" },
    { "echo \"@LONG@\" >long.txt", true, V::Ok, "" },
    { "nohup true >/dev/null 2>&1", true, V::Ok, "" },
    { "env FOO=1 true", true, V::Ok, "" },
    { "nice -n 5 true", true, V::Ok, "" },
    { "2>/dev/null true", true, V::Ok, "" },
    { "cd / && true", true, V::Ok, "" },
    // Already in the background: the "&" behind the comment changes nothing.
    { "sleep 1 & # start a clock", true, V::Ok, "" },
    // The "&" goes in front of a comment, and in place of a final ";".
    { "sleep 3 # mine", true, V::Ok, "" },
    { "sleep 3 #", true, V::Ok, "" },
    { "sleep 3; # mine", true, V::Ok, "" },
    { "sleep 3 # '@LONG@'", true, V::Ok, "" },
    { "true;", true, V::Ok, "" },
    { "true \"quoted; {\";", true, V::Ok, "" },
    // The marker switches the row off: it never runs.
    { "#[INACTIVE]#touch ran", true, V::Ok, "" },
    // Switched-off rows never run, whatever they hold.
    { "true;", false, V::Ok, "" },
    { "sleep 3 # mine", false, V::Ok, "" },
    { "echo \"unterminated", false, V::Ok, "" },
    { MISSING, false, V::Ok, "" },

    { "then", true, V::NotShell, "" },
    { "fi", true, V::NotShell, "" },
    { ")", true, V::NotShell, "" },
    // Closes a brace group, were it checked in one.
    { "true; }; touch ran; { :", true, V::NotShell, "" },
    { "true; }; echo '@LONG@' >ran; { :", true, V::NotShell, "" },
    { "if true; then touch ran", true, V::Unclosed, "" },
    { "while true; do touch ran", true, V::Unclosed, "" },
    { "echo \"unterminated", true, V::OpenQuote, "" },
    { "echo 'unterminated", true, V::OpenQuote, "" },
    { "echo $(true", true, V::OpenQuote, "" },
    { "echo \"@LONG@", true, V::OpenQuote, "" },
    // Takes the rest of the script as its input.
    { "cat <<EOF", true, V::HereDocument, "" },
    { "cat <<'EOF' >cat.txt", true, V::HereDocument, "" },
    { "cat <<EOF '@LONG@'", true, V::HereDocument, "" },

    // Not whole commands: written as typed, they take the next line in.
    { "true |", true, V::ReadsOn, "" },
    { "true &&", true, V::ReadsOn, "" },
    { "sh -c 'sleep 3' \\", true, V::ReadsOn, "" },

    { "# touch ran", true, V::Comment, "" },
    { "  # touch ran", true, V::Comment, "" },

    { "cd /", true, V::StateInBackground, "cd" },
    { "export FOO=1", true, V::StateInBackground, "export" },
    { "FOO=1", true, V::StateInBackground, "" },
    { "x=$(true)", true, V::StateInBackground, "" },
    { "umask 077", true, V::StateInBackground, "umask" },
    { "set -e", true, V::StateInBackground, "set" },
    { ". /dev/null", true, V::StateInBackground, "." },
    { "eval FOO=1", true, V::StateInBackground, "eval" },
    { "unset FOO", true, V::StateInBackground, "unset" },
    { "exec true", true, V::ExecInBackground, "" },

    { MISSING, true, V::NotFound, MISSING },
    { "FOO=1 " MISSING " --flag", true, V::NotFound, MISSING },
    { "FOO=\"a b\" BAR='c' " MISSING, true, V::NotFound, MISSING },
    { "  " MISSING " && true", true, V::NotFound, MISSING },
    { ">out.txt " MISSING, true, V::NotFound, MISSING },
    { "\"" MISSING "\" x", true, V::NotFound, MISSING },
    // Looked up as an argument of a shell, which must not take it for an option.
    { "-" MISSING " \"$(true)\"", true, V::NotFound, "-" MISSING },
    { "nohup " MISSING, true, V::NotFound, MISSING },
    { "env -u HOME FOO=1 " MISSING " x", true, V::NotFound, MISSING },
    { "nice -n 5 " MISSING, true, V::NotFound, MISSING },
    { "command " MISSING, true, V::NotFound, MISSING },
    { "~/" MISSING, true, V::NotFound, "@HOME@/" MISSING },
    { "\"$HOME/" MISSING "\" --x", true, V::NotFound, "@HOME@/" MISSING },
    { "${HOME}/" MISSING, true, V::NotFound, "@HOME@/" MISSING },
    { "@DIR@/plain.txt", true, V::NotExecutable, "@DIR@/plain.txt" },
    { "@DIR@/plain.txt -x", true, V::NotExecutable, "@DIR@/plain.txt" },
    { "nohup @DIR@/plain.txt", true, V::NotExecutable, "@DIR@/plain.txt" },
    { "@DIR@", true, V::NotExecutable, "@DIR@" },
    { "@DIR@/nothing-here", true, V::NotFound, "@DIR@/nothing-here" },
    { "[[ -f /etc/passwd ]]", true, V::NotPosix, "[[" },
};

/*
 * Scripts written by hand and read from the file, with the verdict on
 * each row that is marked, as "row:verdict" (rows counted from 0), and
 * what running the saved script leaves in the file "trace".
 */
struct Context
{
    const char *name;
    const char *script;
    const char *marks;
    const char *trace;
};

static const Context contexts[] = {
    { "if over several rows", "#!/bin/sh\nif true; then\n  echo 1 >>trace\nfi\necho 2 >>trace\n",
      "", "1\n2\n" },
    { "loop and case",
      "for i in 1 2; do\n  echo $i >>trace\ndone\ncase x in\n  x) echo x >>trace ;;\nesac\n", "",
      "1\n2\nx\n" },
    { "function", "f() {\n  echo f >>trace\n}\nf\n", "", "f\n" },
    { "here-document", "cat <<EOF >>trace\nhello\nEOF\necho 1 >>trace\n", "", "hello\n1\n" },
    { "unclosed if", "echo 1 >>trace\nif true; then\necho 2 >>trace\n", "1:Unclosed", "1\n" },
    { "stray fi", "echo 1 >>trace\nfi\necho 2 >>trace\n", "1:NotShell", "1\n" },
    { "two broken rows", "echo 1 >>trace\nthen\necho 2 >>trace\nfi &\necho 3 >>trace\n",
      "1:NotShell 3:NotShell", "1\n" },
    { "blank line kept with its &", "echo 1 >>trace\n   &\necho 2 >>trace\n", "1:NotShell", "1\n" },
    { "exec at the end", "echo 1 >>trace\nexec true\necho 2 >>trace\n", "2:NeverRuns", "1\n" },
    { "exit", "echo 1 >>trace\nexit 0\necho 2 >>trace\n", "2:NeverRuns", "1\n" },
    { "exec inside if", "if false; then\nexec true\nfi\necho 2 >>trace\n", "", "2\n" },
    { "exec with redirections only", "exec 2>/dev/null\necho 2 >>trace\n", "", "2\n" },
    { "cd in the background", "cd / &\npwd >>trace\n", "0:StateInBackground", "@RUN@\n" },
    { "export in the background", "export QVXV=1 &\necho \"x$QVXV\" >>trace\n",
      "0:StateInBackground", "x\n" },
    { "background with a comment", "sleep 0 & # start a clock\necho 1 >>trace\n", "", "1\n" },
    { "joins the next line", "true &&\necho 1 >>trace\n", "", "1\n" },
    { "joins nothing", "echo 1 >>trace\ntrue &&\n", "1:Unclosed", "1\n" },
    { "indented comment", "  # a note\necho 1 >>trace\n", "", "1\n" },
    { "an & inside a comment", "sleep 3 # a clock &\necho 1 >>trace\n", "0:Foreground", "1\n" },
    { "an & behind a backslash", "sleep 3 \\&\necho 1 >>trace\n", "0:Foreground", "1\n" },
    { "an if in the background", "if true; then\n  sleep 3\nfi &\necho 1 >>trace\n", "", "1\n" },
    // Every command of a row is looked up, inside its compound commands too.
    { "a missing command inside an if", "if true; then\n  " MISSING " --x\nfi\necho 1 >>trace\n",
      "0:NotFound", "1\n" },
    { "a missing command behind &&", "true &&\n  " MISSING "\necho 1 >>trace\n", "0:NotFound",
      "1\n" },
    { "not POSIX", "#!/bin/sh\n[[ -f /etc/passwd ]] && echo 1 >>trace\necho 2 >>trace\n",
      "0:NotPosix", "2\n" },
    { "function keyword", "#!/bin/sh\necho 1 >>trace\nfunction f { true; }\necho 2 >>trace\n",
      "1:NotPosix", "1\n" },
    { "unclosed quote", "echo 1 >>trace\necho \"x >>trace\necho 2 >>trace\n", "1:Unclosed", "1\n" },
    // A program the row tests for itself is not marked, nor counted.
    { "an if that tests the path",
      "if [ -x /usr/bin/" MISSING " ]; then\n  " MISSING " -b\nfi\necho 1 >>trace\n", "", "1\n" },
    { "command -v", "command -v " MISSING " >/dev/null && " MISSING " -b &\necho 1 >>trace\n", "",
      "1\n" },
    { "which", "which " MISSING " >/dev/null && " MISSING " -b\necho 1 >>trace\n", "", "1\n" },
    { "test -x of command -v",
      "[ -x \"$(command -v " MISSING ")\" ] && " MISSING " -b &\necho 1 >>trace\n", "", "1\n" },
    { "test -x", "test -x /usr/bin/" MISSING " && " MISSING " -b\necho 1 >>trace\n", "", "1\n" },
    { "type", "type " MISSING " >/dev/null 2>&1 && " MISSING " -b\necho 1 >>trace\n", "", "1\n" },
    { "hash", "hash " MISSING " 2>/dev/null && " MISSING " -b\necho 1 >>trace\n", "", "1\n" },
    { "the tested path run", "[ -x /opt/" MISSING " ] && /opt/" MISSING "\necho 1 >>trace\n", "",
      "1\n" },
    { "an if around a loop",
      "if command -v " MISSING " >/dev/null; then\n  for i in 1; do " MISSING "; done\nfi\n"
      "echo 1 >>trace\n",
      "", "1\n" },
    // Only the name tested goes unmarked.
    { "another program tested", "command -v true >/dev/null && " MISSING "\necho 1 >>trace\n",
      "0:NotFound", "1\n" },
    { "another missing program behind the test",
      "command -v " MISSING " >/dev/null && " MISSING " && qvx-other-missing\necho 1 >>trace\n",
      "0:NotFound", "1\n" },
    { "a path of another name tested", "[ -x /usr/bin/qvx-other ] || " MISSING "\necho 1 >>trace\n",
      "0:NotFound", "1\n" },
    { "a test that is not for a program",
      "[ -f /usr/bin/" MISSING " ] && " MISSING "\necho 1 >>trace\n", "0:NotFound", "1\n" },
    { "tested in another row",
      "command -v " MISSING " >/dev/null\n" MISSING " -b\necho 1 >>trace\n", "1:NotFound", "1\n" },
    // A CR at the end of a line stays in the line's last word.
    { "a CR at the end of a line", ">>trace printf '[%s]\\n' off\r\necho 2 >>trace\n",
      "0:CarriageReturn", "[off\r]\n2\n" },
    { "a CR on a later line of a command", "if true\nthen >>trace printf '[%s]\\n' a\r\nfi\n",
      "0:CarriageReturn", "[a\r]\n" },
    // The file written is "trace\r".
    { "CR LF lines", "echo 1 >>trace\r\necho 2 >>trace\r\n", "0:CarriageReturn 1:CarriageReturn",
      "" },
    { "a CR after the final &", "sleep 0 &\r\necho 1 >>trace\n", "0:CarriageReturn", "1\n" },
    { "a CR in a comment", "echo 1 >>trace # a note\r\n", "", "1\n" },
    { "a CR inside a line", "printf 'a\rb' >>trace\n", "", "a\rb" },
    { "a CR behind a missing command", MISSING " --x\r\necho 1 >>trace\n", "0:NotFound", "1\n" },
};

struct Result
{
    int verdict = -1;
    QString word;
    int count = 0;
};

// What sh did with a saved script.
struct Run
{
    bool finished = false;
    qint64 elapsedMs = 0;
    bool marker = false;
    bool ran = false;
    QByteArray trace;
    QString where;
};

static QByteArray homeDirectory()
{
    const struct passwd *pw = getpwuid(getuid());
    return pw ? QByteArray(pw->pw_dir) : QByteArray();
}

static QHash<quint64, Result> collect(const QSignalSpy &spy)
{
    QHash<quint64, Result> results;

    for (const QList<QVariant> &args : spy) {
        Result &r = results[args.at(0).toULongLong()];
        r.verdict = args.at(1).toInt();
        r.word = args.at(2).toString();
        r.count++;
    }
    return results;
}

static quint64 keyOf(const command_entry *entry)
{
    return quint64(reinterpret_cast<quintptr>(entry));
}

static QVector<command_entry *> entriesOf(const command_list *list)
{
    QVector<command_entry *> entries;
    for (command_entry *e = list->entries; e; e = e->next)
        entries.append(e);
    return entries;
}

static QByteArray verdictName(int verdict)
{
    return QMetaEnum::fromType<CommandCheck::Verdict>().valueToKey(verdict);
}

/* Takes the results of a timed check with less work than a spy. */
class Collector : public QObject
{
    Q_OBJECT

public:
    QHash<quint64, Result> results;

public slots:
    void catchChecked(quint64 key, int verdict, const QString &word)
    {
        Result &r = results[key];
        r.verdict = verdict;
        r.word = word;
        r.count++;
    }
};

class TestCommandCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void verdict_data();
    void verdict();
    void inContext_data();
    void inContext();
    void commandWords_data();
    void commandWords();
    void errorLines_data();
    void errorLines();
    void errorForms_data();
    void errorForms();
    void nothingIsExecuted();
    void changesWhileChecking();
    void crashingShell();
    void shellTooSlow_data();
    void shellTooSlow();
    void repeatedRows();
    void shellMissing_data();
    void shellMissing();
    void namesAskedAgain();
    void cleanScriptWithinOneSecond();
    void oneEditRecheckedFast();
    void verdictTextNumbers_data();
    void verdictTextNumbers();

private:
    QByteArray resolve(const char *text) const;
    command_list *newList();
    command_list *readList(const QByteArray &script);
    QHash<quint64, Result> checkList(const command_list *list, int timeoutMs = 20000);
    Run runSaved(const command_list *list, const QByteArray &after = QByteArray());

    QStringList marksOf(const command_list *list, const QHash<quint64, Result> &results) const;

    QTemporaryDir dir;
    QByteArray shell; // the shell under test, QVX_CHECK_SHELL or /bin/sh
    QByteArray standIn;
    int caseNumber = 0;
    QList<command_list *> lists;
};

void TestCommandCheck::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(!qEnvironmentVariableIsEmpty("QVX_TEST_HOME"));
    QVERIFY(QDir().mkpath(script_dir()));
    QFile plain(dir.filePath("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QVERIFY(plain.write("true\n") == 5);
    plain.close();
    QVERIFY(plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));

    // Another shell than /bin/sh judges and runs the scripts on request,
    // so that the verdicts can be held against every shell at hand.
    shell = qEnvironmentVariableIsEmpty("QVX_CHECK_SHELL") ? QByteArray("/bin/sh")
                                                           : qgetenv("QVX_CHECK_SHELL");
    shell_program = shell.constData();
    standIn = QFile::encodeName(dir.filePath("stand-in-sh"));
    QFile file(QFile::decodeName(standIn));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(standInShell) == qint64(strlen(standInShell)));
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void TestCommandCheck::cleanup()
{
    for (command_list *list : qAsConst(lists))
        qvxsessrun_free(list);
    lists.clear();
    QFile::remove(script_path());
}

QByteArray TestCommandCheck::resolve(const char *text) const
{
    return QByteArray(text)
        .replace("@DIR@", QFile::encodeName(dir.path()))
        .replace("@HOME@", homeDirectory())
        .replace("@LONG@", QByteArray(40000, 'x'));
}

/* A list with no script behind it, as on the first start. */
command_list *TestCommandCheck::newList()
{
    QFile::remove(script_path());
    command_list *list = qvxsessrun_read();
    if (list)
        lists << list;
    return list;
}

command_list *TestCommandCheck::readList(const QByteArray &script)
{
    QFile file(script_path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(script) != script.size())
        return nullptr;
    file.close();
    command_list *list = qvxsessrun_read();
    if (list)
        lists << list;
    return list;
}

/* One check of the list, to its end. */
QHash<quint64, Result> TestCommandCheck::checkList(const command_list *list, int timeoutMs)
{
    CommandCheck check(nullptr);
    QSignalSpy spy(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    check.check(list);
    if (!spy.isEmpty() || !done.wait(timeoutMs))
        return QHash<quint64, Result>();
    return collect(spy);
}

/*
 * Runs the script that a save writes for the list, followed by after, in
 * a directory of its own, and waits for sh to end.
 */
Run TestCommandCheck::runSaved(const command_list *list, const QByteArray &after)
{
    Run run;
    run.where = dir.filePath(QString("run%1").arg(++caseNumber));
    if (!QDir().mkpath(run.where))
        return run;
    size_t len = 0;
    char *bytes = qvxsessrun_render(list, &len);
    if (!bytes)
        return run;
    const QByteArray script = QByteArray(bytes, int(len)) + after;
    free(bytes);
    QFile file(run.where + "/autostart.sh");
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        return run;
    file.close();

    QProcess sh;
    sh.setWorkingDirectory(run.where);
    sh.setStandardInputFile(QProcess::nullDevice());
    sh.setStandardOutputFile(QProcess::nullDevice());
    sh.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    sh.start(QFile::decodeName(shell), { "autostart.sh" });
    run.finished = sh.waitForFinished(10000);
    run.elapsedMs = timer.elapsed();
    if (!run.finished) {
        sh.kill();
        sh.waitForFinished();
    }
    run.marker = QFile::exists(run.where + "/marker");
    run.ran = QFile::exists(run.where + "/ran");
    QFile trace(run.where + "/trace");
    if (trace.open(QIODevice::ReadOnly))
        run.trace = trace.readAll();
    return run;
}

void TestCommandCheck::verdict_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < sizeof(typed) / sizeof(typed[0]); i++)
        QTest::newRow(QByteArray(typed[i].text).left(60).append(typed[i].active ? "" : " (off)"))
            << int(i);
}

/*
 * The check's verdict on a typed row, and what /bin/sh does with the saved
 * script: a row that is fine, or only names a missing command, lets the
 * next row run at once; a row that breaks the script or takes the lines
 * below stops the next row; a row whose "&" is swallowed holds it up.
 */
void TestCommandCheck::verdict()
{
    QFETCH(int, index);
    const Line &line = typed[index];
    const QByteArray text = resolve(line.text);

    command_list *list = newList();
    QVERIFY(list);
    command_entry *row = qvxsessrun_add_command(list, text.constData(), 1);
    QVERIFY(row);
    if (!line.active)
        QCOMPARE(qvxsessrun_set_command(list, row, text.constData(), 0), 0);
    // In the foreground, so that the marker is there when the script ends.
    command_entry *marker = qvxsessrun_add_command(list, "touch marker", 1);
    QVERIFY(marker);
    QCOMPARE(qvxsessrun_set_background(list, marker, 0), 0);

    const QHash<quint64, Result> results = checkList(list);
    QCOMPARE(results.size(), 2);
    const Result result = results.value(keyOf(row));
    QCOMPARE(result.count, 1);
    QCOMPARE(verdictName(result.verdict), verdictName(line.verdict));
    QCOMPARE(result.word, QString::fromLocal8Bit(resolve(line.word)));

    const Run run = runSaved(list);
    QVERIFY(run.finished);
    switch (line.verdict) {
    case V::NotShell:
    case V::Unclosed:
    case V::OpenQuote:
    case V::HereDocument:
        QVERIFY2(!run.marker, "sh went on behind the row");
        break;
    case V::ReadsOn:
        // What the next line becomes depends on how the row ends.
        break;
    default:
        QVERIFY(run.marker);
        QVERIFY2(run.elapsedMs < 2500, qPrintable(QString::number(run.elapsedMs)));
        break;
    }
    if (line.verdict == V::Comment || !line.active || text.startsWith("#[INACTIVE]#"))
        QVERIFY(!run.ran);

    // The shell's own word on the command name: 127 for a command that is
    // not found, 126 for one that cannot be executed.
    if (line.active
        && (line.verdict == V::NotFound || line.verdict == V::NotExecutable
            || line.verdict == V::NotPosix)) {
        QVERIFY(qvxsessrun_delete_command(list, list->entries->next));
        const Run status = runSaved(list, "wait $!\necho $? >marker\n");
        QVERIFY(status.finished && status.marker);
        QFile file(status.where + "/marker");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().trimmed().toInt(), line.verdict == V::NotExecutable ? 126 : 127);
    }
}

void TestCommandCheck::inContext_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < sizeof(contexts) / sizeof(contexts[0]); i++)
        QTest::newRow(contexts[i].name) << int(i);
}

/*
 * Hand-written scripts: the rows the check marks, and what running the
 * saved script shows: a row inside a valid construct is not marked, the
 * rows the shell stops at or never reaches are.
 */
void TestCommandCheck::inContext()
{
    QFETCH(int, index);
    const Context &c = contexts[index];

    command_list *list = readList(c.script);
    QVERIFY(list);
    const QVector<command_entry *> entries = entriesOf(list);
    const QHash<quint64, Result> results = checkList(list);
    QCOMPARE(results.size(), entries.size());
    QCOMPARE(marksOf(list, results).join(' '), QString(c.marks));

    const Run run = runSaved(list);
    QVERIFY(run.finished);
    QCOMPARE(QString(run.trace), QString(c.trace).replace("@RUN@", run.where));
}

void TestCommandCheck::commandWords_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("lookups");
    QTest::addColumn<QString>("flags");

    const QString home = QString::fromLocal8Bit(homeDirectory());
    QTest::newRow("plain") << QByteArray("xterm -e top") << "xterm"
                           << "simple";
    QTest::newRow("assignments") << QByteArray("A=1 B=\"x y\" C='z' run") << "run"
                                 << "simple";
    QTest::newRow("assignments only") << QByteArray("A=1 B=$(date)") << ""
                                      << "simple assignments";
    QTest::newRow("redirections") << QByteArray("2>&1 >log run <in") << "run"
                                  << "simple";
    QTest::newRow("wrappers") << QByteArray("nohup nice -n 10 env -i A=1 setsid run x")
                              << "nohup nice env setsid run"
                              << "simple";
    QTest::newRow("exec") << QByteArray("exec dbus-launch --exit-with-session wm") << "dbus-launch"
                          << "simple replaces";
    QTest::newRow("exec redirections") << QByteArray("exec >log 2>&1") << ""
                                       << "simple";
    QTest::newRow("command -v") << QByteArray("command -v run") << ""
                                << "simple";
    QTest::newRow("sudo") << QByteArray("sudo -u root run") << "sudo run"
                          << "simple";
    QTest::newRow("exit") << QByteArray("exit 0") << "exit"
                          << "simple ends";
    QTest::newRow("cd") << QByteArray("cd /tmp") << "cd"
                        << "simple state";
    QTest::newRow("tilde") << QByteArray("~/bin/run") << home + "/bin/run"
                           << "simple";
    QTest::newRow("quoted home") << QByteArray("\"$HOME/my bin/run\" -x") << home + "/my bin/run"
                                 << "simple";
    QTest::newRow("relative path") << QByteArray("bin/run") << ""
                                   << "simple";
    QTest::newRow("expansion") << QByteArray("$EDITOR file") << ""
                               << "simple";
    QTest::newRow("list") << QByteArray("run; other") << "run"
                          << "";
    QTest::newRow("pipeline") << QByteArray("cd /tmp | cat") << "cd"
                              << "";
}

/* The names the shell will look up for a row, read without running it. */
void TestCommandCheck::commandWords()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, lookups);
    QFETCH(QString, flags);

    command_words words;
    command_words_of(text, homeDirectory(), &words);
    QStringList got;
    for (const QByteArray &w : words.lookups)
        got << QString::fromLocal8Bit(w);
    QCOMPARE(got.join(' '), lookups);
    QStringList set;
    if (words.simple)
        set << "simple";
    if (words.assignments_only)
        set << "assignments";
    if (words.replaces_shell)
        set << "replaces";
    if (words.ends_shell)
        set << "ends";
    if (words.state_only)
        set << "state";
    QCOMPARE(set.join(' '), flags);
}

void TestCommandCheck::errorLines_data()
{
    QTest::addColumn<QByteArray>("messages");
    QTest::addColumn<QString>("lines");
    const QByteArray file = "/tmp/qvxsessrun-check-a1B2c3";
    QTest::newRow("dash, its standard input")
        << QByteArray("sh: 12: Syntax error: \"fi\" unexpected\n") << "12";
    QTest::newRow("dash") << file + ": 3: Syntax error: \"fi\" unexpected\n"
                          << "3";
    QTest::newRow("bash") << file + ": line 3: syntax error near unexpected token `fi'\n" + file
            + ": line 3: `fi'\n"
                          << "3 3";
    QTest::newRow("busybox") << file + ": line 2: syntax error: unexpected \"fi\""
                             << "2";
    QTest::newRow("FreeBSD") << file + ": 4: Syntax error: Unterminated quoted string\n"
                             << "4";
    QTest::newRow("FreeBSD, command substitution")
        << file + ": 5: Syntax error: end of file unexpected (expecting \")\")\n" + file
            + ": 2: Syntax error: Error in command substitution\n"
        << "5 2";
    QTest::newRow("Korn shells") << file + ":2: syntax error: `fi' unexpected\n" + file
            + "[7]: syntax error: `if' unmatched\n"
                                 << "2 7";
    QTest::newRow("no line") << QByteArray("sh: Syntax error: \"fi\" unexpected\n") << "";
    QTest::newRow("a number in the message") << file + ": Syntax error: \"12:\" unexpected\n"
                                             << "";
    QTest::newRow("the only line with a number") << QByteArray("sh: oops\nsh: 4: x") << "4";
}

/* The lines a shell's messages name, in each shell's form. */
void TestCommandCheck::errorLines()
{
    QFETCH(QByteArray, messages);
    QFETCH(QString, lines);
    QStringList got;
    for (int line : shell_error_lines(messages, "/tmp/qvxsessrun-check-a1B2c3"))
        got << QString::number(line);
    QCOMPARE(got.join(' '), lines);

    // A name of the script that holds what looks like a line is no line.
    const QByteArray odd = "/tmp/x: 9:y/qvxsessrun-check-a1B2c3";
    QByteArray renamed = messages;
    renamed.replace("/tmp/qvxsessrun-check-a1B2c3", odd);
    got.clear();
    for (int line : shell_error_lines(renamed, odd))
        got << QString::number(line);
    QCOMPARE(got.join(' '), lines);
}

void TestCommandCheck::errorForms_data()
{
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<int>("index");
    for (const char *form : { "dash", "bash", "freebsd", "none" })
        for (size_t i = 0; i < sizeof(forms) / sizeof(forms[0]); i++)
            QTest::newRow(QByteArray(form).append(": ").append(forms[i].name).constData())
                << QByteArray(form) << int(i);
}

/*
 * The marks with stand-in shells that say the same verdicts as /bin/sh in
 * another form: every form that names a line gives the marks of /bin/sh.
 */
void TestCommandCheck::errorForms()
{
    QFETCH(QByteArray, form);
    QFETCH(int, index);
    const Form &c = forms[index];

    command_list *list = readList(c.script);
    QVERIFY(list);
    qputenv("QVX_FORM", form);
    shell_program = standIn.constData();
    const QHash<quint64, Result> results = checkList(list);
    shell_program = shell.constData();
    qunsetenv("QVX_FORM");
    QCOMPARE(results.size(), entriesOf(list).size());
    QCOMPARE(marksOf(list, results).join(' '), QString(form == "none" ? c.unlined : c.marks));
}

QStringList TestCommandCheck::marksOf(const command_list *list,
                                      const QHash<quint64, Result> &results) const
{
    const QVector<command_entry *> entries = entriesOf(list);
    QStringList marks;
    for (int i = 0; i < entries.size(); i++) {
        const Result r = results.value(keyOf(entries.at(i)));
        if (r.verdict != V::Ok)
            marks << QString("%1:%2").arg(i).arg(QString(verdictName(r.verdict)));
    }
    return marks;
}

/* Rows are judged, never run: not their syntax, not their words. */
void TestCommandCheck::nothingIsExecuted()
{
    const char *const texts[] = {
        "true; }; touch @DIR@/broke1; { :",
        "true; touch @DIR@/broke2",
        "$(touch @DIR@/broke3)",
        "`touch @DIR@/broke4`",
        "\"$(touch @DIR@/broke5)\" x",
        "FOO=$(touch @DIR@/broke6) true",
        "touch${IFS}@DIR@/broke7",
        "nohup $(touch @DIR@/broke8)",
        "exec `touch @DIR@/broke9`",
    };
    command_list *list = newList();
    QVERIFY(list);
    for (const char *text : texts)
        QVERIFY(qvxsessrun_add_command(list, resolve(text).constData(), 1));
    const QHash<quint64, Result> results = checkList(list);
    QCOMPARE(results.size(), int(sizeof(texts) / sizeof(texts[0])));
    QCOMPARE(verdictName(results.value(keyOf(list->entries)).verdict), verdictName(V::NotShell));
    const QStringList left = QDir(dir.path()).entryList({ "broke*" });
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

/*
 * Edits while the shells run: each row ends with the verdict on the
 * script as it is after the last edit, and a row is told again only when
 * that verdict changes.
 */
void TestCommandCheck::changesWhileChecking()
{
    command_list *list = newList();
    QVERIFY(list);
    command_entry *a = qvxsessrun_add_command(list, "true;", 1);
    command_entry *b = qvxsessrun_add_command(list, "sleep 2 # mine", 1);
    command_entry *c = qvxsessrun_add_command(list, "true", 1);
    QVERIFY(a && b && c);

    CommandCheck check(nullptr);
    QSignalSpy spy(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    check.check(list);
    QCoreApplication::processEvents();
    QVERIFY(check.isBusy());
    QCOMPARE(qvxsessrun_set_command(list, a, MISSING, 1), 0);
    QCOMPARE(qvxsessrun_set_command(list, b, "true", 1), 0);
    check.check(list);
    QVERIFY(done.wait(10000));
    while (check.isBusy())
        QVERIFY(done.wait(10000));
    QHash<quint64, Result> results = collect(spy);
    QCOMPARE(verdictName(results.value(keyOf(a)).verdict), verdictName(V::NotFound));
    QCOMPARE(results.value(keyOf(a)).word, QString(MISSING));
    QCOMPARE(verdictName(results.value(keyOf(b)).verdict), verdictName(V::Ok));
    QCOMPARE(verdictName(results.value(keyOf(c)).verdict), verdictName(V::Ok));

    // Nothing changed: nothing is told again.
    spy.clear();
    check.check(list);
    QVERIFY(done.wait(10000));
    QVERIFY(spy.isEmpty());

    // A change on one row that breaks another row's context tells both.
    QCOMPARE(qvxsessrun_set_command(list, c, "fi", 1), 0);
    check.check(list);
    QVERIFY(done.wait(10000));
    results = collect(spy);
    QCOMPARE(results.size(), 1);
    QCOMPARE(verdictName(results.value(keyOf(c)).verdict), verdictName(V::NotShell));
}

/* A row on which the shell itself crashes is not valid shell, and the
 * check goes on behind it; nothing reaches standard error. */
void TestCommandCheck::crashingShell()
{
    const QByteArray parens(1 << 20, '(');
    QProcess probe;
    probe.start(QFile::decodeName(shell), { "-n" });
    probe.write(parens + "\n");
    probe.closeWriteChannel();
    QVERIFY(probe.waitForFinished(10000));
    if (probe.exitStatus() != QProcess::CrashExit)
        QSKIP("this /bin/sh does not crash on deep nesting");

    command_list *list = newList();
    QVERIFY(list);
    command_entry *before = qvxsessrun_add_command(list, "true", 1);
    command_entry *deep = qvxsessrun_add_command(list, parens.constData(), 1);
    command_entry *broken = qvxsessrun_add_command(list, "then", 1);
    command_entry *missing = qvxsessrun_add_command(list, MISSING, 1);
    QVERIFY(before && deep && broken && missing);

    QTemporaryFile errors;
    QVERIFY(errors.open());
    const int saved = dup(STDERR_FILENO);
    QVERIFY(saved != -1 && dup2(errors.handle(), STDERR_FILENO) != -1);
    const QHash<quint64, Result> results = checkList(list);
    dup2(saved, STDERR_FILENO);
    close(saved);

    QCOMPARE(verdictName(results.value(keyOf(before)).verdict), verdictName(V::Ok));
    QCOMPARE(verdictName(results.value(keyOf(deep)).verdict), verdictName(V::NotShell));
    QCOMPARE(verdictName(results.value(keyOf(broken)).verdict), verdictName(V::NotShell));
    QCOMPARE(verdictName(results.value(keyOf(missing)).verdict), verdictName(V::NotFound));
    QCOMPARE(errors.readAll(), QByteArray());
}

void TestCommandCheck::shellTooSlow_data()
{
    QTest::addColumn<QByteArray>("hangs");
    QTest::addColumn<bool>("deaf"); // a kill does not end it at once
    QTest::addColumn<int>("first"); // the verdicts on "true", MISSING and "fi"
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("third");
    QTest::newRow("looking names up") << QByteArray("lookup") << false << int(V::Unchecked)
                                      << int(V::Unchecked) << int(V::NotShell);
    QTest::newRow("reading the script")
        << QByteArray("parse") << false << int(V::Unchecked) << int(V::NotFound) << int(V::Ok);
    QTest::newRow("reading the script, its output closed")
        << QByteArray("quiet") << false << int(V::Unchecked) << int(V::NotFound) << int(V::Ok);
    QTest::newRow("reading the script, not ended by the kill")
        << QByteArray("parse") << true << int(V::Unchecked) << int(V::NotFound) << int(V::Ok);
}

/*
 * A shell that takes longer than it may is killed, and the rows it was at
 * are marked as not checked; the others still get their verdicts.  No
 * wait is without end: not for a shell that closed its output and goes on,
 * nor for one that the kill does not end at once, which a later run
 * collects once it has ended.  The shell is a stand-in that hangs where it
 * is told to and is /bin/sh otherwise.
 */
void TestCommandCheck::shellTooSlow()
{
    QFETCH(QByteArray, hangs);
    QFETCH(bool, deaf);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, third);

    const QString standIn = dir.filePath("slow-sh");
    const QString pids = dir.filePath("slow-sh.pids");
    QFile::remove(pids);
    QFile file(standIn);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#!/bin/sh\n"
               "case $1:$QVX_HANGS in\n"
               "-n:parse | -c:lookup) echo $$ >>\"$QVX_PIDS\"; exec sleep 30 ;;\n"
               "-n:quiet) echo $$ >>\"$QVX_PIDS\"; exec sleep 30 >/dev/null 2>&1 ;;\n"
               "esac\n"
               "exec /bin/sh \"$@\"\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray program = QFile::encodeName(standIn);
    qputenv("QVX_HANGS", hangs);
    qputenv("QVX_PIDS", QFile::encodeName(pids));
    const int limit = shell_time_limit_ms, reapLimit = shell_reap_limit_ms;
    const char *const before = shell_program;
    shell_time_limit_ms = 300;
    shell_reap_limit_ms = 300;
    shell_program = program.constData();
    if (deaf)
        shell_kill_signal = 0;

    command_list *list = newList();
    QVERIFY(list);
    command_entry *a = qvxsessrun_add_command(list, "true", 1);
    command_entry *b = qvxsessrun_add_command(list, MISSING, 1);
    command_entry *c = qvxsessrun_add_command(list, "fi", 1);
    QVERIFY(a && b && c);
    QElapsedTimer timer;
    timer.start();
    const QHash<quint64, Result> results = checkList(list);
    const qint64 elapsed = timer.elapsed();
    shell_time_limit_ms = limit;
    shell_reap_limit_ms = reapLimit;
    shell_kill_signal = SIGKILL;
    shell_program = before;
    qunsetenv("QVX_HANGS");
    qunsetenv("QVX_PIDS");

    QCOMPARE(verdictName(results.value(keyOf(a)).verdict), verdictName(first));
    QCOMPARE(verdictName(results.value(keyOf(b)).verdict), verdictName(second));
    QCOMPARE(verdictName(results.value(keyOf(c)).verdict), verdictName(third));
    if (hangs == "lookup")
        QCOMPARE(results.value(keyOf(a)).word, QString("true"));
    // Killed at the limit, not left to hang for the stand-in's 30 seconds.
    QVERIFY2(elapsed < 5000, qPrintable(QString::number(elapsed)));

    // The shells that hung end now, and a later run collects them.
    QFile list_of_pids(pids);
    QVERIFY(list_of_pids.open(QIODevice::ReadOnly));
    const QList<QByteArray> hung = list_of_pids.readAll().split('\n');
    for (const QByteArray &pid : hung)
        if (pid.toInt() > 0)
            kill(pid.toInt(), SIGKILL);
    for (const QByteArray &pid : hung) {
        if (pid.toInt() <= 0)
            continue;
        QElapsedTimer since;
        since.start();
        while (kill(pid.toInt(), 0) == 0 && since.elapsed() < 5000) {
            shell_run run;
            shell_lookup({ "true" }, nullptr, &run);
        }
        QVERIFY2(kill(pid.toInt(), 0) == -1, pid.constData());
    }
}

/*
 * Rows of one text in many places, each followed by other rows before the
 * next break: what the shell found is kept by the text, and each place
 * gets its own verdict, in the first check and after an edit above them.
 */
void TestCommandCheck::repeatedRows()
{
    QByteArray script = "echo 1 >>trace\n";
    QStringList marks;
    int row = 1;
    for (int group = 2; group <= 24; group++) {
        for (int i = 0; i < group; i++, row++)
            script += "true\n";
        script += "fi\n";
        marks << QString("%1:NotShell").arg(row++);
    }
    command_list *list = readList(script);
    QVERIFY(list);
    QHash<quint64, Result> results = checkList(list);
    QCOMPARE(marksOf(list, results).join(' '), marks.join(' '));

    CommandCheck check(nullptr);
    QSignalSpy checked(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    check.check(list);
    QVERIFY(done.wait(20000));
    QCOMPARE(qvxsessrun_set_command(list, list->entries, "true", 1), 0);
    check.check(list);
    QVERIFY(done.wait(20000));
    results = collect(checked);
    QCOMPARE(marksOf(list, results).join(' '), marks.join(' '));
}

void TestCommandCheck::shellMissing_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << "no-such-sh" << ENOENT;
    QTest::newRow("not executable") << "plain.txt" << EACCES;
}

/*
 * Without a shell no row can be checked: that is said once, with the
 * reason, however often the rows change, and again only after a shell
 * ran in between.
 */
void TestCommandCheck::shellMissing()
{
    QFETCH(QString, program);
    QFETCH(int, error);
    const QByteArray path = QFile::encodeName(dir.filePath(program));

    command_list *list = newList();
    QVERIFY(list);
    command_entry *broken = qvxsessrun_add_command(list, "fi", 1);
    QVERIFY(broken && qvxsessrun_add_command(list, MISSING, 1));
    CommandCheck check(nullptr);
    QSignalSpy told(&check, SIGNAL(uncheckable(QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QVERIFY(told.isValid() && done.isValid());
    shell_program = path.constData();
    check.check(list);
    const bool first = done.wait(10000);
    QCOMPARE(qvxsessrun_set_command(list, broken, "then", 1), 0);
    check.check(list);
    const bool second = done.wait(10000);
    shell_program = shell.constData();
    QVERIFY(first && second);
    QCOMPARE(told.count(), 1);
    const QString message = told.at(0).at(0).toString();
    QVERIFY2(message.contains(QFile::decodeName(path)), qPrintable(message));
    QVERIFY2(message.contains(QString::fromLocal8Bit(strerror(error))), qPrintable(message));

    // A shell again, then none: said anew.
    QSignalSpy checked(&check, SIGNAL(checked(quint64, int, QString)));
    QCOMPARE(qvxsessrun_set_command(list, broken, "fi", 1), 0);
    check.check(list);
    QVERIFY(done.wait(10000));
    QCOMPARE(verdictName(collect(checked).value(keyOf(broken)).verdict), verdictName(V::NotShell));
    shell_program = path.constData();
    QCOMPARE(qvxsessrun_set_command(list, broken, "esac", 1), 0);
    check.check(list);
    const bool third = done.wait(10000);
    shell_program = shell.constData();
    QVERIFY(third);
    QCOMPARE(told.count(), 2);
}

/*
 * A name that no shell found is asked again: when its row changes, when
 * the program comes back to the front (a program may have been installed
 * meanwhile), and a while after the shell took too long over it.
 */
void TestCommandCheck::namesAskedAgain()
{
    const QString bin = dir.filePath("bin");
    QVERIFY(QDir().mkpath(bin));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ":" + path);
    const QString installed = bin + "/qvx-installed-later";
    const auto install = [&installed](bool present) {
        if (!present)
            return QFile::remove(installed);
        QFile program(installed);
        return program.open(QIODevice::WriteOnly) && program.write("#!/bin/sh\n") > 0
            && program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };

    command_list *list = newList();
    QVERIFY(list);
    command_entry *row = qvxsessrun_add_command(list, "qvx-installed-later", 1);
    QVERIFY(row && qvxsessrun_add_command(list, "true", 1));
    CommandCheck check(nullptr);
    QSignalSpy checked(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    const auto verdictNow
        = [&]() { return verdictName(collect(checked).value(keyOf(row), Result()).verdict); };
    check.check(list);
    QVERIFY(done.wait(10000));
    QCOMPARE(verdictNow(), verdictName(V::NotFound));

    // Installed, then the row typed anew.
    QVERIFY(install(true));
    QCOMPARE(qvxsessrun_set_command(list, row, "qvx-installed-later --now", 1), 0);
    check.check(list);
    QVERIFY(done.wait(10000));
    QCOMPARE(verdictNow(), verdictName(V::Ok));

    // Removed while another program was in front.
    QVERIFY(install(false));
    for (Qt::ApplicationState state :
         { Qt::ApplicationActive, Qt::ApplicationInactive, Qt::ApplicationActive })
        QVERIFY(QMetaObject::invokeMethod(qApp, "applicationStateChanged", Qt::DirectConnection,
                                          Q_ARG(Qt::ApplicationState, state)));
    QVERIFY(done.wait(10000));
    QCOMPARE(verdictNow(), verdictName(V::NotFound));

    // Installed while the shell hangs over the name once: not checked,
    // and found a while later without anything else happening.
    QVERIFY(install(true));
    const QString standIn = dir.filePath("once-slow-sh");
    QFile file(standIn);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#!/bin/sh\n"
               "if [ \"$1\" = -c ] && mkdir \"$QVX_ONCE\" 2>/dev/null; then exec sleep 30; fi\n"
               "exec /bin/sh \"$@\"\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray program = QFile::encodeName(standIn);
    qputenv("QVX_ONCE", QFile::encodeName(dir.filePath("once")));
    const int limit = shell_time_limit_ms, retry = CommandCheck::retryAfterMs;
    shell_time_limit_ms = 300;
    CommandCheck::retryAfterMs = 500;
    shell_program = program.constData();
    QCOMPARE(qvxsessrun_set_command(list, row, "qvx-installed-later --later", 1), 0);
    check.check(list);
    const bool first = done.wait(10000);
    const QByteArray unchecked = verdictNow();
    const bool second = first && done.wait(10000);
    shell_time_limit_ms = limit;
    CommandCheck::retryAfterMs = retry;
    shell_program = shell.constData();
    qunsetenv("QVX_ONCE");
    qputenv("PATH", path);
    QVERIFY(first);
    QCOMPARE(unchecked, verdictName(V::Unchecked));
    QVERIFY(second);
    QCOMPARE(verdictNow(), verdictName(V::Ok));
}

/*
 * A clean script of 10,000 rows, one in a hundred with quotes and one in
 * five hundred with parentheses, from the check to the last result.
 */
void TestCommandCheck::cleanScriptWithinOneSecond()
{
    const char *const names[] = { "true", "sleep", "cat", "env", "echo", "/bin/sh" };
    const int count = 10000;
    command_list *list = newList();
    QVERIFY(list);
    for (int i = 0; i < count; i++) {
        QByteArray text;
        if (i % 500 == 0)
            text = QByteArray("(exec true ") + QByteArray::number(i) + ")";
        else if (i % 100 == 0)
            text = QByteArray("sh -c \"exec true ") + QByteArray::number(i) + "\"";
        else
            text = QByteArray(names[i % 6]) + " -geometry 100x100+" + QByteArray::number(i) + "+0";
        QVERIFY(qvxsessrun_add_command(list, text.constData(), 1));
    }

    CommandCheck check(nullptr);
    Collector collector;
    QVERIFY(connect(&check, SIGNAL(checked(quint64, int, QString)), &collector,
                    SLOT(catchChecked(quint64, int, QString))));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QElapsedTimer timer;
    timer.start();
    check.check(list);
    QVERIFY(done.wait(20000));
    const qint64 elapsed = timer.elapsed();
    qInfo("10000 rows checked in %lld ms", elapsed);

    QCOMPARE(collector.results.size(), count);
    for (const Result &r : qAsConst(collector.results))
        QVERIFY(r.count == 1 && r.verdict == V::Ok);
#ifndef QVX_SANITIZE_BUILD
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
#endif
}

/*
 * At 10,000 rows, a quarter of them broken, one edit is checked again
 * quickly: only the edited row and what the whole-script parse says.
 */
void TestCommandCheck::oneEditRecheckedFast()
{
    const char *const broken[] = { "then", "fi", "true;", "echo \"x", MISSING };
    const int count = 10000;
    command_list *list = newList();
    QVERIFY(list);
    for (int i = 0; i < count; i++) {
        const QByteArray text
            = i % 4 == 0 ? QByteArray(broken[(i / 4) % 5]) : "true " + QByteArray::number(i);
        QVERIFY(qvxsessrun_add_command(list, text.constData(), 1));
    }
    CommandCheck check(nullptr);
    Collector collector;
    QVERIFY(connect(&check, SIGNAL(checked(quint64, int, QString)), &collector,
                    SLOT(catchChecked(quint64, int, QString))));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    check.check(list);
    QVERIFY(done.wait(60000));
    QCOMPARE(collector.results.size(), count);

    const QVector<command_entry *> entries = entriesOf(list);
    command_entry *edited = entries.at(count / 2);
    QCOMPARE(collector.results.value(keyOf(edited)).verdict, int(V::NotShell));
    collector.results.clear();
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(qvxsessrun_set_command(list, edited, "true", 1), 0);
    check.check(list);
    QVERIFY(done.wait(10000));
    const qint64 elapsed = timer.elapsed();
    qInfo("one edit at %d rows checked again in %lld ms", count, elapsed);
    QCOMPARE(collector.results.size(), 1);
    QCOMPARE(collector.results.value(keyOf(edited)).verdict, int(V::Ok));
#ifndef QVX_SANITIZE_BUILD
    QVERIFY2(elapsed < 200, qPrintable(QString::number(elapsed)));
#endif
}

// The texts give the shell and the time limit that the check had, with
// nothing left of their placeholders.
void TestCommandCheck::verdictTextNumbers_data()
{
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("limitMs");
    QTest::addColumn<QString>("says");

    const QString shellName = QStringLiteral(SYSTEM_SHELL);
    QTest::newRow("not POSIX") << int(CommandCheck::NotPosix) << "[[" << 5000
                               << "[[ is not found by " + shellName + ";";
    QTest::newRow("line unchecked")
        << int(CommandCheck::Unchecked) << "" << 5000 << "longer than 5 second";
    QTest::newRow("word unchecked")
        << int(CommandCheck::Unchecked) << "foo%2" << 5000
        << "foo%2 could not be checked: the shell took longer than 5 second";
    QTest::newRow("limit under a second")
        << int(CommandCheck::Unchecked) << "" << 300 << "longer than 1 second";
    QTest::newRow("limit in part seconds")
        << int(CommandCheck::Unchecked) << "" << 2500 << "longer than 3 second";
}

void TestCommandCheck::verdictTextNumbers()
{
    QFETCH(int, verdict);
    QFETCH(QString, word);
    QFETCH(int, limitMs);
    QFETCH(QString, says);

    command_entry entry = {};
    char text[] = "x";
    entry.text = text;
    entry.text_len = 1;
    entry.active = 1;
    const int limit = shell_time_limit_ms;
    shell_time_limit_ms = limitMs;
    const QString shown = CheckText::forVerdict(&entry, verdict, word);
    shell_time_limit_ms = limit;
    QVERIFY2(shown.contains(says), qPrintable(shown));
    QVERIFY2(!shown.contains("%1") && !shown.contains("%n") && shown.count('%') == word.count('%'),
             qPrintable(shown));
}

QTEST_MAIN(TestCommandCheck)
#include "tst_commandcheck.moc"
