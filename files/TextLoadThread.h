#pragma once

#include "files/TextFileReader.h"

#include <QThread>
#include <functional>
#include <optional>

// Reads and decodes one file off the user-interface thread. It never waits for that thread: the
// text is taken once the thread has finished, so the thread may always be waited for, and a
// load no longer wanted is stopped with requestInterruption() and left to end on its own.
class TTextLoadThread final : public QThread
{
    Q_OBJECT

public:
    // A text read is laid out for the reader by prepare, when one is given.
    TTextLoadThread(const QString& path, std::optional<TSourceEncoding> encoding, qint64 limit,
                    std::function<void(TLoadStage)> stage, TLinePreparer prepare,
                    QObject* parent = nullptr);

    // After finished(): what was read. Taking it leaves nothing behind.
    TTextFileContent TakeContent() { return std::move(Content); }
    QString Path() const { return FilePath; }

protected:
    void run() override;

private:
    QString FilePath;
    std::optional<TSourceEncoding> Encoding;
    qint64 Limit = 0;
    std::function<void(TLoadStage)> Stage;
    TLinePreparer Prepare;
    TTextFileContent Content;
};
