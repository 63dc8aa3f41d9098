#pragma once

#include <QStringView>
#include <optional>

// The program's usual integer conversion, as used for the numbers typed by the user (the
// variable-speed interval list) and shown in the settings lists:
// - leading spaces (U+0020 only; tabs and other blanks make the text invalid) are skipped;
// - then an optional "+" or "-";
// - then decimal digits, or hexadecimal digits after "$", "0x" or "0X";
// - nothing may follow the digits, not even a blank;
// - a decimal value must lie in the signed 32-bit range; a hexadecimal value may use all 32
//   bits and is read as their two's-complement pattern ("$FFFFFFFF" is -1), a "-" before it
//   negating that pattern.
// Only ASCII digits count. Returns nullopt for anything else, the empty text included.
std::optional<int> StrToInt(QStringView text);
