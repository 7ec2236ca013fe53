// Typed texts checked against their fields before a write: each format's widths, ranges and code
// pages, dates in the forms people type them, and refusals that name the field.

#include "FieldTypeNames.h"
#include "FieldValidator.h"

#include <QTest>

Q_DECLARE_METATYPE(DbKind)

class tst_FieldValidator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checks_data();
    void checks();
};

void tst_FieldValidator::checks_data()
{
    QTest::addColumn<DbKind>("kind");
    QTest::addColumn<QString>("nativeType");
    QTest::addColumn<int>("typeCode");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<bool>("dayFirst");
    QTest::addColumn<QString>("text");
    // The value written (its type counts), or the start of the refusal.
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("refusal");

    const int text = int(JetType::Text);
    const int dbl = int(JetType::Double);
    const int lng = int(JetType::Long);
    const int date = int(JetType::Date);
    const int yes = int(JetType::Boolean);
    const DbKind dbf = DbKind::DBase;
    const QVariant none;
    auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };

    row("C fits") << dbf << "C" << text << 5 << 0 << 1252 << false << "abcde" << QVariant("abcde")
                  << "";
    row("C one too long") << dbf << "C" << text << 5 << 0 << 1252 << false << "abcdef" << none
                          << "The field F holds at most 5 characters; \"abcdef\" has 6";
    row("C empty is no value") << dbf << "C" << text << 5 << 0 << 1252 << false << "" << none << "";
    row("C blanks are text") << dbf << "C" << text << 5 << 0 << 1252 << false << "  "
                             << QVariant("  ") << "";
    row("C umlaut in 1252") << dbf << "C" << text << 6 << 0 << 1252 << false << "Müller"
                            << QVariant("Müller") << "";
    row("C Cyrillic not in 1252") << dbf << "C" << text << 10 << 0 << 1252 << false << "aЖук"
                                  << none
                                  << "The field F cannot hold \"Ж\": the table's code page 1252";
    row("C Cyrillic in 866") << dbf << "C" << text << 10 << 0 << 866 << false << "Жук"
                             << QVariant("Жук") << "";
    row("C emoji not in 1252") << dbf << "C" << text << 10 << 0 << 1252 << false << "a😀" << none
                               << "The field F cannot hold \"😀\"";
    row("C in Unicode has no code page")
        << DbKind::SQLite << "varchar(3)" << text << 3 << 0 << 0 << false << "Жук and more"
        << QVariant("Жук and more") << "";
    row("memo holds any length") << dbf << "M" << int(JetType::Memo) << 10 << 0 << 1252 << false
                                 << QString(300, 'm') << QVariant(QString(300, 'm')) << "";

    row("N(8,2) decimal") << dbf << "N" << dbl << 8 << 2 << 1252 << false << "12.5"
                          << QVariant(12.5) << "";
    row("N(8,2) widest") << dbf << "N" << dbl << 8 << 2 << 1252 << false << "12345.67"
                         << QVariant(12345.67) << "";
    row("N(8,2) one digit too wide")
        << dbf << "N" << dbl << 8 << 2 << 1252 << false << "123456.78" << none
        << "The field F holds numbers of at most 8 characters with 2 "
           "decimals; 123456.78 does not fit";
    row("N(8,2) minus sign counts") << dbf << "N" << dbl << 8 << 2 << 1252 << false << "-12345.6"
                                    << none << "The field F holds numbers of at most 8";
    row("N(8,2) whole number") << dbf << "N" << dbl << 8 << 2 << 1252 << false << " 42 "
                               << QVariant(qint64(42)) << "";
    row("N(3,0) widest") << dbf << "N" << lng << 3 << 0 << 1252 << false << "-99"
                         << QVariant(qint64(-99)) << "";
    row("N(3,0) too wide") << dbf << "N" << lng << 3 << 0 << 1252 << false << "1000" << none
                           << "The field F holds numbers of at most 3 characters with 0";
    row("N(3,0) not a number") << dbf << "N" << lng << 3 << 0 << 1252 << false << "12a" << none
                               << "The field F takes a number; \"12a\" is not one";
    row("N empty is no value") << dbf << "N" << dbl << 8 << 2 << 1252 << false << "  " << none
                               << "";

    row("FoxPro I highest") << DbKind::FoxPro << "I" << lng << 4 << 0 << 1252 << false
                            << "2147483647" << QVariant(qint64(2147483647)) << "";
    row("FoxPro I past highest") << DbKind::FoxPro << "I" << lng << 4 << 0 << 1252 << false
                                 << "2147483648" << none
                                 << "The field F holds whole numbers from -2147483648 to "
                                    "2147483647; 2147483648 does not fit";
    row("FoxPro I fraction") << DbKind::FoxPro << "I" << lng << 4 << 0 << 1252 << false << "1.5"
                             << none << "The field F takes a whole number; \"1.5\" is not one";
    row("Paradox S lowest") << DbKind::Paradox << "S" << int(JetType::Integer) << 2 << 0 << 1252
                            << false << "-32768" << QVariant(qint64(-32768)) << "";
    row("Paradox S past highest") << DbKind::Paradox << "S" << int(JetType::Integer) << 2 << 0
                                  << 1252 << false << "32768" << none
                                  << "The field F holds whole numbers from -32768 to 32767";
    row("Paradox A too long") << DbKind::Paradox << "A" << text << 4 << 0 << 0 << false << "abcde"
                              << none << "The field F holds at most 4 characters";
    row("SQLite integer is 64 bits") << DbKind::SQLite << "integer" << lng << 8 << 0 << 0 << false
                                     << "9000000000" << QVariant(qint64(9000000000)) << "";
    row("text file keeps the typed number") << DbKind::Text << "Double" << dbl << 8 << 0 << 0
                                            << false << " 12.50 " << QVariant("12.50") << "";
    row("text file number refused") << DbKind::Text << "Long" << lng << 4 << 0 << 0 << false
                                    << "n/a" << none << "The field F takes a number";

    row("date ISO") << dbf << "D" << date << 8 << 0 << 1252 << false << "2024-02-29"
                    << QVariant("2024-02-29") << "";
    row("date no such day") << dbf << "D" << date << 8 << 0 << 1252 << false << "2023-02-29" << none
                            << "The field F takes a date such as 12/31/2024 or 2024-12-31; "
                               "\"2023-02-29\" is not one";
    row("date day first") << dbf << "D" << date << 8 << 0 << 1252 << true << "31/12/2024"
                          << QVariant("2024-12-31") << "";
    row("date month first") << dbf << "D" << date << 8 << 0 << 1252 << false << "12/31/2024"
                            << QVariant("2024-12-31") << "";
    row("date day first read month first") << dbf << "D" << date << 8 << 0 << 1252 << false
                                           << "31/12/2024" << none << "The field F takes a date";
    row("date with dots") << dbf << "D" << date << 8 << 0 << 1252 << true << "1.2.2024"
                          << QVariant("2024-02-01") << "";
    row("date named month") << dbf << "D" << date << 8 << 0 << 1252 << true << "05-Mar-2024"
                            << QVariant("2024-03-05") << "";
    row("date unknown month") << dbf << "D" << date << 8 << 0 << 1252 << true << "05-Mrz-2024"
                              << none << "The field F takes a date such as 31/12/2024";
    row("date and time") << DbKind::FoxPro << "T" << date << 8 << 0 << 1252 << false
                         << "2024-01-05 13:30" << QVariant("2024-01-05 13:30:00") << "";
    row("date digits") << dbf << "D" << date << 8 << 0 << 1252 << false << "20240105"
                       << QVariant("2024-01-05") << "";
    row("date words") << dbf << "D" << date << 8 << 0 << 1252 << false << "tomorrow" << none
                      << "The field F takes a date";

    row("yes") << dbf << "L" << yes << 1 << 0 << 1252 << false << "Yes" << QVariant(qint64(1))
               << "";
    row("no as F") << dbf << "L" << yes << 1 << 0 << 1252 << false << "f" << QVariant(qint64(0))
                   << "";
    row("neither") << dbf << "L" << yes << 1 << 0 << 1252 << false << "maybe" << none
                   << "The field F takes Yes or No; \"maybe\" is neither";
    row("binary") << DbKind::SQLite << "blob" << int(JetType::LongBinary) << 0 << 0 << 0 << false
                  << "x" << none << "The field F holds binary data, which cannot be typed";
}

void tst_FieldValidator::checks()
{
    QFETCH(DbKind, kind);
    QFETCH(QString, nativeType);
    QFETCH(int, typeCode);
    QFETCH(int, size);
    QFETCH(int, decimals);
    QFETCH(int, codePage);
    QFETCH(bool, dayFirst);
    QFETCH(QString, text);
    QFETCH(QVariant, value);
    QFETCH(QString, refusal);

    SourceField field;
    field.name = QStringLiteral("F");
    field.nativeType = nativeType;
    field.typeCode = typeCode;
    field.size = size;
    field.decimals = decimals;
    const FieldValidator validator(field, kind, codePage, dayFirst);
    QVariant written(QStringLiteral("left over"));
    const QString message = validator.check(text, &written);
    if (refusal.isEmpty()) {
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QCOMPARE(written.metaType(), value.metaType());
        QCOMPARE(written, value);
    } else {
        QVERIFY2(message.startsWith(refusal), qPrintable(message));
        QVERIFY(written.isNull());
    }
}

QTEST_GUILESS_MAIN(tst_FieldValidator)
#include "tst_FieldValidator.moc"
