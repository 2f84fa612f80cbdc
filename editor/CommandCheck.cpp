// SPDX-License-Identifier: BSD-2-Clause
#include "CommandCheck.h"

#include <QSet>
#include <QString>
#include <QTimer>

static const char shellPath[] = "/bin/sh";
static const char inactiveMark[] = "#[INACTIVE]#";

// A fork and exec costs about a millisecond; a few at a time keep both
// cores busy without starving the window.
static const int maxRunning = 4;
// Looked-up words are sent off early once there are this many.
static const int wordsFlushCount = 256;
// Bytes of words given to one shell, well below the argument limits.
static const int wordsChunkBytes = 64 * 1024;
// Rows of their own are given to "sh -n" as an argument up to this size;
// longer ones are rare and go to its input, one at a time.
static const int aloneRowBytes = 32 * 1024;
// No command name is longer than a path name can be.
static const int maxWordLength = 4096;

/*
 * The words the shell looks up, as arguments: none of them is ever part
 * of the script.  Absolute paths must be executable regular files; any
 * other name must be a keyword, a builtin or a program on PATH.  Every
 * word that fails comes out on a line of its own, behind the status with
 * which the shell would give up on it.
 */
static const char wordsScript[] = "for w do\n"
                                  "    case $w in\n"
                                  "    /*) [ -f \"$w\" ] && [ -x \"$w\" ] && continue\n"
                                  "        [ -e \"$w\" ] && s=126 || s=127 ;;\n"
                                  "    *) command -v -- \"$w\" >/dev/null 2>&1 && continue\n"
                                  "        s=127 ;;\n"
                                  "    esac\n"
                                  "    printf '%s %s\\n' \"$s\" \"$w\"\n"
                                  "done\n";

/*
 * Checks rows that may not share a shell, read one a line, each in an
 * "sh -n" of its own, and says for each, on a line: whether its script
 * line is valid shell; whether the line still is as a brace group that
 * must close behind its "&" (only asked when a "#" or a backslash could
 * swallow the "&"); and whether a line behind it is still read as a
 * command, which a here-document would take (only asked for a "<<").  A
 * row is only ever data, never part of this script.
 *
 * Each command string begins with a line feed, so that no shell can take
 * it for an option, whatever the row begins with: some shells take the
 * word after -c as the command string even when it is "--".
 */
static const char aloneScript[] = R"sh(nl='
'
while IFS= read -r r; do
    /bin/sh -n -c "$nl$r&" </dev/null; p=$?
    w=0 h=1
    if [ $p -eq 0 ]; then
        case $r in *'#'* | *'\'*) /bin/sh -n -c "$nl{ $r&}" </dev/null; w=$? ;; esac
        case $r in *'<<'*) /bin/sh -n -c "$nl$r&$nl(" </dev/null; h=$? ;; esac
    fi
    printf '%s %s %s\n' $p $w $h
done
)sh";

static bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

static bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

static bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9');
}

/* Characters that mean the same to every shell wherever they stand in a word. */
static bool isPlain(const QByteArray &word)
{
    for (char c : word)
        if (c == '\0' || (!isNameChar(c) && !strchr(".+,:@%/-", c)))
            return false;
    return true;
}

/*
 * The command name to look up: the first word behind the leading
 * assignments, when every character of it and of the assignments is
 * plain.  A relative path name depends on the directory the session
 * starts in and is not looked up.
 */
static QByteArray firstWord(const QByteArray &line)
{
    const int n = line.size();
    int i = 0;

    for (;;) {
        while (i < n && isBlank(line.at(i)))
            i++;
        const int start = i;
        while (i < n && !isBlank(line.at(i)))
            i++;
        const QByteArray word = line.mid(start, i - start);
        if (word.isEmpty())
            return QByteArray();

        int name = 0;
        if (isNameStart(word.at(0)))
            while (name < word.size() && isNameChar(word.at(name)))
                name++;
        if (name > 0 && name < word.size() && word.at(name) == '=') {
            if (!isPlain(word.mid(name + 1)))
                return QByteArray();
            continue;
        }
        if (!isPlain(word) || word.size() > maxWordLength)
            return QByteArray();
        if (word.at(0) != '/' && word.contains('/'))
            return QByteArray();
        return word;
    }
}

/*
 * Whether a row may share one "sh -n" with other rows.  A row that can
 * leave anything open at the end of its line (a quote, a backslash, a
 * brace, a parenthesis, a comment, a here-document, a compound command)
 * could be completed by a later row, so that two bad rows pass together.
 * Only rows that can do none of this share a shell: outside quotes, only
 * characters without such a meaning; quotes that close on the line and
 * hold nothing that could nest or escape (no backslash, no backquote, no
 * "$" in double quotes, no "$" just in front of a quote).  The test errs
 * on the safe side, since a row that is refused is still checked, in a
 * shell of its own.
 */
static bool canShareShell(const QByteArray &line)
{
    static const char *const openers[]
        = { "if",       "then",   "else",  "elif",  "fi",  "do", "done",
            "case",     "esac",   "while", "until", "for", "in", "select",
            "function", "coproc", "time",  "[[",    "]]" };

    char quote = 0;
    for (int i = 0; i < line.size(); i++) {
        const char c = line.at(i);
        if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote != 0) {
            if (c < ' ' || c > '~' || c == '\\' || c == '`' || (quote == '"' && c == '$'))
                return false;
        } else if (c == '\'' || c == '"') {
            if (i > 0 && line.at(i - 1) == '$')
                return false;
            quote = c;
        } else if (c == '\0'
                   || (!isNameChar(c) && !isBlank(c) && !strchr(".+,:@%/-=~*?[]!^><|&;$", c))) {
            return false;
        }
    }
    if (quote != 0 || line.contains("<<") || line.contains("$["))
        return false;

    const int n = line.size();
    for (int i = 0; i < n;) {
        auto inRun = [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '[' || c == ']';
        };
        if (!inRun(line.at(i))) {
            i++;
            continue;
        }
        const int start = i;
        while (i < n && inRun(line.at(i)))
            i++;
        const QByteArray run = line.mid(start, i - start);
        for (const char *word : openers)
            if (run == word)
                return false;
    }
    return true;
}

CommandCheck::CommandCheck(QObject *parent) : QObject(parent), batchTimer(new QTimer(this))
{
    batchTimer->setSingleShot(true);
    batchTimer->setInterval(0);
    connect(batchTimer, SIGNAL(timeout()), this, SLOT(catchBatchTimeout()));
}

CommandCheck::~CommandCheck()
{
    // A shell that is still running is of no more use.
    for (QProcess *process : running.keys()) {
        process->disconnect(this);
        process->kill();
        // Reaped here, before QObject deletes it: a QProcess destroyed
        // while its child runs complains on standard error.
        process->waitForFinished(1000);
    }
}

void CommandCheck::check(quint64 key, const QByteArray &text, bool active)
{
    Row row;
    row.key = key;
    row.active = active;
    // The text as the script will hold it: a NUL byte ends it, and a line
    // feed is written as a blank.
    const int nul = text.indexOf('\0');
    row.line = nul < 0 ? text : text.left(nul);
    row.line.replace('\n', ' ');

    // An older check of the key is dropped wherever it is met next.
    const quint64 serial = ++lastSerial;
    newest.insert(key, serial);
    rows.insert(serial, row);
    queued.append(serial);
    hadWork = true;
    batchTimer->start();
}

bool CommandCheck::isBusy() const
{
    return batchTimer->isActive() || !queued.isEmpty() || !waiting.isEmpty() || !running.isEmpty()
        || !wordsWaiting.isEmpty();
}

bool CommandCheck::isCurrent(quint64 serial) const
{
    const auto row = rows.constFind(serial);
    return row != rows.constEnd() && newest.value(row->key) == serial;
}

/* Keeps the serials that are still wanted and forgets the others. */
QVector<quint64> CommandCheck::current(const QVector<quint64> &serials)
{
    QVector<quint64> kept;

    for (quint64 serial : serials) {
        if (isCurrent(serial))
            kept.append(serial);
        else
            rows.remove(serial);
    }
    return kept;
}

void CommandCheck::deliver(quint64 serial, Verdict verdict, const QByteArray &word)
{
    const Row row = rows.take(serial);

    if (newest.value(row.key) != serial)
        return;
    newest.remove(row.key);
    emit checked(row.key, verdict, QString::fromLocal8Bit(word));
}

void CommandCheck::catchBatchTimeout()
{
    QVector<quint64> batch, alone, longRows;
    const QVector<quint64> serials = current(queued);

    queued.clear();
    for (quint64 serial : serials) {
        Row &row = rows[serial];
        if (!row.active || row.line.isEmpty()) {
            deliver(serial, Ok);
            continue;
        }
        if (row.line.startsWith(inactiveMark)) {
            deliver(serial, ComesBackInactive);
            continue;
        }
        int first = 0;
        while (first < row.line.size() && isBlank(row.line.at(first)))
            first++;
        if (first < row.line.size() && row.line.at(first) == '#') {
            deliver(serial, Comment);
            continue;
        }
        row.word = firstWord(row.line);
        if (canShareShell(row.line))
            batch.append(serial);
        else if (row.line.size() <= aloneRowBytes)
            alone.append(serial);
        else
            longRows.append(serial);
    }
    if (!batch.isEmpty())
        queueJob(Wrapped, batch);
    queueAlone(alone);
    for (quint64 serial : qAsConst(longRows)) {
        rows[serial].alone = true;
        queueJob(Wrapped, QVector<quint64> { serial });
    }
    schedule();
    checkIdle();
}

/* Spreads the rows of their own over as many shells as may run at once. */
void CommandCheck::queueAlone(const QVector<quint64> &serials)
{
    const int perShell = (serials.size() + maxRunning - 1) / maxRunning;

    for (int i = 0; i < serials.size(); i += perShell)
        queueJob(Alone, serials.mid(i, perShell));
}

void CommandCheck::queueJob(JobKind kind, const QVector<quint64> &serials, bool first)
{
    Job job;
    job.kind = kind;
    job.serials = serials;
    if (first)
        waiting.prepend(job);
    else
        waiting.append(job);
}

/*
 * Sends the rows whose syntax is fine to a shell that looks their first
 * words up: early once there are many, otherwise when no syntax check is
 * left, so that the rows that trickle in share one shell.
 */
void CommandCheck::flushWords()
{
    bool syntaxLeft = false;
    for (const Job &job : qAsConst(waiting))
        syntaxLeft = syntaxLeft || job.kind != Words;
    for (const Job &job : qAsConst(running))
        syntaxLeft = syntaxLeft || job.kind != Words;
    if (wordsWaiting.isEmpty() || (syntaxLeft && wordsWaiting.size() < wordsFlushCount))
        return;

    QVector<quint64> chunk;
    QSet<QByteArray> words;
    int bytes = 0;
    for (quint64 serial : qAsConst(wordsWaiting)) {
        const QByteArray word = rows.value(serial).word;
        if (!words.contains(word)) {
            if (bytes > 0 && bytes + word.size() > wordsChunkBytes) {
                queueJob(Words, chunk, true);
                chunk.clear();
                words.clear();
                bytes = 0;
            }
            words.insert(word);
            bytes += word.size() + 1;
        }
        chunk.append(serial);
    }
    queueJob(Words, chunk, true);
    wordsWaiting.clear();
}

void CommandCheck::schedule()
{
    if (scheduling)
        return;
    scheduling = true;
    flushWords();
    while (running.size() < maxRunning && !waiting.isEmpty()) {
        Job job = waiting.takeFirst();
        startJob(job);
        flushWords();
    }
    scheduling = false;
}

void CommandCheck::startJob(Job &job)
{
    job.serials = current(job.serials);
    if (job.serials.isEmpty())
        return;

    QByteArray script;
    QStringList arguments;
    if (job.kind == Alone) {
        arguments << QStringLiteral("-c") << QString::fromLatin1(aloneScript);
        for (quint64 serial : qAsConst(job.serials))
            script += rows.value(serial).line + '\n';
    } else if (job.kind == Words) {
        QSet<QByteArray> seen;
        arguments << QStringLiteral("-c") << QString::fromLatin1(wordsScript)
                  << QStringLiteral("sh");
        for (quint64 serial : qAsConst(job.serials)) {
            const QByteArray word = rows.value(serial).word;
            if (!seen.contains(word)) {
                seen.insert(word);
                arguments << QString::fromLocal8Bit(word);
            }
        }
    } else {
        arguments << QStringLiteral("-n");
        for (quint64 serial : qAsConst(job.serials)) {
            const QByteArray line = rows.value(serial).line;
            if (job.kind == Wrapped)
                script += "{ " + line + "&}\n";
            else if (job.kind == Plain)
                script += line + "&\n";
            else
                script += line + "&\n(\n";
        }
    }

    QProcess *process = new QProcess(this);
    process->setStandardErrorFile(QProcess::nullDevice());
    if (job.kind == Words)
        process->setStandardInputFile(QProcess::nullDevice());
    else if (job.kind != Alone)
        process->setStandardOutputFile(QProcess::nullDevice());
    if (job.kind == Alone)
        connect(process, SIGNAL(readyReadStandardOutput()), this, SLOT(catchProcessOutput()));
    connect(process, SIGNAL(finished(int, QProcess::ExitStatus)), this,
            SLOT(catchProcessFinished(int, QProcess::ExitStatus)));
    connect(process, SIGNAL(errorOccurred(QProcess::ProcessError)), this,
            SLOT(catchProcessError(QProcess::ProcessError)));
    // Known before the start, which can report a failure at once.
    running.insert(process, job);
    process->start(QString::fromLatin1(shellPath), arguments,
                   job.kind == Words ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    if (job.kind != Words && running.contains(process)) {
        process->write(script);
        process->closeWriteChannel();
    }
}

void CommandCheck::catchProcessFinished(int exitCode, QProcess::ExitStatus status)
{
    QProcess *process = qobject_cast<QProcess *>(sender());

    if (process == nullptr || !running.contains(process))
        return;
    jobDone(process, status == QProcess::NormalExit ? (exitCode == 0 ? Passed : Failed) : NotRun);
}

void CommandCheck::catchProcessError(QProcess::ProcessError error)
{
    QProcess *process = qobject_cast<QProcess *>(sender());

    // A crash is also reported as finished; a shell that exits before it
    // has read all of its script is no error.
    if (error != QProcess::FailedToStart || process == nullptr || !running.contains(process))
        return;
    jobDone(process, NotRun);
}

void CommandCheck::catchProcessOutput()
{
    QProcess *process = qobject_cast<QProcess *>(sender());

    if (process != nullptr && running.contains(process))
        readAnswers(process);
}

/* The answers of a shell for rows of their own, as they come. */
void CommandCheck::readAnswers(QProcess *process)
{
    while (process->canReadLine()) {
        auto job = running.find(process);
        if (job == running.end() || job->answered >= job->serials.size())
            return;
        const quint64 serial = job->serials.at(job->answered++);
        const QList<QByteArray> answer = process->readLine().trimmed().split(' ');
        if (!isCurrent(serial)) {
            rows.remove(serial);
            continue;
        }
        if (answer.size() != 3)
            deliver(serial, Ok);
        else if (answer.at(0) != "0" || answer.at(2) == "0")
            deliver(serial, NotShell);
        else if (answer.at(1) != "0")
            deliver(serial, Foreground);
        else
            syntaxFine(serial);
    }
    schedule();
}

void CommandCheck::jobDone(QProcess *process, Outcome outcome)
{
    if (running.value(process).kind == Alone && outcome != NotRun)
        readAnswers(process);
    Job job = running.take(process);
    if (job.kind == Alone) {
        // Rows the shell did not answer for cannot be told.
        job.serials = job.serials.mid(job.answered);
        outcome = NotRun;
    }
    const QByteArray output
        = job.kind == Words && outcome != NotRun ? process->readAllStandardOutput() : QByteArray();
    process->disconnect(this);
    process->deleteLater();

    job.serials = current(job.serials);
    if (outcome == NotRun) {
        // Without a shell nothing can be told; no row is marked for that.
        for (quint64 serial : qAsConst(job.serials))
            deliver(serial, Ok);
    } else {
        const bool passed = outcome == Passed;
        switch (job.kind) {
        case Wrapped:
            wrappedDone(job.serials, passed);
            break;
        case Plain:
            for (quint64 serial : qAsConst(job.serials))
                plainDone(serial, passed);
            break;
        case Probe:
            for (quint64 serial : qAsConst(job.serials))
                probeDone(serial, passed);
            break;
        case Words:
            wordsDone(job.serials, output);
            break;
        case Alone:
            break;
        }
    }
    schedule();
    checkIdle();
}

/*
 * Rows that share a shell cannot affect each other, so a set of them
 * passes exactly when each of them does: a failed set is halved until
 * the bad rows stand alone.  Whether such a row or a row of its own is
 * swallowing its "&" or is no shell at all is told by its script line.
 */
void CommandCheck::wrappedDone(const QVector<quint64> &serials, bool passed)
{
    if (passed) {
        for (quint64 serial : serials) {
            if (rows.value(serial).alone)
                queueJob(Plain, QVector<quint64> { serial });
            else
                syntaxFine(serial);
        }
    } else if (serials.size() == 1) {
        rows[serials.first()].wrappedOk = false;
        queueJob(Plain, serials, true);
    } else {
        const int half = serials.size() / 2;
        queueJob(Wrapped, serials.mid(half), true);
        queueJob(Wrapped, serials.mid(0, half), true);
    }
}

/*
 * The script line itself must be valid: a row can close the brace group
 * it is wrapped in and open another one.  A here-document takes the lines
 * that follow it, which the shell accepts up to the end of the file.
 */
void CommandCheck::plainDone(quint64 serial, bool passed)
{
    if (!passed)
        deliver(serial, NotShell);
    else if (rows.value(serial).line.contains("<<"))
        queueJob(Probe, QVector<quint64> { serial }, true);
    else
        settleSyntax(serial);
}

/* The probe's second line is an open parenthesis: read as a command, it
 * fails; taken by a here-document, it passes. */
void CommandCheck::probeDone(quint64 serial, bool passed)
{
    if (passed)
        deliver(serial, NotShell);
    else
        settleSyntax(serial);
}

void CommandCheck::settleSyntax(quint64 serial)
{
    if (rows.value(serial).wrappedOk)
        syntaxFine(serial);
    else
        deliver(serial, Foreground);
}

void CommandCheck::syntaxFine(quint64 serial)
{
    if (rows.value(serial).word.isEmpty())
        deliver(serial, Ok);
    else
        wordsWaiting.append(serial);
}

void CommandCheck::wordsDone(const QVector<quint64> &serials, const QByteArray &output)
{
    QHash<QByteArray, Verdict> failed;
    for (const QByteArray &line : output.split('\n')) {
        const int space = line.indexOf(' ');
        if (space > 0)
            failed.insert(line.mid(space + 1),
                          line.left(space) == "126" ? NotExecutable : NotFound);
    }

    for (quint64 serial : serials) {
        const QByteArray word = rows.value(serial).word;
        const auto verdict = failed.constFind(word);
        if (verdict == failed.constEnd())
            deliver(serial, Ok);
        else
            deliver(serial, *verdict, word);
    }
}

void CommandCheck::checkIdle()
{
    if (isBusy() || !hadWork)
        return;
    hadWork = false;
    emit allChecked();
}
