#pragma once

#include "platform/FontFace.h"

#include <QFont>
#include <QString>
#include <QStringList>

// The Windows face names stored in the settings ("ＭＳ Ｐゴシック" and the other usual Japanese
// faces) are not installed here: they are shown in an installed Japanese face of the same kind
// (gothic or mincho, proportional or fixed), while the stored name stays as it was.
QString DisplayFamilyFor(const QString& storedName);

// A QFont for a stored font (size in points, style bits). The colour is not part of a QFont.
QFont FontFromSpec(const TFontSpec& spec);
// The stored form of a font that the user chose: the stored name is kept when the chosen
// family is the one it is displayed in.
TFontSpec SpecFromFont(const QFont& font, qint32 color, const QString& storedName);
