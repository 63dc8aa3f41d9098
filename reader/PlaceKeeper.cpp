#include "reader/PlaceKeeper.h"

#include "reader/ReaderView.h"
#include "reader/SlideEngine.h"

#include <QFileInfo>

TPlaceKeeper::TPlaceKeeper(const TSlideState& slide, TReaderView& view, TSlideEngine& engine,
                           std::function<QString()> currentFile)
    : Slide(slide), View(view), Engine(engine), CurrentFile(std::move(currentFile))
{}

QString TPlaceKeeper::KeptPath() const
{
    const QString name = CurrentFile();
    if (!Slide.KeepPlaces || name.isEmpty())
        return {};
    return QFileInfo(name).absoluteFilePath();
}

void TPlaceKeeper::Save(const QString& fileName)
{
    if (!Slide.KeepPlaces)
        return;
    RememberPlace();
    // A file that cannot be written costs the places, not the settings.
    Places.Save(fileName);
}

void TPlaceKeeper::RememberPlace()
{
    const QString path = KeptPath();
    if (path.isEmpty())
        return;
    if (const auto place = View.PlaceOfLine(Slide.ReadingLine))
        Places.Remember(path, *place);
}

void TPlaceKeeper::RestorePlace()
{
    const QString path = KeptPath();
    if (path.isEmpty())
        return;
    const auto place = Places.Find(path);
    if (!place || View.count() == 0)
        return;
    View.UpdateScrollRange();
    Engine.KeepPlace(View.LineOfPlace(*place));
}
