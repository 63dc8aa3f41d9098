#include "platform/IniFile.h"

#include "common/StrToInt.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

// Names match without regard to ASCII case only: a Japanese name is compared as it is.
QString FoldName(QStringView name)
{
    QString folded = TrimBlanks(name).toString();
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

enum class TLineKind
{
    Blank,
    Comment,
    Header,
    Key,
    Other
};

TLineKind Classify(QStringView text)
{
    const QStringView t = TrimBlanks(text);
    if (t.isEmpty())
        return TLineKind::Blank;
    if (t[0] == u';' || t[0] == u'#')
        return TLineKind::Comment;
    if (t[0] == u'[' && t.indexOf(u']') > 0)
        return TLineKind::Header;
    if (t.indexOf(u'=') >= 0)
        return TLineKind::Key;
    return TLineKind::Other;
}

// The name between the brackets of a header line.
QStringView HeaderName(QStringView text)
{
    const QStringView t = TrimBlanks(text);
    return TrimBlanks(t.sliced(1, t.indexOf(u']') - 1));
}

QStringView KeyName(QStringView text)
{
    return TrimBlanks(text.first(text.indexOf(u'=')));
}

QStringView KeyValue(QStringView text)
{
    return TrimBlanks(text.sliced(text.indexOf(u'=') + 1));
}

// A line break inside a value would cut it and leave the rest as a stray line.
QString OneLine(const QString& text)
{
    QString line = text;
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// A line feed byte is never part of a multi-byte character, and a decoder turns an invalid
// byte before it into U+FFFD without swallowing it, so the decoded text has the same line
// feeds as the bytes. Should a decoder ever disagree, the lines are decoded one by one.
QString DecodeLines(QByteArrayView body, bool utf8)
{
    const auto decode = [utf8](QByteArrayView bytes) {
        return utf8 ? QString::fromUtf8(bytes) : DecodeCp932(bytes);
    };
    QString text = decode(body);
    if (text.count(u'\n') == body.count('\n'))
        return text;
    text.clear();
    for (qsizetype start = 0; start < body.size();) {
        const qsizetype lf = body.indexOf('\n', start);
        const qsizetype end = lf < 0 ? body.size() : lf;
        text += decode(body.sliced(start, end - start));
        if (lf >= 0)
            text += u'\n';
        start = end + 1;
    }
    return text;
}

} // namespace

TIniFile::TIniFile(const QString& path) : Path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Unreadable = QFileInfo::exists(path);
        return;
    }
    const QByteArray bytes = file.readAll();
    Unreadable = file.error() != QFileDevice::NoError;
    if (!Unreadable)
        Parse(bytes);
}

void TIniFile::Parse(const QByteArray& bytes)
{
    FileBytes = bytes;
    Utf8 = bytes.startsWith(Utf8Bom);
    qsizetype raw = Utf8 ? Utf8Bom.size() : 0;
    Sections.front().RawBegin = raw;
    Sections.front().RawEnd = raw;

    qsizetype lfCount = 0;
    qsizetype crLfCount = 0;
    while (raw < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', raw);
        TLine line;
        line.Raw = raw;
        line.RawSize = (lf < 0 ? bytes.size() : lf) - raw;
        if (lf >= 0) {
            line.Ending = TEnding::Lf;
            if (line.RawSize > 0 && bytes[lf - 1] == '\r') {
                line.Ending = TEnding::CrLf;
                --line.RawSize;
            }
        }
        if (line.Ending == TEnding::CrLf)
            ++crLfCount;
        else if (line.Ending == TEnding::Lf)
            ++lfCount;
        AddLine(line);
        if (lf < 0)
            break;
        raw = lf + 1;
    }
    NewLineEnding = lfCount > crLfCount ? TEnding::Lf : TEnding::CrLf;
}

// Sorts a line as read by its bytes: the first byte that is not a blank starts a character in
// CP932 and UTF-8 alike, so only a possible header needs decoding here.
void TIniFile::AddLine(TLine line)
{
    const QByteArrayView raw = RawOf(line);
    qsizetype first = 0;
    while (first < raw.size() && (raw[first] == ' ' || raw[first] == '\t' || raw[first] == '\r'))
        ++first;
    const bool blank = first == raw.size();
    const bool comment = !blank && (raw[first] == ';' || raw[first] == '#');
    if (!blank && raw[first] == '[') {
        const QString text = DecodeOne(raw);
        if (Classify(text) == TLineKind::Header) {
            const QString name = FoldName(HeaderName(text));
            if (!SectionIndex.contains(name))
                SectionIndex.insert(name, static_cast<qsizetype>(Sections.size()));
            TSection& added = Sections.emplace_back();
            added.RawBegin = line.Raw;
        }
    }
    TSection& section = Sections.back();
    if (!blank && !comment)
        section.LastContent = section.Lines.size();
    line.Piece = section.ReadLines++;
    section.RawEnd = line.Raw + line.RawSize +
                     (line.Ending == TEnding::CrLf ? 2
                      : line.Ending == TEnding::Lf ? 1
                                                   : 0);
    section.Lines.append(line);
}

QString TIniFile::DecodeOne(QByteArrayView raw) const
{
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(raw);
    return Utf8 ? QString::fromUtf8(raw) : DecodeCp932(raw);
}

void TIniFile::Decode(const TSection& section) const
{
    if (section.Decoded)
        return;
    section.Decoded = true;
    section.Text = DecodeLines(
        QByteArrayView(FileBytes).sliced(section.RawBegin, section.RawEnd - section.RawBegin),
        Utf8);
    QList<qsizetype> starts{0};
    for (qsizetype lf = section.Text.indexOf(u'\n'); lf >= 0;
         lf = section.Text.indexOf(u'\n', lf + 1))
        starts.append(lf + 1);
    for (const TLine& line : section.Lines) {
        if (line.Own >= 0 || line.Piece >= starts.size())
            continue;
        line.Text = starts[line.Piece];
        const qsizetype end =
            line.Piece + 1 < starts.size() ? starts[line.Piece + 1] - 1 : section.Text.size();
        line.TextSize = end - line.Text;
        if (line.Ending == TEnding::CrLf && line.TextSize > 0 &&
            section.Text[line.Text + line.TextSize - 1] == u'\r')
            --line.TextSize;
    }
}

QStringView TIniFile::TextOf(const TSection& section, const TLine& line) const
{
    if (line.Own >= 0)
        return OwnLines[static_cast<size_t>(line.Own)].Text;
    Decode(section);
    return QStringView(section.Text).sliced(line.Text, line.TextSize);
}

QByteArrayView TIniFile::RawOf(const TLine& line) const
{
    if (line.Own >= 0)
        return OwnLines[static_cast<size_t>(line.Own)].Raw;
    return QByteArrayView(FileBytes).sliced(line.Raw, line.RawSize);
}

const QHash<QString, qsizetype>& TIniFile::KeysOf(const TSection& section) const
{
    if (!section.Keys) {
        section.Keys.emplace();
        for (qsizetype i = 0; i < section.Lines.size(); ++i) {
            const QStringView text = TextOf(section, section.Lines[i]);
            if (Classify(text) != TLineKind::Key)
                continue;
            const QString name = FoldName(KeyName(text));
            if (!section.Keys->contains(name))
                section.Keys->insert(name, i);
        }
    }
    return *section.Keys;
}

std::optional<QStringView> TIniFile::FindValue(const QString& section, const QString& key) const
{
    const auto s = SectionIndex.constFind(FoldName(section));
    if (s == SectionIndex.constEnd())
        return std::nullopt;
    const TSection& found = Sections[static_cast<size_t>(*s)];
    const auto& keys = KeysOf(found);
    const auto k = keys.constFind(FoldName(key));
    if (k == keys.constEnd())
        return std::nullopt;
    return KeyValue(TextOf(found, found.Lines[*k]));
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const auto value = FindValue(section, key);
    return value ? value->toString() : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const auto value = FindValue(section, key);
    return value ? StrToInt(*value).value_or(def) : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

TIniFile::TLine TIniFile::MakeLine(const QString& text)
{
    TOwnLine own{text, {}};
    if (Utf8) {
        own.Raw = text.toUtf8();
    } else if (const auto encoded = EncodeCp932(text)) {
        own.Raw = *encoded;
    } else {
        NeedsUtf8 = true;
    }
    OwnLines.push_back(std::move(own));
    TLine line;
    line.Own = static_cast<qsizetype>(OwnLines.size()) - 1;
    line.Ending = NewLineEnding;
    return line;
}

TIniFile::TSection& TIniFile::SectionForWrite(const QString& section)
{
    const QString folded = FoldName(section);
    const auto found = SectionIndex.constFind(folded);
    if (found != SectionIndex.constEnd())
        return Sections[static_cast<size_t>(*found)];
    SectionIndex.insert(folded, static_cast<qsizetype>(Sections.size()));
    TSection& added = Sections.emplace_back();
    added.Decoded = true;
    added.Keys.emplace();
    added.Lines.append(
        MakeLine(QLatin1Char('[') + TrimBlanks(section).toString() + QLatin1Char(']')));
    return added;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString v = OneLine(value);
    TSection& target = SectionForWrite(section);
    const QString folded = FoldName(key);
    const auto& keys = KeysOf(target);
    const auto found = keys.constFind(folded);
    if (found != keys.constEnd()) {
        TLine& line = target.Lines[*found];
        const QStringView text = TextOf(target, line);
        // An unchanged value leaves the line as the user wrote it, blanks and all.
        if (KeyValue(text) == v)
            return;
        const TEnding ending = line.Ending;
        line = MakeLine(KeyName(text).toString() + QLatin1Char('=') + v);
        if (ending == TEnding::None)
            line.Ending = TEnding::None;
        return;
    }
    // Blank lines and comments that trail the section stay after the new key. No key of the
    // section lies beyond the insertion point, so the key index stays valid.
    const qsizetype at = target.LastContent + 1;
    target.Lines.insert(at, MakeLine(TrimBlanks(key).toString() + QLatin1Char('=') + v));
    target.Keys->insert(folded, at);
    target.LastContent = at;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray TIniFile::Serialize() const
{
    // A value CP932 cannot hold turns the whole file into UTF-8; the lines read as CP932 are
    // re-encoded from their text.
    const bool reencode = NeedsUtf8 && !Utf8;
    const TLine* last = nullptr;
    for (auto s = Sections.crbegin(); s != Sections.crend() && !last; ++s) {
        if (!s->Lines.isEmpty())
            last = &s->Lines.constLast();
    }
    QByteArray out;
    out.reserve(FileBytes.size() + 4096);
    if (Utf8 || NeedsUtf8)
        out += Utf8Bom;
    for (const TSection& section : Sections) {
        for (const TLine& line : section.Lines) {
            if (reencode)
                out += TextOf(section, line).toUtf8();
            else
                out += RawOf(line);
            // Only the file's last line may go without an ending; one that had none and now
            // has lines after it gets the file's usual ending.
            TEnding ending = line.Ending;
            if (ending == TEnding::None && &line != last)
                ending = NewLineEnding;
            if (ending == TEnding::CrLf)
                out += "\r\n";
            else if (ending == TEnding::Lf)
                out += '\n';
        }
    }
    return out;
}

bool TIniFile::UpdateFile()
{
    // Replacing a file we could not read would throw away everything it holds.
    if (Unreadable)
        return false;
    QSaveFile file(Path);
    // The file is replaced through a new file beside it. A folder that refuses new files may
    // still hold a settings file the user can write (a shared folder of texts): that file is
    // then rewritten in place rather than left behind unsaved.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = Serialize();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
