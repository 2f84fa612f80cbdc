// SPDX-License-Identifier: BSD-2-Clause
#include "check/CheckTask.h"

#include "check/checkshell.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>

#include <algorithm>

// Polynomial hashing of the script's text modulo the prime 2^61 - 1.
static const quint64 hashPrime = (quint64(1) << 61) - 1;
static const quint64 hashBase = 1000003;

static quint64 mulMod(quint64 a, quint64 b)
{
    const unsigned __int128 product = (unsigned __int128)a * b;
    quint64 r = quint64(product & hashPrime) + quint64(product >> 61);
    return r >= hashPrime ? r - hashPrime : r;
}

quint64 CheckScript::hashPower(int length)
{
    quint64 result = 1, base = hashBase;
    for (quint64 e = quint64(length); e > 0; e >>= 1) {
        if (e & 1)
            result = mulMod(result, base);
        base = mulMod(base, base);
    }
    return result;
}

/* The row whose part of the script holds the line; the last row for a
 * line past the end. */
int CheckScript::rowOfLine(int line) const
{
    const auto after = std::upper_bound(lines.constBegin(), lines.constEnd() - 1, line);
    return qMax(0, int(after - lines.constBegin()) - 1);
}

void CheckScript::computeHashes()
{
    prefixHash.resize(starts.size());
    quint64 h = 0;
    int at = 0;
    for (int i = 0; i < starts.size(); i++) {
        for (; at < starts.at(i); at++)
            h = (mulMod(h, hashBase) + uchar(text.at(at)) + 1) % hashPrime;
        prefixHash[i] = h;
    }
}

quint64 CheckScript::rangeHash(int from, int to) const
{
    const quint64 head = mulMod(prefixHash.at(from), hashPower(starts.at(to) - starts.at(from)));
    return (prefixHash.at(to) + hashPrime - head) % hashPrime;
}

QByteArray CheckScript::rows(int from, int to) const
{
    return text.mid(starts.at(from), starts.at(to) - starts.at(from));
}

QByteArray CheckScript::rowLine(int row) const
{
    const int at = lineStarts.at(row);
    return QByteArray(lineBytes.constData() + at, lineStarts.at(row + 1) - at);
}

QByteArray CheckScript::rowText(int row) const
{
    const int at = textStarts.at(row);
    return QByteArray(textBytes.constData() + at, textStarts.at(row + 1) - at);
}

CheckTask::CheckTask(Kind kind, int id, QObject *receiver) : kind(kind), id(id), receiver(receiver)
{ }

void CheckTask::cancel()
{
    cancelled = true;
}

void CheckTask::run()
{
    switch (kind) {
    case Analyse:
        analyse();
        break;
    case Chain:
        runChain();
        break;
    case Lookup:
        runLookup();
        break;
    case Probe:
        runProbe();
        break;
    }
    QMetaObject::invokeMethod(receiver, "catchTaskDone", Qt::QueuedConnection, Q_ARG(int, id));
}

bool ChainStep::holdsAt(const CheckScript &script, int at) const
{
    const int span = spanEnd - from;
    const int n = script.rowCount();
    if (at + span > n || (toEnd && at + span != n))
        return false;
    return script.rangeHash(at, at + span) == hash;
}

/*
 * "sh -n" over the rows from..to-1, and the row its messages point at: the
 * last line they name within the rows.  Shells name the line where they
 * gave up, which for a construct never closed is past the end (dash, bash)
 * or the line where a quote began (FreeBSD's sh, bash); FreeBSD's sh says
 * of a command substitution never closed both: first the end, then the
 * line of its "$(".
 */
CheckTask::Parsed CheckTask::parse(int from, int to, const QByteArray &tail)
{
    shell_run run;
    Parsed parsed;

    shell_parse(script->rows(from, to) + tail, &cancelled, &run);
    parsed.outcome = run.outcome;
    shellRan = shellRan || run.outcome != SHELL_NOT_RUN;
    if (run.outcome == SHELL_NOT_RUN && !noShell) {
        noShell = true;
        noShellError = run.error;
        noShellWhat = run.failed;
    }
    const int lines = script->lines.at(to) - script->lines.at(from);
    int within = 0;
    for (int line : qAsConst(run.lines)) {
        parsed.pastEnd = parsed.pastEnd || line > lines;
        if (line <= lines)
            within = line;
    }
    parsed.lined = !run.lines.isEmpty();
    if (within > 0) {
        parsed.line = script->lines.at(from) + within - 1;
        parsed.named = qMax(from, script->rowOfLine(parsed.line));
    }
    return parsed;
}

void CheckTask::addStep(int from, ChainStep::Kind kind, int marked, int next, int spanEnd, int line)
{
    ChainStep step;
    step.from = from;
    step.kind = kind;
    step.marked = marked;
    step.line = line;
    step.next = next;
    step.spanEnd = spanEnd;
    step.hash = script->rangeHash(from, spanEnd);
    step.toEnd = spanEnd == script->rowCount();
    step.madeAt = QDeadlineTimer::current().deadline();
    steps.append(step);
    found[script->stepKey(from)].append(steps.size() - 1);
}

const ChainStep *CheckTask::stepAt(const ChainSteps &steps, const CheckScript &script, int at,
                                   qint64 retryTimedOutMs)
{
    const auto candidates = steps.constFind(script.stepKey(at));
    if (candidates == steps.constEnd())
        return nullptr;
    const qint64 now = QDeadlineTimer::current().deadline();
    for (const ChainStep &step : *candidates)
        if (step.holdsAt(script, at)
            && (step.kind != ChainStep::TimedOut || now - step.madeAt < retryTimedOutMs))
            return &step;
    return nullptr;
}

/* A step from row `at` that an earlier run found, here or before this
 * task. */
const ChainStep *CheckTask::knownStep(int at) const
{
    for (const int i : found.value(script->stepKey(at)))
        if (steps.at(i).holdsAt(*script, at))
            return &steps.at(i);
    if (const ChainStep *step = stepAt(knownNow, *script, at, retryTimedOutMs))
        return step;
    return stepAt(known, *script, at, retryTimedOutMs);
}

/*
 * Whether the shell under test names the line where a construct that is
 * never closed begins (as the Korn shells do for "if") rather than where
 * the text ended: asked once per shell, with an "if" that has no "fi".
 */
bool CheckTask::namesOpeners()
{
    static QMutex lock;
    static QHash<QByteArray, bool> known;
    const QByteArray program(shell_program);
    {
        QMutexLocker locker(&lock);
        const auto it = known.constFind(program);
        if (it != known.constEnd())
            return *it;
    }
    shell_run run;
    shell_parse("if :\nthen :\n", &cancelled, &run);
    if (run.outcome == SHELL_CANCELLED || run.outcome == SHELL_NOT_RUN
        || run.outcome == SHELL_TIMED_OUT)
        return false;
    bool names = false;
    for (int line : qAsConst(run.lines))
        names = names || line == 1;
    QMutexLocker locker(&lock);
    known.insert(program, names);
    return names;
}

/*
 * The shell over the script from row `from` on, again and again: each run
 * stops at the first syntax error, whose line names the row, and the next
 * run starts behind that row, until the rows are used up.  Rows whose text
 * was read from the same row before, here or earlier, need no shell: the
 * same text gives the same verdict.  A piece that ends before the script
 * does is only sure of what it found before its last row: there, the rows
 * after it could have changed the verdict, and the task stops and leaves
 * the rest to a run over the whole remainder.
 */
void CheckTask::runChain()
{
    const int rows = script->rowCount();
    const bool toTheEnd = end == rows;
    int r = from;

    while (r < end && !cancelled) {
        if (const ChainStep *step = knownStep(r)) {
            r += step->next - step->from;
            continue;
        }
        const Parsed parsed = parse(r, end);
        if (parsed.outcome == SHELL_NOT_RUN || parsed.outcome == SHELL_CANCELLED)
            return;
        if (parsed.outcome == SHELL_PASSED) {
            bool open = false;
            for (int i = r; i < end && !toTheEnd; i++)
                open = open || script->open.at(i);
            if (!open)
                addStep(r, ChainStep::Clean, -1, end, end);
            return;
        }
        if (parsed.outcome == SHELL_TIMED_OUT) {
            // Another run over nearly the same rows would take as long.
            addStep(r, ChainStep::TimedOut, r, end, end);
            return;
        }
        if (parsed.outcome == SHELL_CRASHED) {
            const int row = crashingRow(r);
            if (row < 0 || (!toTheEnd && row >= end - 1))
                return;
            addStep(r, ChainStep::Crashed, row, row + 1, qMin(row + 2, rows));
            r = row + 1;
            continue;
        }
        int row = parsed.named;
        // The shell read to the end for what the row it names opens: a
        // quote that the row's own line leaves open, or what a message
        // past the end says was never closed.
        bool opens = row >= 0 && (parsed.pastEnd || script->quote.at(row));
        if (row >= 0 && !opens && namesOpeners()) {
            // A shell that names where an "if" never closed begins: a line
            // after the end that would break the script anywhere else moves
            // what it says only when it read that far.
            const Parsed more = parse(r, end, "\n)\n");
            if (more.outcome == SHELL_CANCELLED || more.outcome == SHELL_NOT_RUN)
                return;
            opens = more.outcome != SHELL_FAILED || more.named != row || more.pastEnd;
        }
        if (row < 0 || opens) {
            if (!toTheEnd)
                return;
            // Without a line, or only past the end: the shell must be
            // asked where the construct begins.
            if (row < 0 && (row = unclosedRow(r)) < 0)
                return;
            addStep(r, ChainStep::Unclosed, row, row + 1, rows);
            r = row + 1;
            continue;
        }
        if (!toTheEnd && row >= end - 1)
            return;
        // Where in a command of several lines the shell stops.
        const int commandLine = script->lines.at(row) + script->leadLines.at(row);
        addStep(r, ChainStep::Error, row, row + 1, qMin(row + 2, rows),
                qMax(0, parsed.line - commandLine));
        r = row + 1;
    }
}

/*
 * The row that opens what the rest of the script never closes: the shell
 * read the rows from `from` to the end looking for it.  The rows before
 * that row parse on their own, the row itself no longer does, and
 * neither does any longer run of rows; the search goes back from the end
 * in growing steps, then halves the gap.
 */
int CheckTask::unclosedRow(int from)
{
    const int rows = script->rowCount();
    int good = from, bad = rows;

    for (int step = 1; bad - step > good && !cancelled; step *= 2) {
        const int k = bad - step;
        if (parse(from, k).outcome == SHELL_PASSED) {
            good = k;
            break;
        }
        bad = k;
    }
    while (bad - good > 1 && !cancelled) {
        const int mid = good + (bad - good) / 2;
        if (parse(from, mid).outcome == SHELL_PASSED)
            good = mid;
        else
            bad = mid;
    }
    return cancelled ? -1 : good;
}

/* The first row at which the shell crashes reading from `from` on. */
int CheckTask::crashingRow(int from)
{
    int fine = from, crashes = script->rowCount();

    while (crashes - fine > 1 && !cancelled) {
        const int mid = fine + (crashes - fine) / 2;
        if (parse(from, mid).outcome == SHELL_CRASHED)
            crashes = mid;
        else
            fine = mid;
    }
    return cancelled ? -1 : crashes - 1;
}

/*
 * The words, in as few shells as may be: a shell that takes too long is
 * killed; the word it was at is given up, and the words after it go to
 * the next shell.
 */
void CheckTask::runLookup()
{
    statuses = QVector<int>(words.size(), NotAsked);
    int done = 0;

    while (done < words.size() && !cancelled) {
        shell_run run;
        shell_lookup(words.mid(done), &cancelled, &run);
        shellRan = shellRan || run.outcome != SHELL_NOT_RUN;
        if (run.outcome == SHELL_NOT_RUN || run.outcome == SHELL_CANCELLED) {
            noShell = run.outcome == SHELL_NOT_RUN;
            noShellError = run.error;
            noShellWhat = run.failed;
            return;
        }
        int answered = 0;
        for (const QByteArray &line : run.output.split('\n')) {
            const int space = line.indexOf(' ');
            if (space <= 0 || done + answered >= words.size())
                continue;
            statuses[done + answered++] = line.left(space).toInt();
        }
        done += answered;
        if (run.outcome == SHELL_PASSED || done >= words.size())
            return;
        statuses[done++] = -1; // the word the shell was at when it was stopped
    }
}

/* A row ends the shell at the top level when the script up to it and up
 * to its end both parse: it is no part of a longer construct. */
void CheckTask::runProbe()
{
    answers = QVector<int>(candidates.size(), -1);
    for (int i = 0; i < candidates.size() && !cancelled; i++) {
        const int row = candidates.at(i);
        const int before = parse(0, row).outcome, with = parse(0, row + 1).outcome;
        if (cancelled || before == SHELL_CANCELLED || with == SHELL_CANCELLED)
            return;
        answers[i] = before == SHELL_PASSED && with == SHELL_PASSED;
        if (answers[i] == 1)
            return;
    }
}
