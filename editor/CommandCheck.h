// SPDX-License-Identifier: BSD-2-Clause
#ifndef COMMANDCHECK_H
#define COMMANDCHECK_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QVector>

class QTimer;

/*
 * Finds the rows of the script that would not run as written, with the
 * system's shell as the judge.  Rows are queued with check() and checked
 * in batches by child shells; every result arrives through checked().
 * Nothing in a row's text is ever executed: its syntax goes to "sh -n",
 * and its first word is looked up as an argument of a shell, never as
 * part of the shell's script.
 */
class CommandCheck : public QObject
{
    Q_OBJECT

public:
    enum Verdict {
        Ok,
        NotShell, // not valid shell
        Foreground, // the final "&" is swallowed
        Comment, // an active row that is a comment
        ComesBackInactive, // an active row that reads back as inactive
        NotFound, // no builtin, keyword or program on PATH, or no such absolute path
        NotExecutable // the absolute path is there, but no executable file
    };
    Q_ENUM(Verdict)

    explicit CommandCheck(QObject *parent = nullptr);
    ~CommandCheck() override;

    /* Queues a row; a newer check of the same key replaces this one. */
    void check(quint64 key, const QByteArray &text, bool active);
    bool isBusy() const;

signals:
    /* verdict is a Verdict; word is the command name for NotFound and
     * NotExecutable, empty otherwise. */
    void checked(quint64 key, int verdict, const QString &word);
    /* Every queued row has had its result. */
    void allChecked();

private slots:
    void catchBatchTimeout();
    void catchProcessFinished(int exitCode, QProcess::ExitStatus status);
    void catchProcessError(QProcess::ProcessError error);
    void catchProcessOutput();

private:
    enum JobKind {
        Wrapped, // the row as a brace group that ends in "&"
        Plain, // the row as the script line
        Probe, // the script line and one more that must be read as a command
        Words, // looks the first words up
        Alone // rows that may not share a shell, each in one of its own
    };

    enum Outcome { Passed, Failed, NotRun };

    struct Row
    {
        quint64 key = 0;
        bool active = true;
        QByteArray line;
        QByteArray word;
        bool alone = false;
        bool wrappedOk = true;
    };

    struct Job
    {
        JobKind kind = Wrapped;
        QVector<quint64> serials;
        int answered = 0;
    };

    bool isCurrent(quint64 serial) const;
    QVector<quint64> current(const QVector<quint64> &serials);
    void deliver(quint64 serial, Verdict verdict, const QByteArray &word = QByteArray());
    void queueAlone(const QVector<quint64> &serials);
    void readAnswers(QProcess *process);
    void queueJob(JobKind kind, const QVector<quint64> &serials, bool first = false);
    void flushWords();
    void schedule();
    void startJob(Job &job);
    void jobDone(QProcess *process, Outcome outcome);
    void wrappedDone(const QVector<quint64> &serials, bool passed);
    void plainDone(quint64 serial, bool passed);
    void probeDone(quint64 serial, bool passed);
    void settleSyntax(quint64 serial);
    void syntaxFine(quint64 serial);
    void wordsDone(const QVector<quint64> &serials, const QByteArray &output);
    void checkIdle();

    QTimer *batchTimer;
    quint64 lastSerial = 0;
    QHash<quint64, quint64> newest; // key -> serial of its newest check
    QHash<quint64, Row> rows; // serial -> a row still being checked
    QVector<quint64> queued; // waiting for the next batch
    QList<Job> waiting; // jobs not started yet
    QHash<QProcess *, Job> running;
    QVector<quint64> wordsWaiting; // syntax fine, first word still to look up
    bool scheduling = false;
    bool hadWork = false; // something was checked since the last allChecked()

    Q_DISABLE_COPY(CommandCheck)
};

#endif // COMMANDCHECK_H
