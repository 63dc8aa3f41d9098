#pragma once

#include "platform/TextEncoding.h"

#include <QHash>
#include <QString>
#include <optional>

// The encodings the user picked by hand, per file, for as long as the program runs; every
// other file is read in the encoding detected.
class TEncodingChoices
{
public:
    std::optional<TSourceEncoding> Chosen(const QString& path) const
    {
        const auto found = ByPath.constFind(path);
        return found == ByPath.cend() ? std::nullopt : std::optional(*found);
    }
    // nullopt goes back to detection.
    void Choose(const QString& path, std::optional<TSourceEncoding> encoding)
    {
        if (encoding)
            ByPath.insert(path, *encoding);
        else
            ByPath.remove(path);
    }

private:
    QHash<QString, TSourceEncoding> ByPath;
};
