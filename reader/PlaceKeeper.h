#pragma once

#include "reader/ReadingPlaces.h"

#include <QString>
#include <functional>

struct TSlideState;
class TReaderView;
class TSlideEngine;

// 位置を記憶: the place of the file in view is noted when the reader leaves it, and the noted
// place of a file just loaded is put at the top of the reader. The places live in a file
// beside the settings file.
class TPlaceKeeper
{
public:
    // currentFile: the name of the file in view, empty when none.
    TPlaceKeeper(const TSlideState& slide, TReaderView& view, TSlideEngine& engine,
                 std::function<QString()> currentFile);

    // Read even while off: switched on later, the places of earlier sessions stay.
    void Load(const QString& fileName) { Places = TReadingPlaces::Load(fileName); }
    // Notes the place in view and writes the file. Nothing is written while the places are not
    // kept: the file exists only for those who use it.
    void Save(const QString& fileName);
    void RememberPlace();
    void RestorePlace();

private:
    // The full path of the file in view; empty when there is none or the places are not kept.
    QString KeptPath() const;

    const TSlideState& Slide;
    TReaderView& View;
    TSlideEngine& Engine;
    std::function<QString()> CurrentFile;
    TReadingPlaces Places;
};
