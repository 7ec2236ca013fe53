// Builds a notebook catalogue of N documents (RTF bodies of 0.5 to 4 KB made from a word list,
// kept in the catalogue only: the searches need no files) through the catalogue's own row
// routine, then times the notebook's searches as the window runs them, each up to the grid
// filled with its rows:
//   quick   - the quick search for a word found in about 1% of the rows,
//   filter  - the structured filter on a category and a creation-date range,
//   content - content search (index check and query) for a five-letter substring found in
//             about 1% of the bodies,
//   fts5    - the same query on a bare FTS5 table: one trigram table holding the texts and,
//             unindexed, the columns the grid shows, so no catalogue, no join and no check;
//             the floor an index beside the catalogue is measured against.
// Each figure is the median of several runs after one warm-up. Prints one line:
//   docs=N quick_ms=A filter_ms=B content_ms=C fts5_ms=D ratio=C/D
//
// usage: notebook_search [--make N] [--folder DIR]
//   N defaults to 100000; with --folder the store is made in DIR (kept there, and used again
//   when it already holds one) instead of a temporary folder.
#include "ContentIndex.h"
#include "DocumentGrid.h"
#include "DocumentLoader.h"
#include "DocumentRecord.h"
#include "KeyedGridModel.h"
#include "NotesCatalogue.h"
#include "NotesFilter.h"
#include "NotesViews.h"
#include "SqlText.h"
#include "Store.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

namespace
{

const QString QuickWord = QStringLiteral("quokka");

// Words of two to four syllables; no syllable holds a "q", so the planted word is the only one
// that does.
QStringList wordList(std::mt19937 &random)
{
    static const char *const syllables[] = {
        "ba", "be", "bi", "bo", "bu", "ca",  "ce",  "co",  "da",  "de", "di", "do",
        "fa", "fe", "fi", "ga", "ge", "go",  "ha",  "he",  "hi",  "la", "le", "li",
        "lo", "lu", "ma", "me", "mi", "mo",  "na",  "ne",  "ni",  "no", "pa", "pe",
        "pi", "po", "ra", "re", "ri", "ro",  "sa",  "se",  "si",  "so", "ta", "te",
        "ti", "to", "va", "ve", "vi", "ent", "ion", "ing", "est", "er", "an"};
    std::uniform_int_distribution<int> syllable(0, int(std::size(syllables)) - 1);
    std::uniform_int_distribution<int> length(2, 4);
    QStringList words;
    for (int i = 0; i < 5000; ++i) {
        QString word;
        for (int n = length(random); n > 0; --n)
            word += QLatin1String(syllables[syllable(random)]);
        words << word;
    }
    return words;
}

// An RTF body of about bytes bytes: words by a skewed choice (a few words are common, most
// are rare), paragraphs, some bold runs and accented letters as the RTF escapes them.
QString body(std::mt19937 &random, const QStringList &words, int bytes)
{
    std::geometric_distribution<int> pick(0.004);
    std::uniform_int_distribution<int> percent(0, 99);
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ");
    while (rtf.size() < bytes) {
        const QString &word = words[std::min<int>(pick(random), int(words.size()) - 1)];
        const int roll = percent(random);
        if (roll < 3)
            rtf += QStringLiteral("{\\b ") + word + QStringLiteral("} ");
        else if (roll < 5)
            rtf += QStringLiteral("caf\\'e9 ");
        else if (roll < 8)
            rtf += word + QStringLiteral(".\\par ");
        else
            rtf += word + ' ';
    }
    return rtf + '}';
}

void makeCatalogue(NotesCatalogue &catalogue, int documents)
{
    std::mt19937 random(1302);
    const QStringList words = wordList(random);
    static const char *const categories[] = {"Home",   "Work",    "Finance", "Health", "Travel",
                                             "School", "Hobbies", "Family",  "Garden", "Recipes"};
    std::uniform_int_distribution<int> size(512, 4096);
    std::uniform_int_distribution<int> day(0, 5 * 365);
    const QDate first(2021, 1, 1);
    const Store &store = catalogue.store();
    for (int i = 0; i < documents; ++i) {
        if (i % 1000 == 0)
            store.transaction();
        DocumentRecord record;
        record.documentName = QStringLiteral("Note %1").arg(i);
        if (i % 100 == 7)
            record.documentName += ' ' + QuickWord;
        record.path = QStringLiteral("/home/user/NVUserFiles/Notes Diary/note%1.rtf").arg(i);
        record.ext = QStringLiteral("rtf");
        record.category1 = QLatin1String(categories[i % std::size(categories)]);
        record.type = QStringLiteral("Business");
        record.docType = QStringLiteral("Notes");
        record.author = QStringLiteral("Author %1").arg(i % 37);
        record.version = QString::number(1 + i % 3);
        record.serialNo = i;
        record.date = first.addDays(day(random)).startOfDay();
        record.mDate = record.date.addDays(3);
        record.bgcolor = NotesCatalogue::DefaultColour;
        record.content = NotesCatalogue::contentOf(body(random, words, size(random)).toLatin1());
        catalogue.writeRow(record);
        if (i % 1000 == 999 || i == documents - 1)
            store.commit();
    }
}

double medianMs(const std::function<void()> &run)
{
    run(); // warm-up: the page cache and the statement cache
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs a record source into a grid as the window does, up to its first page.
void firstPage(const Store &store, const QString &source, const QString &captions)
{
    KeyedGridModel grid;
    DocumentLoader loader(store);
    loader.start(grid, source, captions, DocumentGrid::dateFormat(false), nullptr,
                 DocumentGrid::FirstPage);
}

// The number of rows a record source finds.
int rowsOf(const Store &store, const QString &source)
{
    KeyedGridModel grid;
    DocumentGrid::fill(store, source, QString(), grid, DocumentGrid::dateFormat(false));
    return grid.dataRows();
}

// A five-letter substring of the texts found in about 1% of them: letters taken from the texts
// at fixed steps, the first whose share of documents is within a fifth of 1%.
QString contentText(const Store &store, int documents)
{
    QSqlQuery sample(store.database());
    sample.exec(QStringLiteral("select body from nv_notesdairy1_text where rowid % 101 = 7"));
    QStringList candidates;
    while (sample.next()) {
        const QString text = sample.value(0).toString();
        for (qsizetype at = 17; at + 5 <= text.size(); at += 61) {
            const QString piece = text.mid(at, 5);
            if (std::all_of(piece.begin(), piece.end(), [](QChar c) { return c.isLower(); }) &&
                !candidates.contains(piece))
                candidates << piece;
        }
    }
    QSqlQuery count(store.database());
    count.prepare(QStringLiteral("select count(*) from bare where bare match ?"));
    QString best;
    double bestDistance = 1e9;
    for (const QString &candidate : std::as_const(candidates)) {
        count.addBindValue('"' + candidate + '"');
        if (!count.exec() || !count.next())
            continue;
        const double distance = std::abs(count.value(0).toDouble() / documents - 0.01);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
        if (distance <= 0.002)
            break;
    }
    return best;
}

// The columns content search shows, as the bare table holds them.
const QString GridColumns = QStringLiteral(
    "DocumentName,date,Category1,Type,mDate,SerialNo,ext,Author,Version,Progress,Flags,path,"
    "bgcolor,DocType,Picfilelink");

// Content search's statement on the bare table.
QString bareSource(const QString &text)
{
    return QStringLiteral("select rowid as id,%1 from bare where bare match %2 order by "
                          "documentname ")
        .arg(GridColumns, SqlText::literal('"' + text + '"'));
}

// The phrase match alone on the bare table: the rows' ids, nothing else.
void phraseOnly(sqlite3 *db, const QString &text)
{
    const QByteArray sql = "select rowid from bare where bare match ?";
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
    const QByteArray phrase = ('"' + text + '"').toUtf8();
    sqlite3_bind_text(statement, 1, phrase.constData(), int(phrase.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    sqlite3_finalize(statement);
}

void makeBareTable(const Store &store)
{
    QString columns = GridColumns;
    columns.replace(',', QLatin1String(" unindexed,"));
    QSqlQuery bare(store.database());
    bare.exec(QStringLiteral("create virtual table bare using fts5(body, %1 unindexed, "
                             "tokenize = 'trigram')")
                  .arg(columns));
    bare.exec(QStringLiteral("insert into bare (rowid, body, %1) select n.id, t.body, %2 from "
                             "nv_notesdairy1 n join nv_notesdairy1_text t on t.rowid = n.id")
                  .arg(GridColumns, QStringLiteral("n.") +
                                        QString(GridColumns).replace(',', QLatin1String(",n."))));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int documents = 100000;
    const QStringList args = app.arguments();
    const qsizetype make = args.indexOf(QStringLiteral("--make"));
    if (make >= 0 && make + 1 < args.size())
        documents = std::max(1, args[make + 1].toInt());

    QTemporaryDir temporary;
    const qsizetype kept = args.indexOf(QStringLiteral("--folder"));
    const QString folder = kept >= 0 && kept + 1 < args.size() ? args[kept + 1] : temporary.path();
    qputenv("NUVELA_PROGRAM_DIR", folder.toUtf8());
    const bool made = QFileInfo::exists(Store::defaultPath(Store::Kind::Data));
    Store store(Store::Kind::Data);
    NotesCatalogue catalogue(store);
    if (made) {
        documents = store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt();
    } else {
        QElapsedTimer build;
        build.start();
        makeCatalogue(catalogue, documents);
        std::fprintf(stderr, "built %d documents in %.1f s (index %s)\n", documents,
                     double(build.elapsed()) / 1000.0,
                     catalogue.index().isAvailable() ? "available" : "missing");
        makeBareTable(store);
    }

    const QString ContentText = contentText(store, documents);
    std::fprintf(stderr, "content search for \"%s\"\n", qPrintable(ContentText));
    const QString quick = NotesFilter::recordSource(NotesFilter::quickSearchClause(QuickWord, {}));
    const double quickMs = medianMs([&] { firstPage(store, quick, NotesFilter::captions(true)); });
    NotesFilterFields fields;
    fields.category = QStringLiteral("Home");
    fields.dateKind = QStringLiteral("Created");
    fields.from = QDate(2024, 1, 1);
    fields.to = QDate(2024, 12, 31);
    const QString filter = NotesFilter::recordSource(NotesFilter::clause(fields));
    const double filterMs =
        medianMs([&] { firstPage(store, filter, NotesFilter::captions(false)); });
    const QString content = NotesViews::contentSource(ContentIndex::condition(ContentText));
    const double contentMs = medianMs([&] {
        catalogue.refreshIndex(200);
        firstPage(store, content, NotesViews::defaultCaptions());
    });
    const QString bare = bareSource(ContentText);
    const double bareMs = medianMs([&] { firstPage(store, bare, NotesViews::defaultCaptions()); });
    const int bareHits = rowsOf(store, bare);
    const double phraseMs = medianMs([&] { phraseOnly(store.handle(), ContentText); });
    std::fprintf(stderr, "fts5 phrase match alone (ids only): %.1f ms\n", phraseMs);
    const int quickHits = rowsOf(store, quick);
    const int filterHits = rowsOf(store, filter);
    const int contentHits = rowsOf(store, content);
    std::fprintf(stderr, "rows found: quick %d, filter %d, content %d, bare fts5 %d\n", quickHits,
                 filterHits, contentHits, bareHits);
    std::printf("docs=%d quick_ms=%.1f filter_ms=%.1f content_ms=%.1f fts5_ms=%.1f ratio=%.2f\n",
                documents, quickMs, filterMs, contentMs, bareMs, contentMs / bareMs);
    return 0;
}
