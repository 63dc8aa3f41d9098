// The settings file: any bytes are loaded and read by the read pass; the values read are written
// back (which must leave the file byte for byte); new values are written to some keys, saved
// and read again; and the write pass of what was read, read again, gives the same settings.
// Properties: a value (file names not in UTF-8 included) reads back exactly as written, within the
// limits of the format (a line break becomes blanks, blanks at either end go); and every line that
// is not one of our keys or sections survives, byte for byte while the file keeps its encoding, and
// as the same text when a value CP932 cannot hold turns it into UTF-8.
#include "FuzzSupport.h"

#include "files/FormatState.h"

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
// not UTF-8 (settings name files and folders) as a listing makes them, so never escapes that
// together are valid UTF-8; no other lone surrogate.
QString ValueText(FuzzedDataProvider& data)
{
    QString text = FuzzText(data, 24, true);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate() && !IsEscapedByteAt(text, i))
            text[i] = QChar::ReplacementCharacter;
    }
    return DecodeEscapedUtf8(EncodeEscapedUtf8(text));
}

QString Section(int key)
{
    return SettingsKeyName(key).section(u'/', 0, 0);
}

QString Key(int key)
{
    return SettingsKeyName(key).section(u'/', 1);
}

// What the read pass makes of a value written to a key: strings as the format keeps them,
// SearchType 1 to 3 or 0, the font style by its four digits.
QVariant AsRead(int key, const QVariant& written)
{
    if (written.typeId() == QMetaType::QString)
        return StoredForm(written.toString());
    if (Key(key) == u"SearchType")
        return NormalizedSearchType(written.toInt());
    if (Key(key) == u"FontStyle")
        return EncodeFontStyle(DecodeFontStyle(written.toInt()));
    if (Key(key) == u"RubyStyle")
        return int(RubyStyleOf(written.toInt()));
    return written;
}

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
    static const QStringList ownSections{QStringLiteral("form"),       QStringLiteral("panel"),
                                         QStringLiteral("filefolder"), QStringLiteral("basedata"),
                                         QStringLiteral("formats"),    QStringLiteral("comfort")};
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

    // The read pass, then every value read written back: that changes nothing.
    TAppState read;
    {
        TIniFile ini(IniPath());
        ReadSettings(ini, read);
        const QString missing = QStringLiteral("\uFFFF missing");
        for (int i = 0; i < SettingsKeyCount(); ++i) {
            const QString value = ini.ReadString(Section(i), Key(i), missing);
            if (value != missing)
                ini.WriteString(Section(i), Key(i), value);
        }
        FUZZ_CHECK(ini.UpdateFile());
        FUZZ_CHECK(ReadBytes() == original);
    }

    // New values for some keys, of each key's type; the others keep what was read.
    QVariantList expected = SettingsValues(read);
    {
        TIniFile ini(IniPath());
        for (int i = 0; i < SettingsKeyCount() && data.remaining_bytes() > 0; ++i) {
            if (!data.ConsumeBool())
                continue;
            QVariant value;
            switch (expected[i].typeId()) {
            case QMetaType::Bool:
                value = data.ConsumeBool();
                ini.WriteBool(Section(i), Key(i), value.toBool());
                break;
            case QMetaType::Int:
                value = data.ConsumeIntegral<int>();
                ini.WriteInteger(Section(i), Key(i), value.toInt());
                break;
            default:
                value = ValueText(data);
                ini.WriteString(Section(i), Key(i), value.toString());
                break;
            }
            expected[i] = AsRead(i, value);
        }
        FUZZ_CHECK(ini.UpdateFile());
    }
    const QByteArray saved = ReadBytes();
    TAppState reread;
    ReadSettings(TIniFile(IniPath()), reread);
    const QVariantList values = SettingsValues(reread);
    for (int i = 0; i < SettingsKeyCount(); ++i)
        FUZZ_CHECK(values[i] == expected[i]);

    const bool sameEncoding = original.startsWith(Utf8Bom) == saved.startsWith(Utf8Bom);
    FUZZ_CHECK(ForeignLines(original, !sameEncoding) == ForeignLines(saved, !sameEncoding));

    // The write pass of what was read, and the read pass again, give the same settings.
    {
        TIniFile ini(IniPath());
        WriteSettings(ini, reread);
        FUZZ_CHECK(ini.UpdateFile());
    }
    TAppState third;
    ReadSettings(TIniFile(IniPath()), third);
    FUZZ_CHECK(SettingsValues(third) == values);
    return 0;
}
