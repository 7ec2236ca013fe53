// File names between the file system's bytes and stored text: every name comes back byte for
// byte, distinct names stay distinct, and names that are valid UTF-8 are kept as they are.

#include "NativeName.h"

#include <QRandomGenerator>
#include <QTest>

class TestNativeName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesRoundTrip_data();
    void namesRoundTrip();
    void arbitraryBytesRoundTrip();
    void textNoNameGives();
};

void TestNativeName::namesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("native");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("report.txt") << QStringLiteral("report.txt");
    QTest::newRow("valid UTF-8") << QByteArray("caf\xC3\xA9 \xE6\xB8\xAC.txt")
                                 << QStringLiteral("café 測.txt");
    QTest::newRow("outside the BMP") << QByteArray("\xF0\x9F\x98\x80") << QStringLiteral("😀");
    QTest::newRow("percent signs stay")
        << QByteArray("100%25 %E9 %.txt") << QStringLiteral("100%25 %E9 %.txt");
    QTest::newRow("Latin-1 byte") << QByteArray("caf\xE9.txt") << QStringLiteral("caf\uEFE9.txt");
    QTest::newRow("another Latin-1 byte")
        << QByteArray("caf\xE8.txt") << QStringLiteral("caf\uEFE8.txt");
    QTest::newRow("lone continuation") << QByteArray("a\x80") << QStringLiteral("a\uEF80");
    QTest::newRow("cut sequence") << QByteArray("\xE6\xB8") << QStringLiteral("\uEFE6\uEFB8");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QStringLiteral("\uEFC0\uEFAF");
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80") << QStringLiteral("\uEFED\uEFA0\uEF80");
    QTest::newRow("above U+10FFFF")
        << QByteArray("\xF4\x90\x80\x80") << QStringLiteral("\uEFF4\uEF90\uEF80\uEF80");
    QTest::newRow("a character of the escape range")
        << QByteArray("x\xEE\xBF\xA9") << QStringLiteral("x\uEFEE\uEFBF\uEFA9");
    QTest::newRow("valid after invalid") << QByteArray("\xFF\xC3\xA9") << QStringLiteral("\uEFFFé");
    QTest::newRow("a path") << QByteArray("/tmp/d\xFC/f") << QStringLiteral("/tmp/d\uEFFC/f");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestNativeName::namesRoundTrip()
{
    QFETCH(QByteArray, native);
    QFETCH(QString, text);
    QCOMPARE(NativeName::fromNative(native), text);
    QCOMPARE(NativeName::toNative(text), native);
}

// Every byte string comes back from its text, and two byte strings never share a text.
void TestNativeName::arbitraryBytesRoundTrip()
{
    QRandomGenerator random(10);
    QHash<QString, QByteArray> seen;
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes(int(random.bounded(1, 12)), '\0');
        for (char &byte : bytes) {
            // Mostly high bytes and the leads of the escape range, where mistakes would hide.
            const quint32 pick = random.bounded(6);
            byte = char(pick == 0   ? 0xEE
                        : pick == 1 ? 0xBE + random.bounded(2)
                                    : random.bounded(1, 256));
        }
        const QString text = NativeName::fromNative(bytes);
        QCOMPARE(NativeName::toNative(text), bytes);
        QCOMPARE(NativeName::fromNative(NativeName::toNative(text)), text);
        const auto known = seen.constFind(text);
        QVERIFY2(known == seen.cend() || *known == bytes, qPrintable(text));
        seen.insert(text, bytes);
    }
}

// Text from elsewhere (typed, pasted): a lone surrogate cannot be a name's character.
void TestNativeName::textNoNameGives()
{
    const QString lone = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    QCOMPARE(NativeName::toNative(lone), QByteArray("a\xEF\xBF\xBD"
                                                    "b"));
}

QTEST_GUILESS_MAIN(TestNativeName)
#include "tst_NativeName.moc"
