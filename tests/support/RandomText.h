#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Up to longest pieces of the alphabet one after another, their number and choice at random.
inline QString RandomText(QRandomGenerator& random, const QStringList& alphabet, int longest)
{
    QString text;
    for (int k = random.bounded(longest + 1); k > 0; --k)
        text += alphabet[random.bounded(int(alphabet.size()))];
    return text;
}
