#include "files/TextLoadThread.h"

#include <utility>

TTextLoadThread::TTextLoadThread(const QString& path, std::optional<TSourceEncoding> encoding,
                                 qint64 limit, std::function<void(TLoadStage)> stage,
                                 QObject* parent)
    : QThread(parent), FilePath(path), Encoding(encoding), Limit(limit), Stage(std::move(stage))
{}

void TTextLoadThread::run()
{
    TReadControl control;
    control.Stopped = [this] { return isInterruptionRequested(); };
    control.Stage = Stage;
    control.Limit = Limit;
    Content = ReadTextFile(FilePath, Encoding, control);
}
