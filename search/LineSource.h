#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The lines a search walks: the text view's lines as displayed. The display-line model provides
// the real one; a plain list serves tests and benchmarks.
class TLineSource
{
public:
    virtual ~TLineSource() = default;
    virtual int count() const = 0;
    // Only called with 0 <= i < count().
    virtual QString line(int i) const = 0;
    // The same line without a copy, for walking every line: valid until the next call or the
    // next change of the lines.
    virtual QStringView lineView(int i) const
    {
        Scratch = line(i);
        return Scratch;
    }

private:
    mutable QString Scratch;
};

class TLineListSource final : public TLineSource
{
public:
    explicit TLineListSource(QStringList lines) : Lines(std::move(lines)) {}
    int count() const override { return int(Lines.size()); }
    QString line(int i) const override { return Lines.at(i); }
    QStringView lineView(int i) const override { return Lines.at(i); }

    QStringList Lines;
};
