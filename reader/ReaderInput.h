#pragma once

#include <QObject>
#include <functional>

class QComboBox;
class QWidget;
class TSlideEngine;

// The keyboard and the wheel in the reader panel: the panel takes the focus when clicked, its
// keys and the wheel over it drive the slide engine, and a pick in one of the settings lists
// hands the focus back to it (the lists would otherwise take the arrow keys unseen).
class TReaderInput final : public QObject
{
public:
    // busy: a file loads or a search runs; the reader's keys wait until it is over.
    TReaderInput(QWidget* panel, TSlideEngine& engine, std::function<bool()> busy);

    void ReturnFocusFrom(QComboBox* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* Panel;
    TSlideEngine& Engine;
    std::function<bool()> Busy;
};
