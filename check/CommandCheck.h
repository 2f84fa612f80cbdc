// SPDX-License-Identifier: BSD-2-Clause
// check/: the check of the commands against the system's shell, and its
// texts; QtCore, POSIX and the store, no widgets.
#ifndef COMMANDCHECK_H
#define COMMANDCHECK_H

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QSharedPointer>
#include <QVector>

#include "check/CheckTask.h"

class QThreadPool;
class QTimer;
struct command_entry;
struct command_words;
struct command_list;

/*
 * Finds the rows of the script that would not run as written, with the
 * system's shell as the judge of the script as a save would write it:
 * "sh -n" over the whole script tells which rows break it, and a shell
 * looks the command names up.  Nothing in a row's text is ever executed.
 * The shells run in worker threads, at most one per core, each for a few
 * seconds at most; what they found is kept, so that after an edit only
 * what the edit can change is asked again.  A command name is asked again
 * when its row changes, when the program comes back to the front (a
 * program may have been installed meanwhile), and a while after the shell
 * took too long over it.
 */
class CommandCheck : public QObject
{
    Q_OBJECT

public:
    enum Verdict {
        Ok,
        NotShell, // not valid shell: the script stops here
        Foreground, // the final "&" is swallowed
        Comment, // an active row that is a comment
        ComesBackInactive, // an active row that reads back as inactive
        NotFound, // no builtin, keyword or program on PATH, or no such absolute path
        NotExecutable, // the absolute path is there, but no executable file
        Unclosed, // opens a construct or a quote that the script never closes
        OpenQuote, // a quote left open takes the lines below into this command
        HereDocument, // a here-document without its end takes every line below
        StateInBackground, // changes the shell's own state, in a background subshell
        NeverRuns, // below a line that replaces or ends the shell
        ExecInBackground, // exec in a background subshell replaces only that
        NotPosix, // a word that /bin/sh does not know
        Unchecked, // the shell took too long over it
        ReadsOn, // not a whole command: the shell reads the lines below into it
        CarriageReturn // a line ends in a CR, which the shell passes on in a word
    };
    Q_ENUM(Verdict)

    explicit CommandCheck(QObject *parent = nullptr);
    ~CommandCheck() override;

    /* Checks the script that list would save now, from the event loop,
     * and from then on reports a row whenever its verdict changes. */
    void check(const command_list *list);
    bool isBusy() const;
    /* The line of a row's command of several lines at which the shell
     * stops, or the one that ends in a CR, counted from 0, as the last
     * verdict on the row said. */
    int stopLine(quint64 key) const;

    /* How long a verdict that the shell took too long for stands before
     * it is asked again; tests shorten it. */
    static int retryAfterMs;

signals:
    /* key is the row's entry; verdict is a Verdict; word is the command
     * name it is about, if any. */
    void checked(quint64 key, int verdict, const QString &word);
    /* Every row has its verdict for the script as it is now. */
    void allChecked();
    /* No row could be checked, and why; said once, until a shell runs
     * again. */
    void uncheckable(const QString &message);

private slots:
    void startRound();
    void catchTaskDone(int id);
    void catchApplicationState(Qt::ApplicationState state);
    void retry();

private:
    struct Told
    {
        int verdict = Ok;
        QString word;
        int line = 0;
        quint64 hash = 0;
    };

    void makeScript(const command_list *list);
    static void analyse(CheckScript *script, const QByteArray &home, QVector<CheckRow> *rows,
                        QSet<QByteArray> *defined);
    static QList<QByteArray> commandNames(const QByteArray &text, const QByteArray &home,
                                          const command_words &first);
    static void analyseRow(const QByteArray &line, const QByteArray &text, bool runsBelow,
                           const QByteArray &home, CheckRow *row, int *open);
    void startTask(const QSharedPointer<CheckTask> &task);
    void lookUpWords();
    bool rowChanged(int row) const;
    void advanceChain();
    void startChainTasks(int from);
    void keepStep(ChainSteps *into, quint64 key, const ChainStep &step);
    void markChain(int row, int from, int kind, int line);
    void noteNoShell(const CheckTask &task);
    void probeEnd();
    static quint64 probeKey(const CheckScript &script, int row);
    void finishIfDone();
    void finishRound();
    int verdictOf(int row, QByteArray *word) const;
    void cancelTasks();

    QTimer *roundTimer;
    QTimer *retryTimer; // asks again what the shell took too long for
    QThreadPool *pool;
    const command_list *list = nullptr;
    int round = 0;
    int lastTaskId = 0;
    bool inRound = false;
    QHash<int, QSharedPointer<CheckTask>> tasks;
    const QByteArray home;

    // This round's script and rows.
    QSharedPointer<CheckScript> script;
    QVector<CheckRow> rows;
    QSharedPointer<QVector<CheckRow>> pendingRows; // filled by this round's analysis
    QSharedPointer<QSet<QByteArray>> pendingNames;
    bool posixHeader = true;
    QSet<QByteArray> defined; // functions and aliases the script defines
    bool analysed = false; // rows holds this round's rows
    int chainAt = 0; // the row the chain has reached
    bool chainSplit = false; // the rows were cut into pieces once
    int chainTasks = 0; // chain tasks of this round still running
    QHash<int, int> chainMarks; // row -> ChainStep::Kind
    QHash<int, int> chainLines; // row -> the line of its command where the shell stops
    int endRow = -1; // the row that replaces or ends the shell
    bool probeDone = false;

    ChainSteps stepsNow; // what the shells found for this round's script

    // What the shells said, kept across rounds.
    ChainSteps steps;
    QHash<QByteArray, int> wordStatus; // 0, 126, 127, or -1: could not be looked up
    QHash<QByteArray, qint64> timedOutAt; // words with -1: when
    QSet<QByteArray> askAgain; // known words to look up again all the same
    QHash<quint64, int> probed; // hash of the script up to a row's end -> top-level end or not
    QHash<quint64, Told> told; // by key: what checked() last said
    bool noShellTold = false; // uncheckable() was said, and no shell ran since
    bool seenActive = false; // the program was in front once
    bool wentAway = false; // and another program was since

    Q_DISABLE_COPY(CommandCheck)
};

#endif // COMMANDCHECK_H
