// SPDX-License-Identifier: BSD-2-Clause
#include "store/store.h"

#include <QtTest>

/*
 * A row is one command as the shell reads it, checked with the shell
 * itself (sh -n, or bash -n where the first line names bash) on scripts of
 * every form that people write (tests/store/rows): the text up to every
 * row's end parses; switching any row off, moving it up or down, deleting
 * it or editing it leaves a script that parses and reads back as the rows
 * it should; switching it on again, and undoing, gives the very bytes back.
 */
class TestRows : public QObject
{
    Q_OBJECT

private slots:
    void laws_data();
    void laws();
};

/* The rows of a list as "+text" or "-text". */
static QByteArrayList rowsOf(const command_list *list)
{
    QByteArrayList rows;

    for (const command_entry *e = list->entries; e != nullptr; e = e->next)
        rows << (e->active ? "+" : "-") + QByteArray(e->text, int(e->text_len));
    return rows;
}

static QByteArray render(const command_list *list)
{
    size_t len = 0;
    char *bytes = qvxsessrun_render(list, &len);
    const QByteArray out = bytes != nullptr ? QByteArray(bytes, int(len)) : QByteArray();
    free(bytes);
    return out;
}

static QVector<command_entry *> entriesOf(const command_list *list)
{
    QVector<command_entry *> out;

    for (command_entry *e = list->entries; e != nullptr; e = e->next)
        out << e;
    return out;
}

/* What the shell says of a script: empty when it parses, else its error. */
static QString parseError(const QByteArray &shell, const QByteArray &script)
{
    QProcess sh;
    sh.start(QString::fromLatin1(shell), { "-n" });
    if (!sh.waitForStarted(10000))
        return "the shell did not start";
    sh.write(script);
    sh.closeWriteChannel();
    if (!sh.waitForFinished(10000))
        return "the shell did not end";
    if (sh.exitStatus() == QProcess::NormalExit && sh.exitCode() == 0)
        return QString();
    return QString::fromLocal8Bit(sh.readAllStandardError()).trimmed();
}

#define PARSES(shell, script, what)                                                                \
    do {                                                                                           \
        const QString error = parseError(shell, script);                                           \
        QVERIFY2(error.isEmpty(), qPrintable(QString(what) + ": " + error + "\n" + script));       \
    } while (0)

void TestRows::laws_data()
{
    QTest::addColumn<QString>("file");
    const QDir dir(qEnvironmentVariable("QVX_SOURCE_DIR") + "/tests/store/rows");
    const QStringList files = dir.entryList({ "*.sh" }, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << dir.filePath(f);
}

void TestRows::laws()
{
    QFETCH(QString, file);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray script = f.readAll();
    const QByteArray sh
        = script.startsWith("#!") && script.left(script.indexOf('\n')).contains("bash") ? "bash"
                                                                                        : "sh";
    if (sh == "bash" && QStandardPaths::findExecutable("bash").isEmpty())
        QSKIP("no bash here");
    PARSES(sh, script, "the script itself");

    command_list *list = qvxsessrun_parse(script.constData(), size_t(script.size()));
    QVERIFY(list != nullptr);
    QCOMPARE(render(list), script);
    const QByteArrayList rows = rowsOf(list);
    QVERIFY(rows.size() > 1);

    // The script up to the end of every row.
    QVector<size_t> starts(rows.size());
    size_t len = 0;
    char *bytes = qvxsessrun_render_rows(list, &len, starts.data());
    const QByteArray whole(bytes, int(len));
    free(bytes);
    for (int i = 1; i < rows.size(); i++)
        PARSES(sh, whole.left(int(starts.at(i))), QString("up to row %1").arg(i));

    for (int i = 0; i < rows.size(); i++) {
        command_entry *e = entriesOf(list).at(i);
        const QByteArray text(e->text, int(e->text_len));

        // Off, and on again.
        QCOMPARE(qvxsessrun_set_text(list, e, text.constData(), size_t(text.size()), !e->active,
                                     nullptr),
                 0);
        PARSES(sh, render(list), QString("row %1 switched").arg(i));
        QByteArrayList want = rows;
        want[i][0] = e->active ? '+' : '-';
        command_list *back
            = qvxsessrun_parse(render(list).constData(), size_t(render(list).size()));
        QCOMPARE(rowsOf(back), want);
        qvxsessrun_free(back);
        QCOMPARE(qvxsessrun_set_text(list, e, text.constData(), size_t(text.size()), !e->active,
                                     nullptr),
                 0);
        QCOMPARE(render(list), script);

        // Up and down.
        for (int step : { -1, 1 }) {
            const int j = i + step;
            if (j < 0 || j >= rows.size())
                continue;
            QCOMPARE(step < 0 ? qvxsessrun_move_up(list, e) : qvxsessrun_move_down(list, e), e);
            PARSES(sh, render(list), QString("row %1 moved by %2").arg(i).arg(step));
            want = rows;
            want.swapItemsAt(i, j);
            back = qvxsessrun_parse(render(list).constData(), size_t(render(list).size()));
            QCOMPARE(rowsOf(back), want);
            qvxsessrun_free(back);
            qvxsessrun_undo(list);
            QCOMPARE(render(list), script);
        }

        // Deleted.
        QCOMPARE(qvxsessrun_delete_command(list, e), e);
        PARSES(sh, render(list), QString("row %1 deleted").arg(i));
        qvxsessrun_undo(list);
        QCOMPARE(render(list), script);

        // Edited: a comment at its end, and a command on a line of its own
        // below it, which becomes a row of its own.
        const QByteArray edited = text + " # edited\nxclock -digital";
        size_t added = 0;
        QCOMPARE(qvxsessrun_set_text(list, e, edited.constData(), size_t(edited.size()), e->active,
                                     &added),
                 0);
        QCOMPARE(added, size_t(1));
        PARSES(sh, render(list), QString("row %1 edited").arg(i));
        want = rows;
        want[i] += " # edited";
        want.insert(i + 1, (e->active ? "+" : "-") + QByteArray("xclock -digital"));
        back = qvxsessrun_parse(render(list).constData(), size_t(render(list).size()));
        QCOMPARE(rowsOf(back), want);
        qvxsessrun_free(back);
        qvxsessrun_undo(list);
        QCOMPARE(render(list), script);
    }
    qInfo("%s: %d rows, each switched, moved, deleted and edited", qPrintable(file),
          int(rows.size()));
    qvxsessrun_free(list);
}

QTEST_GUILESS_MAIN(TestRows)
#include "tst_rows.moc"
