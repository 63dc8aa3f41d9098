#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class TWordMatcher;

// The lines a search walks: the text view's lines as displayed. The display-line model provides
// the real one; a plain list serves tests and benchmarks.
class TLineSource
{
public:
    // The paragraph that holds a line: its text and its lines. A line is always a part of it.
    struct TParagraphSpan
    {
        QStringView Text;
        int FirstLine = 0;
        int LineCount = 1;
    };

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

    // The paragraph of line i, valid as lineView() is; a source without paragraphs gives the
    // line itself, as a paragraph of one line.
    virtual TParagraphSpan paragraphSpan(int i) const { return {lineView(i), i, 1}; }

    // The first paragraph with a line from first to end - 1 whose text holds the word on a
    // character boundary; a span of no lines at end when there is none. The default walks the
    // paragraphs one by one; a source whose paragraphs lie in one piece searches them at once.
    virtual TParagraphSpan nextParagraphWith(const TWordMatcher& word, int first, int end) const;

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
