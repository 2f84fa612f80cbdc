// SPDX-License-Identifier: BSD-2-Clause
#ifndef CHECKTASK_H
#define CHECKTASK_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSharedPointer>
#include <QVector>

#include <atomic>
#include <functional>
#include <vector>

class QObject;

/* The script as a save would write it, cut at the rows, for the shells. */
struct CheckScript
{
    QByteArray text; // ends in a line feed
    QVector<int> starts; // per row where its part begins; one more: text.size()
    QVector<int> lines; // the line number (from 1) at each of starts
    QVector<int> leadLines; // per row, the comment and blank lines above its command
    QVector<bool> open; // the row's line leaves a quote, a backslash or a here-document open
    QVector<bool> quote; // of those, a quote, "$(", "${" or a backquote
    QVector<quint64> keys; // the row's entry
    QVector<bool> active;
    // Each row's line as a save writes it, and its command, one after the
    // other in one buffer each: a script of many rows is copied without
    // an allocation per row, which would leave the heap in pieces.
    QByteArray lineBytes;
    QVector<int> lineStarts; // one more than rows
    QByteArray textBytes;
    QVector<int> textStarts;
    QVector<quint64> prefixHash; // of text up to each of starts

    int rowCount() const { return starts.size() - 1; }
    void computeHashes();
    int rowOfLine(int line) const;
    quint64 rangeHash(int from, int to) const;
    /* The hash of the text of a row and the next, by which what the
     * shells found from that row on is kept: a step spans both, or
     * reaches the end of the script. */
    quint64 stepKey(int row) const { return rangeHash(row, qMin(row + 2, rowCount())); }
    QByteArray rows(int from, int to) const;
    /* Copies, made in the thread that reads them. */
    QByteArray rowLine(int row) const;
    QByteArray rowText(int row) const;
    static quint64 hashPower(int length);
};

/* What a row needs from the shells, and what its own line tells. */
struct CheckRow
{
    quint64 key = 0;
    bool runs = false; // active and written
    int local = 0; // the verdict its own line gives, a CommandCheck::Verdict
    QByteArray localWord;
    QList<QByteArray> lookups;
    QByteArray first;
    bool endsShell = false; // a complete "exec COMMAND" or "exit" in the foreground
    int crLine = -1; // the first line of its command that ends in a CR outside a comment
};

/* What one run of the shell over the script from a row on found. */
struct ChainStep
{
    enum Kind {
        Error, // a syntax error on the marked row; the check goes on behind it
        Clean, // no error up to the end of the rows given
        Unclosed, // the marked row opens what the script never closes
        Crashed, // the shell crashed on the marked row
        TimedOut // the shell took too long over the rows from the first
    };
    int from = 0;
    Kind kind = Clean;
    int marked = -1; // the row the step is about, -1 for Clean
    int line = 0; // the line of the marked row's command the shell stops at, from 0
    int next = 0; // the row at which the check goes on
    int spanEnd = 0; // the rows from..spanEnd-1 decide the step
    quint64 hash = 0; // of those rows' text
    bool toEnd = false; // the rows reached to the script's end
    qint64 madeAt = 0; // when a shell found it, in ms of the monotonic clock

    /* Whether the step holds at row `at` of script: its rows are the same
     * text there. */
    bool holdsAt(const CheckScript &script, int at) const;
};

/* What the shells found, by the step key of the row each step begins at:
 * the same text anywhere in a script gives the same verdict. */
using ChainSteps = QHash<quint64, std::vector<ChainStep>>;

/*
 * One piece of work for a worker thread: the syntax of the script from a
 * row on (the chain), the names to look up, or which of some rows ends
 * the shell at the top level of the script.  When it is done, the task
 * calls the receiver's catchTaskDone(int id) from the receiver's thread.
 */
class CheckTask
{
public:
    enum Kind { Analyse, Chain, Lookup, Probe };

    CheckTask(Kind kind, int id, QObject *receiver);

    void run();
    void cancel();
    /* The step of steps that holds at row `at` of script; a timed-out one
     * only while it is younger than retryTimedOutMs. */
    static const ChainStep *stepAt(const ChainSteps &steps, const CheckScript &script, int at,
                                   qint64 retryTimedOutMs);

    const Kind kind;
    const int id;
    int round = 0;

    // Analyse: the work itself, which fills in the script and the rows.
    std::function<void()> analyse;

    // Chain: rows from..end-1, with the steps known from earlier runs, of
    // earlier checks and of this one.
    QSharedPointer<const CheckScript> script;
    int from = 0;
    int end = 0;
    ChainSteps known;
    ChainSteps knownNow;
    qint64 retryTimedOutMs = 0; // a timed-out step older than this is asked again
    QVector<ChainStep> steps;
    bool shellRan = false; // a shell was started
    bool noShell = false; // the shell could not be run at all
    int noShellError = 0; // then the errno
    QByteArray noShellWhat; // and the program or file it is about

    // Lookup: a status per word: 0, 126, 127, -1 when it took too long, or
    // NotAsked when the task was cancelled before.
    enum { NotAsked = -2 };
    QList<QByteArray> words;
    QVector<int> statuses;

    // Probe: for each row, 1 when its line is a complete command at the
    // top level of the script, 0 when not, -1 when that was not asked;
    // the rows after the first 1 are not asked.
    QVector<int> candidates;
    QVector<int> answers;

private:
    void runChain();
    void runLookup();
    void runProbe();
    struct Parsed
    {
        int outcome = 0; // a SHELL_ value
        int named = -1; // the row the last message with a line names, -1 for none
        int line = 0; // that line, counted in the script from 1
        bool pastEnd = false; // a message names a line past the rows' end
        bool lined = false; // some message names a line
    };
    Parsed parse(int from, int to, const QByteArray &tail = QByteArray());
    bool namesOpeners();
    const ChainStep *knownStep(int at) const;
    int unclosedRow(int from);
    int crashingRow(int from);
    void addStep(int from, ChainStep::Kind kind, int marked, int next, int spanEnd, int line = 0);

    QHash<quint64, QVector<int>> found; // indexes into steps, by their step key
    QObject *const receiver; // outlives the task: it waits for the pool
    std::atomic<bool> cancelled { false };
};

#endif // CHECKTASK_H
