// SPDX-License-Identifier: BSD-2-Clause
#include "CheckTask.h"

#include "checkshell.h"

#include <QMetaObject>
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

/* The outcome of "sh -n" over the rows from..to-1. */
int CheckTask::parse(int from, int to, bool *atEnd, int *line)
{
    shell_run run;

    shell_parse(script->rows(from, to), &cancelled, &run);
    // A shell that reads to the end looking for the end of a construct
    // names the line after the last one.
    if (atEnd)
        *atEnd = run.line > script->lines.at(to) - script->lines.at(from);
    if (line)
        *line = run.line;
    return run.outcome;
}

void CheckTask::addStep(int from, ChainStep::Kind kind, int marked, int next, int spanEnd)
{
    ChainStep step;
    step.from = from;
    step.kind = kind;
    step.marked = marked;
    step.next = next;
    step.spanEnd = spanEnd;
    step.hash = script->rangeHash(from, spanEnd);
    step.toEnd = spanEnd == script->rowCount();
    steps.append(step);
}

/*
 * The shell over the script from row `from` on, again and again: each run
 * stops at the first syntax error, whose line names the row, and the next
 * run starts behind that row, until the rows are used up.  A piece that
 * ends before the script does is only sure of what it found before its
 * last row: there, the rows after it could have changed the verdict, and
 * the task stops and leaves the rest to a run over the whole remainder.
 */
void CheckTask::runChain()
{
    const int rows = script->rowCount();
    const bool toTheEnd = end == rows;
    int r = from;

    while (r < end && !cancelled) {
        if (r != from && stopAt.contains(r))
            return;
        bool atEnd = false;
        int line = 0;
        const int outcome = parse(r, end, &atEnd, &line);
        if (outcome == SHELL_NOT_RUN) {
            noShell = true;
            return;
        }
        if (outcome == SHELL_CANCELLED)
            return;
        if (outcome == SHELL_PASSED) {
            bool open = false;
            for (int i = r; i < end && !toTheEnd; i++)
                open = open || script->open.at(i);
            if (!open)
                addStep(r, ChainStep::Clean, -1, end, end);
            return;
        }
        if (outcome == SHELL_TIMED_OUT) {
            // Another run over nearly the same rows would take as long.
            addStep(r, ChainStep::TimedOut, r, end, end);
            return;
        }
        if (outcome == SHELL_CRASHED) {
            const int row = crashingRow(r);
            if (row < 0 || (!toTheEnd && row >= end - 1))
                return;
            addStep(r, ChainStep::Crashed, row, row + 1, qMin(row + 2, rows));
            r = row + 1;
            continue;
        }
        if (atEnd || line == 0) {
            if (!toTheEnd)
                return;
            const int row = unclosedRow(r);
            if (row < 0)
                return;
            addStep(r, ChainStep::Unclosed, row, row + 1, rows);
            r = row + 1;
            continue;
        }
        const int row = qMax(r, script->rowOfLine(script->lines.at(r) + line - 1));
        if (!toTheEnd && row >= end - 1)
            return;
        addStep(r, ChainStep::Error, row, row + 1, qMin(row + 2, rows));
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
        if (parse(from, k) == SHELL_PASSED) {
            good = k;
            break;
        }
        bad = k;
    }
    while (bad - good > 1 && !cancelled) {
        const int mid = good + (bad - good) / 2;
        if (parse(from, mid) == SHELL_PASSED)
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
        if (parse(from, mid) == SHELL_CRASHED)
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
        if (run.outcome == SHELL_NOT_RUN || run.outcome == SHELL_CANCELLED) {
            noShell = run.outcome == SHELL_NOT_RUN;
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
        const int before = parse(0, row), with = parse(0, row + 1);
        if (cancelled || before == SHELL_CANCELLED || with == SHELL_CANCELLED)
            return;
        answers[i] = before == SHELL_PASSED && with == SHELL_PASSED;
        if (answers[i] == 1)
            return;
    }
}
