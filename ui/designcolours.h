#pragma once
// The calculator window's colours, in one place so that a tuning of the look never means hunting
// through the widget code. Every value is an exact #RRGGBB of the design; nothing is shaded.

#include <QColor>

namespace tavoro::colour {

constexpr QRgb rgb(unsigned hex) { return 0xff000000u | hex; }

// Window background: the light grey against which every coloured key stands out, the black
// "SHOW Entries" box included.
inline constexpr QRgb Window = rgb(0xC0C0C0);

// Key faces.
inline constexpr QRgb LightYellow = rgb(0xFFFFC0); // upper digit row, 1..5
inline constexpr QRgb LightCyan = rgb(0xC0FFFF);   // lower digit row, 6..9 and 0
inline constexpr QRgb Yellow = rgb(0xFFFF00);      // "." and "="
inline constexpr QRgb LightGreen = rgb(0xC0FFC0);  // "+" and "X"
inline constexpr QRgb Pink = rgb(0xFFC0C0);        // "-" and "/"
// Key captions: the classic button-text black, whatever the desktop theme, because the faces
// are always light.
inline constexpr QRgb ButtonText = rgb(0x000000);
// The raised edge of a key: lit from the top left.
inline constexpr QRgb EdgeLight = rgb(0xFFFFFF);
inline constexpr QRgb EdgeShadow = rgb(0x404040);
// The sunken edge of a text box.
inline constexpr QRgb FieldShadow = rgb(0x808080);

// Display bars: navy for the total, green for the number being typed.
inline constexpr QRgb Navy = rgb(0x000080);
inline constexpr QRgb Green = rgb(0x008000);

// Clear keys.
inline constexpr QRgb DarkRed = rgb(0xC00000);
inline constexpr QRgb PaleYellow = rgb(0xFFFF80);

inline constexpr QRgb White = rgb(0xFFFFFF);
inline constexpr QRgb Black = rgb(0x000000);
// Tape and date-time label.
inline constexpr QRgb LightGrey = rgb(0xE0E0E0);

} // namespace tavoro::colour
