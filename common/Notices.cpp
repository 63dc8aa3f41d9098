#include "common/Notices.h"

namespace {

TNoticeSink Sink = nullptr;

} // namespace

void SetNoticeSink(TNoticeSink sink)
{
    Sink = sink;
}

void PlainNotice(const QString& text)
{
    if (Sink)
        Sink(text);
}
