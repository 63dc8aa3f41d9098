#include "files/ExtensionFilter.h"

#include <algorithm>

QStringView FileExtension(QStringView path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.mid(dot);
}

QString UpperAscii(QStringView text)
{
    QString upper = text.toString();
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return upper;
}

QString DropExtensionFilter(const QString& mask)
{
    QString filter = UpperAscii(QString(mask).remove(u'*'));
    if (filter.size() < 2)
        return QString();
    return filter + u';';
}

QString SearchFilterText(const QString& mask)
{
    if (mask.contains(QLatin1String("*.*")))
        return QStringLiteral("*.*");
    return UpperAscii(QString(mask).remove(u'*')) + u';';
}

bool ExtensionListed(QStringView upperExtension, QStringView filter)
{
    if (upperExtension.isEmpty())
        return false;
    qsizetype from = 0;
    while (from < filter.size()) {
        qsizetype end = filter.indexOf(u';', from);
        if (end < 0)
            end = filter.size();
        if (filter.mid(from, end - from) == upperExtension)
            return true;
        from = end + 1;
    }
    return false;
}

bool PassesExtensionFilter(QStringView path, const QString& filter)
{
    if (filter.isEmpty())
        return true;
    return ExtensionListed(UpperAscii(FileExtension(path)), filter);
}

TExtensionBytes::TExtensionBytes(const QString& filter)
{
    for (const QString& extension : filter.split(u';', Qt::SkipEmptyParts))
        Extensions.append(extension.toUtf8());
}

bool TExtensionBytes::Listed(std::string_view name) const
{
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view extension = name.substr(dot);
    const auto upperEqual = [](char c, char upper) {
        return (c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c) == upper;
    };
    for (const QByteArray& listed : Extensions) {
        if (size_t(listed.size()) == extension.size() &&
            std::equal(extension.begin(), extension.end(), listed.begin(), upperEqual))
            return true;
    }
    return false;
}
