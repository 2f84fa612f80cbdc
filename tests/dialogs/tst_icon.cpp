// SPDX-License-Identifier: BSD-2-Clause
#include "dialogs/icon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

/*
 * A fixture icon theme made at start: "qvx-first" is red, "qvx-second" is
 * blue, nothing else exists.  The colour tells which name an icon came
 * from.
 */
static const char indexTheme[] = "[Icon Theme]\n"
                                 "Name=QVX fixture\n"
                                 "Comment=Icons for the tests of the icon lookup\n"
                                 "Directories=16x16/actions\n"
                                 "\n"
                                 "[16x16/actions]\n"
                                 "Size=16\n"
                                 "Context=Actions\n"
                                 "Type=Fixed\n";

static const char themeName[] = "qvxfixture";

class TestIcon : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void themeIcon_data();
    void themeIcon();
    void noIconTheme();
    void standardIcon_data();
    void standardIcon();

private:
    bool writeIcon(const QString &name, const QColor &color);

    QTemporaryDir dir;
    QString actions;
};

bool TestIcon::writeIcon(const QString &name, const QColor &color)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(color);
    return image.save(actions + QLatin1Char('/') + name + QStringLiteral(".png"), "PNG");
}

void TestIcon::initTestCase()
{
    QVERIFY(dir.isValid());
    const QString theme = dir.filePath(QString::fromLatin1(themeName));
    actions = theme + QStringLiteral("/16x16/actions");
    QVERIFY(QDir().mkpath(actions));
    QFile index(theme + QStringLiteral("/index.theme"));
    QVERIFY(index.open(QIODevice::WriteOnly));
    QVERIFY(index.write(indexTheme) == qint64(sizeof(indexTheme) - 1));
    index.close();
    QVERIFY(writeIcon(QStringLiteral("qvx-first"), Qt::red));
    QVERIFY(writeIcon(QStringLiteral("qvx-second"), Qt::blue));
}

void TestIcon::init()
{
    QIcon::setThemeSearchPaths({ dir.path() });
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName(QString::fromLatin1(themeName));
}

static QIcon lookUp(const QList<QByteArray> &names)
{
    switch (names.size()) {
    case 1:
        return load_theme_icon(names[0].constData(), nullptr);
    case 2:
        return load_theme_icon(names[0].constData(), names[1].constData(), nullptr);
    case 3:
        return load_theme_icon(names[0].constData(), names[1].constData(), names[2].constData(),
                               nullptr);
    }
    return QIcon(QStringLiteral("not a lookup"));
}

void TestIcon::themeIcon_data()
{
    QTest::addColumn<QList<QByteArray>>("names");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QColor>("color");

    QTest::newRow("the only name")
        << QList<QByteArray> { "qvx-second" } << QStringLiteral("qvx-second") << QColor(Qt::blue);
    QTest::newRow("first of two present") << QList<QByteArray> { "qvx-first", "qvx-second" }
                                          << QStringLiteral("qvx-first") << QColor(Qt::red);
    QTest::newRow("second when the first is missing")
        << QList<QByteArray> { "qvx-missing", "qvx-second" } << QStringLiteral("qvx-second")
        << QColor(Qt::blue);
    QTest::newRow("third after two missing")
        << QList<QByteArray> { "qvx-missing", "qvx-absent", "qvx-first" }
        << QStringLiteral("qvx-first") << QColor(Qt::red);
    // The loader answers a missing name with the icon of a shorter one.
    QTest::newRow("a longer name is not its prefix")
        << QList<QByteArray> { "qvx-first-extra" } << QString() << QColor();
    QTest::newRow("the next name after a longer one")
        << QList<QByteArray> { "qvx-first-extra", "qvx-second" } << QStringLiteral("qvx-second")
        << QColor(Qt::blue);
    QTest::newRow("none present") << QList<QByteArray> { "qvx-missing", "qvx-absent" } << QString()
                                  << QColor();
    QTest::newRow("the only name missing")
        << QList<QByteArray> { "qvx-missing" } << QString() << QColor();
}

void TestIcon::themeIcon()
{
    QFETCH(QList<QByteArray>, names);
    QFETCH(QString, found);
    QFETCH(QColor, color);

    const QIcon icon = lookUp(names);
    if (found.isEmpty()) {
        QVERIFY(icon.isNull());
        QVERIFY(icon.name().isEmpty());
        return;
    }
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.name(), found);
    QCOMPARE(icon.pixmap(16, 16).toImage().pixelColor(8, 8), color);
}

void TestIcon::noIconTheme()
{
    // A theme name that no search path holds: no theme at all.
    QIcon::setThemeName(QStringLiteral("qvx-no-such-theme"));
    QVERIFY(lookUp({ "qvx-first" }).isNull());
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName(QString::fromLatin1(themeName));
    QVERIFY(lookUp({ "qvx-first", "qvx-second" }).isNull());
}

void TestIcon::standardIcon_data()
{
    QTest::addColumn<int>("pixmap");

    QTest::newRow("critical message") << int(QStyle::SP_MessageBoxCritical);
    QTest::newRow("save button") << int(QStyle::SP_DialogSaveButton);
    QTest::newRow("up arrow") << int(QStyle::SP_ArrowUp);
}

void TestIcon::standardIcon()
{
    QFETCH(int, pixmap);

    const auto sp = QStyle::StandardPixmap(pixmap);
    const QIcon icon = standard_icon(sp, nullptr);
    QVERIFY(!icon.isNull());
    const QIcon expected = QApplication::style()->standardIcon(sp);
    QCOMPARE(icon.pixmap(32, 32).toImage(), expected.pixmap(32, 32).toImage());
}

QTEST_MAIN(TestIcon)

#include "tst_icon.moc"
