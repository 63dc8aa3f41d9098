#pragma once

#include <QString>
#include <functional>
#include <memory>

// The reader's lines of a text, laid out on the thread that read it before the text reaches the
// window: the reader takes them instead of laying the text out on the window's thread, as long
// as they were laid out for the text it is given and the font and width it still has.
class TPreparedLines
{
public:
    virtual ~TPreparedLines() = default;
};

// Lays a text out as the window's font and width stood when the reading started; called on the
// reading thread, which keepGoing tells now and then whether the lines are still wanted (none
// come back when they are not).
using TLinePreparer = std::function<std::unique_ptr<TPreparedLines>(
    const QString& text, const std::function<bool()>& keepGoing)>;
