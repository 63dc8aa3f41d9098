// The reading-places file. The first byte chooses: the rest as the file's bytes, or places
// remembered for paths the input makes (names as the folder listing gives them, bytes that are
// not UTF-8 included), then saved and loaded again.
// Properties: any bytes load without harm, to at most the number of places kept, and what they
// give saves and loads back to the same; places saved load back exactly, each under its path and
// in the same order, the oldest beyond the limit gone, and no path finds a place it was not given.
#include "FuzzSupport.h"

#include "platform/EscapedUtf8.h"
#include "reader/ReadingPlaces.h"

#include <QDir>
#include <QTemporaryDir>
#include <utility>
#include <vector>

namespace {

const QString& PlacesPath()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quorvelane-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quorvelane-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("Quorvelane.places"));
    return path;
}

// A path as the program meets it: a listed name (any bytes a file system allows, decoded as the
// listing does), or a text.
QString MakePath(FuzzedDataProvider& data)
{
    if (data.ConsumeBool()) {
        QByteArray raw = QByteArray::fromStdString(data.ConsumeRandomLengthString(24));
        raw.replace('\0', "");
        return QStringLiteral("/t/") + DecodeEscapedUtf8(raw);
    }
    return FuzzText(data, 24);
}

// What the places must be: the most recent first, one place a path, the oldest beyond the limit
// gone. A path holding a line end cannot be kept.
using TModel = std::vector<std::pair<QString, TTextPlace>>;

void Remember(TModel& model, TReadingPlaces& places, const QString& path, TTextPlace place)
{
    places.Remember(path, place);
    if (path.isEmpty() || path.contains(u'\n') || path.contains(u'\r'))
        return;
    std::erase_if(model, [&path](const auto& entry) { return entry.first == path; });
    model.insert(model.begin(), {path, place});
    if (model.size() > size_t(TReadingPlaces::MaxFiles))
        model.resize(size_t(TReadingPlaces::MaxFiles));
}

void CheckRoundTrip(FuzzedDataProvider& data)
{
    TModel model;
    TReadingPlaces places;
    std::vector<QString> probes;
    // Sometimes many files first, to pass the limit.
    const int many =
        data.ConsumeIntegralInRange(0, 7) == 0 ? data.ConsumeIntegralInRange(0, 530) : 0;
    for (int j = 0; j < many; ++j)
        Remember(model, places, QStringLiteral("/n/%1.txt").arg(j), {j, many - j});
    const int steps = data.ConsumeIntegralInRange(0, 16);
    for (int i = 0; i < steps; ++i) {
        const TTextPlace place{data.ConsumeIntegralInRange(0, INT_MAX),
                               data.ConsumeIntegralInRange(0, INT_MAX)};
        // Now and then a path again, which moves it to the front.
        const bool again = !probes.empty() && data.ConsumeIntegralInRange(0, 3) == 0;
        const QString path = again
                                 ? probes[data.ConsumeIntegralInRange<size_t>(0, probes.size() - 1)]
                                 : MakePath(data);
        probes.push_back(path);
        Remember(model, places, path, place);
    }
    FUZZ_CHECK(places.Count() == int(model.size()));
    FUZZ_CHECK(places.Save(PlacesPath()));
    const TReadingPlaces loaded = TReadingPlaces::Load(PlacesPath());
    FUZZ_CHECK(loaded.Count() == int(model.size()));
    for (const auto& [path, place] : model) {
        if (loaded.Find(path) != place)
            std::fprintf(stderr, "path lost: %s\n",
                         QByteArray(reinterpret_cast<const char*>(path.utf16()), path.size() * 2)
                             .toHex(' ')
                             .constData());
        FUZZ_CHECK(loaded.Find(path) == place);
    }
    for (const QString& probe : probes) {
        const bool kept = std::any_of(model.begin(), model.end(),
                                      [&probe](const auto& entry) { return entry.first == probe; });
        FUZZ_CHECK(kept || !loaded.Find(probe));
    }
    // The same places in the same order: the file saved again is the file loaded.
    FUZZ_CHECK(loaded.ToBytes() == places.ToBytes());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0)
        return 0;
    if (bytes[0] % 2 == 0) {
        const QByteArray file(reinterpret_cast<const char*>(bytes) + 1, qsizetype(size) - 1);
        const TReadingPlaces places = TReadingPlaces::FromBytes(file);
        FUZZ_CHECK(places.Count() <= TReadingPlaces::MaxFiles);
        const QByteArray written = places.ToBytes();
        const TReadingPlaces again = TReadingPlaces::FromBytes(written);
        FUZZ_CHECK(again.Count() == places.Count());
        FUZZ_CHECK(again.ToBytes() == written);
        return 0;
    }
    FuzzedDataProvider data(bytes + 1, size - 1);
    CheckRoundTrip(data);
    return 0;
}
