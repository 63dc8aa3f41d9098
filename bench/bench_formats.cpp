// Texts as they come: encoding detection over the corpus in every encoding, formatting an
// Aozora Bunko style text in the real window, and opening a zipped corpus.
//
// Usage: bench_formats CORPUS_10MB (CP932)
#include "BenchReport.h"
#include "WindowDriver.h"

#include "files/TextFileReader.h"
#include "platform/Cp932.h"
#include "platform/TextDecoding.h"
#include "platform/TextEncoding.h"
#include "reader/MainRichEdit.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <archive.h>
#include <archive_entry.h>
#include <iconv.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int Runs = 5;

// Both sides of a row by turns, each first in every other round, so that neither pays alone
// for what the runs before it left behind (large blocks the allocator has just handed back to
// the system and must fault in again), which at a few milliseconds is much of the figure.
template <class F, class G> std::pair<double, double> MediansByTurnsMs(F&& ours, G&& base)
{
    std::vector<double> oursTimes;
    std::vector<double> baseTimes;
    auto time = [](auto& work, std::vector<double>& times) {
        TCpuTimer timer;
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    };
    for (int i = 0; i < Runs; ++i) {
        if (i % 2 == 0) {
            time(ours, oursTimes);
            time(base, baseTimes);
        } else {
            time(base, baseTimes);
            time(ours, oursTimes);
        }
    }
    return {Median(oursTimes), Median(baseTimes)};
}

template <class F> double MedianWallMs(F&& work)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

QByteArray Iconv(const QString& text, const char* encoding)
{
    iconv_t cd = iconv_open(encoding, "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray in(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray out(in.size() * 2 + 16, '\0');
    char* src = in.data();
    size_t srcLeft = size_t(in.size());
    char* dst = out.data();
    size_t dstLeft = size_t(out.size());
    const size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (done == size_t(-1))
        return {};
    out.truncate(out.size() - qsizetype(dstLeft));
    return out;
}

// EUC-JP written as ISO-2022-JP: the escapes around each run of JIS X 0208.
QByteArray EucToJis(const QByteArray& euc)
{
    QByteArray jis;
    jis.reserve(euc.size() * 5 / 4);
    bool kanji = false;
    for (qsizetype i = 0; i < euc.size(); ++i) {
        const auto b = static_cast<unsigned char>(euc[i]);
        if (b >= 0xA1 && i + 1 < euc.size()) {
            if (!kanji)
                jis += "\x1b$B";
            kanji = true;
            jis += char(b & 0x7F);
            jis += char(euc[++i] & 0x7F);
        } else if (b < 0x80) {
            if (kanji)
                jis += "\x1b(B";
            kanji = false;
            jis += char(b);
        }
    }
    if (kanji)
        jis += "\x1b(B";
    return jis;
}

void Detection(const QString& corpus)
{
    PrintTableHead("encoding detection over the 10 MB corpus, median of 5 by turns (CPU)");
    const QByteArray euc = Iconv(corpus, "EUC-JP-MS");
    const struct
    {
        const char* Name;
        TSourceEncoding Encoding;
        QByteArray Bytes;
    } inputs[] = {
        {"Shift-JIS", TSourceEncoding::ShiftJis, Iconv(corpus, "CP932")},
        {"EUC-JP", TSourceEncoding::EucJp, euc},
        {"JIS", TSourceEncoding::Jis, EucToJis(euc)},
        {"UTF-8", TSourceEncoding::Utf8, corpus.toUtf8()},
        {"UTF-16LE", TSourceEncoding::Utf16Le, Iconv(corpus, "UTF-16LE")},
        {"UTF-16BE", TSourceEncoding::Utf16Be, Iconv(corpus, "UTF-16BE")},
    };
    for (const auto& input : inputs) {
        TBenchRow row;
        row.What = std::string("detect + decode ") + input.Name;
        row.Baseline = "decode, encoding given";
        row.MaxRatio = 1.2;
        row.Condition = "detected right";
        // The reader's own call: the verdict and the text come from one routine.
        row.ConditionHeld =
            !input.Bytes.isEmpty() && DecodeDetectedText(input.Bytes).Encoding == input.Encoding;
        std::tie(row.Ours, row.Base) =
            MediansByTurnsMs([&] { DecodeDetectedText(input.Bytes); },
                             [&] { DecodeTextAs(input.Bytes, input.Encoding); });
        PrintRow(row);
    }
}

// The corpus as an Aozora Bunko text: ruby on every third line, a heading every 200 lines.
QByteArray AozoraCorpus(const QString& corpus)
{
    const QStringList lines = corpus.split(u'\n');
    QString text;
    text.reserve(corpus.size() * 11 / 10);
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (i % 200 == 0)
            text +=
                QStringLiteral("［＃５字下げ］第%1節［＃「第%1節」は中見出し］\r\n").arg(i / 200);
        if (i % 3 == 0 && line.size() > 2)
            text += u'｜' + line.left(2) + QStringLiteral("《よみ》") + line.mid(2);
        else
            text += line;
        text += u'\n';
    }
    return EncodeCp932(text).value_or(QByteArray());
}

void Formatting(const QString& corpus, const QTemporaryDir& dir)
{
    PrintTableHead("formatting an Aozora Bunko style 10 MB text in the window, median of 5");
    const QString path = dir.filePath(QStringLiteral("aozora.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(AozoraCorpus(corpus)) <= 0)
        return;
    file.close();
    TWindowDriver driver(path, QString());
    if (!driver.Form)
        return;
    QAction* format = driver.Form->Action(QStringLiteral("AozoraFormat"));
    TBenchRow row;
    row.What = "open, formatted";
    row.Baseline = "open, not formatted";
    row.MaxRatio = 2;
    format->setChecked(false);
    driver.Form->AozoraFormatExecute();
    row.Base = MedianWallMs([&] { driver.Open(TWindowDriver::MediumName); });
    format->setChecked(true);
    driver.Form->AozoraFormatExecute();
    row.Ours = MedianWallMs([&] { driver.Open(TWindowDriver::MediumName); });
    row.Condition = "formatted";
    row.ConditionHeld = driver.Form->MainRichEdit->isReadOnly();
    PrintRow(row);
}

bool WriteZip(const QString& path, const QByteArray& text)
{
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    bool ok = archive_write_open_filename(a, path.toLocal8Bit().constData()) == ARCHIVE_OK;
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, "corpus.txt");
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, text.size());
    ok = ok && archive_write_header(a, entry) == ARCHIVE_OK &&
         archive_write_data(a, text.constData(), size_t(text.size())) == la_ssize_t(text.size());
    archive_entry_free(entry);
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

void Zip(const QString& corpusPath, const QTemporaryDir& dir)
{
    PrintTableHead("opening a zipped 10 MB corpus, median of 5 (wall)");
    QFile corpus(corpusPath);
    if (!corpus.open(QIODevice::ReadOnly))
        return;
    const QString zip = dir.filePath(QStringLiteral("corpus.zip"));
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (!WriteZip(zip, corpus.readAll()) || unzip.isEmpty()) {
        std::printf("  (no zip written, or no unzip to compare with)\n");
        return;
    }
    TBenchRow row;
    row.What = "read the zip's text";
    row.Baseline = "unzip -p | pipe, + read the .txt";
    row.MaxRatio = 1.5;
    row.Ours = MedianWallMs([&] { ReadTextFile(zip); });
    row.Base = MedianWallMs([&] {
        QProcess process;
        process.start(unzip, {QStringLiteral("-p"), zip});
        QByteArray piped;
        while (process.waitForReadyRead(-1))
            piped += process.readAllStandardOutput();
        process.waitForFinished(-1);
        ReadTextFile(corpusPath);
    });
    row.Condition = "same text";
    row.ConditionHeld = ReadTextFile(zip).Text == ReadTextFile(corpusPath).Text;
    PrintRow(row);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_formats CORPUS_10MB\n");
        return 2;
    }
    const QString corpusPath = QString::fromLocal8Bit(argv[1]);
    QFile file(corpusPath);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QString corpus = DecodeText(file.readAll());
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    Detection(corpus);
    Zip(corpusPath, dir);
    Formatting(corpus, dir);
    return 0;
}
