#include "files/TextLoadThread.h"

#include "platform/AozoraNotation.h"

#include <new>
#include <utility>

TTextLoadThread::TTextLoadThread(const QString& path, std::optional<TSourceEncoding> encoding,
                                 qint64 limit, std::function<void(TLoadStage)> stage,
                                 TLinePreparer prepare, QObject* parent)
    : QThread(parent), FilePath(path), Encoding(encoding), Limit(limit), Stage(std::move(stage)),
      Prepare(std::move(prepare))
{}

void TTextLoadThread::run()
{
    TReadControl control;
    control.Stopped = [this] { return isInterruptionRequested(); };
    control.Stage = Stage;
    control.Limit = Limit;
    Content = ReadTextFile(FilePath, Encoding, control);
    // Looking for the notation reads the whole text, which this thread spares the window.
    if (Content.Status == TTextFileContent::TStatus::Read && !isInterruptionRequested())
        Content.AozoraNotation = HasAozoraNotation(Content.Text);
    if (!Prepare || Content.Status != TTextFileContent::TStatus::Read || Content.Text.isEmpty() ||
        isInterruptionRequested())
        return;
    try {
        Content.Prepared = Prepare(Content.Text, [this] {
            if (Stage)
                Stage(TLoadStage::LayingOut);
            return !isInterruptionRequested();
        });
    } catch (const std::bad_alloc&) {
        // The window lays the text out itself then, or fails there as it would have.
        Content.Prepared.reset();
    }
    // What the preparer holds (fonts whose engines this thread made) goes with this thread.
    Prepare = nullptr;
}
