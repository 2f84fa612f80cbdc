// SPDX-License-Identifier: BSD-2-Clause
// The translation catalogues: complete and well-formed for every text of the
// code, and loaded by the program itself under the user's locale.
//
// The program part runs the real start-up code (app/main.cpp, compiled in
// here as qvx_program_main with the catalogue directory of this build tree)
// in a child process of this executable, one per locale.  A driver hooked
// into the application object writes every visible text it finds to stdout,
// one JSON object per line; the parent compares them with the catalogue.

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMap>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <QXmlStreamReader>
#include <QtTest>

#include <iterator>

#include <pwd.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "app/catalogue.h"
#include "dropevent.h"
#include "modalbox.h"
#include "testscript.h"

int qvx_program_main(int argc, char **argv);
int qvx_uninstalled_main(int argc, char **argv);

namespace {

struct Message
{
    const char *context;
    const char *source;
};

const char labelSource[] = "Add commands to be executed at session start";
const char tipSource[] = "Double click to edit.\nUse checkbox to activate/deactivate a command.\n"
                         "Use Drag & Drop to add desktop files.";

// Every translatable text of the program, by context.  The code is checked
// against this list with lupdate, every catalogue against it as well.
const Message requiredMessages[] = {
    { "Mainwin", labelSource },
    { "Mainwin", "&Undo" },
    { "Mainwin", "&Redo" },
    { "Mainwin", "&Add" },
    { "Mainwin", "&Delete" },
    { "Mainwin", "&Up" },
    { "Mainwin", "Dow&n" },
    { "Mainwin", "&Save" },
    { "Mainwin", "&Quit" },
    { "Mainwin", "Modified" },
    { "Mainwin", "Saved" },
    { "Mainwin", "The script was not saved." },
    { "Mainwin", "The file has been modified." },
    { "Mainwin", "Do you want to save your changes?" },
    { "Mainwin", "&Quit without saving" },
    { "Mainwin", "&Cancel" },
    { "Mainwin", "%n dropped file(s) could not be added: %1" },
    { "Mainwin", "Saved. %n command(s) would not run as written: F8 goes to them." },
    { "Mainwin", "Run no&w" },
    { "Mainwin", "Run in the &background" },
    { "Mainwin", "Script changed on disk" },
    { "Mainwin",
      "The script was changed by another program since it was opened or last saved here." },
    { "Mainwin",
      "The script was removed by another program since it was opened or last saved here." },
    { "Mainwin",
      "Reload shows the script as it is now; Undo brings back the commands shown here. Overwrite "
      "saves the commands shown here over it." },
    { "Mainwin",
      "Reload empties the list; Undo brings back the commands shown here. Overwrite saves the "
      "commands shown here as the script." },
    { "Mainwin", "&Reload" },
    { "Mainwin", "&Overwrite" },
    { "Mainwin", "The script was not reloaded." },
    { "Mainwin", "Reloaded. Undo brings back the commands shown before." },
    { "Mainwin", "Add A&pplication\u2026" },
    { "Mainwin", "Next marked command" },
    { "Mainwin", "Previous marked command" },
    { "Mainwin", "Undo the last change (%1)" },
    { "Mainwin", "Redo the change undone last (%1)" },
    { "Mainwin", "Add an empty command (%1)" },
    { "Mainwin", "Delete the current command (%1)" },
    { "Mainwin", "Move the current command up one place" },
    { "Mainwin", "Move the current command down one place" },
    { "Mainwin", "Save the commands to the script (%1)" },
    { "Mainwin", "Quit the program (%1)" },
    { "AppDialog", "Add Application" },
    { "AppDialog", "Filter" },
    { "AppDialog", "A part of a name, a description or a command" },
    { "AppDialog", "&Filter:" },
    { "AppDialog", "Installed applications" },
    { "AppDialog", "Installed a&pplications:" },
    { "AppDialog", "&Add" },
    { "AppDialog", "&Cancel" },
    { "AppDialog", "Looking for the installed applications\u2026" },
    { "AppDialog", "No installed application was found." },
    { "AppDialog", "No application matches the filter." },
    { "AppModel", "Command: %1" },
    { "List", tipSource },
    { "List", "Commands" },
    { "List", "a file of another computer" },
    { "List", "%1: a file of another computer" },
    { "List", "%1: %2" },
    { "DesktopFile", "not found" },
    { "DesktopFile", "a folder, not a file" },
    { "DesktopFile", "not a regular file" },
    { "DesktopFile", "too large for a desktop entry (over %1 MiB)" },
    { "DesktopFile", "not a desktop entry" },
    { "DesktopFile", "a desktop entry without a command" },
    { "List",
      "Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens its "
      "menu, F8 goes to the next marked command." },
    { "List", "No command is marked yet: the commands are still being checked." },
    { "List", "No command is marked." },
    { "List", "There is no command to run." },
    { "List", "The command is empty: there is nothing to run." },
    { "List", "The line holds only a comment: there is nothing to run." },
    { "List",
      "\u201c%1\u201d belongs to a command that begins on a line above: on its own it runs "
      "nothing." },
    { "List", "The line defines a function, which starts nothing by itself." },
    { "List",
      "The line ends in &&, || or |: the command goes on in the next line, where a final & would "
      "belong." },
    { "List",
      "The command is not complete on this line (a quote, an if, a loop or a here-document is "
      "left open): an & cannot end it here." },
    { "List",
      "The command ends with a here-document: its & belongs on its first line. Edit the command "
      "to change it." },
    { "List",
      "The final & of this line cannot be put in or taken out here. Edit the command to change "
      "it." },
    { "List", "Could not start %1: %2" },
    { "List", "Started %1" },
    { "List", "Starting %1" },
    { "List", "%1 (switched off: the session start does not run it)" },
    { "List", "%1 ended at once by signal %2" },
    { "List", "%1 ended at once with status %2" },
    { "List", "%1 ended at once with status %2: %3" },
    { "CheckText",
      "This line is not valid shell: the script stops here and no later command runs." },
    { "CheckText",
      "Line %1 of this command is not valid shell: the script stops there and no later command "
      "runs." },
    { "CheckText",
      "The final & is swallowed (by a comment or a trailing backslash): the command runs in the "
      "foreground and holds up every later one." },
    { "CheckText",
      "An active command that begins with # is a comment: it does not run, and it is gone the "
      "next time the script is read." },
    { "CheckText",
      "This command begins with #[INACTIVE]#: it does not run and comes back switched off." },
    { "CheckText", "%1: no such command (not a shell builtin, and not found on PATH)." },
    { "CheckText", "%1 is not an executable file." },
    { "List", "Runs in the foreground: the commands below it wait until it ends." },
    { "List", "The shell joins this line with the next one: it ends in &&, || or |." },
    { "CheckText",
      "This line ends in && (or ||, |), so the shell joins it with the next line, and none "
      "follows: the script stops here." },
    { "CheckText",
      "The shell reads on from this line to the end of the script for the end of what it opens "
      "(if, case, a loop, a brace or a quote): this command and every later one never run." },
    { "CheckText",
      "This line leaves a quote open: the shell reads the lines below as part of this command, "
      "up to the next matching quote." },
    { "CheckText",
      "This line starts a here-document that no line ends: every line below becomes its text, "
      "and no later command runs." },
    { "CheckText",
      "This assignment has no effect on the commands below it, because it runs in a background "
      "subshell. Switch off \"Run in the background\" in the row's menu to let it act on the "
      "script." },
    { "CheckText",
      "%1 has no effect on the commands below it, because it runs in a background subshell. "
      "Switch off \"Run in the background\" in the row's menu to let it act on the script." },
    { "CheckText",
      "This command is not complete: it ends in &&, ||, | or a backslash, or opens if, case, a "
      "loop or a brace that it does not close. The shell reads the lines below as part of it." },
    { "CheckText",
      "This command never runs: a line above replaces or ends the shell (exec or exit)." },
    { "CheckText",
      "exec here does not replace the session's shell: the final & runs it in a background "
      "subshell. Switch off \"Run in the background\" in the row's menu if the script should "
      "end in this command." },
    { "CheckText",
      "%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX syntax, or "
      "name another shell in the first line of the script." },
    { "CheckText",
      "This line could not be checked: the shell took longer than %n second(s) over the script "
      "from here and was stopped." },
    { "CheckText",
      "%1 could not be checked: the shell took longer than %n second(s) to look it up and was "
      "stopped." },
    { "List",
      "This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them where it "
      "leaves the text as it was and replaces those that it changes." },
    { "List",
      "%1 stands for a NUL byte in the script. The shell skips it: what stands on either side of "
      "it runs as one word." },
    { "CheckText",
      "This line ends in a carriage return (CR), as lines of a script saved on another system "
      "do. The shell takes the CR for a part of the line's last word, or after a final & for a "
      "command of its own." },
    { "CheckText",
      "Line %1 of this command ends in a carriage return (CR), as lines of a script saved on "
      "another system do. The shell takes the CR for a part of that line's last word, or after a "
      "final & for a command of its own." },
    { "RowDelegate", "(%n lines)" },
    { "RowDelegate", "Command" },
    { "CommandCheck", "The commands could not be checked: %1 could not be run (%2)." },
    { "CommandCheck",
      "The commands could not be checked: no temporary file could be made in %1 (%2)." },
    { "QObject", "Error" },
};

// Buttons that are on screen together: their mnemonics must differ.
const char *const windowButtons[]
    = { "&Undo", "&Redo", "&Add", "&Delete", "&Up", "Dow&n", "&Save", "&Quit" };
const char *const quitBoxButtons[] = { "&Save", "&Quit without saving", "&Cancel" };
const char *const overwriteBoxButtons[] = { "&Reload", "&Overwrite", "&Cancel" };
const char *const rowMenuItems[] = { "Run no&w", "Run in the &background", "&Undo",   "&Redo",
                                     "&Add",     "Add A&pplication\u2026", "&Delete", "&Up",
                                     "Dow&n" };
const char *const applicationDialogItems[]
    = { "&Filter:", "Installed a&pplications:", "&Add", "&Cancel" };

const char *const requiredLanguages[]
    = { "de", "fr", "es", "it", "pt_BR", "ru", "pl", "ja", "zh_CN" };

// Languages whose mnemonics follow the text as "(&X)".
const char *const suffixMnemonicLanguages[] = { "ja", "zh_CN" };

using Key = QPair<QString, QString>; // context, source

struct Entry
{
    QString translation; // of a text with a number: its first form
    bool numerus = false;
    QStringList forms; // of a text with a number, in the language's order
    QString type; // "unfinished", "obsolete", "vanished" or empty
    int count = 0; // how often the pair occurs in the file
};

struct Catalogue
{
    QString version;
    QString language;
    QMap<Key, Entry> entries;
};

QString sourceDir()
{
    return qEnvironmentVariable("QVX_SOURCE_DIR");
}

QString tsPath(const QString &lang)
{
    return sourceDir() + "/translations/qvxsessrun_" + lang + ".ts";
}

QSet<Key> requiredKeys()
{
    QSet<Key> keys;
    for (const Message &m : requiredMessages)
        keys.insert(Key(m.context, m.source));
    return keys;
}

QString show(const Key &k)
{
    QString s = k.second;
    return k.first + ": \"" + s.replace('\n', "\\n") + '"';
}

// The plural form that a catalogue of lang gives for the number n, as
// Qt's rules for the language choose it; -1 for a language not known here.
int pluralForm(const QString &lang, int n)
{
    const bool few = n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14);
    if (lang == "ja" || lang == "zh_CN")
        return 0;
    if (lang == "en" || lang == "de" || lang == "es" || lang == "it")
        return n == 1 ? 0 : 1;
    if (lang == "fr" || lang == "pt_BR")
        return n <= 1 ? 0 : 1;
    if (lang == "ru")
        return n % 10 == 1 && n % 100 != 11 ? 0 : few ? 1 : 2;
    if (lang == "pl")
        return n == 1 ? 0 : few ? 1 : 2;
    return -1;
}

// Numbers that reach every plural form of the languages above.
const int pluralSamples[] = { 0, 1, 2, 4, 5, 11, 12, 14, 21, 22, 25, 101, 111, 112 };

int pluralFormCount(const QString &lang)
{
    int count = 0;
    for (int n : pluralSamples)
        count = qMax(count, pluralForm(lang, n) + 1);
    return count;
}

void readMessage(QXmlStreamReader &xml, const QString &context, Catalogue *cat)
{
    QString source;
    Entry entry;
    entry.numerus = xml.attributes().value("numerus") == QLatin1String("yes");
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value("type").toString();
            if (!entry.numerus) {
                entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                continue;
            }
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("numerusform"))
                    entry.forms << xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
            entry.translation = entry.forms.value(0);
        } else {
            xml.skipCurrentElement();
        }
    }
    Entry &e = cat->entries[Key(context, source)];
    entry.count = e.count + 1;
    e = entry;
}

bool readCatalogue(const QString &path, Catalogue *cat, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = path + ": " + f.errorString();
        return false;
    }
    QXmlStreamReader xml(&f);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("TS")) {
        *error = path + ": no TS element";
        return false;
    }
    cat->version = xml.attributes().value("version").toString();
    cat->language = xml.attributes().value("language").toString();
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("context")) {
            xml.skipCurrentElement();
            continue;
        }
        QString context;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("message"))
                readMessage(xml, context, cat);
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        *error = QString("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    return true;
}

// The characters marked as mnemonics: "&x", where x is neither a second "&"
// nor white space ("Drag & Drop" has none).
QString mnemonics(const QString &text)
{
    QString found;
    for (int i = 0; i + 1 < text.size(); i++) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            i++;
            continue;
        }
        if (!text[i + 1].isSpace())
            found += text[i + 1].toCaseFolded();
    }
    return found;
}

// Problems with the mnemonics of a group of buttons shown together.
QStringList checkButtonGroup(const Catalogue &cat, const char *const *sources, int n,
                             const char *group, const char *context = "Mainwin")
{
    QStringList problems;
    QMap<QChar, QString> seen;
    for (int i = 0; i < n; i++) {
        const QString tr = cat.entries.value(Key(context, sources[i])).translation;
        const QString m = mnemonics(tr);
        if (m.size() != 1)
            continue; // reported with the single texts
        if (seen.contains(m[0]))
            problems << QString("%1: \"%2\" and \"%3\" share the mnemonic %4")
                            .arg(group, seen[m[0]], tr, m);
        seen[m[0]] = tr;
    }
    return problems;
}

QStringList checkCatalogue(const QString &lang, const Catalogue &cat)
{
    QStringList problems;
    if (cat.version != "2.1")
        problems << "TS version " + cat.version;
    if (cat.language != lang)
        problems << "language attribute \"" + cat.language + "\"";

    // The English catalogue holds only the plural forms of the texts with a
    // number; every other text is English in the code already.
    QSet<Key> required = requiredKeys();
    if (lang == "en")
        for (const Key &key : requiredKeys())
            if (!key.second.contains("%n"))
                required.remove(key);
    bool suffixForm = false;
    for (const char *l : suffixMnemonicLanguages)
        suffixForm = suffixForm || lang == l;

    for (auto it = cat.entries.cbegin(); it != cat.entries.cend(); ++it) {
        const Key &key = it.key();
        const Entry &e = it.value();
        if (!required.contains(key)) {
            problems << "not a text of the program: " + show(key);
            continue;
        }
        if (e.count != 1)
            problems << QString("%1 times: %2").arg(e.count).arg(show(key));
        if (!e.type.isEmpty())
            problems << e.type + ": " + show(key);
        // A text with a number needs one translation per plural form.
        const bool withNumber = key.second.contains("%n");
        if (e.numerus != withNumber)
            problems << QString("numerus=\"%1\": %2").arg(e.numerus ? "yes" : "no", show(key));
        if (e.numerus && e.forms.size() != pluralFormCount(lang))
            problems << QString("%1 plural forms instead of %2: %3")
                            .arg(e.forms.size())
                            .arg(pluralFormCount(lang))
                            .arg(show(key));
        const QStringList texts = e.numerus ? e.forms : QStringList(e.translation);
        for (const QString &text : texts) {
            if (text.trimmed().isEmpty()) {
                problems << "empty: " + show(key);
                continue;
            }
            if (withNumber && !text.contains("%n"))
                problems << "no %n: \"" + text + '"';
            const QString want = mnemonics(key.second);
            const QString got = mnemonics(text);
            if (got.size() != want.size())
                problems << QString("%1 mnemonics instead of %2: \"%3\"")
                                .arg(got.size())
                                .arg(want.size())
                                .arg(text);
            else if (!want.isEmpty() && suffixForm
                     && !QRegularExpression("\\(&[A-Z]\\)$").match(text).hasMatch())
                problems << "mnemonic not in the form (&X) at the end: \"" + text + '"';
            if (text.count('\n') != key.second.count('\n'))
                problems << QString("%1 line breaks instead of %2: \"%3\"")
                                .arg(text.count('\n'))
                                .arg(key.second.count('\n'))
                                .arg(text);
        }
    }
    for (const Key &key : required)
        if (!cat.entries.contains(key))
            problems << "missing: " + show(key);

    if (lang == "en")
        return problems;
    problems << checkButtonGroup(cat, windowButtons, int(std::size(windowButtons)), "window");
    problems << checkButtonGroup(cat, overwriteBoxButtons, int(std::size(overwriteBoxButtons)),
                                 "overwrite box");
    problems << checkButtonGroup(cat, rowMenuItems, int(std::size(rowMenuItems)), "row menu");
    problems << checkButtonGroup(cat, quitBoxButtons, int(std::size(quitBoxButtons)),
                                 "quit question");
    problems << checkButtonGroup(cat, applicationDialogItems,
                                 int(std::size(applicationDialogItems)), "application dialog",
                                 "AppDialog");
    return problems;
}

// ---------------------------------------------------------------------------
// Child side: a driver inside the running program.

enum Scenario { NoScenario, WindowScenario, ErrorScenario, PluralScenario };
Scenario scenario = NoScenario;

void observe(const QString &key, const QString &text)
{
    QJsonObject o;
    o.insert("key", key);
    o.insert("text", text);
    const QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    fwrite(line.constData(), 1, size_t(line.size()), stdout);
    fflush(stdout);
}

bool inStatusBar(QWidget *w)
{
    for (; w; w = w->parentWidget())
        if (qobject_cast<QStatusBar *>(w))
            return true;
    return false;
}

} // namespace

// Acts as the user: reads the window, saves, adds a row, asks to quit and
// answers the question with "Quit without saving"; or, when the script
// cannot be read, reads the error box and closes it; or saves, reads what
// the save says once the rows are checked, drops files that cannot be
// added and quits.
class ProgramDriver : public QObject
{
    Q_OBJECT

public:
    explicit ProgramDriver(QObject *parent) : QObject(parent)
    {
        QTimer *poller = new QTimer(this);
        connect(poller, SIGNAL(timeout()), this, SLOT(poll()));
        poller->start(20);
        QTimer::singleShot(20000, this, SLOT(timeOut()));
    }

private slots:
    void poll()
    {
        if (QMessageBox *box = shown_modal_box()) {
            if (box != answered)
                answer(box);
            return;
        }
        if (scenario == ErrorScenario || window)
            return;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->inherits("Mainwin") && w->isVisible()) {
                window = qobject_cast<QMainWindow *>(w);
                if (scenario == PluralScenario) {
                    saveAndWaitForCount();
                    return;
                }
                readWindow();
                QTimer::singleShot(0, this, SLOT(askToQuit()));
                return;
            }
        }
    }

    // The save says "Saved" while the rows are being checked, and how many
    // would not run as soon as they are.
    void waitForCount()
    {
        const QString message = window->statusBar()->currentMessage();
        if (message.isEmpty() || message == QLatin1String("Saved"))
            return;
        countWaiter->stop();
        observe("counted", message);
        readDropMessages();
        QTimer::singleShot(0, this, SLOT(askToQuit()));
    }

    // A slot of its own: quit() runs the question's event loop, in which
    // poll() must still fire.
    void askToQuit() { invoke("quit"); }

    void timeOut()
    {
        observe("timeout", QString());
        _exit(3);
    }

private:
    void invoke(const char *slot)
    {
        if (!QMetaObject::invokeMethod(window, slot, Qt::DirectConnection)) {
            observe("no-slot", slot);
            _exit(4);
        }
    }

    void readWindow()
    {
        // As the window manager gets it.
        observe("title",
                window->windowHandle() ? window->windowHandle()->title() : window->windowTitle());
        for (QLabel *l : window->findChildren<QLabel *>())
            if (!inStatusBar(l))
                observe("label", l->text());
        for (QPushButton *b : window->findChildren<QPushButton *>())
            if (!inStatusBar(b))
                observe("button", b->text());
        for (QListWidget *v : window->findChildren<QListWidget *>())
            observe("tooltip", v->toolTip());
        invoke("save");
        observe("saved", window->statusBar()->currentMessage());
        invoke("addClicked");
        observe("modified", window->statusBar()->currentMessage());
        readDropMessages();
    }

    void saveAndWaitForCount()
    {
        invoke("save");
        countWaiter = new QTimer(this);
        connect(countWaiter, SIGNAL(timeout()), this, SLOT(waitForCount()));
        countWaiter->start(20);
    }

    // Dropped files that cannot be added, one and then two: the status
    // bar's text with a number.
    void readDropMessages()
    {
        for (const QByteArray &uris : { QByteArray("file:///nonexistent/a.desktop\r\n"),
                                        QByteArray("file:///nonexistent/a.desktop\r\n"
                                                   "file:///nonexistent/b.desktop\r\n") }) {
            dropOnList(uris);
            observe("skipped", window->statusBar()->currentMessage());
        }
    }

    void dropOnList(const QByteArray &uris)
    {
        QListWidget *view = window->findChild<QListWidget *>();
        if (!view) {
            observe("no-list", QString());
            _exit(4);
        }
        drop_uri_list(view, uris);
    }

    void answer(QMessageBox *box)
    {
        answered = box;
        if (scenario == ErrorScenario) {
            observe("error.title", box->windowTitle());
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
            return;
        }
        observe("box.title", box->windowTitle());
        observe("box.text", box->text());
        observe("box.informative", box->informativeText());
        const QPair<const char *, QMessageBox::StandardButton> buttons[]
            = { { "box.save", QMessageBox::Save },
                { "box.discard", QMessageBox::Discard },
                { "box.cancel", QMessageBox::Cancel } };
        for (const auto &b : buttons)
            if (QAbstractButton *button = box->button(b.second))
                observe(b.first, button->text());
        if (QAbstractButton *discard = box->button(QMessageBox::Discard))
            discard->click();
        else
            box->reject();
    }

    QMainWindow *window = nullptr;
    QPointer<QMessageBox> answered;
    QTimer *countWaiter = nullptr;
};

namespace {

void startDriver()
{
    if (scenario != NoScenario)
        new ProgramDriver(qApp);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)

// ---------------------------------------------------------------------------
// Parent side.

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray err;
    QMap<QString, QStringList> seen;
};

bool runProgram(const char *which, const QString &locale, Run *run, const char *how = "--program")
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("LANGUAGE"); // would take precedence over the locale below
    env.insert("LANG", locale);
    env.insert("LC_ALL", locale);
    env.insert("LC_MESSAGES", locale);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), { how, which });
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return false;
    run->exitCode = p.exitCode();
    // The offscreen platform says this of every window with a minimum size;
    // it is Qt's, not the program's, and a real display does not print it.
    static const QByteArray platformNoise = "This plugin does not support propagateSizeHints()\n";
    run->err = p.readAllStandardError();
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
        run->err.replace(platformNoise, QByteArray());
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (!o.isEmpty())
            run->seen[o.value("key").toString()] << o.value("text").toString();
    }
    return true;
}

// Points the test user's home at a regular file for one run, so that the
// configuration directory cannot be made and reading the script fails.
class UnusableHome
{
public:
    UnusableHome() : passwd(qEnvironmentVariable("QVX_TEST_DIR") + "/passwd")
    {
        QFile f(passwd);
        if (!f.open(QIODevice::ReadOnly))
            return;
        saved = f.readAll();
        f.close();
        const QString file = qEnvironmentVariable("QVX_TEST_DIR") + "/home-is-a-file";
        QFile home(file);
        if (!home.open(QIODevice::WriteOnly))
            return;
        QByteArrayList lines = saved.split('\n');
        for (QByteArray &line : lines) {
            QByteArrayList fields = line.split(':');
            if (fields.size() == 7 && fields[2].toUInt() == getuid()) {
                fields[5] = file.toLocal8Bit();
                line = fields.join(':');
                ok = true;
            }
        }
        ok = ok && write(lines.join('\n'));
    }
    ~UnusableHome()
    {
        if (!saved.isEmpty())
            write(saved);
    }
    bool ok = false;

private:
    bool write(const QByteArray &data)
    {
        QFile f(passwd);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
    }

    QString passwd;
    QByteArray saved;
};

} // namespace

class tst_translations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void catalogue_data();
    void catalogue();
    void compiledCatalogue_data() { catalogue_data(); }
    void compiledCatalogue();
    void codeTexts();
    void program_data();
    void program();
    void builtInEnglish_data();
    void builtInEnglish();
    void pluralsWithoutCatalogues_data();
    void pluralsWithoutCatalogues();
};

void tst_translations::initTestCase()
{
    QVERIFY2(!sourceDir().isEmpty(), "QVX_SOURCE_DIR is not set; run through ctest");
    // The program writes the script of the user from the password database:
    // that must be the temporary home of with-home.sh, never a real one.
    const QByteArray home = qgetenv("QVX_TEST_HOME");
    QVERIFY2(!home.isEmpty(), "QVX_TEST_HOME is not set; run through tests/with-home.sh");
    const struct passwd *pw = getpwuid(getuid());
    QVERIFY(pw);
    QCOMPARE(QByteArray(pw->pw_dir), home);
}

void tst_translations::catalogue_data()
{
    QTest::addColumn<QString>("lang");
    QSet<QString> present;
    for (const QFileInfo &fi :
         QDir(sourceDir() + "/translations").entryInfoList({ "qvxsessrun_*.ts" }, QDir::Files)) {
        const QString lang = fi.completeBaseName().mid(int(strlen("qvxsessrun_")));
        present.insert(lang);
        QTest::newRow(qPrintable(lang)) << lang;
    }
    for (const char *lang : requiredLanguages)
        if (!present.contains(lang))
            QTest::newRow(lang) << QString(lang); // fails: the file is missing
}

void tst_translations::catalogue()
{
    QFETCH(QString, lang);
    Catalogue cat;
    QString error;
    QVERIFY2(readCatalogue(tsPath(lang), &cat, &error), qPrintable(error));
    const QStringList problems = checkCatalogue(lang, cat);
    QVERIFY2(problems.isEmpty(), qPrintable("\n  " + problems.join("\n  ")));
}

// What the build compiled is what the source says (a stale or missing .qm
// would leave the program in English).
void tst_translations::compiledCatalogue()
{
    QFETCH(QString, lang);
    Catalogue cat;
    QString error;
    QVERIFY2(readCatalogue(tsPath(lang), &cat, &error), qPrintable(error));
    const QString dir = qEnvironmentVariable("QVX_BINARY_DIR") + "/translations";
    QTranslator translator;
    QVERIFY2(translator.load("qvxsessrun_" + lang, dir), qPrintable(dir));
    for (const Message &m : requiredMessages) {
        const Entry e = cat.entries.value(Key(m.context, m.source));
        if (!e.numerus) {
            QCOMPARE(translator.translate(m.context, m.source), e.translation);
            continue;
        }
        // The forms in the order that the language's plural rules use.
        for (int n : pluralSamples)
            QCOMPARE(translator.translate(m.context, m.source, nullptr, n),
                     e.forms.value(pluralForm(lang, n)));
    }
}

// The texts that lupdate finds in the code are exactly the required ones, so
// that refreshing the catalogues neither loses nor adds a text.
void tst_translations::codeTexts()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString ts = tmp.path() + "/code.ts";
    QProcess lupdate;
    lupdate.start(QVX_LUPDATE,
                  { "-silent", "-locations", "none", "-I", sourceDir(), sourceDir() + "/app",
                    sourceDir() + "/editor", sourceDir() + "/dialogs", sourceDir() + "/check",
                    sourceDir() + "/run", sourceDir() + "/desktop", "-ts", ts });
    QVERIFY(lupdate.waitForFinished(60000));
    const QByteArray err = lupdate.readAllStandardError();
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             err.constData());

    Catalogue found;
    QString error;
    QVERIFY2(readCatalogue(ts, &found, &error), qPrintable(error));
    QStringList problems;
    const QSet<Key> required = requiredKeys();
    for (auto it = found.entries.cbegin(); it != found.entries.cend(); ++it)
        if (!required.contains(it.key()))
            problems << "in the code, not in the list: " + show(it.key());
    for (const Key &key : required)
        if (!found.entries.contains(key))
            problems << "not found in the code: " + show(key);
    QVERIFY2(problems.isEmpty(), qPrintable("\n  " + problems.join("\n  ") + '\n' + err));
}

void tst_translations::program_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("lang"); // empty: no catalogue, English

    QTest::newRow("de_DE") << "de_DE.UTF-8"
                           << "de";
    QTest::newRow("de_AT") << "de_AT.UTF-8"
                           << "de";
    QTest::newRow("fr_FR") << "fr_FR.UTF-8"
                           << "fr";
    QTest::newRow("es_ES") << "es_ES.UTF-8"
                           << "es";
    QTest::newRow("it_IT") << "it_IT.UTF-8"
                           << "it";
    QTest::newRow("pt_BR") << "pt_BR.UTF-8"
                           << "pt_BR";
    QTest::newRow("ru_RU") << "ru_RU.UTF-8"
                           << "ru";
    QTest::newRow("pl_PL") << "pl_PL.UTF-8"
                           << "pl";
    QTest::newRow("ja_JP") << "ja_JP.UTF-8"
                           << "ja";
    QTest::newRow("zh_CN") << "zh_CN.UTF-8"
                           << "zh_CN";
    QTest::newRow("sv_SE, no catalogue") << "sv_SE.UTF-8" << QString();
    QTest::newRow("C") << "C" << QString();
    QTest::newRow("en_US") << "en_US.UTF-8" << QString();
}

void tst_translations::program()
{
    QFETCH(QString, locale);
    QFETCH(QString, lang);

    Catalogue cat;
    if (!lang.isEmpty()) {
        QString error;
        QVERIFY2(readCatalogue(tsPath(lang), &cat, &error), qPrintable(error));
    }
    auto tr = [&](const char *context, const char *source) {
        return lang.isEmpty() ? QString(source)
                              : cat.entries.value(Key(context, source)).translation;
    };

    Run run;
    QVERIFY2(runProgram("window", locale, &run), "the program did not end");
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QVERIFY2(!run.seen.contains("timeout"), "the window or the question never came");
    QCOMPARE(run.exitCode, 0);

    QCOMPARE(run.seen.value("title"), QStringList("QVXSessRun"));
    QCOMPARE(run.seen.value("label"), QStringList(tr("Mainwin", labelSource)));
    if (!lang.isEmpty()) // the catalogue was really used
        QVERIFY(run.seen.value("label") != QStringList(labelSource));
    QStringList buttons;
    for (const char *b : windowButtons)
        buttons << tr("Mainwin", b);
    QStringList seenButtons = run.seen.value("button");
    buttons.sort();
    seenButtons.sort();
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(run.seen.value("tooltip"), QStringList(tr("List", tipSource)));
    QCOMPARE(run.seen.value("saved"), QStringList(tr("Mainwin", "Saved")));
    QCOMPARE(run.seen.value("modified"), QStringList(tr("Mainwin", "Modified")));
    // Plural forms come from a catalogue, the English one where the locale
    // has none: never the "(s)" of the source text.
    Catalogue plurals = cat;
    const QString pluralLang = lang.isEmpty() ? QString("en") : lang;
    if (lang.isEmpty()) {
        QString error;
        QVERIFY2(readCatalogue(tsPath("en"), &plurals, &error), qPrintable(error));
    }
    const Entry skipped
        = plurals.entries.value(Key("Mainwin", "%n dropped file(s) could not be added: %1"));
    // Each missing file named, with the reason.
    const QString notFound = tr("DesktopFile", "not found");
    const QStringList reasons { tr("List", "%1: %2").arg("a.desktop", notFound),
                                tr("List", "%1: %2").arg("b.desktop", notFound) };
    QStringList skippedTexts;
    for (int n : { 1, 2 })
        skippedTexts << skipped.forms.value(pluralForm(pluralLang, n))
                            .replace("%n", QString::number(n))
                            .arg(reasons.mid(0, n).join("; "));
    QCOMPARE(run.seen.value("skipped"), skippedTexts);

    const QString changed = tr("Mainwin", "The file has been modified.");
    QCOMPARE(run.seen.value("box.title"), QStringList(changed));
    QCOMPARE(run.seen.value("box.text"), QStringList(changed));
    QCOMPARE(run.seen.value("box.informative"),
             QStringList(tr("Mainwin", "Do you want to save your changes?")));
    QCOMPARE(run.seen.value("box.save"), QStringList(tr("Mainwin", "&Save")));
    QCOMPARE(run.seen.value("box.discard"), QStringList(tr("Mainwin", "&Quit without saving")));
    QCOMPARE(run.seen.value("box.cancel"), QStringList(tr("Mainwin", "&Cancel")));

    Run failed;
    {
        UnusableHome home;
        QVERIFY(home.ok);
        QVERIFY2(runProgram("error", locale, &failed), "the program did not end");
    }
    QVERIFY2(failed.err.isEmpty(), failed.err.constData());
    QVERIFY2(!failed.seen.contains("timeout"), "the error dialog never came");
    QCOMPARE(failed.exitCode, 1);
    QCOMPARE(failed.seen.value("error.title"), QStringList(tr("QObject", "Error")));
}

void tst_translations::builtInEnglish_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("installed"); // the catalogues of this build tree, or none
    QTest::addColumn<QString>("lang"); // the catalogue that should be loaded

    for (bool installed : { false, true }) {
        const char *where = installed ? "installed" : "none installed";
        QTest::addRow("en_US, %s", where) << "en_US" << installed << "en";
        QTest::addRow("en_GB, %s", where) << "en_GB" << installed << "en";
        QTest::addRow("C, %s", where) << "C" << installed << "en";
        QTest::addRow("sv_SE, %s", where) << "sv_SE" << installed << "en";
        QTest::addRow("de_DE, %s", where) << "de_DE" << installed << (installed ? "de" : "en");
        QTest::addRow("ja_JP, %s", where) << "ja_JP" << installed << (installed ? "ja" : "en");
    }
}

// The English catalogue is built into the program: it is the one used for
// an English locale and for one without an installed catalogue, also when
// none is installed at all; an installed catalogue of the locale's own
// language comes first.
void tst_translations::builtInEnglish()
{
    QFETCH(QString, locale);
    QFETCH(bool, installed);
    QFETCH(QString, lang);

    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QString installedDir = qEnvironmentVariable("QVX_BINARY_DIR") + "/translations";
    const QString dir = installed ? installedDir : empty.path();
    QTranslator translator;
    QVERIFY(load_catalogue(&translator, QLocale(locale), dir));
    QCOMPARE(translator.filePath(),
             lang == "en" ? QString(":/i18n/qvxsessrun_en.qm")
                          : QDir(installedDir).filePath("qvxsessrun_" + lang + ".qm"));

    Catalogue cat;
    QString error;
    QVERIFY2(readCatalogue(tsPath(lang), &cat, &error), qPrintable(error));
    const char *source = "Saved. %n command(s) would not run as written.";
    const Entry entry = cat.entries.value(Key("Mainwin", source));
    for (int n : { 1, 2, 5 })
        QCOMPARE(translator.translate("Mainwin", source, nullptr, n),
                 entry.forms.value(pluralForm(lang, n)));
}

void tst_translations::pluralsWithoutCatalogues_data()
{
    QTest::addColumn<QString>("locale");

    QTest::newRow("en_US") << "en_US.UTF-8";
    QTest::newRow("C") << "C";
    QTest::newRow("de_DE") << "de_DE.UTF-8";
}

// The program as it runs from its build tree, with no catalogue installed:
// its English texts with a number read as English, never with "(s)".
void tst_translations::pluralsWithoutCatalogues()
{
    QFETCH(QString, locale);

    QVERIFY(write_script("#!/bin/sh\nqvx-no-such-command-anywhere &\ntrue&\n"));
    Run run;
    const bool ended = runProgram("window", locale, &run, "--uninstalled");
    QVERIFY(QFile::remove(script_path()));
    QVERIFY2(ended, "the program did not end");
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QVERIFY2(!run.seen.contains("timeout"), "the window never said how many rows are marked");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.seen.value("counted"),
             QStringList("Saved. 1 command would not run as written: F8 goes to it."));
    QCOMPARE(run.seen.value("skipped"),
             QStringList({ "1 dropped file could not be added: a.desktop: not found",
                           "2 dropped files could not be added: a.desktop: not found; "
                           "b.desktop: not found" }));
}

int main(int argc, char **argv)
{
    if (argc == 3 && strcmp(argv[1], "--uninstalled") == 0) {
        scenario = PluralScenario;
        char *args[] = { argv[0], nullptr };
        int n = 1;
        return qvx_uninstalled_main(n, args);
    }
    if (argc == 3 && strcmp(argv[1], "--program") == 0) {
        scenario = strcmp(argv[2], "error") == 0 ? ErrorScenario : WindowScenario;
        char *args[] = { argv[0], nullptr };
        int n = 1;
        return qvx_program_main(n, args);
    }
    QCoreApplication app(argc, argv);
    tst_translations t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_translations.moc"
