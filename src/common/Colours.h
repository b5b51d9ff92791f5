#pragma once

namespace vantorel {

// The program's marking colours, GUI-free so that the colour rules stay testable.
struct Rgb {
    int red;
    int green;
    int blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBuyPink{254, 194, 210};
inline constexpr Rgb kSellBlue{172, 171, 233};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kPureBlue{0, 0, 255};
inline constexpr Rgb kGrey{199, 199, 199};

} // namespace vantorel
