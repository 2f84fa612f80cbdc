// SPDX-License-Identifier: BSD-2-Clause
#include "dialogs/dialog.h"
#include "modalbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <errno.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/*
 * dialog_err and dialog_errx end the process, so each case runs in a child
 * (dialog_warnx too, so that all three are seen the same way):
 * the test executable itself started with childFlag.  Inside it a timer
 * finds the modal box, writes what it shows to the standard output and
 * closes it; the parent checks that report and the exit status.
 */
static const char childFlag[] = "--dialog-child";

/* Answers "Error" in the context "QObject" and notes how it was asked. */
class ErrorTranslator : public QTranslator
{
public:
    QByteArray asked;

    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *disambiguation,
                      int n) const override
    {
        if (strcmp(source, "Error") != 0)
            return QString();
        const_cast<ErrorTranslator *>(this)->asked = QByteArray(context) + '|'
            + QByteArray(disambiguation ? disambiguation : "(null)") + '|' + QByteArray::number(n);
        return strcmp(context, "QObject") == 0 ? QStringLiteral("Fehler") : QString();
    }
};

static QByteArray iconImage(const QIcon &icon)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << icon.pixmap(32, 32).toImage();
    return bytes;
}

static void report(const char *key, const QByteArray &value)
{
    printf("%s=%s\n", key, value.constData());
}

static void reportBox(QMessageBox *box, QWidget *parent, const ErrorTranslator *translator)
{
    report("title", box->windowTitle().toUtf8().toBase64());
    report("text", box->text().toUtf8().toBase64());
    report("icon", QByteArray::number(int(box->icon())));
    report("buttons", QByteArray::number(box->buttons().size()));
    report("standardButtons", QByteArray::number(int(box->standardButtons())));
    report("modality", QByteArray::number(int(box->windowModality())));
    report("parent", box->parentWidget() == parent ? "caller" : "other");
    report("windowIconNull", box->windowIcon().isNull() ? "1" : "0");
    const QIcon critical = QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
    report("windowIconCritical", iconImage(box->windowIcon()) == iconImage(critical) ? "1" : "0");
    if (translator)
        report("asked", translator->asked);
}

static void closeBox(QMessageBox *box, const QByteArray &how)
{
    if (how == "ok")
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    else if (how == "escape")
        QTest::keyClick(box, Qt::Key_Escape);
    else if (how == "close")
        box->close(); // what the window's close button does
}

static void atExit()
{
    printf("atexit=1\n");
}

/*
 * argv: childFlag, function (err, errx or warnx), errno, format kind, how to
 * close, status, "tr" or "-", parent or "none", message.
 */
static int runChild(int argc, char **argv)
{
    if (argc != 10)
        return 90;
    const QByteArray function = argv[2];
    const int savedErrno = atoi(argv[3]);
    const QByteArray formatKind = argv[4];
    const QByteArray how = argv[5];
    const int status = atoi(argv[6]);
    const bool translate = strcmp(argv[7], "tr") == 0;
    const bool withParent = strcmp(argv[8], "parent") == 0;
    const QByteArray message = argv[9];

    QApplication app(argc, argv);
    ErrorTranslator translator;
    if (translate)
        app.installTranslator(&translator);
    QWidget window;
    window.resize(300, 200);
    window.show();
    QWidget *parent = withParent ? &window : nullptr;

    // Nothing of the report is flushed by hand: exit must do it.
    atexit(atExit);
    ModalBoxWatch<> watch([&](QMessageBox *box) {
        watch.stop();
        reportBox(box, parent, translate ? &translator : nullptr);
        closeBox(box, how);
    });
    QTimer::singleShot(15000, []() {
        printf("nobox=1\n");
        fflush(stdout);
        _exit(91);
    });

    if (formatKind == "wide") {
        // Converting a wide character that the C locale cannot hold makes
        // vsnprintf fail with EILSEQ: formatting changes errno.
        setlocale(LC_CTYPE, "C");
        errno = savedErrno;
        if (function == "err")
            dialog_err(parent, status, "%s %ls", message.constData(), L"\u00e9t\u00e9");
        dialog_errx(parent, status, "%s %ls", message.constData(), L"\u00e9t\u00e9");
    }
    errno = savedErrno;
    if (function == "err")
        dialog_err(parent, status, "%s", message.constData());
    if (function == "warnx") {
        dialog_warnx(parent, "%s", message.constData());
        printf("returned=1\n");
        return status;
    }
    dialog_errx(parent, status, "%s", message.constData());
}

class TestDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void box_data();
    void box();
    void formattingChangesErrno();

private:
    static QString suffix(int errnum);
};

void TestDialog::initTestCase()
{
    // The texts must be those the child's strerror gives in this locale.
    setlocale(LC_ALL, "");
}

QString TestDialog::suffix(int errnum)
{
    return QStringLiteral(":\n") + QString::fromLocal8Bit(strerror(errnum)) + QStringLiteral("\n");
}

/*
 * One row of box_data: the box of `function` with errno as given, saying
 * "Disk full", closed with Ok, untranslated and over a parent.  It exits
 * with status 1, except warnx, after which the child returns 0.  A row
 * names only what it changes.
 */
struct BoxRow
{
    explicit BoxRow(const QString &function, int savedErrno = 0)
        : function(function), savedErrno(savedErrno), status(function == "warnx" ? 0 : 1)
    { }
    BoxRow &closed(const char *way, int exitStatus)
    {
        how = QString::fromLatin1(way);
        status = exitStatus;
        return *this;
    }
    BoxRow &says(const QByteArray &bytes, const QString &shown)
    {
        message = bytes;
        text = shown;
        return *this;
    }
    BoxRow &translated()
    {
        translate = true;
        return *this;
    }
    BoxRow &withoutParent()
    {
        withParent = false;
        return *this;
    }
    void add(const char *name) const
    {
        QTest::newRow(name) << function << savedErrno << how << status << translate << withParent
                            << message << text;
    }

    QString function;
    int savedErrno;
    QString how = QStringLiteral("ok");
    int status;
    bool translate = false;
    bool withParent = true;
    QByteArray message = "Disk full";
    QString text = QStringLiteral("Disk full");
};

void TestDialog::box_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("savedErrno");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("translate");
    QTest::addColumn<bool>("withParent");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("text");

    const QString errx = QStringLiteral("errx");
    const QString err = QStringLiteral("err");
    const QString warnx = QStringLiteral("warnx");
    const QByteArray full = QByteArray(1500, 'a');
    const QByteArray exact = QByteArray(1023, 'b');
    const QByteArray oneShort = QByteArray(1022, 'c');
    const QByteArray near = QByteArray(1010, 'd');
    const QByteArray utf8 = "Datei \xc2\xbb"
                            "autostart.sh\xc2\xab: \xc3\xa4\xc3\xb6\xc3\xbc \xe2\x82\xac "
                            "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80";
    const QString cut = QString::fromLatin1(full.left(1023));

    BoxRow(errx).add("errx, closed with Ok");
    BoxRow(errx).closed("escape", 3).add("errx, closed with Escape");
    BoxRow(errx).closed("close", 42).add("errx, closed by the window");
    BoxRow(errx, ENOENT).add("errx ignores errno");
    BoxRow(err, ENOENT)
        .says("fopen(/x/autostart.sh)", QStringLiteral("fopen(/x/autostart.sh)") + suffix(ENOENT))
        .add("err with ENOENT");
    BoxRow(err, ENOENT)
        .closed("close", 2)
        .says("rename()", QStringLiteral("rename()") + suffix(ENOENT))
        .add("err with ENOENT, closed by the window");
    BoxRow(err).says("mkstemp()", QStringLiteral("mkstemp()") + suffix(0)).add("err with errno 0");
    BoxRow(errx).says(full, cut).add("errx cut at 1023");
    BoxRow(err, ENOENT).says(full, cut).add("err cut at 1023, nothing appended");
    BoxRow(err, ENOENT).says(exact, QString::fromLatin1(exact)).add("err of exactly 1023");
    BoxRow(err, ENOENT)
        .says(oneShort, QString::fromLatin1(oneShort))
        .add("err of 1022: room for the terminator only");
    BoxRow(err, ENOENT)
        .says(near, QString::fromLatin1(near) + suffix(ENOENT).left(12))
        .add("err of 1010: 12 characters of the suffix");
    BoxRow(errx).says(utf8, QString::fromUtf8(utf8)).add("errx UTF-8");
    BoxRow(err, EACCES).says(utf8, QString::fromUtf8(utf8) + suffix(EACCES)).add("err UTF-8");
    BoxRow(errx).translated().add("title translated as QObject");
    // The same box, but the caller goes on (the child then returns status).
    BoxRow(warnx).add("warnx, closed with Ok");
    BoxRow(warnx)
        .closed("escape", 0)
        .says("qvxsessrun_write(): rename()", QStringLiteral("qvxsessrun_write(): rename()"))
        .add("warnx, closed with Escape");
    BoxRow(warnx, ENOENT)
        .closed("close", 0)
        .says(utf8, QString::fromUtf8(utf8))
        .add("warnx, closed by the window");
    BoxRow(warnx).says(full, cut).add("warnx cut at 1023");
    BoxRow(warnx).translated().add("warnx, title translated");
    BoxRow(errx).closed("escape", 1).withoutParent().add("no parent");
}

/* Runs one child and returns its report; fails the test on a hang. */
static QMap<QByteArray, QByteArray> runDialogChild(const QStringList &args, int *exitCode)
{
    QMap<QByteArray, QByteArray> values;
    QProcess child;
    // The child ends through exit() with its whole GUI alive: a leak check
    // there would only change the exit status under test.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               asan + (asan.isEmpty() ? QString() : QStringLiteral(":"))
                   + QStringLiteral("detect_leaks=0"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList { childFlag } + args);
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
        *exitCode = -1;
        return values;
    }
    *exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    // The platform's warnings on the error output are kept for messages.
    values.insert("stderr", child.readAllStandardError());
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            values.insert(line.left(eq), line.mid(eq + 1));
    }
    return values;
}

void TestDialog::box()
{
    QFETCH(QString, function);
    QFETCH(int, savedErrno);
    QFETCH(QString, how);
    QFETCH(int, status);
    QFETCH(bool, translate);
    QFETCH(bool, withParent);
    QFETCH(QByteArray, message);
    QFETCH(QString, text);

    int exitCode = 0;
    const auto r = runDialogChild({ function, QString::number(savedErrno), QStringLiteral("plain"),
                                    how, QString::number(status),
                                    translate ? QStringLiteral("tr") : QStringLiteral("-"),
                                    withParent ? QStringLiteral("parent") : QStringLiteral("none"),
                                    QString::fromUtf8(message) },
                                  &exitCode);

    QVERIFY2(!r.contains("nobox"), "no modal message box appeared");
    QVERIFY2(exitCode == status, r.value("stderr").constData());
    QCOMPARE(exitCode, status);
    QCOMPARE(r.value("atexit"), QByteArray("1"));
    QCOMPARE(r.contains("returned"), function == QStringLiteral("warnx"));
    QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(r.value("text"))), text);
    QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(r.value("title"))),
             translate ? QStringLiteral("Fehler") : QStringLiteral("Error"));
    if (translate)
        QCOMPARE(r.value("asked"), QByteArray("QObject|(null)|-1"));
    QCOMPARE(r.value("icon").toInt(), int(QMessageBox::Critical));
    QCOMPARE(r.value("buttons"), QByteArray("1"));
    QCOMPARE(r.value("standardButtons").toInt(), int(QMessageBox::Ok));
    QCOMPARE(r.value("modality").toInt(), int(Qt::WindowModal));
    QCOMPARE(r.value("parent"), QByteArray("caller"));
    QCOMPARE(r.value("windowIconNull"), QByteArray("0"));
    QCOMPARE(r.value("windowIconCritical"), QByteArray("1"));
}

/*
 * The system text is that of errno on entry even when formatting the
 * message changes errno.  A wide character outside the C locale makes
 * vsnprintf fail with EILSEQ; first make sure it does so here.
 */
void TestDialog::formattingChangesErrno()
{
    char buf[64];
    char *ctype = strdup(setlocale(LC_CTYPE, nullptr));
    setlocale(LC_CTYPE, "C");
    errno = ENOENT;
    const int n = snprintf(buf, sizeof(buf), "%s %ls", "x", L"\u00e9t\u00e9");
    const int formatErrno = errno;
    setlocale(LC_CTYPE, ctype);
    free(ctype);
    if (n >= 0 || formatErrno == ENOENT)
        QSKIP("formatting a wide character does not change errno with this C library");

    int exitCode = 0;
    const auto r
        = runDialogChild({ QStringLiteral("err"), QString::number(ENOENT), QStringLiteral("wide"),
                           QStringLiteral("ok"), QStringLiteral("1"), QStringLiteral("-"),
                           QStringLiteral("parent"), QStringLiteral("fopen(x)") },
                         &exitCode);
    QCOMPARE(exitCode, 1);
    const QString shown = QString::fromUtf8(QByteArray::fromBase64(r.value("text")));
    QVERIFY2(shown.endsWith(suffix(ENOENT)), qPrintable(shown));
    QVERIFY(!shown.contains(QString::fromLocal8Bit(strerror(formatErrno))));
}

int main(int argc, char **argv)
{
    if (argc > 1 && strcmp(argv[1], childFlag) == 0)
        return runChild(argc, argv);
    QApplication app(argc, argv);
    TestDialog test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dialog.moc"
