// SPDX-License-Identifier: BSD-2-Clause
#include "CommandCheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

// A command name that no system has.
#define MISSING "qvx-no-such-command"

struct Line
{
    const char *text;
    bool active;
    CommandCheck::Verdict verdict;
    const char *word; // for NotFound and NotExecutable
};

/*
 * Lines with harmless commands and what the check must say of them.
 * "@DIR@" stands for the test's directory, "@LONG@" for a word of 40,000
 * characters, longer than a row that is checked through an argument; "ran"
 * is a file that a row creates if it runs.  A foreground row sleeps for
 * two seconds.
 */
static const Line lines[] = {
    { "true", true, CommandCheck::Ok, "" },
    { "", true, CommandCheck::Ok, "" },
    { "   true", true, CommandCheck::Ok, "" },
    { "echo hello >out.txt", true, CommandCheck::Ok, "" },
    { "(sleep 1; true)", true, CommandCheck::Ok, "" },
    { "FOO=1 true", true, CommandCheck::Ok, "" },
    { "FOO=1 BAR=a/b:c true --flag", true, CommandCheck::Ok, "" },
    { "true && echo and >and.txt", true, CommandCheck::Ok, "" },
    { "sh -c \"sleep 1; true\"", true, CommandCheck::Ok, "" },
    { "echo 'single' \"double\" `true` >quotes.txt", true, CommandCheck::Ok, "" },
    { "echo \"it's\" 'say \"hi\" & go' >quotes.txt", true, CommandCheck::Ok, "" },
    { "echo '<<' >lt.txt", true, CommandCheck::Ok, "" },
    { "echo a#b >hash.txt", true, CommandCheck::Ok, "" },
    { "echo \"$HOME\" >home.txt", true, CommandCheck::Ok, "" },
    { "/bin/sh -c true", true, CommandCheck::Ok, "" },
    { "if true; then true; fi", true, CommandCheck::Ok, "" },
    { "for i in 1 2; do true; done", true, CommandCheck::Ok, "" },
    { "case x in x) true;; esac", true, CommandCheck::Ok, "" },
    { "{ true; }", true, CommandCheck::Ok, "" },
    { "true | cat", true, CommandCheck::Ok, "" },
    { "cd /", true, CommandCheck::Ok, "" },
    { "x=$(true)", true, CommandCheck::Ok, "" },
    { "f() { true; }", true, CommandCheck::Ok, "" },
    { "echo \"@LONG@\" >long.txt", true, CommandCheck::Ok, "" },
    // Inactive rows never run, whatever they hold.
    { "true;", false, CommandCheck::Ok, "" },
    { "sleep 3 # mine", false, CommandCheck::Ok, "" },
    { "echo \"unterminated", false, CommandCheck::Ok, "" },
    { MISSING, false, CommandCheck::Ok, "" },

    { "true;", true, CommandCheck::NotShell, "" },
    { "true \"quoted; {\";", true, CommandCheck::NotShell, "" },
    { "true |", true, CommandCheck::NotShell, "" },
    { "true &&", true, CommandCheck::NotShell, "" },
    { "then", true, CommandCheck::NotShell, "" },
    { "fi", true, CommandCheck::NotShell, "" },
    { ")", true, CommandCheck::NotShell, "" },
    { "echo \"unterminated", true, CommandCheck::NotShell, "" },
    { "echo 'unterminated", true, CommandCheck::NotShell, "" },
    { "echo $(true", true, CommandCheck::NotShell, "" },
    { "if true; then touch ran", true, CommandCheck::NotShell, "" },
    // Written as "   &", which the shell refuses.
    { "   ", true, CommandCheck::NotShell, "" },
    // Closes the brace group it is checked in.
    { "true; }; touch ran; { :", true, CommandCheck::NotShell, "" },
    // Takes the rest of the script as its input.
    { "cat <<EOF", true, CommandCheck::NotShell, "" },
    { "cat <<'EOF' >cat.txt", true, CommandCheck::NotShell, "" },
    { "echo \"@LONG@", true, CommandCheck::NotShell, "" },
    { "true; }; echo '@LONG@' >ran; { :", true, CommandCheck::NotShell, "" },
    { "cat <<EOF '@LONG@'", true, CommandCheck::NotShell, "" },

    { "sleep 3 # mine", true, CommandCheck::Foreground, "" },
    { "sleep 3 #", true, CommandCheck::Foreground, "" },
    { "sleep 3; # mine", true, CommandCheck::Foreground, "" },
    { "sh -c 'sleep 3' \\", true, CommandCheck::Foreground, "" },
    { "sleep 3 # '@LONG@'", true, CommandCheck::Foreground, "" },
    { "sh -c 'sleep 3' '@LONG@' \\", true, CommandCheck::Foreground, "" },

    { "# touch ran", true, CommandCheck::Comment, "" },
    { "  # touch ran", true, CommandCheck::Comment, "" },
    { "#[INACTIVE]#touch ran", true, CommandCheck::ComesBackInactive, "" },

    { MISSING, true, CommandCheck::NotFound, MISSING },
    { "FOO=1 " MISSING " --flag", true, CommandCheck::NotFound, MISSING },
    { "  " MISSING " && true", true, CommandCheck::NotFound, MISSING },
    // Checked in a shell of its own, which must not take it for options.
    { "-" MISSING " \"$(true)\"", true, CommandCheck::NotFound, "-" MISSING },
    { "@DIR@/plain.txt", true, CommandCheck::NotExecutable, "@DIR@/plain.txt" },
    { "@DIR@/plain.txt -x", true, CommandCheck::NotExecutable, "@DIR@/plain.txt" },
    { "@DIR@", true, CommandCheck::NotExecutable, "@DIR@" },
    { "@DIR@/nothing-here", true, CommandCheck::NotFound, "@DIR@/nothing-here" },
};

struct Result
{
    int verdict = -1;
    QString word;
    int count = 0;
};

// What sh did with a script.
struct Run
{
    bool finished = false;
    qint64 elapsedMs = 0;
    bool marker = false;
    bool ran = false;
};

/* Takes the results of the timed check with less work than a spy. */
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

    void verdict_data();
    void verdict();
    void allLinesAtOnce();
    void rowsDoNotPairUp_data();
    void rowsDoNotPairUp();
    void nothingIsExecuted();
    void newestCheckWins();
    void cleanScriptWithinOneSecond();

private:
    QByteArray resolve(const char *text) const;
    static QHash<quint64, Result> collect(const QSignalSpy &spy);
    static bool shellAccepts(const QByteArray &script);
    Run runScript(const QByteArray &text, bool active, const QByteArray &tail);

    QTemporaryDir dir;
    int caseNumber = 0;
};

void TestCommandCheck::initTestCase()
{
    QVERIFY(dir.isValid());
    QFile plain(dir.filePath("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QVERIFY(plain.write("true\n") == 5);
    plain.close();
    QVERIFY(plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
}

QByteArray TestCommandCheck::resolve(const char *text) const
{
    return QByteArray(text)
        .replace("@DIR@", QFile::encodeName(dir.path()))
        .replace("@LONG@", QByteArray(40000, 'x'));
}

QHash<quint64, Result> TestCommandCheck::collect(const QSignalSpy &spy)
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

bool TestCommandCheck::shellAccepts(const QByteArray &script)
{
    QProcess sh;
    sh.start("/bin/sh", { "-n" });
    sh.write(script);
    sh.closeWriteChannel();
    return sh.waitForFinished(5000) && sh.exitStatus() == QProcess::NormalExit
        && sh.exitCode() == 0;
}

/*
 * Runs the script that a save writes for the row, followed by tail, in a
 * directory of its own, and waits for sh to end.
 */
Run TestCommandCheck::runScript(const QByteArray &text, bool active, const QByteArray &tail)
{
    const QString where = dir.filePath(QString("run%1").arg(++caseNumber));
    Run run;

    if (!QDir().mkpath(where))
        return run;
    QByteArray script = "#!/bin/sh\n";
    if (!text.isEmpty())
        script += (active ? "" : "#[INACTIVE]#") + text + "&\n";
    script += tail;
    QFile file(where + "/autostart.sh");
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        return run;
    file.close();

    QProcess sh;
    sh.setWorkingDirectory(where);
    sh.setStandardInputFile(QProcess::nullDevice());
    sh.setStandardOutputFile(QProcess::nullDevice());
    sh.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    sh.start("/bin/sh", { "autostart.sh" });
    run.finished = sh.waitForFinished(10000);
    run.elapsedMs = timer.elapsed();
    if (!run.finished) {
        sh.kill();
        sh.waitForFinished();
    }
    run.marker = QFile::exists(where + "/marker");
    run.ran = QFile::exists(where + "/ran");
    return run;
}

void TestCommandCheck::verdict_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < sizeof(lines) / sizeof(lines[0]); i++)
        QTest::newRow(QByteArray(lines[i].text).append(lines[i].active ? "" : " (inactive)"))
            << int(i);
}

/*
 * The check's verdict, and what /bin/sh does with the saved line: a row
 * that is fine, or that only names a missing command, lets the next line
 * run at once; a row that is no shell stops the script there; a row whose
 * "&" is swallowed holds the next line up.
 */
void TestCommandCheck::verdict()
{
    QFETCH(int, index);
    const Line &line = lines[index];
    const QByteArray text = resolve(line.text);

    CommandCheck check(nullptr);
    QSignalSpy spy(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QVERIFY(spy.isValid() && done.isValid());
    check.check(7, text, line.active);
    QVERIFY(spy.isEmpty()); // results arrive from the event loop
    QVERIFY(done.wait(10000));
    const QHash<quint64, Result> results = collect(spy);
    QCOMPARE(results.size(), 1);
    QCOMPARE(results.value(7).count, 1);
    QCOMPARE(CommandCheck::Verdict(results.value(7).verdict), line.verdict);
    QCOMPARE(results.value(7).word, QString::fromLocal8Bit(resolve(line.word)));

    const Run run = runScript(text, line.active, "touch marker\n");
    QVERIFY(run.finished);
    switch (line.verdict) {
    case CommandCheck::NotShell:
        QVERIFY2(!run.marker, "sh went on behind the line");
        break;
    case CommandCheck::Foreground:
        QVERIFY(run.marker);
        QVERIFY2(run.elapsedMs >= 2900, qPrintable(QString::number(run.elapsedMs)));
        break;
    default:
        QVERIFY(run.marker);
        QVERIFY2(run.elapsedMs < 2500, qPrintable(QString::number(run.elapsedMs)));
        break;
    }
    if (line.verdict == CommandCheck::Comment || line.verdict == CommandCheck::ComesBackInactive
        || !line.active)
        QVERIFY(!run.ran);

    // The shell's own word on the command name: 127 for a command that is
    // not found, 126 for one that cannot be executed.
    if (line.active && !text.isEmpty()
        && (line.verdict == CommandCheck::Ok || line.verdict == CommandCheck::NotFound
            || line.verdict == CommandCheck::NotExecutable)) {
        const Run status = runScript(text, true, "wait $!\necho $? >marker\n");
        QVERIFY(status.finished && status.marker);
        QFile file(dir.filePath(QString("run%1/marker").arg(caseNumber)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const int code = file.readAll().trimmed().toInt();
        if (line.verdict == CommandCheck::NotFound)
            QCOMPARE(code, 127);
        else if (line.verdict == CommandCheck::NotExecutable)
            QCOMPARE(code, 126);
        else
            QVERIFY2(code != 126 && code != 127, qPrintable(QString::number(code)));
    }
}

/*
 * The whole table several times over, in one batch: the rows that share a
 * shell are told apart again, and no row's verdict depends on its
 * neighbours.
 */
void TestCommandCheck::allLinesAtOnce()
{
    const int count = sizeof(lines) / sizeof(lines[0]);
    CommandCheck check(nullptr);
    QSignalSpy spy(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QVERIFY(spy.isValid() && done.isValid());

    // Each round in another order; a stride prime to the count visits every
    // line once.
    int stride = 7;
    while (std::gcd(stride, count) != 1)
        stride++;
    for (int round = 0; round < 3; round++)
        for (int i = 0; i < count; i++) {
            const int index = round == 1 ? count - 1 - i : (i * stride + round) % count;
            check.check(quint64(round * count + index), resolve(lines[index].text),
                        lines[index].active);
        }
    QVERIFY(done.wait(30000));
    const QHash<quint64, Result> results = collect(spy);
    QCOMPARE(results.size(), 3 * count);
    for (auto it = results.constBegin(); it != results.constEnd(); ++it) {
        const Line &line = lines[it.key() % count];
        QVERIFY2(it->count == 1 && CommandCheck::Verdict(it->verdict) == line.verdict
                     && it->word == QString::fromLocal8Bit(resolve(line.word)),
                 line.text);
    }
}

void TestCommandCheck::rowsDoNotPairUp_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("double quotes") << QByteArray("echo \"one") << QByteArray("echo two\"");
    QTest::newRow("single quotes") << QByteArray("echo 'one") << QByteArray("two'");
    QTest::newRow("if and fi") << QByteArray("if true; then { :") << QByteArray(":; }; fi");
    QTest::newRow("subshell") << QByteArray("( { :") << QByteArray(":; } ) >/dev/null");
    QTest::newRow("command substitution") << QByteArray("echo $({ :") << QByteArray(":; } )");
}

/*
 * Two rows that are each no shell, but together read as valid shell when
 * they stand in one script, are each marked.
 */
void TestCommandCheck::rowsDoNotPairUp()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);

    // The fixture is what it claims: each row alone fails, both pass together.
    QVERIFY(!shellAccepts("{ " + first + "&}\n"));
    QVERIFY(!shellAccepts("{ " + second + "&}\n"));
    QVERIFY(shellAccepts("{ " + first + "&}\n{ " + second + "&}\n"));

    CommandCheck check(nullptr);
    QSignalSpy spy(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QVERIFY(spy.isValid() && done.isValid());
    check.check(1, "true", true);
    check.check(2, first, true);
    check.check(3, second, true);
    check.check(4, "true", true);
    QVERIFY(done.wait(10000));
    const QHash<quint64, Result> results = collect(spy);
    QCOMPARE(results.size(), 4);
    QCOMPARE(CommandCheck::Verdict(results.value(1).verdict), CommandCheck::Ok);
    QCOMPARE(CommandCheck::Verdict(results.value(2).verdict), CommandCheck::NotShell);
    QCOMPARE(CommandCheck::Verdict(results.value(3).verdict), CommandCheck::NotShell);
    QCOMPARE(CommandCheck::Verdict(results.value(4).verdict), CommandCheck::Ok);
}

/* Rows are judged, never run: not their syntax, not their first word. */
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
    };
    CommandCheck check(nullptr);
    QSignalSpy spy(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QVERIFY(spy.isValid() && done.isValid());
    quint64 key = 0;
    for (const char *text : texts)
        check.check(key++, resolve(text), true);
    QVERIFY(done.wait(10000));
    const QHash<quint64, Result> results = collect(spy);
    QCOMPARE(results.size(), int(key));
    QCOMPARE(CommandCheck::Verdict(results.value(0).verdict), CommandCheck::NotShell);
    QCOMPARE(CommandCheck::Verdict(results.value(1).verdict), CommandCheck::Ok);
    const QStringList left = QDir(dir.path()).entryList({ "broke*" });
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

/* A row checked again before its first result gets only the newest one. */
void TestCommandCheck::newestCheckWins()
{
    CommandCheck check(nullptr);
    QSignalSpy spy(&check, SIGNAL(checked(quint64, int, QString)));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QVERIFY(spy.isValid() && done.isValid());

    // Before the batch starts.
    check.check(1, "true;", true);
    check.check(1, MISSING, true);
    // While its shells run.
    check.check(2, "sleep 2 # mine", true);
    check.check(3, "echo \"x", true);
    check.check(4, "true", true);
    QCoreApplication::processEvents();
    QVERIFY(check.isBusy());
    check.check(2, "true", true);
    check.check(3, "#[INACTIVE]#x", true);

    QVERIFY(done.wait(10000));
    const QHash<quint64, Result> results = collect(spy);
    QCOMPARE(results.size(), 4);
    for (const Result &r : results)
        QCOMPARE(r.count, 1);
    QCOMPARE(CommandCheck::Verdict(results.value(1).verdict), CommandCheck::NotFound);
    QCOMPARE(results.value(1).word, QString(MISSING));
    QCOMPARE(CommandCheck::Verdict(results.value(2).verdict), CommandCheck::Ok);
    QCOMPARE(CommandCheck::Verdict(results.value(3).verdict), CommandCheck::ComesBackInactive);
    QCOMPARE(CommandCheck::Verdict(results.value(4).verdict), CommandCheck::Ok);
    QVERIFY(!check.isBusy());

    // A result that is out is out: the key can be checked again.
    check.check(1, "true", true);
    QVERIFY(done.wait(10000));
    QCOMPARE(spy.size(), 5);
    QCOMPARE(spy.last().at(0).toULongLong(), quint64(1));
    QCOMPARE(CommandCheck::Verdict(spy.last().at(1).toInt()), CommandCheck::Ok);
}

/*
 * A clean script of 10,000 rows, one in a hundred with quotes and one in
 * five hundred with parentheses, which needs a shell of its own, from the
 * first check() to the last result.
 */
void TestCommandCheck::cleanScriptWithinOneSecond()
{
    const char *const names[] = { "true", "sleep", "cat", "env", "echo", "/bin/sh" };
    const int count = 10000;
    QVector<QByteArray> texts;
    for (int i = 0; i < count; i++) {
        if (i % 500 == 0)
            texts.append(QByteArray("(exec true ") + QByteArray::number(i) + ")");
        else if (i % 100 == 0)
            texts.append(QByteArray("sh -c \"exec true ") + QByteArray::number(i) + "\"");
        else
            texts.append(QByteArray(names[i % 6]) + " -geometry 100x100+" + QByteArray::number(i)
                         + "+0");
    }

    CommandCheck check(nullptr);
    Collector collector;
    QVERIFY(connect(&check, SIGNAL(checked(quint64, int, QString)), &collector,
                    SLOT(catchChecked(quint64, int, QString))));
    QSignalSpy done(&check, SIGNAL(allChecked()));
    QVERIFY(done.isValid());
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; i++)
        check.check(quint64(i), texts.at(i), true);
    QVERIFY(done.wait(20000));
    const qint64 elapsed = timer.elapsed();
    qInfo("10000 rows checked in %lld ms", elapsed);

    QCOMPARE(collector.results.size(), count);
    for (const Result &r : qAsConst(collector.results))
        QVERIFY(r.count == 1 && r.verdict == CommandCheck::Ok);
#ifndef QVX_SANITIZE_BUILD
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
#endif
}

QTEST_MAIN(TestCommandCheck)
#include "tst_commandcheck.moc"
