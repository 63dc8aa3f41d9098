// The settings file: any bytes are loaded, every key of the settings table is read, the values
// read are written back (which must leave the file byte for byte), then new values are written,
// saved and read again. Properties: a value (file names not in UTF-8 included) reads back
// exactly as written, within the limits of
// the format (a line break becomes blanks, blanks at either end go); and every line that is not
// one of our keys or sections survives, byte for byte while the file keeps its encoding, and as
// the same text when a value CP932 cannot hold turns it into UTF-8.
#include "FuzzSupport.h"

#include "app/Settings.h"
#include "platform/Cp932.h"
#include "platform/EscapedUtf8.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// In memory where the system offers it: saving syncs the file to disk, which on a disk would
// make each run wait for it.
const QString& IniPath()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quorvelane-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quorvelane-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("Quorvelane.ini"));
    return path;
}

void WriteBytes(const QByteArray& bytes)
{
    QFile file(IniPath());
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QByteArray ReadBytes()
{
    QFile file(IniPath());
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

// What a string value reads back as: a line feed and a carriage return before it become blanks
// (a value is one line), and blanks at either end are not part of a value.
QString StoredForm(const QString& value)
{
    QString v = value;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == u'\n') {
            v[i] = u' ';
            if (i > 0 && v[i - 1] == u'\r')
                v[i - 1] = u' ';
        }
    }
    qsizetype begin = 0;
    qsizetype end = v.size();
    while (begin < end && IsBlank(v[begin]))
        ++begin;
    while (end > begin && IsBlank(v[end - 1]))
        --end;
    return v.sliced(begin, end - begin);
}

// A value as the program may hold one: any text, and the escaped bytes of a file name that is
// not UTF-8 (settings name files and folders); no other lone surrogate.
QString ValueText(FuzzedDataProvider& data)
{
    QString text = FuzzText(data, 24, true);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate() && !IsEscapedByteAt(text, i))
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString TSettingsData::*const Strings[] = {
    &TSettingsData::NowFilter,      &TSettingsData::AllFilter,
    &TSettingsData::SelFolder,      &TSettingsData::Folder,
    &TSettingsData::FileName,       &TSettingsData::ChangeReadTimes,
    &TSettingsData::FontName,       &TSettingsData::SearchLineString,
    &TSettingsData::SearchContents, &TSettingsData::SearchSimplleContents,
};
int TSettingsData::*const Integers[] = {
    &TSettingsData::Left,
    &TSettingsData::Top,
    &TSettingsData::Width,
    &TSettingsData::Height,
    &TSettingsData::LeftPanelWidth,
    &TSettingsData::LeftPanelOpenWidth,
    &TSettingsData::DirectoryPanelHeight,
    &TSettingsData::RightPanelWidth,
    &TSettingsData::SlideInterval,
    &TSettingsData::SlideLabelStep,
    &TSettingsData::LabelSpace,
    &TSettingsData::BackColor,
    &TSettingsData::FontSize,
    &TSettingsData::FontColor,
    &TSettingsData::FontStyle,
    &TSettingsData::SearchType,
    &TSettingsData::SearchLength,
};
bool TSettingsData::*const Bools[] = {
    &TSettingsData::Maximized,           &TSettingsData::AnyFilter,
    &TSettingsData::SlideRepeat,         &TSettingsData::ListSlide,
    &TSettingsData::ContentsLineForward, &TSettingsData::FormAllChange,
    &TSettingsData::SearchOption,
};

// The lines of a file, without their line feeds and the carriage returns before them,
// leaving out what our own keys and sections may have changed: lines that begin, after blanks,
// with the name of one of our keys and hold "=", and headers that name one of our sections.
// Bytes are compared while the encoding stays; asText compares the decoded lines.
QList<QByteArray> ForeignLines(const QByteArray& file, bool asText)
{
    static const QStringList ownNames = [] {
        QStringList names;
        for (int i = 0; i < SettingsKeyCount(); ++i)
            names << SettingsKeyName(i).section(u'/', 1).toLower();
        return names;
    }();
    static const QStringList ownSections{QStringLiteral("form"), QStringLiteral("panel"),
                                         QStringLiteral("filefolder"), QStringLiteral("basedata")};
    const bool utf8 = file.startsWith(Utf8Bom);
    const QByteArray body = utf8 ? file.sliced(Utf8Bom.size()) : file;
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < body.size()) {
        const qsizetype lf = body.indexOf('\n', start);
        QByteArray raw = body.sliced(start, (lf < 0 ? body.size() : lf) - start);
        // A last line without a line feed gets one when lines are added after it, and with it
        // the file's usual ending, so carriage returns at a line's end are not compared.
        while (raw.endsWith('\r'))
            raw.chop(1);
        const QString text = utf8 ? DecodeEscapedUtf8(raw) : DecodeCp932(raw);
        qsizetype first = 0;
        while (first < text.size() && IsBlank(text[first]))
            ++first;
        const QString lower = text.sliced(first).toLower();
        bool own = false;
        for (const QString& name : ownNames)
            own = own || (lower.startsWith(name) && lower.contains(u'='));
        for (const QString& section : ownSections)
            own = own || (lower.startsWith(u'[') && lower.contains(section));
        if (!own)
            lines << (asText ? EncodeEscapedUtf8(text) : raw);
        if (lf < 0)
            break;
        start = lf + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const auto fileSize = data.ConsumeIntegralInRange<size_t>(0, data.remaining_bytes());
    const std::vector<char> fileBytes = data.ConsumeBytes<char>(fileSize);
    const QByteArray original(fileBytes.data(), qsizetype(fileBytes.size()));
    WriteBytes(original);

    // Writing back what was read changes nothing.
    TSettingsData read;
    {
        TIniFile ini(IniPath());
        read = ReadSettings(ini, TSettingsData{});
        const QString missing = QStringLiteral("\uFFFF missing");
        for (int i = 0; i < SettingsKeyCount(); ++i) {
            const QString section = SettingsKeyName(i).section(u'/', 0, 0);
            const QString key = SettingsKeyName(i).section(u'/', 1);
            const QString value = ini.ReadString(section, key, missing);
            if (value != missing)
                ini.WriteString(section, key, value);
        }
        FUZZ_CHECK(ini.UpdateFile());
        FUZZ_CHECK(ReadBytes() == original);
    }

    // New values for some keys; the others keep what was read.
    TSettingsData written = read;
    for (auto member : Strings) {
        if (data.ConsumeBool())
            written.*member = ValueText(data);
    }
    for (auto member : Integers) {
        if (data.ConsumeBool())
            written.*member = data.ConsumeIntegral<int>();
    }
    for (auto member : Bools) {
        if (data.ConsumeBool())
            written.*member = data.ConsumeBool();
    }
    {
        TIniFile ini(IniPath());
        WriteSettings(ini, written);
        FUZZ_CHECK(ini.UpdateFile());
    }
    const QByteArray saved = ReadBytes();
    TIniFile again(IniPath());
    const TSettingsData reread = ReadSettings(again, TSettingsData{});

    TSettingsData expected = written;
    for (auto member : Strings)
        expected.*member = StoredForm(written.*member);
    expected.SearchType = NormalizedSearchType(written.SearchType);
    for (auto member : Strings)
        FUZZ_CHECK(reread.*member == expected.*member);
    FUZZ_CHECK(reread == expected);

    const bool sameEncoding = original.startsWith(Utf8Bom) == saved.startsWith(Utf8Bom);
    FUZZ_CHECK(ForeignLines(original, !sameEncoding) == ForeignLines(saved, !sameEncoding));
    return 0;
}
