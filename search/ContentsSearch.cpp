#include "search/ContentsSearch.h"

#include "common/StringFormats.h"
#include "platform/Cp932.h"
#include "search/ContentsEntry.h"
#include "search/SearchMessages.h"

#include <algorithm>
#include <bitset>
#include <limits>
#include <optional>
#include <vector>

int MarkerBytePosition(const QString& line, const QString& marker)
{
    const qsizetype at = IndexOfOnBoundary(line, marker);
    return at < 0 ? 0 : Cp932Width(QStringView(line).left(at)) + 1;
}

namespace {

// The markers as code points, with the first byte position of each within a line's limit. One
// pass over the start of a line serves every marker, so a long marker list over a long line
// costs the line's length, not their product.
class TMarkerPositions
{
public:
    explicit TMarkerPositions(const QStringList& markers)
    {
        // Each marker is one character; an empty one never occurs.
        std::vector<std::optional<char32_t>> codes;
        for (const QString& marker : markers) {
            const QList<uint> ucs4 = marker.toUcs4();
            codes.push_back(ucs4.isEmpty() ? std::nullopt : std::optional<char32_t>(ucs4.first()));
            if (!ucs4.isEmpty())
                Distinct.push_back(ucs4.first());
        }
        std::sort(Distinct.begin(), Distinct.end());
        Distinct.erase(std::unique(Distinct.begin(), Distinct.end()), Distinct.end());
        for (const char32_t code : Distinct)
            if (code < 0x10000)
                FirstPlane[code] = true;
        First.assign(Distinct.size(), 0);
        for (const auto& code : codes)
            Slots.push_back(code ? slotOf(*code) : -1);
    }

    // Records the first position of every marker that begins at byte limit or before; stops at
    // the first marker found when anyOne is set. Returns whether any was found.
    bool Scan(QStringView line, int limit, bool anyOne)
    {
        for (int slot : Touched)
            First[slot] = 0;
        Touched.clear();
        int position = 1;
        for (qsizetype i = 0; i < line.size() && position <= limit;) {
            char32_t code = line[i].unicode();
            qsizetype length = 1;
            if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
                code = QChar::surrogateToUcs4(line[i], line[i + 1]);
                length = 2;
            }
            // Most characters are no marker: the table of the first plane says so at once.
            const int slot = code < 0x10000 && !FirstPlane[code] ? -1 : slotOf(code);
            if (slot >= 0 && First[slot] == 0) {
                if (anyOne)
                    return true;
                First[slot] = position;
                Touched.push_back(slot);
            }
            position += Cp932Width(code);
            i += length;
        }
        return !Touched.empty();
    }

    // The first position of the k-th marker found by the last Scan, 0 when none.
    int PositionOf(qsizetype k) const { return Slots[k] < 0 ? 0 : First[Slots[k]]; }
    qsizetype Count() const { return qsizetype(Slots.size()); }

private:
    int slotOf(char32_t code) const
    {
        const auto it = std::lower_bound(Distinct.begin(), Distinct.end(), code);
        return it != Distinct.end() && *it == code ? int(it - Distinct.begin()) : -1;
    }

    std::vector<char32_t> Distinct;
    std::bitset<0x10000> FirstPlane;
    std::vector<int> Slots;
    std::vector<int> First;
    std::vector<int> Touched;
};

template <typename Test>
TSearchEnd runMarkerSearch(const QStringList& markers, bool indented, int width,
                           const QString& caption, bool emptyTextEnds, const TSearchTarget& target,
                           Test qualifies)
{
    if (markers.isEmpty()) {
        ShowSearchMessage(target, QStringLiteral("検索する文字がありません。"),
                          SearchCaptions::Confirm);
        return TSearchEnd::NothingToSearch;
    }
    const int n = target.Lines ? target.Lines->count() : 0;
    if (n == 0) {
        ShowSearchMessage(target, QStringLiteral("テキストがありません。"),
                          SearchCaptions::Confirm);
        return TSearchEnd::NothingToSearch;
    }
    const int numberWidth = ContentsNumberWidth(n);
    if (target.SetCaption)
        target.SetCaption(caption);
    return ForEachSearchLine(target, [&](int i, QStringView line) {
        const QStringView text = TrimLeftView(line);
        if (indented && text.size() == line.size())
            return TLineVerdict::Next;
        // No width: the whole line, which no position within it can pass.
        const int limit = width == 0 ? std::numeric_limits<int>::max() : width;
        if (!qualifies(line, limit))
            return TLineVerdict::Next;
        if (text.isEmpty())
            return emptyTextEnds ? TLineVerdict::Stop : TLineVerdict::Next;
        AddSearchEntry(target, text, i, numberWidth);
        return TLineVerdict::Next;
    });
}

} // namespace

TSearchEnd Find_Letter(const QStringList& markers, bool indented, int width, int searchType,
                       const TSearchTarget& target)
{
    const QString caption =
        searchType == 1 ? QStringLiteral("段落検索中") : QStringLiteral("簡易目次検索中");
    TMarkerPositions positions(markers);
    const auto anyMarker = [&positions](QStringView line, int limit) {
        return positions.Scan(line, limit, true);
    };
    const TSearchEnd end =
        runMarkerSearch(markers, indented, width, caption, false, target, anyMarker);
    if (end == TSearchEnd::Failed)
        ShowSearchMessage(target, QStringLiteral("Find_Letter Error"), SearchCaptions::Error);
    return end;
}

TSearchEnd Find_Contents(const QStringList& markers, bool indented, int width,
                         const TSearchTarget& target)
{
    TMarkerPositions positions(markers);
    const auto allInOrder = [&positions](QStringView line, int limit) {
        if (!positions.Scan(line, limit, false))
            return false;
        int previous = 0;
        for (qsizetype k = 0; k < positions.Count(); ++k) {
            // Found only within the limit, so 0 also stands for "beyond it".
            const int p = positions.PositionOf(k);
            if (p <= previous)
                return false;
            previous = p;
        }
        return true;
    };
    const TSearchEnd end = runMarkerSearch(markers, indented, width, QStringLiteral("目次検索中"),
                                           true, target, allInOrder);
    if (end == TSearchEnd::Failed)
        ShowSearchMessage(target, QStringLiteral("目次の作成に失敗しました。"),
                          SearchCaptions::Error);
    return end;
}
