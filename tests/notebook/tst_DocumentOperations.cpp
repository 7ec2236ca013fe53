#include "ContentIndex.h"
#include "DesktopEntry.h"
#include "DocumentOperations.h"
#include "Moduleshortcut.h"
#include "NotesCatalogue.h"
#include "PrintSingle.h"
#include "RichTextPages.h"
#include "SharedRoutines.h"

#include "Store.h"
#include "TestEnvironment.h"
#include "TestTrash.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

namespace
{

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The notebook's document commands on real files and rows: the properties save that renames,
// rows added by hand, all rows removed, documents deleted, copies and shortcuts on the
// Desktop, the way cleared for an export, and the single-document report.
class tst_DocumentOperations : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestTrash> m_trash;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<NotesCatalogue> m_catalogue;
    std::unique_ptr<DocumentOperations> m_ops;

    QString path(const QString &relative) const { return m_env->scratch() + u'/' + relative; }
    QString desktop() const { return path("desktop"); }

    DocumentRecord document(const QString &relative, const QByteArray &bytes = "{\\rtf1 text}")
    {
        DocumentRecord record = NotesCatalogue::linkRecord(m_env->writeFile(relative, bytes));
        record.docType = "Letters";
        if (!m_catalogue->writeRow(record))
            qFatal("row not written");
        return record;
    }

    int rows() const { return m_store->value("select count(*) from nv_notesdairy1").toInt(); }

    QString lastMessage() const { return m_env->dialogs().shown().last().text; }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_trash = std::make_unique<TestTrash>();
        m_store = std::make_unique<Store>(Store::Kind::Data);
        m_catalogue = std::make_unique<NotesCatalogue>(*m_store);
        m_ops = std::make_unique<DocumentOperations>(*m_catalogue, "Notebook");
    }
    void cleanup()
    {
        m_ops.reset();
        m_catalogue.reset();
        m_store.reset();
        m_trash.reset();
        m_env.reset();
    }

    void propertiesPaths_data()
    {
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        const auto row = [](const char *tag, const QString &old, const QString &name,
                            const QString &path) { QTest::newRow(tag) << old << name << path; };
        row("renamed, extension upper-cased", "/Docs/note.rtf", "memo", "/Docs/memo.RTF");
        row("same name in another case", "/Docs/note.rtf", "NOTE", "/Docs/note.rtf");
        row("from the first dot of the name", "/Docs/a.b.rtf", "x", "/Docs/x.B.RTF");
        row("a dot in a folder", "/my.docs/n.txt", "m", "/my.docs/m.TXT");
        row("no extension", "/Docs/README", "Read me", "/Docs/Read me");
    }

    void propertiesPaths()
    {
        QFETCH(QString, old);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(DocumentOperations::propertiesPath(old, name), path);
    }

    void propertiesSave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");   // "memo.RTF" is there before
        QTest::addColumn<QString>("file"); // the document's file afterwards; "" nothing saved
        QTest::newRow("renamed") << "memo" << false << "memo.RTF";
        QTest::newRow("quotes, percent, non-ASCII")
            << "O'Brien 100%_ Ü" << false << "O'Brien 100%_ Ü.RTF";
        QTest::newRow("taken name keeps both") << "memo" << true << "memo (2).RTF";
        QTest::newRow("empty name") << " " << false << "";
        QTest::newRow("a separator") << "a/b" << false << "";
    }

    void propertiesSave()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        QFETCH(QString, file);
        const DocumentRecord before = document("Docs/note.rtf", "body");
        if (taken)
            m_env->writeFile("Docs/memo.RTF", "other");
        DocumentOperations::Properties fields;
        fields.name = name;
        fields.category = "Work";
        fields.flags = "urgent";
        fields.version = "2";
        fields.current = true;
        fields.dueDate = QDate(2026, 12, 4);
        fields.type = "Private";
        fields.author = "Zoë";
        fields.serialNo = "7";
        fields.progress = "Half";
        const std::optional<QString> saved = m_ops->saveProperties(before.id, fields);
        const DocumentRecord after = *m_catalogue->byId(before.id);
        if (file.isEmpty()) {
            QVERIFY(!saved);
            QCOMPARE(after.path, before.path);
            QCOMPARE(after.category1, before.category1);
            QCOMPARE(readAll(before.path), QByteArray("body"));
            QVERIFY(m_env->platform().sounds.isEmpty());
            return;
        }
        QCOMPARE(*saved, path("Docs/" + file));
        QCOMPARE(after.path, *saved);
        QCOMPARE(readAll(*saved), QByteArray("body"));
        QVERIFY(!QFileInfo::exists(before.path));
        if (taken)
            QCOMPARE(readAll(path("Docs/memo.RTF")), QByteArray("other"));
        QCOMPARE((QStringList{after.documentName, after.category1, after.flags, after.version,
                              after.type, after.author, after.progress}),
                 (QStringList{name, "Work", "urgent", "2", "Private", "Zoë", "Half"}));
        QVERIFY(after.current);
        QCOMPARE(after.dueDate, QDate(2026, 12, 4).startOfDay());
        QCOMPARE(after.serialNo, std::optional<qint64>(7));
        QCOMPARE(after.docType, "Letters"); // not a field of the panel
        QCOMPARE(m_env->platform().sounds, QStringList{SoundCuePath(SoundCue::Save)});
    }

    // A row whose file is gone keeps its path; a serial number that is no number is Null.
    void propertiesOfAMissingFile()
    {
        DocumentRecord gone = NotesCatalogue::linkRecord(path("gone.rtf"));
        QVERIFY(m_catalogue->writeRow(gone));
        DocumentOperations::Properties fields;
        fields.name = "renamed";
        fields.serialNo = "seven";
        QCOMPARE(*m_ops->saveProperties(gone.id, fields), gone.path);
        const DocumentRecord after = *m_catalogue->byId(gone.id);
        QCOMPARE(after.documentName, "renamed");
        QVERIFY(!after.serialNo);
        QVERIFY(!after.dueDate.isValid());
        QVERIFY(!m_ops->saveProperties(gone.id + 100, fields)); // no such row
    }

    void addByHand_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file"); // "" no path; "<missing>" a path without a file
        QTest::addColumn<QString>("message");
        const auto row = [](const char *tag, const QString &name, const QString &file,
                            const QString &message) {
            QTest::newRow(tag) << name << file << message;
        };
        row("added", "Tax 2026 «Ü»", "tax's 100%.txt", "");
        row("without a path", "Ideas", "", "");
        row("no name", "  ", "tax's 100%.txt", "Please enter the Document Name");
        row("name taken, other case", "EXISTING", "", "This Document already exists");
        row("path taken", "Other", "existing.rtf", "This Document already exists");
        row("no such file", "Other", "<missing>", "There is no file at\n");
    }

    void addByHand()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(QString, message);
        document("existing.rtf");
        DocumentOperations::NewDocument fields;
        fields.name = name;
        fields.date = QDate(2026, 3, 9);
        fields.serialNo = "12";
        fields.category = "Tax";
        fields.type = "Forms";
        if (file == QLatin1String("<missing>"))
            fields.path = path("missing.txt");
        else if (!file.isEmpty())
            fields.path = file == QLatin1String("existing.rtf") ? path(file)
                                                                : m_env->writeFile(file, "figures");
        const bool added = m_ops->addDocument(fields);
        QCOMPARE(added, message.isEmpty());
        QCOMPARE(rows(), added ? 2 : 1);
        if (!added) {
            QVERIFY(lastMessage().startsWith(message));
            QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Information);
            return;
        }
        const DocumentRecord row = *m_catalogue->byName(name);
        QCOMPARE(row.path, fields.path);
        QCOMPARE(row.date, QDate(2026, 3, 9).startOfDay());
        QCOMPARE(row.serialNo, std::optional<qint64>(12));
        QCOMPARE(row.category1, "Tax");
        QCOMPARE(row.type, "Forms");
        QCOMPARE(row.bgcolor, std::optional<qint64>(14208965));
        QCOMPARE(row.ext, file.isEmpty() ? QString() : "txt");
        QCOMPARE(m_env->platform().sounds, QStringList{SoundCuePath(SoundCue::Add)});
    }

    void removeAllAsksTwiceAndKeepsTheFiles_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("removed");
        QTest::newRow("first no") << QList<bool>{false} << false;
        QTest::newRow("second no") << QList<bool>{true, false} << false;
        QTest::newRow("both yes") << QList<bool>{true, true} << true;
    }

    void removeAllAsksTwiceAndKeepsTheFiles()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(bool, removed);
        const QString a = document("a.rtf", "{\\rtf1 findable}").path;
        const QString b = document("b.txt", "plain").path;
        for (const bool answer : answers)
            m_env->dialogs().answerQuestion(answer);
        QCOMPARE(m_ops->removeAllLinks(), removed);
        QCOMPARE(rows(), removed ? 0 : 2);
        QCOMPARE(readAll(a), QByteArray("{\\rtf1 findable}"));
        QCOMPARE(readAll(b), QByteArray("plain"));
        QCOMPARE(m_store
                     ->column("select DocumentName from nv_notesdairy1 where " +
                              ContentIndex::condition("findable"))
                     .size(),
                 removed ? 0 : 1);
        QVERIFY(m_trash->trashed().isEmpty());
    }

    void deleteDocumentsOfTheGrid()
    {
        const QString a = document("a's 100%.rtf").path;
        DocumentRecord gone = NotesCatalogue::linkRecord(path("gone.rtf"));
        QVERIFY(m_catalogue->writeRow(gone));
        const QString kept = document("kept.rtf").path;
        m_env->dialogs().answerQuestion(false);
        QCOMPARE(m_ops->deleteDocuments({a, gone.path}), 0);
        QCOMPARE(rows(), 3);
        m_env->dialogs().answerQuestion(true);
        QCOMPARE(m_ops->deleteDocuments({a, gone.path}), 2);
        QCOMPARE(m_env->dialogs().shown().last().text,
                 "Are you sure want to delete these 2 documents?");
        QCOMPARE(m_trash->trashed(), QStringList{"a's 100%.rtf"});
        QCOMPARE(m_store->column("select path from nv_notesdairy1"), QStringList{kept});
        QCOMPARE(m_env->platform().sounds, QStringList{SoundCuePath(SoundCue::Del)});
    }

    void savedToTheDesktop_data()
    {
        QTest::addColumn<bool>("there"); // a file of the name is on the Desktop
        QTest::addColumn<int>("answer"); // -1 no question
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("free") << false << -1 << QByteArray("pane");
        QTest::newRow("there, kept") << true << 0 << QByteArray("old");
        QTest::newRow("there, replaced") << true << 1 << QByteArray("pane");
    }

    void savedToTheDesktop()
    {
        QFETCH(bool, there);
        QFETCH(int, answer);
        QFETCH(QByteArray, after);
        const QString name = "it's 100% Ü.rtf";
        if (there)
            m_env->writeFile("desktop/" + name, "old");
        if (answer >= 0)
            m_env->dialogs().answerQuestion(answer == 1);
        const QString written =
            DocumentOperations::saveToDesktop(name, "pane", path("docs/" + name), "Notebook");
        QCOMPARE(readAll(desktop() + u'/' + name), after);
        QCOMPARE(written.isEmpty(), after == "old");
        QCOMPARE(m_trash->trashed(), answer == 1 ? QStringList{name} : QStringList());
        if (answer >= 0)
            QCOMPARE(m_env->dialogs().shown().first().text,
                     name + QStringLiteral(" is on the Desktop already.\nDo you want to "
                                           "replace it?"));
        QCOMPARE(lastMessage() == QLatin1String("Saved to Desktop"), after == "pane");
    }

    void aDocumentOnTheDesktopIsNotWrittenOverItself()
    {
        const QString own = m_env->writeFile("desktop/note.rtf", "own");
        QVERIFY(DocumentOperations::saveToDesktop("note.rtf", "pane", own, "Notebook").isEmpty());
        QVERIFY(DocumentOperations::copyToDesktop(own, "Notebook").isEmpty());
        QCOMPARE(readAll(own), QByteArray("own"));
        QCOMPARE(lastMessage(), "This document is on the Desktop already.");
        // Another document's file is copied as it is.
        const QString list = m_env->writeFile("docs/Prices.nvs", "list");
        QCOMPARE(DocumentOperations::copyToDesktop(list, "Notebook"), desktop() + "/Prices.nvs");
        QCOMPARE(readAll(desktop() + "/Prices.nvs"), QByteArray("list"));
    }

    // A desktop shortcut is a valid desktop entry whose link is the document; one of the same
    // name is replaced only when the user says so.
    void shortcutsOnTheDesktop()
    {
        const QString target = m_env->writeFile("docs/O'Brien 100% Ü.rtf", "x");
        Moduleshortcut module(Moduleshortcut::Shell::Freedesktop, DesktopEnvironment({}, {}));
        const QString title = "O'Brien 100% Ü";
        const QString entry = DocumentOperations::sendToDesktop(target, title, module, "Notebook");
        QCOMPARE(entry, desktop() + u'/' + title + ".desktop");
        const DesktopEntry read = DesktopEntry::parse(readAll(entry));
        QCOMPARE(read.value("Type"), "Link");
        QCOMPARE(read.value("Name"), title);
        QCOMPARE(QUrl(read.value("URL")).toLocalFile(), target);
        const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
        if (!validator.isEmpty()) {
            QProcess check;
            check.setProcessChannelMode(QProcess::MergedChannels);
            check.start(validator, {entry});
            QVERIFY(check.waitForFinished(30000));
            QVERIFY2(check.exitCode() == 0, check.readAll().constData());
        }

        m_env->dialogs().answerQuestion(false);
        const QString other = m_env->writeFile("docs/other.rtf", "y");
        QVERIFY(DocumentOperations::sendToDesktop(other, title, module, "Notebook").isEmpty());
        QCOMPARE(m_env->dialogs().shown().last().text,
                 QStringLiteral("A shortcut named O'Brien 100% Ü is on the Desktop already.\nDo "
                                "you want to replace it?"));
        QCOMPARE(QUrl(DesktopEntry::parse(readAll(entry)).value("URL")).toLocalFile(), target);
        m_env->dialogs().answerQuestion(true);
        QCOMPARE(DocumentOperations::sendToDesktop(other, title, module, "Notebook"), entry);
        QCOMPARE(QUrl(DesktopEntry::parse(readAll(entry)).value("URL")).toLocalFile(), other);
        QCOMPARE(m_trash->trashed(), QStringList{title + ".desktop"});
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed");
    }

    void theReport_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("row");
        QTest::addColumn<bool>("national");
        QTest::addColumn<QString>("body");
        QTest::newRow("rich text, month first")
            << "Letter.RTF" << QByteArray("{\\rtf1\\ansi Dear {\\b Zo\\'eb}\\par}") << true << false
            << "Dear Zoë";
        QTest::newRow("plain text, day first")
            << "notes.txt" << QByteArray("first line\nsecond line") << true << true
            << "first line\nsecond line";
        QTest::newRow("a list as its table")
            << "Prices.nvs"
            << QByteArray("NuvelaList\t1\nsize\t2\t2\nfixed\t1\t0\nrow\t0\tItem\tPrice\n"
                          "row\t1\tCaf\xC3\xA9\t3.20\n")
            << true << true << "Item\nPrice\nCafé\n3.20";
        QTest::newRow("no row, no header")
            << "loose.txt" << QByteArray("loose") << false << true << "loose";
    }

    void theReport()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, row);
        QFETCH(bool, national);
        QFETCH(QString, body);
        const QString path = m_env->writeFile(file, bytes);
        DocumentRecord record = NotesCatalogue::linkRecord(path);
        record.date = QDate(2026, 12, 4).startOfDay();
        record.author = "O'Brien";
        const std::unique_ptr<QTextDocument> report =
            PrintSingle::report(path, row ? std::optional(record) : std::nullopt, national);
        const QString text = report->toPlainText();
        QVERIFY2(text.trimmed().endsWith(body), qPrintable(text));
        if (!row) {
            QCOMPARE(text.trimmed(), body);
            return;
        }
        for (const QString &caption : PrintSingle::captions())
            QVERIFY2(text.contains(caption), qPrintable(caption));
        QVERIFY(
            text.contains(national ? QLatin1String("04 Dec-2026") : QLatin1String("Dec 04-2026")));
        QVERIFY(text.contains(record.documentName));
        QVERIFY(text.contains(QLatin1String("O'Brien")));
        QVERIFY(text.contains(QLatin1String("Business")));
        // Null columns show nothing, never "0" or a placeholder.
        QVERIFY(!text.contains(QLatin1String("Progress\n0")));
    }

    // The report becomes a PDF without any printer, as the preview's PDF does.
    void theReportAsPdf()
    {
        const QString path =
            m_env->writeFile("Übersicht.rtf", "{\\rtf1\\ansi Overview of the year\\par}");
        const std::unique_ptr<QTextDocument> report =
            PrintSingle::report(path, NotesCatalogue::linkRecord(path), true);
        const QString pdf = m_env->scratch() + "/report.pdf";
        const QPageLayout page(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                               QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        QVERIFY(RichTextPages::printToPdf(*report, page, pdf));
        QVERIFY(readAll(pdf).startsWith("%PDF"));
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QProcess convert;
        convert.start(pdftotext, {pdf, "-"});
        QVERIFY(convert.waitForFinished(30000));
        const QString printed = QString::fromUtf8(convert.readAllStandardOutput());
        QVERIFY2(printed.contains(QLatin1String("Overview of the year")), qPrintable(printed));
        QVERIFY2(printed.contains("Übersicht"), qPrintable(printed));
        QVERIFY(printed.contains(QLatin1String("Document Name")));
    }
};

QTEST_MAIN(tst_DocumentOperations)
#include "tst_DocumentOperations.moc"
