// SPDX-License-Identifier: BSD-2-Clause
// The bytes of an edited command: what the edit kept keeps its bytes, also
// those that are not UTF-8, and only what it changed is encoded anew.

#include "editor/utf8bytes.h"

#include <QRandomGenerator>
#include <QtTest>

class TestUtf8Bytes : public QObject
{
    Q_OBJECT

private slots:
    void edited_data();
    void edited();
    void unchangedTextKeepsAnyBytes();
    void invalidBytes_data();
    void invalidBytes();
};

void TestUtf8Bytes::edited_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("edited"); // the row's text after the edit
    QTest::addColumn<QByteArray>("result");

    const QString r(QChar::ReplacementCharacter);
    QTest::newRow("nothing changed")
        << QByteArray("echo caf\xe9") << "echo caf" + r << QByteArray("echo caf\xe9");
    QTest::newRow("typed at the end")
        << QByteArray("echo caf\xe9") << "echo caf" + r + " >x" << QByteArray("echo caf\xe9 >x");
    QTest::newRow("typed at the start")
        << QByteArray("echo caf\xe9") << "nice echo caf" + r << QByteArray("nice echo caf\xe9");
    QTest::newRow("changed between two such bytes")
        << QByteArray("a\xe9 b \xff") << "a" + r + " cd " + r << QByteArray("a\xe9 cd \xff");
    QTest::newRow("the byte itself replaced")
        << QByteArray("caf\xe9 --x") << QString::fromUtf8("caf\xc3\xa9 --x")
        << QByteArray("caf\xc3\xa9 --x");
    QTest::newRow("the byte deleted") << QByteArray("caf\xe9!") << "caf!" << QByteArray("caf!");
    QTest::newRow("a replacement character typed")
        << QByteArray("x") << "x" + r << QByteArray("x\xef\xbf\xbd");
    QTest::newRow("a sequence cut short")
        << QByteArray("a\xe2\x82z") << "a" + r + r + "zz" << QByteArray("a\xe2\x82zz");
    QTest::newRow("overlong form and surrogate")
        << QByteArray("\xc0\x80 \xed\xa0\x80") << r + r + " " + r + r + r + "!"
        << QByteArray("\xc0\x80 \xed\xa0\x80!");
    QTest::newRow("above U+10FFFF")
        << QByteArray("\xf4\x90\x80\x80") << "<" + r + r + r + r << QByteArray("<\xf4\x90\x80\x80");
    QTest::newRow("a repeated character added")
        << QByteArray("aa\xe9") << "aaa" + r << QByteArray("aaa\xe9");
    QTest::newRow("a repeated character removed")
        << QByteArray("a\xe9\xe9\xe9") << "a" + r + r << QByteArray("a\xe9\xe9");
    QTest::newRow("all replaced") << QByteArray("\xe9\xe9") << "ok" << QByteArray("ok");
    QTest::newRow("all deleted") << QByteArray("\xe9") << "" << QByteArray("");
    QTest::newRow("characters beyond the BMP kept")
        << QByteArray("\xf0\x9f\x98\x80 \xe9") << QString::fromUtf8("\xf0\x9f\x98\x80 x ") + r
        << QByteArray("\xf0\x9f\x98\x80 x \xe9");
    QTest::newRow("byte-order mark at the start, shown as nothing") << QByteArray("\xef\xbb\xbf"
                                                                                  "echo \xe9")
                                                                    << "echo " + r + " x"
                                                                    << QByteArray("\xef\xbb\xbf"
                                                                                  "echo \xe9 x");
}

void TestUtf8Bytes::edited()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, edited);
    QFETCH(QByteArray, result);

    QCOMPARE(utf8_edited(bytes, QString::fromUtf8(bytes), edited), result);
    // A row that did not show these bytes gets the edit's own UTF-8.
    QCOMPARE(utf8_edited(bytes, QString::fromUtf8(bytes) + "?", edited), edited.toUtf8());
}

/*
 * An edit that leaves the text as the row showed it gives back the bytes
 * themselves, whatever they are: the decoding here and the row's agree on
 * every byte sequence.
 */
void TestUtf8Bytes::unchangedTextKeepsAnyBytes()
{
    QRandomGenerator random(17);
    const char pool[] = "a \x80\xbf\xc0\xc1\xc2\xc3\xa9\xe0\xe2\x82\xac\xed\x9f\xa0\xef\xbb\xbf"
                        "\xf0\x90\x9f\x98\xf4\x8f\x90\xf5\xfe\xff";
    for (int n = 0; n < 20000; n++) {
        QByteArray bytes;
        const int length = int(random.bounded(1, 9));
        for (int i = 0; i < length; i++)
            bytes.append(pool[random.bounded(int(sizeof(pool) - 1))]);
        const QString shown = QString::fromUtf8(bytes);
        if (utf8_edited(bytes, shown, shown) != bytes)
            QFAIL(qPrintable("bytes not kept: " + bytes.toHex(' ')));
        if (utf8_edited(bytes, shown, shown + "x") != bytes + "x")
            QFAIL(qPrintable("bytes not kept before a typed x: " + bytes.toHex(' ')));
    }
}

void TestUtf8Bytes::invalidBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("invalid");

    QTest::newRow("UTF-8 only") << QByteArray("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80")
                                << QByteArray();
    QTest::newRow("Latin-1") << QByteArray("caf\xe9 \xe4\xf6") << QByteArray("\xe9\xe4\xf6");
    QTest::newRow("a sequence cut short")
        << QByteArray("a\xe2\x82z\xe2\x82\xac") << QByteArray("\xe2\x82");
    QTest::newRow("overlong, surrogate, too high")
        << QByteArray("\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80")
        << QByteArray("\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80");
}

void TestUtf8Bytes::invalidBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, invalid);

    QCOMPARE(utf8_invalid_bytes(bytes), invalid);
    // As many as the row shows replacement characters for.
    QCOMPARE(int(QString::fromUtf8(bytes).count(QChar::ReplacementCharacter)), invalid.size());
}

QTEST_GUILESS_MAIN(TestUtf8Bytes)

#include "tst_utf8bytes.moc"
