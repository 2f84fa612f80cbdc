// SPDX-License-Identifier: BSD-2-Clause
#include "check/CommandCheck.h"

#include "cfg/cfg.h"
#include "check/checkshell.h"
#include "check/checkwords.h"
#include "store/store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSet>
#include <QString>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

// A piece of the script that a shell of its own reads on the first check
// is at least this many rows long.
static const int minPieceRows = 256;
// Looked-up names go to a shell of their own in chunks of this many at
// least, and of this many bytes at most, well below the argument limits.
static const int minChunkWords = 256;
static const int chunkBytes = 64 * 1024;
// Rows that could end the shell, tried at most per check.
static const int maxEndCandidates = 4;
// How long a check after a change waits for the next change.
static const int coalesceMs = 30;
// Answers on such rows kept for later checks.
static const int maxProbesKept = 1024;
// Steps kept for later checks per text of the rows they begin at.
static const int maxStepsPerKey = 8;

int CommandCheck::retryAfterMs = 60000;

static qint64 nowMs()
{
    return QDeadlineTimer::current().deadline();
}

/* The user's home from the password database, as the session has it. */
static QByteArray homeDirectory()
{
    char *dir = cfg_home_dir();
    const QByteArray home(dir);
    free(dir);
    return home;
}

/* Whether the "#!" line names a POSIX shell: sh itself, or none at all. */
static bool namesPosixShell(const command_list *list)
{
    char shell[16];
    return qvxsessrun_header_shell(list, shell, sizeof(shell)) == -1 || strcmp(shell, "sh") == 0;
}

static bool onlyBlanks(const QByteArray &bytes)
{
    for (char c : bytes)
        if (!qvxsessrun_is_blank(c))
            return false;
    return true;
}

CommandCheck::CommandCheck(QObject *parent)
    : QObject(parent), roundTimer(new QTimer(this)), retryTimer(new QTimer(this)),
      pool(new QThreadPool(this)), home(homeDirectory())
{
    roundTimer->setSingleShot(true);
    roundTimer->setInterval(0);
    connect(roundTimer, SIGNAL(timeout()), this, SLOT(startRound()));
    retryTimer->setSingleShot(true);
    connect(retryTimer, SIGNAL(timeout()), this, SLOT(retry()));
    // A graphical application tells when it goes to the background; the
    // check needs QtCore alone, so it asks by name.
    QCoreApplication *app = QCoreApplication::instance();
    if (app != nullptr && app->inherits("QGuiApplication"))
        connect(app, SIGNAL(applicationStateChanged(Qt::ApplicationState)), this,
                SLOT(catchApplicationState(Qt::ApplicationState)));
    // One shell per core at most: each task runs one shell at a time.
    pool->setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
}

CommandCheck::~CommandCheck()
{
    cancelTasks();
    pool->waitForDone();
}

void CommandCheck::check(const command_list *commands)
{
    list = commands;
    // What a round finds now would be about the script before the change;
    // what its shells found so far is kept.
    if (inRound) {
        cancelTasks();
        round++;
        inRound = false;
    }
    // The first check at once; later ones wait a moment, so that a run of
    // edits or undos is checked once, after the key that made it.
    roundTimer->start(round == 0 ? 0 : coalesceMs);
}

int CommandCheck::stopLine(quint64 key) const
{
    return told.value(key).line;
}

bool CommandCheck::isBusy() const
{
    return roundTimer->isActive() || inRound;
}

/*
 * Back in front after another program was: one may have been installed
 * or removed meanwhile, so every name is looked up again.  The marks stay
 * as they are until the answers come.
 */
void CommandCheck::catchApplicationState(Qt::ApplicationState state)
{
    if (state != Qt::ApplicationActive) {
        wentAway = seenActive;
        return;
    }
    seenActive = true;
    if (!wentAway || list == nullptr)
        return;
    wentAway = false;
    for (auto it = wordStatus.constBegin(); it != wordStatus.constEnd(); ++it)
        askAgain.insert(it.key());
    check(list);
}

/* What the shell took too long for is old enough to be asked again. */
void CommandCheck::retry()
{
    if (list != nullptr)
        check(list);
}

void CommandCheck::cancelTasks()
{
    for (const QSharedPointer<CheckTask> &task : qAsConst(tasks))
        task->cancel();
}

/* A round: the script as it is now, checked with what is known already. */
void CommandCheck::startRound()
{
    if (list == nullptr)
        return;
    cancelTasks();
    round++;
    inRound = true;
    chainAt = 0;
    chainSplit = false;
    chainTasks = 0;
    chainMarks.clear();
    chainLines.clear();
    stepsNow.clear();
    endRow = -1;
    probeDone = false;
    analysed = false;
    makeScript(list);

    // The rows' own lines are read in a worker: at many rows that is work
    // the window should not wait for.
    QSharedPointer<CheckTask> task(new CheckTask(CheckTask::Analyse, ++lastTaskId, this));
    QSharedPointer<CheckScript> s = script;
    QSharedPointer<QVector<CheckRow>> analysedRows(new QVector<CheckRow>);
    QSharedPointer<QSet<QByteArray>> names(new QSet<QByteArray>);
    const QByteArray homeDir = home;
    task->analyse = [s, homeDir, analysedRows, names]() {
        analyse(s.data(), homeDir, analysedRows.data(), names.data());
    };
    task->script = script;
    pendingRows = analysedRows;
    pendingNames = names;
    startTask(task);
}

/*
 * The script of the list as a save would write it now, and each row's
 * line and command, copied for a worker that reads them.
 */
void CommandCheck::makeScript(const command_list *commands)
{
    QVector<const command_entry *> entries;
    for (const command_entry *e = commands->entries; e != nullptr; e = e->next)
        entries.append(e);
    const int n = entries.size();

    QVector<size_t> starts(n + 1);
    size_t len = 0;
    char *text = qvxsessrun_render_rows(commands, &len, starts.data());
    QSharedPointer<CheckScript> s(new CheckScript);
    s->text = text != nullptr ? QByteArray(text, int(len)) : QByteArray();
    free(text);
    if (!s->text.isEmpty() && !s->text.endsWith('\n'))
        s->text += '\n';
    if (text == nullptr)
        starts.fill(0);
    starts[n] = size_t(s->text.size());
    s->starts.resize(n + 1);
    for (int i = 0; i <= n; i++)
        s->starts[i] = int(starts.at(i));

    s->keys.resize(n);
    s->active.resize(n);
    s->leadLines.resize(n);
    s->lineStarts.resize(n + 1);
    s->textStarts.resize(n + 1);
    for (int i = 0; i < n; i++) {
        const command_entry *e = entries.at(i);
        char *bytes = qvxsessrun_line(e, &len);
        s->leadLines[i]
            = e->lead_len > 0 ? int(std::count(e->lead, e->lead + e->lead_len, '\n')) : 0;
        // The first row's part begins with the "#!" line.
        if (i == 0)
            s->leadLines[i] += s->starts.at(1) > 0 && s->text.startsWith("#!") ? 1 : 0;
        s->keys[i] = quint64(reinterpret_cast<quintptr>(e));
        s->active[i] = e->active;
        s->lineStarts[i] = s->lineBytes.size();
        if (bytes != nullptr)
            s->lineBytes.append(bytes, int(len));
        s->textStarts[i] = s->textBytes.size();
        s->textBytes.append(e->text, int(e->text_len));
        free(bytes);
    }
    s->lineStarts[n] = s->lineBytes.size();
    s->textStarts[n] = s->textBytes.size();
    posixHeader = namesPosixShell(commands);
    script = s;
}

/* From a worker: the script's lines and hashes, and what each row's own
 * line tells. */
void CommandCheck::analyse(CheckScript *s, const QByteArray &home, QVector<CheckRow> *rows,
                           QSet<QByteArray> *defined)
{
    const int n = s->rowCount();
    s->lines.resize(n + 1);
    int line = 1;
    const char *bytes = s->text.constData();
    for (int i = 0, at = 0; i <= n; i++) {
        for (; at < s->starts.at(i); at++)
            line += bytes[at] == '\n';
        s->lines[i] = line;
    }
    s->computeHashes();

    for (int i = 0; i < n; i++) {
        const QByteArray text = s->rowText(i);
        if (text.contains('(') || text.contains("function") || text.contains("alias"))
            for (const QByteArray &name : command_definitions(text))
                defined->insert(name);
    }

    *rows = QVector<CheckRow>(n);
    s->open.resize(n);
    s->quote.resize(n);
    bool runsBelow = false;
    for (int i = n - 1; i >= 0; i--) {
        CheckRow &row = (*rows)[i];
        row.key = s->keys.at(i);
        int open = SCAN_CLOSED;
        if (s->active.at(i))
            analyseRow(s->rowLine(i), s->rowText(i), runsBelow, home, &row, &open);
        else
            analyseRow(s->rowLine(i), QByteArray(), false, home, &row, &open);
        s->open[i] = open != SCAN_CLOSED;
        s->quote[i] = open == SCAN_QUOTE;
        runsBelow = runsBelow || row.runs;
    }
}

/*
 * The names that the commands of a row look up, in their order, the first
 * command's words given: a row of a compound command (an if, a loop, a
 * function's body) or an and-or list runs several.  Left out are those
 * that a command of the row tests for ("command -v NAME && NAME").
 */
QList<QByteArray> CommandCheck::commandNames(const QByteArray &text, const QByteArray &home,
                                             const command_words &first)
{
    static const size_t most = 64;
    size_t starts[most];
    const size_t count
        = qvxsessrun_command_starts(nullptr, text.constData(), size_t(text.size()), starts, most);
    QList<QByteArray> names = first.lookups;
    QList<QByteArray> tested;

    if (first.simple && count <= 1)
        return names;
    for (size_t i = 0; i < count && i < most; i++) {
        const QByteArray command = text.mid(int(starts[i]));
        tested << command_tested(command, home);
        if (starts[i] == 0)
            continue; // the first command's, given
        command_words words;
        command_words_of(command, home, &words);
        for (const QByteArray &name : qAsConst(words.lookups))
            if (!names.contains(name))
                names << name;
    }
    // A program that the row itself tests for before it runs it is not
    // missing by mistake.
    names.erase(std::remove_if(
                    names.begin(), names.end(),
                    [&tested](const QByteArray &name) { return command_is_tested(name, tested); }),
                names.end());
    return names;
}

/*
 * What the row's own line tells: whether it runs at all, the verdicts the
 * store's reading of its line gives, and the names to look up.  text is
 * null for a switched-off row.
 */
void CommandCheck::analyseRow(const QByteArray &line, const QByteArray &text, bool runsBelow,
                              const QByteArray &home, CheckRow *row, int *open)
{
    line_scan scan;
    qvxsessrun_scan(nullptr, line.constData(), size_t(line.size()), &scan);
    *open = scan.open;
    row->runs = !text.isNull() && !line.isEmpty() && !onlyBlanks(line);
    if (!row->runs)
        return;

    command_words words;
    command_words_of(text, home, &words);
    row->lookups = commandNames(text, home, words);
    row->first = words.first;
    row->endsShell = !scan.background && words.simple && (words.replaces_shell || words.ends_shell);
    row->crLine = scan.cr_end ? int(scan.cr_line) : -1;

    const int kind = qvxsessrun_line_kind(line.constData(), size_t(line.size()));
    const int form = qvxsessrun_line_form(line.constData(), size_t(line.size()));
    if (kind == LINE_INACTIVE)
        row->local = ComesBackInactive;
    else if (kind == LINE_TRIVIA || (form & LINE_FORM_HASH_FIRST))
        row->local = Comment;
    else if (scan.open == SCAN_HEREDOC && runsBelow)
        row->local = HereDocument;
    else if (scan.open == SCAN_QUOTE && runsBelow)
        row->local = OpenQuote;
    else if ((scan.open == SCAN_CONSTRUCT || scan.open == SCAN_BACKSLASH) && runsBelow)
        row->local = ReadsOn;
    else if ((form & LINE_FORM_AMP_LAST) && !scan.background && !scan.joins)
        row->local = Foreground;
    else if (scan.background && words.simple && words.first == "exec" && words.replaces_shell)
        row->local = ExecInBackground;
    else if (scan.background && words.simple && (words.state_only || words.assignments_only))
        row->local = StateInBackground;
    row->localWord = row->local == StateInBackground ? words.first : QByteArray();
}

void CommandCheck::startTask(const QSharedPointer<CheckTask> &task)
{
    task->round = round;
    tasks.insert(task->id, task);
    // The pool's copy of the pointer keeps the task while it runs.
    pool->start([task]() { task->run(); });
}

/* Whether the row is not as the last round told it: new, or its text or
 * its being written changed. */
bool CommandCheck::rowChanged(int row) const
{
    const auto before = told.constFind(rows.at(row).key);
    return before == told.constEnd()
        || before->hash != (script->rangeHash(row, row + 1) ^ quint64(rows.at(row).runs));
}

/*
 * The names to ask a shell about, spread over the cores: those no shell
 * was asked about yet, those of rows that changed, those to ask again
 * after the program came back to the front, and those the shell took too
 * long for a while ago.
 */
void CommandCheck::lookUpWords()
{
    QList<QByteArray> missing;
    QSet<QByteArray> seen;
    int bytes = 0;
    const qint64 now = nowMs();
    for (int i = 0; i < rows.size(); i++) {
        const CheckRow &row = rows.at(i);
        if (!row.runs || row.local == Comment || row.local == ComesBackInactive)
            continue;
        bool changed = false, changedKnown = false;
        for (const QByteArray &word : row.lookups) {
            if (seen.contains(word) || defined.contains(word))
                continue;
            const auto known = wordStatus.constFind(word);
            if (known != wordStatus.constEnd() && !askAgain.contains(word)
                && !(*known == -1 && now - timedOutAt.value(word) >= retryAfterMs)) {
                if (!changedKnown) {
                    changed = rowChanged(i);
                    changedKnown = true;
                }
                if (!changed)
                    continue;
            }
            seen.insert(word);
            missing.append(word);
            bytes += word.size() + 1;
        }
    }
    if (missing.isEmpty())
        return;

    const int byCount
        = qMin(pool->maxThreadCount(), (missing.size() + minChunkWords - 1) / minChunkWords);
    const int chunks = qMax(byCount, (bytes + chunkBytes - 1) / chunkBytes);
    const int perChunk = (missing.size() + chunks - 1) / chunks;
    for (int i = 0; i < missing.size(); i += perChunk) {
        QSharedPointer<CheckTask> task(new CheckTask(CheckTask::Lookup, ++lastTaskId, this));
        task->words = missing.mid(i, perChunk);
        startTask(task);
    }
}

/* The mark of a chain step, on the row nearest to it that runs. */
void CommandCheck::markChain(int row, int from, int kind, int line)
{
    int target = row;
    while (target > from && !rows.at(target).runs)
        target--;
    while (target < rows.size() && !rows.at(target).runs)
        target++;
    if (target >= rows.size())
        return;
    chainMarks.insert(target, kind);
    if (target == row && line > 0)
        chainLines.insert(target, line);
}

/* Walks the script with the steps known, and asks the shell from where
 * none is. */
void CommandCheck::advanceChain()
{
    const int n = script->rowCount();

    while (chainAt < n) {
        const ChainStep *step = CheckTask::stepAt(stepsNow, *script, chainAt, retryAfterMs);
        if (step == nullptr)
            step = CheckTask::stepAt(steps, *script, chainAt, retryAfterMs);
        if (step == nullptr) {
            startChainTasks(chainAt);
            return;
        }
        if (step->kind != ChainStep::Clean)
            markChain(chainAt + step->marked - step->from, chainAt, step->kind, step->line);
        chainAt += step->next - step->from;
    }
    probeEnd();
}

/*
 * The shell over the rows from `from` on.  The first time in a round,
 * the rows are cut into one piece per core, each read by a shell of its
 * own; a piece reports only what the rows behind it cannot change, and
 * what is left is read by one shell to the end.
 */
void CommandCheck::startChainTasks(int from)
{
    const int n = script->rowCount();
    const int left = n - from;
    const int pieces = chainSplit ? 1 : qBound(1, left / minPieceRows, pool->maxThreadCount());
    chainSplit = true;

    for (int j = 0; j < pieces; j++) {
        QSharedPointer<CheckTask> task(new CheckTask(CheckTask::Chain, ++lastTaskId, this));
        task->script = script;
        task->from = from + int(qint64(left) * j / pieces);
        task->end = j == pieces - 1 ? n : from + int(qint64(left) * (j + 1) / pieces);
        task->known = steps;
        task->knownNow = stepsNow;
        task->retryTimedOutMs = retryAfterMs;
        startTask(task);
        chainTasks++;
    }
}

/* The script up to the end of a row, as the key of a probe. */
quint64 CommandCheck::probeKey(const CheckScript &s, int row)
{
    return s.rangeHash(0, row + 1) ^ (quint64(s.starts.at(row + 1)) << 20);
}

/*
 * The first row, before any that breaks the script, that replaces or
 * ends the shell at the top level of the script: the rows below it never
 * run.
 */
void CommandCheck::probeEnd()
{
    int firstMark = rows.size();
    for (auto it = chainMarks.constBegin(); it != chainMarks.constEnd(); ++it)
        firstMark = qMin(firstMark, it.key());

    QVector<int> ask;
    int tried = 0;
    for (int i = 0; i < firstMark && tried < maxEndCandidates; i++) {
        if (!rows.at(i).endsShell)
            continue;
        tried++;
        const auto known = probed.constFind(probeKey(*script, i));
        if (known == probed.constEnd()) {
            ask.append(i);
        } else if (*known && ask.isEmpty()) {
            endRow = i;
            break;
        }
    }
    if (endRow >= 0 || ask.isEmpty()) {
        probeDone = true;
        return;
    }
    QSharedPointer<CheckTask> task(new CheckTask(CheckTask::Probe, ++lastTaskId, this));
    task->script = script;
    task->candidates = ask;
    startTask(task);
}

void CommandCheck::catchTaskDone(int id)
{
    const QSharedPointer<CheckTask> task = tasks.take(id);
    if (task.isNull())
        return;
    const bool current = task->round == round;

    // What a shell found holds for the same text, whichever round asked.
    bool timedOut = false;
    for (const ChainStep &step : qAsConst(task->steps)) {
        if (step.from < task->script->rowCount())
            keepStep(current ? &stepsNow : &steps, task->script->stepKey(step.from), step);
        timedOut = timedOut || step.kind == ChainStep::TimedOut;
    }
    const qint64 now = nowMs();
    for (int i = 0; i < task->words.size() && i < task->statuses.size(); i++) {
        const QByteArray &word = task->words.at(i);
        const int status = task->statuses.at(i);
        if (status == CheckTask::NotAsked)
            continue;
        wordStatus.insert(word, status);
        askAgain.remove(word);
        if (status == -1)
            timedOutAt.insert(word, now);
        else
            timedOutAt.remove(word);
        timedOut = timedOut || status == -1;
    }
    if (timedOut && !retryTimer->isActive())
        retryTimer->start(retryAfterMs);
    if (task->noShell)
        noteNoShell(*task);
    else if (task->shellRan)
        noShellTold = false;
    for (int i = 0; i < task->answers.size(); i++)
        if (task->answers.at(i) != -1)
            probed.insert(probeKey(*task->script, task->candidates.at(i)), task->answers.at(i));

    if (!current)
        return;
    if (task->kind == CheckTask::Analyse) {
        rows = *pendingRows;
        defined = *pendingNames;
        pendingRows.reset();
        pendingNames.reset();
        analysed = true;
        lookUpWords();
        advanceChain();
    } else if (task->kind == CheckTask::Chain && --chainTasks == 0) {
        if (task->noShell)
            chainAt = script->rowCount(); // without a shell nothing can be told
        advanceChain();
    } else if (task->kind == CheckTask::Probe) {
        if (task->noShell)
            probeDone = true; // asking again would find no shell either
        else
            probeEnd();
    }
    finishIfDone();
}

/*
 * A step among those that begin at the same text.  Those of this round are
 * all kept, so that the walk over the script finds every one that a shell
 * found for it; of those kept for later rounds, the one found longest ago
 * makes room.
 */
void CommandCheck::keepStep(ChainSteps *into, quint64 key, const ChainStep &step)
{
    std::vector<ChainStep> &kept = (*into)[key];
    for (ChainStep &old : kept) {
        if (old.hash == step.hash && old.spanEnd - old.from == step.spanEnd - step.from
            && old.toEnd == step.toEnd) {
            old = step;
            return;
        }
    }
    if (into == &stepsNow || kept.size() < size_t(maxStepsPerKey)) {
        kept.push_back(step);
        return;
    }
    *std::min_element(kept.begin(), kept.end(), [](const ChainStep &a, const ChainStep &b) {
        return a.madeAt < b.madeAt;
    }) = step;
}

/* Says once why no row could be checked: the shell or a file for it could
 * not be had. */
void CommandCheck::noteNoShell(const CheckTask &task)
{
    if (noShellTold)
        return;
    noShellTold = true;
    const QString why = QString::fromLocal8Bit(strerror(task.noShellError));
    const QString what = QFile::decodeName(task.noShellWhat);
    if (task.noShellWhat == shell_program)
        emit uncheckable(
            tr("The commands could not be checked: %1 could not be run (%2).").arg(what, why));
    else
        emit uncheckable(tr("The commands could not be checked: no temporary file could be "
                            "made in %1 (%2).")
                             .arg(what, why));
}

void CommandCheck::finishIfDone()
{
    for (const QSharedPointer<CheckTask> &task : qAsConst(tasks))
        if (task->round == round)
            return;
    if (!inRound || !analysed || chainAt < script->rowCount() || !probeDone)
        return;
    finishRound();
}

/* Tells every row whose verdict is new, and forgets rows that are gone. */
void CommandCheck::finishRound()
{
    inRound = false;
    // Sorted in one block rather than a set: a node per row, freed right
    // after, would leave the window's heap in as many pieces.
    QVector<quint64> keys(rows.size());
    for (int i = 0; i < rows.size(); i++) {
        const CheckRow &row = rows.at(i);
        keys[i] = row.key;
        QByteArray word;
        Told now;
        now.verdict = verdictOf(i, &word);
        now.word = QString::fromLocal8Bit(word);
        now.line = now.verdict == NotShell  ? chainLines.value(i)
            : now.verdict == CarriageReturn ? row.crLine
                                            : 0;
        now.hash = script->rangeHash(i, i + 1) ^ quint64(row.runs);
        const auto before = told.constFind(row.key);
        if (before != told.constEnd() && before->verdict == now.verdict && before->word == now.word
            && before->line == now.line && before->hash == now.hash)
            continue;
        told.insert(row.key, now);
        emit checked(row.key, now.verdict, now.word);
    }
    std::sort(keys.begin(), keys.end());
    const auto known = [&keys](quint64 key) {
        return std::binary_search(keys.constBegin(), keys.constEnd(), key);
    };
    for (auto it = told.begin(); it != told.end();)
        it = known(it.key()) ? std::next(it) : told.erase(it);
    // Steps are kept by the text they begin at: those of texts no longer
    // in the script go.
    for (auto it = stepsNow.constBegin(); it != stepsNow.constEnd(); ++it)
        for (const ChainStep &step : it.value())
            keepStep(&steps, it.key(), step);
    stepsNow.clear();
    QVector<quint64> texts(rows.size());
    for (int i = 0; i < rows.size(); i++)
        texts[i] = script->stepKey(i);
    std::sort(texts.begin(), texts.end());
    for (auto it = steps.begin(); it != steps.end();)
        it = std::binary_search(texts.constBegin(), texts.constEnd(), it.key()) ? std::next(it)
                                                                                : steps.erase(it);
    // Each edit above a row that ends the shell asks anew; old answers go.
    if (probed.size() > maxProbesKept)
        probed.clear();
    emit allChecked();
}

/* A row's verdict from all that is known of it, the gravest first. */
int CommandCheck::verdictOf(int i, QByteArray *word) const
{
    const CheckRow &row = rows.at(i);

    if (!row.runs)
        return Ok;
    if (endRow >= 0 && i > endRow)
        return NeverRuns;
    if (row.local == Comment || row.local == ComesBackInactive)
        return row.local;
    const auto chain = chainMarks.constFind(i);
    if (chain != chainMarks.constEnd()) {
        switch (*chain) {
        case ChainStep::Error:
        case ChainStep::Crashed:
            if (posixHeader && command_word_not_posix(row.first)) {
                *word = row.first;
                return NotPosix;
            }
            return NotShell;
        case ChainStep::Unclosed:
            return row.local == OpenQuote || row.local == HereDocument ? row.local : Unclosed;
        default:
            return Unchecked;
        }
    }
    if (row.local != Ok) {
        *word = row.localWord;
        return row.local;
    }
    for (const QByteArray &lookup : row.lookups) {
        if (defined.contains(lookup))
            break;
        const int status = wordStatus.value(lookup, 0);
        *word = lookup;
        if (status == 127 && command_word_not_posix(lookup))
            return posixHeader ? NotPosix : Ok;
        if (status == 127)
            return NotFound;
        if (status == 126)
            return NotExecutable;
        if (status == -1)
            return Unchecked;
    }
    word->clear();
    // Nothing graver: a CR at the end of a line still reaches a command as
    // a byte of a word, or runs as a command of its own.
    return row.crLine >= 0 ? CarriageReturn : Ok;
}
