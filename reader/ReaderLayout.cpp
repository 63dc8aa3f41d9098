#include "reader/ReaderLayout.h"

#include "common/StrToInt.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr int LabelMargin = 6;

QStringList NumberItems(std::initializer_list<int> numbers)
{
    QStringList items;
    for (int n : numbers)
        items << QString::number(n).rightJustified(2, u'0').rightJustified(8, u' ');
    return items;
}

} // namespace

int ReaderLabelCount(int panelHeight, int lineHeight, int spacing)
{
    const double pitch = double(lineHeight) + double(spacing);
    if (pitch <= 0)
        return 1;
    const double fit = std::trunc((double(panelHeight) - 2 * LabelMargin) / pitch);
    return fit <= 1 ? 1 : int(fit);
}

int ReaderLabelTop(int i, int lineHeight, int spacing)
{
    return i * (lineHeight + spacing) + LabelMargin;
}

QStringList ReadTimerItems()
{
    QStringList items;
    for (int ms : {50,   100,  150,  200,  250,  500,  750,  1000,  1250,  1500,  1750, 2000,
                   2500, 3000, 3500, 4000, 4500, 5000, 7500, 10000, 20000, 30000, 60000})
        items << QStringLiteral("   ") + QString::number(ms).rightJustified(5, u'0');
    return items;
}

QStringList FontSizeItems()
{
    return NumberItems({4,  6,  8,  9,  10, 11, 12, 14, 16, 18, 20, 22,  24, 26,
                        28, 36, 40, 44, 48, 56, 64, 72, 80, 88, 96, 100, 120});
}

QStringList LabelSpaceItems()
{
    return NumberItems({0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20});
}

QStringList LabelStepItems()
{
    return NumberItems({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 25, 30, 40, 50})
           << LabelStepOnePageItem();
}

QString LabelStepOnePageItem()
{
    return QStringLiteral("  1ﾍﾟｰｼﾞ毎");
}

std::optional<int> ItemNumber(const QString& item)
{
    return StrToInt(item);
}

QList<int> ItemNumbers(const QStringList& items)
{
    QList<int> numbers;
    for (const QString& item : items)
        numbers << ItemNumber(item).value_or(0);
    return numbers;
}

std::optional<TLabelStepChoice> LabelStepRule(int selectedIndex, const QList<int>& numbers,
                                              int lastIndex, int labelCount, int slideStep)
{
    const bool onePage = selectedIndex == lastIndex;
    if (!onePage && (selectedIndex < 0 || selectedIndex >= numbers.size()))
        return TLabelStepChoice{1, 0};
    const int wanted = onePage ? labelCount : numbers[selectedIndex];
    if (wanted == slideStep)
        return std::nullopt;
    // A page is never less than one line, so a one-page step always moves the reader.
    if (wanted > labelCount)
        return TLabelStepChoice{labelCount < 1 ? 1 : labelCount, lastIndex};
    if (wanted < 1)
        return TLabelStepChoice{1, 0};
    return TLabelStepChoice{wanted, selectedIndex};
}

std::optional<TFontSizeChoice> SnapFontSize(int chosen, const QList<int>& sizes)
{
    if (sizes.isEmpty())
        return std::nullopt;
    for (int i = 0; i < sizes.size(); ++i) {
        if (sizes[i] >= chosen)
            return TFontSizeChoice{i, sizes[i]};
    }
    return TFontSizeChoice{int(sizes.size()) - 1, sizes.last()};
}

std::optional<TFontSizeChoice> SnapFontSize(int chosen)
{
    return SnapFontSize(chosen, ItemNumbers(FontSizeItems()));
}
